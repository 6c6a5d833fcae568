#pragma once
// The windowless logic of the numeric entry field TDataEdit: one line of
// text that must evaluate (as an expression, see EvaluateEntry.h) to a real
// or whole number between a lower and an upper bound, and a companion label
// that shows the field's caption with its unit in the current units system.
//
// The Qt widget is a thin shell over this class. It forwards what the user
// typed (SetText), asks what to do with a key (DecideKey), runs the exit
// check when the field loses the focus or Enter is pressed (ExitCheck) and
// shows what comes back: the message of a failed check, the new text, the
// label. Nothing here knows about windows, focus or message boxes.
//
// Text flow: SetText records the user's own edits and notifies nobody (the
// widget already shows that text). Every change the logic makes itself (a
// value written through SetNumber, the normalised text after an exit check,
// a value pulled back to a changed bound) calls OnTextChange, and every
// change of the label's text or enabled state calls OnLabelChange.

#include <functional>
#include <limits>
#include <string>

#include "controls/EvaluateEntry.h"  // EAssignError, thrown by Number()

namespace terraq::ui {

// What the widget does with one typed key.
enum class KeyDecision {
  // Let the edit control handle the key as usual.
  PassThrough,
  // Enter: run the exit check, then select the whole text; the key itself
  // is swallowed (it must not reach a dialog's default button).
  ExitCheckThenSelectAll,
  // An operator typed over a fully selected value: move the caret to the end
  // of the text (clearing the selection) first, then insert the key, so that
  // "12" selected and "*" typed gives "12*" instead of replacing the value.
  MoveCaretToEndThenInsert,
};

// Why the last exit check failed.
enum class EntryError {
  None,
  NotEvaluable,   // the expression could not be evaluated
  NotInteger,     // a fractional value in an integer-only field
  BelowMinimum,   // the value was set to MinVal
  AboveMaximum,   // the value was set to MaxVal
};

// The outcome of one exit check. On failure the widget shows `message` in an
// error box and, when the field is visible on a form, gives the focus back
// to the field; the field's text is already what it must show.
struct ExitCheckResult {
  bool valid = false;
  EntryError error = EntryError::None;
  std::string message;  // empty when valid; may hold line breaks ("\n")
};

class TDataEditLogic {
 public:
  // The largest finite value of the field's real type (about 1.19e4932 where
  // long double has the 80-bit format): the default bounds are its +/-.
  static constexpr long double kLargest = std::numeric_limits<long double>::max();

  // Called after the logic changed the text / the label (see above). Either
  // may be empty.
  std::function<void()> OnTextChange;
  std::function<void()> OnLabelChange;

  // --- The published properties -------------------------------------------

  // A whole-number field. Turning it on limits both bounds to the signed
  // 32-bit range (pulling the value in with them).
  bool IntegerOnly() const { return integerOnly_; }
  void SetIntegerOnly(bool integerOnly);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  // Values shown as "$" and at least 4 hexadecimal digits of the rounded
  // value, instead of the general format.
  bool Hex() const { return hex_; }
  void SetHex(bool hex);

  // The bounds. Outside form loading, a maximum below the minimum is raised
  // to it and a minimum above the maximum lowered to it, an integer-only
  // field keeps both in the 32-bit range, and a value that lies outside the
  // new bound is set to that bound.
  long double MaxVal() const { return maxVal_; }
  void SetMaxVal(long double maxVal);
  long double MinVal() const { return minVal_; }
  void SetMinVal(long double minVal);

  // Reading evaluates the current text (throws EAssignError when it cannot
  // be evaluated); writing clamps to the bounds and shows the formatted value.
  long double Number() const;
  void SetNumber(long double value);

  // The unit text with unit letters ("F/L2^2"); empty shows the caption alone.
  const std::string& UnitsString() const { return unitsString_; }
  void SetUnitsString(const std::string& unitsString);

  // The units system: 1 English, 2 SI, 3 none; 0 or less becomes 1, above 3
  // becomes 3.
  int Units() const { return units_; }
  void SetUnits(int units);

  // --- State the widget keeps in step -------------------------------------

  // The field's text as the user sees it.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text) { text_ = text; }

  // The label is enabled together with the field.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // While a form description is being loaded the bounds are stored as given,
  // without the adjustments above: the description's text and bounds are
  // taken as they were saved, whatever order the properties come in. One
  // exception when loading ends: an integer-only field's bounds are limited
  // to the 32-bit range even if the description held wider ones, so that
  // its value always converts to a 32-bit integer.
  void BeginLoading() { loading_ = true; }
  void EndLoading();
  bool Loading() const { return loading_; }

  // True after the last exit check succeeded; false before the first one,
  // while one runs and after one failed.
  bool EntryValid() const { return entryValid_; }

  // --- Derived texts and decisions ----------------------------------------

  // The companion label: the caption, and when there is a unit text,
  // " (" unit ")" with the unit letters named for Units (as FieldUnitText:
  // "F/L2^2" in English reads "lbs/ft^2").
  std::string LabelText() const;

  // A value as the field shows it: FormatDisplay (15 significant digits), or
  // the "$" hexadecimal form.
  std::string Format(long double value) const;

  // What to do with `key` typed into the field, given whether the whole
  // (non-empty) text is selected. Enter is '\r' or '\n'.
  static KeyDecision DecideKey(char key, bool wholeTextSelected);

  // The exit check, run when the field loses the focus, on Enter and from
  // ValidateEntry: evaluate the text, check it is whole (integer-only) and
  // within the bounds, then show the normalised value. A value outside the
  // bounds is replaced by the bound it crossed; other failures keep the text.
  ExitCheckResult ExitCheck();

  // For a dialog before it accepts its fields: runs the exit check. The
  // widget shows the result's message as after any failed exit check.
  ExitCheckResult ValidateEntry() { return ExitCheck(); }

 private:
  void applyMaxVal(long double maxVal);
  void applyMinVal(long double minVal);
  void setTextInternally(const std::string& text);
  void labelChanged() const;

  bool integerOnly_ = false;
  std::string caption_;
  bool hex_ = false;
  long double maxVal_ = kLargest;
  long double minVal_ = -kLargest;
  std::string unitsString_;
  int units_ = 1;
  std::string text_ = "0";
  bool enabled_ = true;
  bool loading_ = false;
  bool entryValid_ = false;
};

}  // namespace terraq::ui
