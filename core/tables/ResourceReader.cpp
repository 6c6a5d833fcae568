#include "tables/ResourceReader.h"

#include <cmath>

#include "controls/NumberFormat.h"

namespace terraq::ui {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIdentifierStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isIdentifierChar(char c) { return isIdentifierStart(c) || isDigit(c) || c == '.'; }

}  // namespace

TResourceReader::TResourceReader(std::string_view text) : text_(text) {}

void TResourceReader::skipSpace() {
  while (pos_ < text_.size()) {
    const char c = text_[pos_];
    if (c == '\n') {
      ++line_;
      ++pos_;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      ++pos_;
    } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
      while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    } else {
      break;
    }
  }
}

// A string value: quoted pieces and #nn codes, joined directly or by "+".
std::string TResourceReader::readStringValue() {
  std::string value;
  for (;;) {
    if (pos_ < text_.size() && text_[pos_] == '\'') {
      const int startLine = line_;
      ++pos_;
      for (;;) {
        if (pos_ >= text_.size() || text_[pos_] == '\n')
          throw ETableError("line " + std::to_string(startLine) + ": unterminated string");
        if (text_[pos_] == '\'') {
          if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
            value += '\'';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        value += text_[pos_++];
      }
    } else if (pos_ < text_.size() && text_[pos_] == '#') {
      ++pos_;
      int code = 0;
      size_t digits = 0;
      while (pos_ < text_.size() && isDigit(text_[pos_]) && digits < 3) {
        code = code * 10 + (text_[pos_++] - '0');
        ++digits;
      }
      if (digits == 0 || code > 127)
        throw ETableError("line " + std::to_string(line_) + ": a character code #0 to #127 was expected");
      value += static_cast<char>(code);
    } else {
      break;
    }
    // A "+" continues the string, also on the next line.
    const size_t savedPos = pos_;
    const int savedLine = line_;
    skipSpace();
    if (pos_ < text_.size() && text_[pos_] == '+') {
      ++pos_;
      skipSpace();
      if (pos_ >= text_.size() || (text_[pos_] != '\'' && text_[pos_] != '#'))
        throw ETableError("line " + std::to_string(line_) + ": a string was expected after \"+\"");
    } else if (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#') && line_ == savedLine &&
               pos_ == savedPos) {
      // directly joined piece: continue
    } else {
      pos_ = savedPos;
      line_ = savedLine;
      break;
    }
  }
  return value;
}

const TResourceReader::Token& TResourceReader::peekToken() {
  if (havePeek_) return peek_;
  skipSpace();
  Token t;
  t.line = line_;
  if (pos_ >= text_.size()) {
    t.kind = Kind::End;
  } else {
    const char c = text_[pos_];
    if (c == '(') {
      t.kind = Kind::ListBegin;
      ++pos_;
    } else if (c == ')') {
      t.kind = Kind::ListEnd;
      ++pos_;
    } else if (c == '=') {
      t.kind = Kind::Equals;
      ++pos_;
    } else if (c == ':') {
      t.kind = Kind::Colon;
      ++pos_;
    } else if (c == '\'' || c == '#') {
      t.kind = Kind::String;
      t.text = readStringValue();
    } else if (isIdentifierStart(c)) {
      t.kind = Kind::Identifier;
      while (pos_ < text_.size() && isIdentifierChar(text_[pos_])) t.text += text_[pos_++];
    } else if (isDigit(c) || c == '-' || c == '+' || c == '.') {
      while (pos_ < text_.size() && (isDigit(text_[pos_]) || text_[pos_] == '.' || text_[pos_] == '-' ||
                                     text_[pos_] == '+' || text_[pos_] == 'E' || text_[pos_] == 'e'))
        t.text += text_[pos_++];
      bool integer = true;
      for (size_t k = 0; k < t.text.size(); ++k)
        if (!isDigit(t.text[k]) && !(k == 0 && t.text[k] == '-')) integer = false;
      t.kind = integer ? Kind::Integer : Kind::Real;
    } else {
      throw ETableError("line " + std::to_string(line_) + ": unexpected character '" + std::string(1, c) + "'");
    }
  }
  peek_ = t;
  havePeek_ = true;
  return peek_;
}

TResourceReader::Kind TResourceReader::Peek() { return peekToken().kind; }
int TResourceReader::Line() { return peekToken().line; }

TResourceReader::Token TResourceReader::take(Kind kind, const char* what) {
  const Token& t = peekToken();
  if (t.kind != kind) throw ETableError("line " + std::to_string(t.line) + ": " + what + " expected");
  havePeek_ = false;
  return t;
}

int TResourceReader::ReadInteger() {
  const Token t = take(Kind::Integer, "an integer");
  long double value = 0;
  if (!ParseReal(t.text, value) || value < -2147483648.0L || value > 2147483647.0L)
    throw ETableError("line " + std::to_string(t.line) + ": integer " + t.text + " out of range");
  return static_cast<int>(value);
}

long double TResourceReader::ReadReal() {
  const Kind kind = Peek();
  const Token t = take(kind == Kind::Integer ? Kind::Integer : Kind::Real, "a number");
  long double value = 0;
  if (!ParseReal(t.text, value))
    throw ETableError("line " + std::to_string(t.line) + ": " + t.text + " is not a number");
  return value;
}

std::string TResourceReader::ReadString() { return take(Kind::String, "a string").text; }

bool TResourceReader::ReadBoolean() {
  const int line = Line();
  const std::string word = Peek() == Kind::Identifier ? peekToken().text : std::string();
  if (word != "True" && word != "False") throw ETableError("line " + std::to_string(line) + ": True or False expected");
  havePeek_ = false;
  return word == "True";
}

std::string TResourceReader::ReadIdentifier() { return take(Kind::Identifier, "a name").text; }
void TResourceReader::ReadListBegin() { take(Kind::ListBegin, "\"(\""); }
void TResourceReader::ReadListEnd() { take(Kind::ListEnd, "\")\""); }
bool TResourceReader::EndOfList() { return Peek() == Kind::ListEnd || Peek() == Kind::End; }
void TResourceReader::ReadEquals() { take(Kind::Equals, "\"=\""); }
void TResourceReader::ReadColon() { take(Kind::Colon, "\":\""); }

}  // namespace terraq::ui
