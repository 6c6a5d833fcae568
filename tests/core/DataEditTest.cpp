// The numeric entry field's logic: the exit check with its four messages,
// the bounds and how the value follows them, whole numbers, an operator typed
// over a selected value, the hexadecimal and 18-digit forms, and the label.

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "controls/TDataEditLogic.h"

using namespace terraq::ui;

namespace {

// The field after the user typed `text` and left it.
ExitCheckResult enter(TDataEditLogic& field, const std::string& text) {
  field.SetText(text);
  return field.ExitCheck();
}

// What the widget does with typed characters: ask for a decision, move the
// caret when told to, then insert at the caret (replacing a selection).
struct TypingShell {
  TDataEditLogic& field;
  size_t selectionStart = 0;
  size_t selectionLength = 0;

  void selectAll() {
    selectionStart = 0;
    selectionLength = field.Text().size();
  }
  void type(char key) {
    const bool whole = selectionLength > 0 && selectionLength == field.Text().size();
    if (TDataEditLogic::DecideKey(key, whole) == KeyDecision::MoveCaretToEndThenInsert) {
      selectionStart = field.Text().size();
      selectionLength = 0;
    }
    std::string text = field.Text();
    text.replace(selectionStart, selectionLength, 1, key);
    field.SetText(text);
    selectionStart += 1;
    selectionLength = 0;
  }
};

TEST(DataEdit, BelowTheMinimumTheFieldTakesTheMinimum) {
  TDataEditLogic field;
  field.SetMinVal(2);
  field.SetMaxVal(1e4932L);
  const ExitCheckResult result = enter(field, "1");
  EXPECT_FALSE(result.valid);
  EXPECT_EQ(result.error, EntryError::BelowMinimum);
  EXPECT_EQ(result.message, "Entry must be greater than or equal to 2");
  EXPECT_EQ(field.Text(), "2");
  EXPECT_FALSE(field.EntryValid());
  // The corrected value passes the next check.
  EXPECT_TRUE(field.ExitCheck().valid);
  EXPECT_TRUE(field.EntryValid());
}

TEST(DataEdit, AboveTheMaximumTheFieldTakesTheMaximum) {
  TDataEditLogic field;
  field.SetMinVal(-1000000);
  field.SetMaxVal(1000000);
  const ExitCheckResult result = enter(field, "2e6");
  EXPECT_EQ(result.error, EntryError::AboveMaximum);
  EXPECT_EQ(result.message, "Entry must be less than or equal to 1000000");
  EXPECT_EQ(field.Text(), "1000000");
  // The bounds themselves are accepted.
  EXPECT_TRUE(enter(field, "-1000000").valid);
  EXPECT_TRUE(enter(field, "1e6").valid);
  EXPECT_EQ(field.Text(), "1000000");
}

TEST(DataEdit, UnevaluableEntryKeepsItsTextAndReportsTheReason) {
  TDataEditLogic field;
  ExitCheckResult result = enter(field, "2*(3");
  EXPECT_EQ(result.error, EntryError::NotEvaluable);
  EXPECT_EQ(result.message.rfind("Entry could not be evaluated:", 0), 0u) << result.message;
  EXPECT_EQ(field.Text(), "2*(3");
  EXPECT_FALSE(field.EntryValid());
  EXPECT_THROW(field.Number(), EAssignError);

  // An integer field has its own message for the same fault.
  field.SetIntegerOnly(true);
  result = enter(field, "abc");
  EXPECT_EQ(result.message, "Entry must be a valid integer.");
  EXPECT_EQ(field.Text(), "abc");
}

TEST(DataEdit, IntegerFieldRefusesFractionsButAcceptsWholeExpressions) {
  TDataEditLogic field;
  field.SetIntegerOnly(true);
  field.SetMinVal(1);
  field.SetMaxVal(300);
  ExitCheckResult result = enter(field, "2.5");
  EXPECT_EQ(result.error, EntryError::NotInteger);
  EXPECT_EQ(result.message, "Entry must be an integer.");
  EXPECT_EQ(field.Text(), "2.5");

  result = enter(field, "5/2*2");
  EXPECT_TRUE(result.valid);
  EXPECT_TRUE(result.message.empty());
  EXPECT_EQ(field.Text(), "5");
  EXPECT_EQ(field.Number(), 5);

  // The limits of the increments field: 0 and 301 are refused.
  EXPECT_EQ(enter(field, "0").message, "Entry must be greater than or equal to 1");
  EXPECT_EQ(enter(field, "301").message, "Entry must be less than or equal to 300");
  EXPECT_EQ(field.Text(), "300");
}

TEST(DataEdit, IntegerFieldKeepsItsBoundsInThe32BitRange) {
  TDataEditLogic field;
  field.SetIntegerOnly(true);
  EXPECT_EQ(field.MaxVal(), 2147483647.0L);
  EXPECT_EQ(field.MinVal(), -2147483648.0L);
  field.SetMaxVal(1e12L);
  EXPECT_EQ(field.MaxVal(), 2147483647.0L);
  EXPECT_EQ(enter(field, "3e9").message, "Entry must be less than or equal to 2147483647");
}

TEST(DataEdit, BoundsStayInOrderAndPullTheValueIn) {
  TDataEditLogic field;
  EXPECT_EQ(field.MaxVal(), std::numeric_limits<long double>::max());
  EXPECT_EQ(field.MinVal(), -std::numeric_limits<long double>::max());
  EXPECT_EQ(field.Text(), "0");

  field.SetMinVal(10);  // the value 0 now lies below the minimum
  EXPECT_EQ(field.Text(), "10");
  field.SetMaxVal(5);  // below the minimum: raised to it
  EXPECT_EQ(field.MaxVal(), 10);
  field.SetMaxVal(50);
  field.SetNumber(40);
  field.SetMinVal(80);  // above the maximum: lowered to it, and the value follows
  EXPECT_EQ(field.MinVal(), 50);
  EXPECT_EQ(field.Text(), "50");

  // Writing a number clamps it.
  field.SetMinVal(-5);
  field.SetNumber(1e9);
  EXPECT_EQ(field.Text(), "50");
  field.SetNumber(-1e9);
  EXPECT_EQ(field.Text(), "-5");
}

TEST(DataEdit, BoundsFromAFormDescriptionAreStoredAsGiven) {
  TDataEditLogic field;
  field.BeginLoading();
  field.SetMaxVal(-10);  // below the value: the value is not pulled in
  field.SetMinVal(5);    // above the maximum: not lowered
  field.EndLoading();
  EXPECT_EQ(field.MaxVal(), -10);
  EXPECT_EQ(field.MinVal(), 5);
  EXPECT_EQ(field.Text(), "0");

  // An integer field loaded with the default (huge) bounds still only
  // accepts values that fit a 32-bit integer.
  TDataEditLogic count;
  count.BeginLoading();
  count.SetIntegerOnly(true);
  count.SetMaxVal(std::numeric_limits<long double>::max());
  count.EndLoading();
  EXPECT_EQ(enter(count, "1e30").error, EntryError::AboveMaximum);
  EXPECT_EQ(count.Text(), "2147483647");
}

TEST(DataEdit, OperatorTypedOverASelectedValueExtendsIt) {
  TDataEditLogic field;
  TypingShell shell{field};
  enter(field, "12");
  shell.selectAll();
  shell.type('*');
  shell.type('2');
  EXPECT_EQ(field.Text(), "12*2");
  EXPECT_TRUE(field.ExitCheck().valid);
  EXPECT_EQ(field.Text(), "24");

  // A digit over the selection replaces the value as in any edit control.
  shell.selectAll();
  shell.type('7');
  EXPECT_EQ(field.Text(), "7");

  for (char op : std::string("+-/*^=%!"))
    EXPECT_EQ(TDataEditLogic::DecideKey(op, true), KeyDecision::MoveCaretToEndThenInsert) << op;
  // Without a whole selection, operators are typed where the caret is.
  EXPECT_EQ(TDataEditLogic::DecideKey('*', false), KeyDecision::PassThrough);
  EXPECT_EQ(TDataEditLogic::DecideKey('.', true), KeyDecision::PassThrough);
  EXPECT_EQ(TDataEditLogic::DecideKey('\r', false), KeyDecision::ExitCheckThenSelectAll);
  EXPECT_EQ(TDataEditLogic::DecideKey('\n', true), KeyDecision::ExitCheckThenSelectAll);
}

TEST(DataEdit, HexadecimalForm) {
  TDataEditLogic field;
  field.SetHex(true);
  field.SetNumber(255);
  EXPECT_EQ(field.Text(), "$00FF");
  EXPECT_TRUE(enter(field, "$FF+1").valid);
  EXPECT_EQ(field.Text(), "$0100");
  EXPECT_EQ(field.Number(), 256);
  field.SetNumber(0x12345);
  EXPECT_EQ(field.Text(), "$12345");  // more than 4 digits when needed
  field.SetMinVal(16);
  EXPECT_EQ(enter(field, "1").message, "Entry must be greater than or equal to $0010");
}

TEST(DataEdit, FifteenSignificantDigitsHideBinaryNoise) {
  TDataEditLogic field;
  EXPECT_TRUE(enter(field, "123456789012345").valid);
  EXPECT_EQ(field.Text(), "123456789012345");
  EXPECT_TRUE(enter(field, "1234567890123456789").valid);
  EXPECT_EQ(field.Text(), "1.23456789012346E18");
  EXPECT_TRUE(enter(field, "1.5e-7").valid);
  EXPECT_EQ(field.Text(), "1.5E-7");
  EXPECT_TRUE(enter(field, "2/3").valid);
  EXPECT_EQ(field.Text(), "0.666666666666667");
  // 6 in to metres in 64-bit arithmetic is 0.15239999999999998.
  const double metres = 6 * 0.0254;
  ASSERT_NE(metres, 0.1524);
  field.SetNumber(metres);
  EXPECT_EQ(field.Text(), "0.1524");
}

TEST(DataEdit, LabelShowsCaptionAndUnitOfTheUnitsSystem) {
  TDataEditLogic field;
  int labelChanges = 0;
  field.OnLabelChange = [&] { ++labelChanges; };
  field.SetCaption("Increment Length");
  EXPECT_EQ(field.LabelText(), "Increment Length");  // no unit text: caption alone
  field.SetUnitsString("L");
  EXPECT_EQ(field.LabelText(), "Increment Length (in)");
  field.SetUnits(2);
  EXPECT_EQ(field.LabelText(), "Increment Length (m)");
  field.SetUnitsString("F/L2^2");
  EXPECT_EQ(field.LabelText(), "Increment Length (kN/m^2)");
  field.SetUnits(0);  // out of range: English
  EXPECT_EQ(field.Units(), 1);
  EXPECT_EQ(field.LabelText(), "Increment Length (lbs/ft^2)");
  field.SetUnits(9);  // out of range: no units system, letters as written
  EXPECT_EQ(field.Units(), 3);
  EXPECT_EQ(field.LabelText(), "Increment Length (F/L2^2)");
  field.SetEnabled(false);
  EXPECT_EQ(labelChanges, 7);
}

TEST(DataEdit, OnlyTheLogicsOwnTextChangesAreAnnounced) {
  TDataEditLogic field;
  int textChanges = 0;
  field.OnTextChange = [&] { ++textChanges; };
  field.SetText("3*4");  // the user's own typing
  EXPECT_EQ(textChanges, 0);
  field.ExitCheck();  // normalised to 12
  EXPECT_EQ(textChanges, 1);
  field.ExitCheck();  // already normal
  EXPECT_EQ(textChanges, 1);
  field.SetNumber(7);
  EXPECT_EQ(textChanges, 2);
}

}  // namespace
