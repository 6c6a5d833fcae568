#include "controls/TDataEditLogic.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "controls/EvaluateEntry.h"
#include "controls/NumberFormat.h"
#include "controls/UnitsCode.h"

namespace terraq::ui {

namespace {

constexpr long double kInt32Min = static_cast<long double>(INT32_MIN);
constexpr long double kInt32Max = static_cast<long double>(INT32_MAX);

long double clampToInt32(long double value) {
  if (value < kInt32Min) return kInt32Min;
  if (value > kInt32Max) return kInt32Max;
  return value;
}

ExitCheckResult failure(EntryError error, std::string message) { return {false, error, std::move(message)}; }

}  // namespace

void TDataEditLogic::SetIntegerOnly(bool integerOnly) {
  integerOnly_ = integerOnly;
  if (!integerOnly) return;
  // Through the bound setters, so the value follows the narrowed bounds.
  SetMaxVal(maxVal_);
  SetMinVal(minVal_);
}

void TDataEditLogic::EndLoading() {
  loading_ = false;
  if (integerOnly_) {
    maxVal_ = clampToInt32(maxVal_);
    minVal_ = clampToInt32(minVal_);
  }
}

void TDataEditLogic::SetCaption(const std::string& caption) {
  caption_ = caption;
  labelChanged();
}

void TDataEditLogic::SetHex(bool hex) { hex_ = hex; }

void TDataEditLogic::SetMaxVal(long double maxVal) {
  if (loading_) {
    maxVal_ = maxVal;
    return;
  }
  applyMaxVal(maxVal);
}

void TDataEditLogic::SetMinVal(long double minVal) {
  if (loading_) {
    minVal_ = minVal;
    return;
  }
  applyMinVal(minVal);
}

void TDataEditLogic::applyMaxVal(long double maxVal) {
  if (integerOnly_) maxVal = clampToInt32(maxVal);
  if (maxVal < minVal_) maxVal = minVal_;
  maxVal_ = maxVal;
  // A text that does not evaluate has no value to pull in; the next exit
  // check reports it.
  try {
    if (Number() > maxVal_) SetNumber(maxVal_);
  } catch (const EAssignError&) {
  }
}

void TDataEditLogic::applyMinVal(long double minVal) {
  if (integerOnly_) minVal = clampToInt32(minVal);
  if (minVal > maxVal_) minVal = maxVal_;
  minVal_ = minVal;
  try {
    if (Number() < minVal_) SetNumber(minVal_);
  } catch (const EAssignError&) {
  }
}

long double TDataEditLogic::Number() const { return EvaluateEntry(text_); }

void TDataEditLogic::SetNumber(long double value) {
  // Two comparisons rather than std::clamp: while a form is loading the
  // bounds may be out of order, which std::clamp does not allow.
  if (value > maxVal_) value = maxVal_;
  if (value < minVal_) value = minVal_;
  setTextInternally(Format(value));
}

void TDataEditLogic::SetUnitsString(const std::string& unitsString) {
  unitsString_ = unitsString;
  labelChanged();
}

void TDataEditLogic::SetUnits(int units) {
  units_ = units < 1 ? 1 : (units > 3 ? 3 : units);
  labelChanged();
}

void TDataEditLogic::SetEnabled(bool enabled) {
  enabled_ = enabled;
  labelChanged();
}

std::string TDataEditLogic::LabelText() const {
  if (unitsString_.empty()) return caption_;
  return caption_ + " (" + FieldUnitText(unitsString_, units_) + ")";
}

std::string TDataEditLogic::Format(long double value) const {
  return hex_ ? FormatHex(value) : FormatDisplay(value);
}

KeyDecision TDataEditLogic::DecideKey(char key, bool wholeTextSelected) {
  switch (key) {
    case '\r':
    case '\n':
      return KeyDecision::ExitCheckThenSelectAll;
    case '+':
    case '-':
    case '/':
    case '*':
    case '^':
    case '=':
    case '%':
    case '!':
      return wholeTextSelected ? KeyDecision::MoveCaretToEndThenInsert : KeyDecision::PassThrough;
    default:
      return KeyDecision::PassThrough;
  }
}

ExitCheckResult TDataEditLogic::ExitCheck() {
  entryValid_ = false;
  long double value = 0;
  try {
    value = EvaluateEntry(text_);
  } catch (const EAssignError& e) {
    return failure(EntryError::NotEvaluable, integerOnly_ ? "Entry must be a valid integer." : e.what());
  }
  if (integerOnly_ && value != std::trunc(value)) return failure(EntryError::NotInteger, "Entry must be an integer.");
  if (value < minVal_) {
    SetNumber(minVal_);
    return failure(EntryError::BelowMinimum, "Entry must be greater than or equal to " + Format(minVal_));
  }
  if (value > maxVal_) {
    SetNumber(maxVal_);
    return failure(EntryError::AboveMaximum, "Entry must be less than or equal to " + Format(maxVal_));
  }
  setTextInternally(Format(value));
  entryValid_ = true;
  return {true, EntryError::None, {}};
}

void TDataEditLogic::setTextInternally(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  if (OnTextChange) OnTextChange();
}

void TDataEditLogic::labelChanged() const {
  if (OnLabelChange) OnLabelChange();
}

}  // namespace terraq::ui
