#include "JsonReader.h"

#include <charconv>
#include <cmath>
#include <unordered_set>
#include <utility>

namespace terraq::ui {

namespace {

constexpr int kMaxDepth = 64;

class Reader {
 public:
  explicit Reader(std::string_view text, std::string_view streamed = {},
                  const JsonItem* item = nullptr, bool utf8Only = false)
      : text_(text), streamed_(streamed), item_(item), utf8Only_(utf8Only) {}

  bool document(JsonValue& value) {
    space();
    if (!read(value, 0)) return false;
    space();
    return at_ == text_.size() || fail("text after the value");
  }
  std::string error() const {
    return itemError_.empty() ? "at byte " + std::to_string(at_ + 1) + ": " + why_ : itemError_;
  }

 private:
  bool fail(const char* why) {
    why_ = why;
    return false;
  }
  void space() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
      ++at_;
  }
  bool word(std::string_view w) {
    if (text_.substr(at_, w.size()) != w) return fail("not a JSON value");
    at_ += w.size();
    return true;
  }

  bool read(JsonValue& v, int depth) {
    if (at_ >= text_.size()) return fail("the text ends where a value should be");
    const char c = text_[at_];
    if (c == '{' || c == '[') {
      if (depth >= kMaxDepth) return fail("nested too deep");
      return c == '{' ? object(v, depth) : array(v, depth);
    }
    if (c == '"') {
      v.type = JsonValue::Type::String;
      return string(v.string);
    }
    if (c == 't' || c == 'f') {
      v.type = JsonValue::Type::Bool;
      v.boolean = c == 't';
      return word(c == 't' ? "true" : "false");
    }
    if (c == 'n') return word("null");
    return number(v);
  }

  bool object(JsonValue& v, int depth) {
    v.type = JsonValue::Type::Object;
    ++at_;
    space();
    if (at_ < text_.size() && text_[at_] == '}') return ++at_, true;
    // A name given twice has no one meaning: readers differ on which value
    // counts, and a file edited by hand must not say one thing to its reader
    // and keep another.
    std::unordered_set<std::string> names;
    for (;;) {
      space();
      if (at_ >= text_.size() || text_[at_] != '"') return fail("a member's name should be here");
      std::string key;
      const size_t keyAt = at_;
      if (!string(key)) return false;
      // Names are words of the format, never file names: one that is not
      // UTF-8 would be written back as other characters (stray bytes go
      // out as Latin-1), perhaps as another name of the same object.
      for (size_t k = 0; k < key.size();) {
        const size_t n = static_cast<unsigned char>(key[k]) < 0x80 ? 1 : Utf8SequenceLength(key, k);
        if (n == 0) {
          at_ = keyAt;
          return fail("a member's name that is not UTF-8");
        }
        k += n;
      }
      if (!names.insert(key).second) {
        at_ = keyAt;
        duplicate_ = "the name \"" + key + "\" is given twice in one object";
        return fail(duplicate_.c_str());
      }
      space();
      if (at_ >= text_.size() || text_[at_] != ':') return fail("':' should follow a name");
      ++at_;
      space();
      const bool streamed = item_ && depth == 0 && key == streamed_;
      v.members.push_back({std::move(key), JsonValue{}});
      streaming_ = streamed;
      if (!read(v.members.back().second, depth + 1)) return false;
      streaming_ = false;
      space();
      if (at_ < text_.size() && text_[at_] == ',') {
        ++at_;
        continue;
      }
      if (at_ < text_.size() && text_[at_] == '}') return ++at_, true;
      return fail("',' or '}' should be here");
    }
  }

  bool array(JsonValue& v, int depth) {
    v.type = JsonValue::Type::Array;
    // The items of the streamed member go to the caller, one at a time.
    const bool handOver = streaming_ && depth == 1;
    streaming_ = false;
    ++at_;
    space();
    if (at_ < text_.size() && text_[at_] == ']') return ++at_, true;
    for (;;) {
      space();
      v.items.emplace_back();
      if (!read(v.items.back(), depth + 1)) return false;
      if (handOver) {
        if (!(*item_)(v.items.back(), itemError_)) {
          if (itemError_.empty()) itemError_ = "an item is refused";
          return false;
        }
        v.items.pop_back();
      }
      space();
      if (at_ < text_.size() && text_[at_] == ',') {
        ++at_;
        continue;
      }
      if (at_ < text_.size() && text_[at_] == ']') return ++at_, true;
      return fail("',' or ']' should be here");
    }
  }

  bool number(JsonValue& v) {
    // The JSON grammar first: from_chars alone would take "inf", "1." or "+1".
    const size_t start = at_;
    auto digits = [&] {
      const size_t from = at_;
      while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
      return at_ > from;
    };
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    if (at_ < text_.size() && text_[at_] == '0') ++at_;
    else if (!digits()) return fail("not a JSON value");
    if (at_ < text_.size() && text_[at_] == '.' && (++at_, !digits()))
      return fail("a digit should follow the decimal point");
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      if (!digits()) return fail("a digit should follow the exponent");
    }
    const auto [end, ec] = std::from_chars(text_.data() + start, text_.data() + at_, v.number);
    if (ec != std::errc() || end != text_.data() + at_ || !std::isfinite(v.number))
      return fail("a number out of range");
    v.type = JsonValue::Type::Number;
    return true;
  }

  bool hex4(unsigned& code) {
    if (at_ + 4 > text_.size()) return fail("\\u needs four hexadecimal digits");
    code = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = text_[at_++];
      const int d = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
      if (d < 0) return fail("\\u needs four hexadecimal digits");
      code = code * 16 + static_cast<unsigned>(d);
    }
    return true;
  }

  static void utf8(std::string& out, unsigned code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | code >> 6);
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | code >> 12);
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | code >> 18);
      out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  bool string(std::string& out) {
    ++at_;  // the opening quote
    for (;;) {
      if (at_ >= text_.size()) return fail("a string is not closed");
      const unsigned char c = static_cast<unsigned char>(text_[at_++]);
      if (c == '"') return true;
      if (c < 0x20) return fail("a control character in a string");
      if (c != '\\') {
        if (utf8Only_ && c >= 0x80) {
          const size_t n = Utf8SequenceLength(text_, at_ - 1);
          if (n == 0) return fail("a byte that is not UTF-8 in a string");
          out.append(text_.substr(at_ - 1, n));
          at_ += n - 1;
          continue;
        }
        out += static_cast<char>(c);
        continue;
      }
      if (at_ >= text_.size()) return fail("a string is not closed");
      const char e = text_[at_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          unsigned code = 0;
          if (!hex4(code)) return false;
          if (code >= 0xDC80 && code <= 0xDCFF && !utf8Only_) {
            out += static_cast<char>(code - 0xDC00);  // a byte of a file name
          } else if (code >= 0xD800 && code <= 0xDBFF) {
            unsigned low = 0;
            if (text_.substr(at_, 2) != "\\u") return fail("a lone surrogate");
            at_ += 2;
            if (!hex4(low)) return false;
            if (low < 0xDC00 || low > 0xDFFF) return fail("a lone surrogate");
            utf8(out, 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
          } else if (code >= 0xDC00 && code <= 0xDFFF) {
            return fail("a lone surrogate");
          } else {
            utf8(out, code);
          }
          break;
        }
        default: return fail("an unknown escape in a string");
      }
    }
  }

  std::string_view text_;
  std::string_view streamed_;
  const JsonItem* item_ = nullptr;
  bool utf8Only_ = false;   // stray bytes and lone surrogates are refused
  std::string duplicate_;   // the message why_ points to
  bool streaming_ = false;  // the value being read is the streamed member's
  std::string itemError_;
  size_t at_ = 0;
  const char* why_ = "";
};

}  // namespace

size_t Utf8SequenceLength(std::string_view s, size_t k) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char c = byte(k);
  size_t n = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) n = 2;
  else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;   // overlong
    if (c == 0xED) high = 0x9F;  // surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (k + n > s.size()) return 0;
  if (byte(k + 1) < low || byte(k + 1) > high) return 0;
  for (size_t i = 2; i < n; ++i)
    if (byte(k + i) < 0x80 || byte(k + i) > 0xBF) return 0;
  return n;
}

const JsonValue* JsonValue::find(std::string_view key) const {
  if (type != Type::Object) return nullptr;
  for (const auto& [name, value] : members)
    if (name == key) return &value;
  return nullptr;
}

JsonValue JsonValue::Number(double value) {
  JsonValue v;
  v.type = Type::Number;
  v.number = value;
  return v;
}

JsonValue JsonValue::Text(std::string value) {
  JsonValue v;
  v.type = Type::String;
  v.string = std::move(value);
  return v;
}

JsonValue JsonValue::Bool(bool value) {
  JsonValue v;
  v.type = Type::Bool;
  v.boolean = value;
  return v;
}

JsonValue JsonValue::Array(std::vector<JsonValue> items) {
  JsonValue v;
  v.type = Type::Array;
  v.items = std::move(items);
  return v;
}

JsonValue JsonValue::Object() {
  JsonValue v;
  v.type = Type::Object;
  return v;
}

JsonValue& JsonValue::set(std::string_view key, JsonValue value) {
  if (type == Type::Null) type = Type::Object;
  for (auto& member : members)
    if (member.first == key) return member.second = std::move(value);
  members.push_back({std::string(key), std::move(value)});
  return members.back().second;
}

void JsonValue::erase(std::string_view key) {
  for (auto it = members.begin(); it != members.end(); ++it)
    if (it->first == key) {
      members.erase(it);
      return;
    }
}

std::optional<JsonValue> ParseJson(std::string_view text, std::string& error) {
  Reader reader(text);
  JsonValue value;
  if (!reader.document(value)) {
    error = reader.error();
    return std::nullopt;
  }
  return value;
}

std::optional<JsonValue> ParseJsonUtf8(std::string_view text, std::string& error) {
  Reader reader(text, {}, nullptr, true);
  JsonValue value;
  if (!reader.document(value)) {
    error = reader.error();
    return std::nullopt;
  }
  return value;
}

std::optional<JsonValue> ParseJsonStreamed(std::string_view text, std::string_view streamed,
                                           const JsonItem& item, std::string& error) {
  Reader reader(text, streamed, &item);
  JsonValue value;
  if (!reader.document(value)) {
    error = reader.error();
    return std::nullopt;
  }
  return value;
}

}  // namespace terraq::ui
