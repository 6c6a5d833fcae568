#pragma once
// The evaluator behind every number the user types, in an entry field or a
// table cell: the text may be an arithmetic expression such as 12*2,
// 3.5^2, sqrt(2)/2 or 10*12. It works by rewriting the text: groups in
// parentheses are evaluated innermost first and replaced by their value,
// then the flat expression is split into operands and operators and reduced
// in four precedence passes, each left to right:
//   1: ^        2: * / % &        3: + - |        4: =
// Operands are decimal numbers, the constants pi and e, a function name
// followed by its argument (sin, sqrt, log, ...), n! and $hex.
//
// Intermediate results are written back as text with 18 significant digits
// and read again, so an expression is evaluated exactly as it would be if
// the user had typed those values.

#include <cstddef>
#include <stdexcept>
#include <string>

namespace terraq::ui {

// An entry that cannot be accepted. The message is meant for the user and
// may hold line breaks ("\n").
class EAssignError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The largest magnitude a value of the project may take. The project holds
// 64-bit reals and the data file writes them as text: an entry beyond this
// (1e400 fits the evaluator's wider type) would be written as INF, and one
// close to the 64-bit limit could overflow when converted to other units
// (feet to inches, SI to English). Entries are refused beyond it.
inline constexpr long double kLargestEntry = 1e300L;

// The longest entry evaluated. A number needs a few dozen characters, an
// expression of numbers some hundreds; a longer text is something pasted by
// mistake, refused at once rather than worked through.
inline constexpr size_t kLongestEntry = 1024;

// Evaluates a typed expression. Throws EAssignError with a message that
// starts "Entry could not be evaluated:" and a line break, followed by the
// reason; arithmetic faults (division by zero, a logarithm or root of a
// negative number, overflow) are entry errors of the same kind, never an
// infinity or NaN in the result. An entry longer than kLongestEntry is
// refused so. Time is linear in the length of the entry.
long double EvaluateEntry(const std::string& text);

// Evaluates one operand of an expression (no binary operators): a number,
// a constant, a function applied to an operand, n! or $hex.
long double EvaluateOperand(const std::string& text);

}  // namespace terraq::ui
