#include "JsonText.h"

#include <cstdio>

#include "RunSummary.h"

namespace terraq::ui {

namespace {

// What becomes of a byte that is not part of valid UTF-8.
enum class StrayByte { Latin1, SurrogateEscape };

std::string jsonString(std::string_view text, StrayByte stray) {
  std::string out = "\"";
  for (size_t k = 0; k < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[k]);
    const size_t n = Utf8SequenceLength(text, k);
    if (n == 0 && stray == StrayByte::SurrogateEscape) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\udc%02x", c);
      out += buffer;
      ++k;
      continue;
    }
    if (n == 0) {  // a Latin-1 byte: U+0080..U+00FF in two bytes
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
      ++k;
      continue;
    }
    if (n > 1) {
      out.append(text.substr(k, n));
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
      out += buffer;
    } else {
      out += static_cast<char>(c);
    }
    k += n;
  }
  return out + "\"";
}

bool IsScalar(const JsonValue& v) {
  return v.type != JsonValue::Type::Array && v.type != JsonValue::Type::Object;
}

void AppendJson(std::string& out, const JsonValue& v, int level) {
  const std::string indent(2 * (level + 1), ' ');
  const std::string close(2 * level, ' ');
  switch (v.type) {
    case JsonValue::Type::Null:
      out += "null";
      return;
    case JsonValue::Type::Bool:
      out += v.boolean ? "true" : "false";
      return;
    case JsonValue::Type::Number:
      out += JsonNumber(v.number);
      return;
    case JsonValue::Type::String: out += jsonString(v.string, StrayByte::Latin1); return;
    case JsonValue::Type::Array: {
      if (v.items.empty()) {
        out += "[]";
        return;
      }
      bool flat = true;
      for (const JsonValue& item : v.items) flat = flat && IsScalar(item);
      out += flat ? "[" : "[\n";
      for (size_t k = 0; k < v.items.size(); ++k) {
        if (!flat) out += indent;
        AppendJson(out, v.items[k], level + 1);
        if (k + 1 < v.items.size()) out += flat ? ", " : ",\n";
      }
      out += flat ? "]" : "\n" + close + "]";
      return;
    }
    case JsonValue::Type::Object: {
      if (v.members.empty()) {
        out += "{}";
        return;
      }
      out += "{\n";
      for (size_t k = 0; k < v.members.size(); ++k) {
        out += indent + jsonString(v.members[k].first, StrayByte::Latin1) + ": ";
        AppendJson(out, v.members[k].second, level + 1);
        out += k + 1 < v.members.size() ? ",\n" : "\n";
      }
      out += close + "}";
      return;
    }
  }
}

}  // namespace

std::string JsonString(std::string_view text) { return jsonString(text, StrayByte::Latin1); }

std::string JsonPath(const std::filesystem::path& path) {
  return jsonString(path.string(), StrayByte::SurrogateEscape);
}

std::string JsonNumber(double value) { return SummaryNumberText(value); }

std::string FormatJson(const JsonValue& value) {
  std::string out;
  AppendJson(out, value, 0);
  return out;
}

}  // namespace terraq::ui
