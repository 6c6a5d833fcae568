#pragma once
// JSON text written by the programs: string literals, file names, numbers in
// their shortest exact form, and whole values (FormatJson) laid out for a
// reader, members in the order they hold. What ParseJson (JsonReader.h)
// reads back from these texts is what was written, to the last bit of every
// number and the last byte of every file name.
// Thread safety: pure functions.

#include <filesystem>
#include <string>
#include <string_view>

#include "JsonReader.h"

namespace terraq::ui {

// A JSON string literal: quoted, with quotes, backslashes and control
// characters escaped. Bytes that are not valid UTF-8 (titles saved in an
// 8-bit code page) are taken as Latin-1 and re-encoded.
std::string JsonString(std::string_view text);

// A file name as a JSON string literal that names exactly that file. Valid
// UTF-8 is written as it is; any other byte b is written as the escape of
// the lone surrogate U+DC00+b ("\udcff" for 0xFF), the convention by which
// a name's bytes survive a Unicode string (Python's "surrogateescape":
// os.fsencode(json.loads(text)) gives back the bytes). The result is ASCII
// plus valid UTF-8 whatever the name holds.
std::string JsonPath(const std::filesystem::path& path);

// A JSON number in its shortest exact form; null when not finite
// (SummaryNumberText, which the calculation package shares).
std::string JsonNumber(double value);

// The whole value as text: objects and arrays one member or item per line,
// indented by two blanks a level, except arrays of numbers, strings and
// literals, which stay on one line; ends without a line break. The text is
// strict JSON, valid UTF-8 throughout: names and strings are written as
// JsonString writes them, so one that ParseJsonUtf8 read comes back byte
// for byte, and a stray byte the program put in (a title in an 8-bit code
// page) is taken as Latin-1 rather than written as a lone surrogate that
// strict readers refuse.
std::string FormatJson(const JsonValue& value);

}  // namespace terraq::ui
