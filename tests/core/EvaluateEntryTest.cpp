// The expression evaluator behind every typed number: precedence passes,
// the minus that belongs to an operand, functions, and the entry errors.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "controls/EvaluateEntry.h"

using terraq::ui::EAssignError;
using terraq::ui::EvaluateEntry;
using terraq::ui::EvaluateOperand;

namespace {

const std::string kPrefix = "Entry could not be evaluated:\n";

// The message of the entry error that evaluating `text` raises.
std::string errorOf(const std::string& text) {
  try {
    const long double v = EvaluateEntry(text);
    return "no error, value " + std::to_string(static_cast<double>(v));
  } catch (const EAssignError& e) {
    return e.what();
  }
}

double eval(const std::string& text) { return static_cast<double>(EvaluateEntry(text)); }

TEST(EvaluateEntry, PrecedencePassesRunLeftToRight) {
  EXPECT_EQ(eval("2+3*4"), 14);
  EXPECT_EQ(eval("2^3^2"), 64);  // (2^3)^2, not 2^9
  EXPECT_EQ(eval("1+2*3^2"), 19);
  EXPECT_EQ(eval("2*3*4"), 24);
  EXPECT_EQ(eval("100/10/5"), 2);
  EXPECT_EQ(eval("10-4-3"), 3);
  EXPECT_EQ(eval("(1+2)*(3+4)"), 21);
  EXPECT_EQ(eval("((2))*((3+1)*2)"), 16);
  EXPECT_EQ(eval(" 12 *\t3 "), 36);
}

TEST(EvaluateEntry, RemainderLogicAndComparison) {
  EXPECT_EQ(eval("7%3"), 1);
  EXPECT_EQ(eval("-7%3"), -1);  // sign of the dividend
  EXPECT_EQ(eval("7.9%3.9"), 1);  // truncated operands: 7 % 3
  EXPECT_EQ(eval("0&5"), 0);
  EXPECT_EQ(eval("2&5"), 1);
  EXPECT_EQ(eval("0|5"), 1);
  EXPECT_EQ(eval("0|0"), 0);
  EXPECT_EQ(eval("3= 3"), 1);
  EXPECT_EQ(eval("2+3=5"), 1);  // "=" binds weakest
  EXPECT_EQ(eval("3=4"), 0);
  // Intermediate results are written back with 18 digits, which absorbs
  // the representation error of decimal fractions.
  EXPECT_EQ(eval("0.1+0.2=0.3"), 1);
}

TEST(EvaluateEntry, MinusBelongsToTheOperandWhereItCannotBeBinary) {
  EXPECT_EQ(eval("2*-3"), -6);
  EXPECT_EQ(eval("--5"), 5);
  EXPECT_EQ(eval("-4^2"), 16);  // the minus is part of the operand -4
  EXPECT_EQ(eval("2^-1"), 0.5);
  EXPECT_DOUBLE_EQ(eval("1e-5*2"), 2e-5);
  EXPECT_DOUBLE_EQ(eval("1E-5*2"), 2e-5);
  EXPECT_EQ(eval("2-(0-3)"), 5);  // becomes 2--3
  EXPECT_EQ(eval("-(1+2)"), -3);
  EXPECT_DOUBLE_EQ(eval("sin-1"), std::sin(-1.0));
  // A minus after e is an exponent sign, so the constant e cannot be
  // followed by a subtraction.
  EXPECT_EQ(errorOf("e-1"), kPrefix + "invalid character(s) in expression");
  EXPECT_DOUBLE_EQ(eval("e+1"), std::exp(1.0) + 1);
}

TEST(EvaluateEntry, FunctionArgumentsThatStartWithAMinus) {
  // After the parentheses are evaluated these read 2*sin-1 and -sqrt4.
  EXPECT_DOUBLE_EQ(eval("2*sin(-1)"), 2 * std::sin(-1.0));
  EXPECT_EQ(eval("-sqrt(4)"), -2);
  EXPECT_EQ(eval("3+-abs(-2)"), 1);
  EXPECT_EQ(eval("1e+5"), 1e5);
  EXPECT_EQ(eval("2.5E+2/5"), 50);
}

TEST(EvaluateEntry, FunctionsAreRecognisedLongestNameFirst) {
  // A name that begins another (tan, tanh, arctan, arctanh) must not take
  // its place.
  const std::pair<const char*, double> cases[] = {
      {"arctanh0.5", std::atanh(0.5)}, {"arctan0.5", std::atan(0.5)},   {"tanh0.5", std::tanh(0.5)},
      {"tan0.5", std::tan(0.5)},       {"arccosh2", std::acosh(2.0)},   {"arccos0.5", std::acos(0.5)},
      {"cosh2", std::cosh(2.0)},       {"cos2", std::cos(2.0)},         {"arcsinh2", std::asinh(2.0)},
      {"arcsin0.5", std::asin(0.5)},   {"sinh2", std::sinh(2.0)},       {"cotan(pi/4)", 1.0},
      {"sec(pi/3)", 2.0},              {"csc(pi/6)", 2.0},              {"abs-3", 3},
      {"frac-2.75", -0.75},            {"int-2.7", -2},                 {"ln(e)", 1.0},
      {"log1000", 3.0},                {"round2.5", 2},                 {"round3.5", 4},
      {"ceil1.2", 2},                  {"floor-1.2", -2},               {"sqrt16", 4},
      {"sqrt(16)", 4},                 {"sqrtsqrt16", 2},               {"SQRT(16)+ABS(-1)", 5},
      {"pi", M_PI},                    {"-pi", -M_PI},                  {"2*PI", 2 * M_PI},
      {"-e", -std::exp(1.0)},
  };
  for (const auto& [text, expected] : cases) EXPECT_NEAR(eval(text), expected, 1e-15 * std::fabs(expected)) << text;
}

TEST(EvaluateEntry, FactorialAndHexadecimal) {
  EXPECT_EQ(eval("4!"), 24);
  EXPECT_EQ(eval("0!"), 1);
  EXPECT_EQ(eval("-3!"), -6);  // the sign of n is carried
  EXPECT_EQ(eval("3!!"), 720);
  EXPECT_EQ(errorOf("2.5!"), kPrefix + "! (factoral) applicable to integers only");
  EXPECT_EQ(eval("$FF"), 255);
  EXPECT_EQ(eval("$ff+1"), 256);
  EXPECT_EQ(eval("$FFFFFFFF"), -1);  // a 32-bit integer
  EXPECT_EQ(errorOf("$"), kPrefix + "invalid use of $ (hex function)");
  EXPECT_EQ(errorOf("$FG"), kPrefix + "invalid use of $ (hex function)");
  EXPECT_EQ(errorOf("$123456789"), kPrefix + "invalid use of $ (hex function)");
}

TEST(EvaluateEntry, SyntaxErrors) {
  EXPECT_EQ(errorOf(""), kPrefix + "entry cannot be blank");
  EXPECT_EQ(errorOf("   \t"), kPrefix + "invalid expression");
  EXPECT_EQ(errorOf("2*(3"), kPrefix + "invalid character(s) in expression");
  EXPECT_EQ(errorOf("2*3)"), kPrefix + "() (parentheses) do not match");
  EXPECT_EQ(errorOf(")("), kPrefix + "() (parentheses) do not match");
  EXPECT_EQ(errorOf("2*()"), kPrefix + "entry cannot be blank");
  EXPECT_EQ(errorOf("12a"), kPrefix + "invalid character(s) in expression");
  EXPECT_EQ(errorOf("2+"), kPrefix + "invalid character(s) in expression");
  EXPECT_EQ(errorOf("1,5"), kPrefix + "invalid character(s) in expression");
  EXPECT_EQ(errorOf("sqrt"), kPrefix + "invalid character(s) in expression");
}

TEST(EvaluateEntry, ArithmeticFaultsAreEntryErrors) {
  EXPECT_EQ(errorOf("1/0"), kPrefix + "division by zero");
  EXPECT_EQ(errorOf("1/(2-2)"), kPrefix + "division by zero");
  EXPECT_EQ(errorOf("5%0.5"), kPrefix + "division by zero");
  EXPECT_EQ(errorOf("0^-1"), kPrefix + "division by zero");
  EXPECT_EQ(errorOf("cotan0"), kPrefix + "division by zero");
  EXPECT_EQ(errorOf("ln0"), kPrefix + "logarithm of zero or a negative number");
  EXPECT_EQ(errorOf("log-1"), kPrefix + "logarithm of zero or a negative number");
  EXPECT_EQ(errorOf("sqrt-4"), kPrefix + "square root of a negative number");
  EXPECT_EQ(errorOf("arcsin2"), kPrefix + "argument outside the function's domain");
  EXPECT_EQ(errorOf("arctanh1"), kPrefix + "argument outside the function's domain");
  EXPECT_EQ(errorOf("10^5000"), kPrefix + "result too large (floating-point overflow)");
  EXPECT_EQ(errorOf("1e4000*1e4000"), kPrefix + "result too large (floating-point overflow)");
  EXPECT_EQ(errorOf("cosh20000"), kPrefix + "result too large (floating-point overflow)");
  EXPECT_EQ(errorOf("(-8)^(1/3)"), kPrefix + "invalid floating-point operation");
  EXPECT_EQ(errorOf("1e30%2"), kPrefix + "number too large for % (remainder of 64-bit integers)");
  // A huge factorial stops at the overflow instead of looping.
  EXPECT_EQ(errorOf("1e30!"), kPrefix + "result too large (floating-point overflow)");
}

TEST(EvaluateOperand, ReadsOneOperand) {
  EXPECT_EQ(EvaluateOperand("--2.5"), 2.5L);
  EXPECT_EQ(EvaluateOperand("-1.5E2"), -150.0L);
  EXPECT_EQ(EvaluateOperand("sqrt9"), 3.0L);
  EXPECT_THROW(EvaluateOperand(""), EAssignError);
  EXPECT_THROW(EvaluateOperand("2+2"), EAssignError);
}

TEST(EvaluateEntry, ExtendedPrecision) {
  // Read and computed in long double, not double.
  EXPECT_EQ(EvaluateEntry("0.1"), 0.1L);
  // 1/3 to 18 digits; a double would be off by about 2e-17.
  EXPECT_LT(std::fabs(EvaluateEntry("1/3") - 1.0L / 3), 1e-18L);
}

}  // namespace

// A long paste is refused at once; entries up to the limit, flat sums and
// deep groups alike, take time in proportion to their length.
TEST(EvaluateEntry, LongEntriesAreRefusedAndLongSumsStayLinear) {
  const auto error = [](const std::string& text) {
    try {
      EvaluateEntry(text);
      return std::string("no error");
    } catch (const EAssignError& e) {
      return std::string(e.what());
    }
  };
  EXPECT_EQ(
      error(std::string(200 * 1024, '1')),
      "Entry could not be evaluated:\nthe entry is 204800 characters long; an entry holds at most 1024");
  EXPECT_EQ(error("1" + std::string(terraq::ui::kLongestEntry, ' '))
                .rfind("Entry could not be evaluated:\nthe entry is 1025 "
                       "characters long",
                       0),
            0u);
  std::string sum = "1";
  while (sum.size() + 4 <= terraq::ui::kLongestEntry) sum += "+1*2";
  EXPECT_EQ(EvaluateEntry(sum), 1 + 2 * ((terraq::ui::kLongestEntry - 1) / 4));
  std::string groups = "0";
  while (groups.size() + 6 <= terraq::ui::kLongestEntry) groups += "+(2-1)";
  EXPECT_EQ(EvaluateEntry(groups), (terraq::ui::kLongestEntry - 1) / 6);
  const size_t depth = terraq::ui::kLongestEntry / 2 - 1;
  EXPECT_EQ(EvaluateEntry(std::string(depth, '(') + "7" + std::string(depth, ')')), 7);
  EXPECT_EQ(error("(1+2))"), "Entry could not be evaluated:\n() (parentheses) do not match");
  EXPECT_EQ(error("2*()"), "Entry could not be evaluated:\nentry cannot be blank");
}
