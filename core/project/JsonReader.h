#pragma once
// A strict reader of JSON texts (RFC 8259) for the files the programs write
// and read back: the part files of a study's shards, the project file beside
// a data file (ProjectFile.h). Numbers are read with
// std::from_chars, so a number written in its shortest exact form
// (JsonNumber) comes back as the same double to the last bit. A lone
// surrogate escape \udc80..\udcff is the byte 0x80..0xff of a file name
// (JsonPath's convention), so names come back byte for byte.
//
// An object that names one member twice is refused: which of the values
// counts differs from reader to reader.
//
// Limits: nesting deeper than 64 levels is refused (a hostile file must not
// exhaust the stack). Thread safety: pure functions.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace terraq::ui {

struct JsonMember;

struct JsonValue {
  enum class Type { Null, Bool, Number, String, Array, Object };
  Type type = Type::Null;
  bool boolean = false;
  double number = 0;
  std::string string;
  std::vector<JsonValue> items;     // Array
  std::vector<JsonMember> members;  // Object, in the text's order

  // Defined below JsonMember: the vector of members may not be destroyed
  // or copied while its element type is incomplete (C++20 makes vector's
  // members constexpr, so some compilers instantiate them here).
  JsonValue();
  JsonValue(const JsonValue&);
  JsonValue(JsonValue&&) noexcept;
  JsonValue& operator=(const JsonValue&);
  JsonValue& operator=(JsonValue&&) noexcept;
  ~JsonValue();

  // The member named `key` of an object; nullptr when there is none or this
  // is not an object.
  const JsonValue* find(std::string_view key) const;
  bool isNumber() const { return type == Type::Number; }
  bool isString() const { return type == Type::String; }
  bool isArray() const { return type == Type::Array; }
  bool isObject() const { return type == Type::Object; }

  // Values to build a text from (FormatJson, JsonText.h).
  static JsonValue Number(double value);
  static JsonValue Text(std::string value);
  static JsonValue Bool(bool value);
  static JsonValue Array(std::vector<JsonValue> items = {});
  static JsonValue Object();
  // Sets the member `key` of an object: in its place when there is one, so
  // that a file keeps its order, else at the end. Makes a null an object.
  JsonValue& set(std::string_view key, JsonValue value);
  // Removes the member `key` when there is one.
  void erase(std::string_view key);
};

// A member of an object: its name and its value.
struct JsonMember {
  std::string first;
  JsonValue second;
};

inline JsonValue::JsonValue() = default;
inline JsonValue::JsonValue(const JsonValue&) = default;
inline JsonValue::JsonValue(JsonValue&&) noexcept = default;
inline JsonValue& JsonValue::operator=(const JsonValue&) = default;
inline JsonValue& JsonValue::operator=(JsonValue&&) noexcept = default;
inline JsonValue::~JsonValue() = default;

// The value of the whole text; empty with `error` set ("at byte N: why")
// when it is not one JSON value (white space around it allowed).
std::optional<JsonValue> ParseJson(std::string_view text, std::string& error);

// As ParseJson, for texts others read as well (the project file, which
// people edit by hand and other tools read): the text must be UTF-8, as
// JSON requires, so a byte that is not part of UTF-8 and a lone surrogate
// escape (no file-name bytes here) are refused.
std::optional<JsonValue> ParseJsonUtf8(std::string_view text, std::string& error);

// The length of the valid UTF-8 sequence at s[k], or 0 when none starts
// there (overlong forms and surrogates are not valid).
size_t Utf8SequenceLength(std::string_view s, size_t k);

// As ParseJson, but the items of the array that is the value of the
// top-level member `streamed` are handed to `item` one at a time, in order,
// and not kept (the member's array is left empty): a text of any number of
// items is read in the memory of one. `item` returns false, with its
// message in `error`, to refuse the text.
using JsonItem = std::function<bool(const JsonValue& item, std::string& error)>;
std::optional<JsonValue> ParseJsonStreamed(std::string_view text, std::string_view streamed,
                                           const JsonItem& item, std::string& error);

}  // namespace terraq::ui
