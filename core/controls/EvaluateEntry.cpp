#include "controls/EvaluateEntry.h"

#include <array>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "controls/NumberFormat.h"
#include "project/AsciiLower.h"

namespace terraq::ui {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kE = 2.718281828459045235360287471352662498L;

// Tested in this order: a longer name must come before its own prefix.
constexpr std::array<std::string_view, 24> kFunctions = {
    "arctanh", "arctan",  "cotan", "tanh", "tan", "arccosh", "arccos", "cosh",
    "cos",     "sec",     "arcsinh", "arcsin", "sinh", "sin", "csc",   "abs",
    "frac",    "int",     "ln",    "round", "ceil", "floor", "log",   "sqrt"};

[[noreturn]] void fail(const std::string& reason) {
  throw EAssignError("Entry could not be evaluated:\n" + reason);
}

bool isFunctionName(std::string_view text) {
  const std::string lower = AsciiLower(text);
  for (std::string_view name : kFunctions)
    if (lower == name) return true;
  return false;
}

// Whether an operand scanned so far is a function name (or "!" or "$"),
// possibly negated: a minus after it is the sign of the argument.
bool startsWithFunctionName(std::string_view operand) {
  while (!operand.empty() && operand.front() == '-') operand.remove_prefix(1);
  constexpr size_t kLongestName = 7;  // "arctanh"
  if (operand.size() > kLongestName) return false;
  return isFunctionName(operand) || operand == "!" || operand == "$";
}

std::string_view functionPrefix(std::string_view text) {
  for (std::string_view name : kFunctions)
    if (text.substr(0, name.size()) == name) return name;
  return {};
}

std::string format18(long double value) { return FormatGeneral(value, 18); }

// A finite result, or the entry error that names what went wrong.
long double checked(long double value) {
  if (std::isnan(value)) fail("invalid floating-point operation");
  if (std::isinf(value)) fail("result too large (floating-point overflow)");
  return value;
}

long double applyFunction(std::string_view name, long double x) {
  const auto requireDomain = [](bool ok) {
    if (!ok) fail("argument outside the function's domain");
  };
  const auto reciprocal = [](long double d) {
    if (d == 0) fail("division by zero");
    return 1 / d;
  };
  if (name == "arctanh") {
    requireDomain(std::fabs(x) < 1);
    return std::atanh(x);
  }
  if (name == "arccosh") {
    requireDomain(x >= 1);
    return std::acosh(x);
  }
  if (name == "arccos" || name == "arcsin") {
    requireDomain(std::fabs(x) <= 1);
    return name == "arccos" ? std::acos(x) : std::asin(x);
  }
  if (name == "ln" || name == "log") {
    if (x <= 0) fail("logarithm of zero or a negative number");
    return name == "ln" ? std::log(x) : std::log10(x);
  }
  if (name == "sqrt") {
    if (x < 0) fail("square root of a negative number");
    return std::sqrt(x);
  }
  if (name == "round") {
    // Halves go to the even neighbour, whatever rounding mode is set.
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long double r = std::nearbyint(x);
    std::fesetround(mode);
    return r;
  }
  if (name == "arctan") return std::atan(x);
  if (name == "arcsinh") return std::asinh(x);
  if (name == "cotan") return reciprocal(std::tan(x));
  if (name == "sec") return reciprocal(std::cos(x));
  if (name == "csc") return reciprocal(std::sin(x));
  if (name == "tanh") return std::tanh(x);
  if (name == "tan") return std::tan(x);
  if (name == "cosh") return std::cosh(x);
  if (name == "cos") return std::cos(x);
  if (name == "sinh") return std::sinh(x);
  if (name == "sin") return std::sin(x);
  if (name == "abs") return std::fabs(x);
  if (name == "frac") return x - std::trunc(x);
  if (name == "int") return std::trunc(x);
  if (name == "ceil") return std::ceil(x);
  if (name == "floor") return std::floor(x);
  fail("invalid character(s) in expression");
}

long double factorial(long double n) {
  if (n != std::trunc(n)) fail("! (factoral) applicable to integers only");
  long double result = 1;
  // Stops at the first overflow: no endless loop on a huge argument.
  for (long double k = 2; k <= std::fabs(n); k += 1) result = checked(result * k);
  return n < 0 ? -result : result;
}

long double hexadecimal(std::string_view text) {
  // "$" and 1 to 8 hexadecimal digits, read as a 32-bit integer
  // ($FFFFFFFF is -1).
  const std::string_view digits = text.substr(1);
  if (digits.empty() || digits.size() > 8) fail("invalid use of $ (hex function)");
  uint32_t value = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else fail("invalid use of $ (hex function)");
    value = value * 16 + static_cast<uint32_t>(d);
  }
  return static_cast<int32_t>(value);
}

std::string removeDoubleMinus(std::string_view text) {
  std::string out;
  for (size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '-' && k + 1 < text.size() && text[k + 1] == '-') {
      ++k;
      continue;
    }
    out += text[k];
  }
  return out;
}

long double applyOperator(char op, long double a, long double b) {
  switch (op) {
    case '^':
      if (a == 0 && b < 0) fail("division by zero");
      return checked(std::pow(a, b));
    case '*': return checked(a * b);
    case '/':
      if (b == 0) fail("division by zero");
      return checked(a / b);
    case '%': {
      const long double ta = std::trunc(a), tb = std::trunc(b);
      constexpr long double kLimit = 9223372036854775807.0L;
      if (std::fabs(ta) > kLimit || std::fabs(tb) > kLimit)
        fail("number too large for % (remainder of 64-bit integers)");
      const int64_t ia = static_cast<int64_t>(ta), ib = static_cast<int64_t>(tb);
      if (ib == 0) fail("division by zero");
      if (ib == -1) return 0;  // INT64_MIN % -1 would trap
      return static_cast<long double>(ia % ib);
    }
    case '&': return (a != 0 && b != 0) ? 1 : 0;
    case '+': return checked(a + b);
    case '-': return checked(a - b);
    case '|': return (a != 0 || b != 0) ? 1 : 0;
    case '=': return a == b ? 1 : 0;
    default: fail("invalid expression");
  }
}

bool isOperatorChar(char c) {
  return c == '^' || c == '*' || c == '/' || c == '%' || c == '+' || c == '=' || c == '|' || c == '&';
}

// Whether text[0, end) -- the operand being scanned -- is the mantissa of a
// number that ends in an exponent letter ("12.5e"), so that a "+" after it
// is the exponent's sign and not an addition.
bool isMantissaWithExponentLetter(std::string_view operand) {
  if (operand.size() < 2) return false;
  const char last = operand.back();
  if (last != 'e' && last != 'E') return false;
  bool digit = false;
  for (char c : operand.substr(0, operand.size() - 1)) {
    if (c >= '0' && c <= '9') digit = true;
    else if (c != '.' && c != '-') return false;
  }
  return digit;
}

void refuseLongEntry(const std::string& text) {
  if (text.size() > kLongestEntry)
    fail("the entry is " + std::to_string(text.size()) +
         " characters long; an entry holds at most " + std::to_string(kLongestEntry));
}

// Evaluates a text without parentheses: operands and operators reduced in
// the four precedence passes.
long double evaluateFlat(const std::string& s);

}  // namespace

long double EvaluateOperand(const std::string& text) {
  refuseLongEntry(text);
  // Function prefixes, "!" and a leading minus before a function name stack
  // up; they are applied innermost first once the core value is known. A
  // loop rather than recursion, so that no typed text can exhaust the stack.
  enum class Step { Function, Factorial, Negate };
  struct Pending {
    Step step;
    std::string_view name;
  };
  std::vector<Pending> pending;
  std::string s = AsciiLower(removeDoubleMinus(text));
  long double value = 0;
  for (;;) {
    if (s == "pi") { value = kPi; break; }
    if (s == "-pi") { value = -kPi; break; }
    if (s == "e") { value = kE; break; }
    if (s == "-e") { value = -kE; break; }
    if (const std::string_view name = functionPrefix(s); !name.empty()) {
      pending.push_back({Step::Function, name});
      s.erase(0, name.size());
      continue;
    }
    if (!s.empty() && s.back() == '!') {
      pending.push_back({Step::Factorial, {}});
      s.pop_back();
      continue;
    }
    if (!s.empty() && s.front() == '$') {
      value = hexadecimal(s);
      break;
    }
    // "-sqrt4", as left when -sqrt(4) had its parentheses evaluated.
    if (s.size() > 1 && s.front() == '-' && !functionPrefix(std::string_view(s).substr(1)).empty()) {
      pending.push_back({Step::Negate, {}});
      s.erase(0, 1);
      continue;
    }
    if (!ParseReal(s, value)) fail("invalid character(s) in expression");
    break;
  }
  for (auto p = pending.rbegin(); p != pending.rend(); ++p) {
    switch (p->step) {
      case Step::Function: value = checked(applyFunction(p->name, value)); break;
      case Step::Factorial: value = factorial(value); break;
      case Step::Negate: value = -value; break;
    }
  }
  return value;
}

long double EvaluateEntry(const std::string& text) {
  if (text.empty()) fail("entry cannot be blank");
  refuseLongEntry(text);
  // Blanks go, and each group in parentheses is replaced by its value as it
  // closes (innermost first, left to right), in one pass over the text.
  std::string s;
  std::vector<size_t> opens;
  for (char c : text) {
    if (c == ' ' || c == '\t') continue;
    if (c == '(') opens.push_back(s.size());
    if (c != ')') {
      s += c;
      continue;
    }
    if (opens.empty()) fail("() (parentheses) do not match");
    const size_t open = opens.back();
    opens.pop_back();
    const std::string inner = s.substr(open + 1);
    if (inner.empty()) fail("entry cannot be blank");
    s.resize(open);
    s += format18(evaluateFlat(inner));
  }
  return evaluateFlat(s);
}

namespace {

long double evaluateFlat(const std::string& s) {
  // Split into operands and operators. A minus is unary (part of the
  // operand that follows) at the start, after an operator or another minus,
  // after an exponent letter (1e-5), and after a function name, "!" or "$"
  // that begins the operand (sin-1, 2*sin-1). A plus directly after the
  // exponent letter of a number (1e+5) is the exponent's sign.
  std::vector<std::string> operands;
  std::vector<char> operators;
  if (!s.empty()) {
    std::string operand;
    char previous = '\0';
    for (size_t k = 0; k < s.size(); ++k) {
      const char c = s[k];
      bool binary;
      if (c == '-') {
        const bool unary = k == 0 || previous == '-' || isOperatorChar(previous) || previous == 'e' ||
                           previous == 'E' || startsWithFunctionName(operand);
        binary = !unary;
      } else {
        binary = isOperatorChar(c) && !(c == '+' && isMantissaWithExponentLetter(operand));
      }
      previous = c;
      if (binary) {
        operands.push_back(operand);
        operators.push_back(c);
        operand.clear();
      } else {
        operand += c;
      }
    }
    operands.push_back(operand);
  }
  if (operands.size() != operators.size() + 1) fail("invalid expression");

  // Each pass reduces its operators left to right, the result taking the
  // place of both operands (2*3*4 is (2*3)*4); the other operators and
  // operands are carried over to the next pass. One sweep per pass keeps a
  // long sum linear.
  constexpr std::string_view kPasses[] = {"^", "*/%&", "+-|", "="};
  for (std::string_view pass : kPasses) {
    std::vector<std::string> keptOperands{std::move(operands.front())};
    std::vector<char> keptOperators;
    for (size_t i = 0; i < operators.size(); ++i) {
      if (pass.find(operators[i]) == std::string_view::npos) {
        keptOperators.push_back(operators[i]);
        keptOperands.push_back(std::move(operands[i + 1]));
        continue;
      }
      const long double a = EvaluateOperand(keptOperands.back());
      const long double b = EvaluateOperand(operands[i + 1]);
      keptOperands.back() = format18(applyOperator(operators[i], a, b));
    }
    operands = std::move(keptOperands);
    operators = std::move(keptOperators);
  }
  return EvaluateOperand(operands.front());
}

}  // namespace

}  // namespace terraq::ui
