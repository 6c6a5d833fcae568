#include "StudyPartCheck.h"

#include <charconv>
#include <fstream>

#include "JsonReader.h"
#include "StudyShards.h"

namespace terraq::fuzz {

namespace {

using cli::JsonValue;

// The value written out again: numbers in their shortest exact form,
// strings with every byte escaped that JSON requires, so that reading it
// back must give the same value.
std::string Write(const JsonValue& v) {
  switch (v.type) {
    case JsonValue::Type::Null: return "null";
    case JsonValue::Type::Bool: return v.boolean ? "true" : "false";
    case JsonValue::Type::Number: {
      char buffer[64];
      return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v.number).ptr);
    }
    case JsonValue::Type::String: {
      std::string out = "\"";
      for (unsigned char c : v.string) {
        if (c == '"' || c == '\\') out += '\\';
        if (c < 0x20 || c >= 0x80) {
          // Bytes above 0x7f as the file-name escape, so any byte survives.
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c < 0x80 ? c : 0xDC00 + c);
          out += escape;
        } else {
          out += static_cast<char>(c);
        }
      }
      return out + "\"";
    }
    case JsonValue::Type::Array: {
      std::string out = "[";
      for (size_t k = 0; k < v.items.size(); ++k) out += (k ? "," : "") + Write(v.items[k]);
      return out + "]";
    }
    case JsonValue::Type::Object: {
      std::string out = "{";
      for (size_t k = 0; k < v.members.size(); ++k) {
        JsonValue key;
        key.type = JsonValue::Type::String;
        key.string = v.members[k].first;
        out += (k ? "," : "") + Write(key) + ":" + Write(v.members[k].second);
      }
      return out + "}";
    }
  }
  return "";
}

}  // namespace

std::string CheckStudyPart(std::string_view bytes, const std::filesystem::path& folder) {
  std::string error;
  if (const std::optional<JsonValue> json = cli::ParseJson(bytes, error)) {
    const std::string once = Write(*json);
    const std::optional<JsonValue> again = cli::ParseJson(once, error);
    if (!again) return "the value written out does not read again: " + error;
    if (Write(*again) != once) return "the value written out reads as another value";
  } else if (error.empty()) {
    return "a text refused without a message";
  }

  const std::filesystem::path part = folder / "part.json";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  const cli::MergeResult merge = cli::MergeParts({part.string()});
  if (merge.error) return merge.error->empty() ? "a part refused without a message" : "";
  if (merge.result.samples != merge.study.samples)
    return "a single part merged into " + std::to_string(merge.result.samples) + " samples of " +
           std::to_string(merge.study.samples);
  if (merge.result.outputs.size() != merge.study.outputs.size())
    return "the merge reports other outputs than the part names";
  return "";
}

}  // namespace terraq::fuzz
