#pragma once
// Reader of the value encoding of the table declarations (a readable text
// form in the manner of a form description):
//   integers      4   -1   2147483600
//   reals         0.5   1E9
//   strings       'Wall Stiffness'   'it''s'   'line one'#10'line two'
//                 (pieces and #nn character codes joined directly or with
//                 "+", also across lines)
//   identifiers   True  False  object  end  FLOATCOLUMN2
//   lists         ( ... )
//   punctuation   =  :
// "//" starts a comment that runs to the end of the line.

#include <string>
#include <string_view>

#include "tables/TColumn.h"

namespace terraq::ui {

class TResourceReader {
 public:
  enum class Kind { End, Integer, Real, String, Identifier, ListBegin, ListEnd, Equals, Colon };

  explicit TResourceReader(std::string_view text);

  // The kind of the next value, without consuming it.
  Kind Peek();
  // 1-based line of the next value.
  int Line();

  // Each throws ETableError naming what was expected when the next value is
  // of another kind.
  int ReadInteger();
  long double ReadReal();  // an integer is a real too
  std::string ReadString();
  bool ReadBoolean();      // True or False
  std::string ReadIdentifier();
  void ReadListBegin();
  void ReadListEnd();
  bool EndOfList();        // the next value closes a list (or the text ends)
  void ReadEquals();
  void ReadColon();

 private:
  struct Token {
    Kind kind = Kind::End;
    std::string text;
    int line = 1;
  };
  const Token& peekToken();
  Token take(Kind kind, const char* what);
  void skipSpace();
  std::string readStringValue();

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  bool havePeek_ = false;
  Token peek_;
};

}  // namespace terraq::ui
