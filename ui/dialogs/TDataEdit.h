#pragma once
// TDataEdit: the numeric entry field of every dialog. A one-line edit that
// holds a real or whole number between a lower and an upper bound, accepts
// arithmetic expressions ("12*2", "sqrt(2)/2"), and keeps a companion label
// showing its caption and its unit in the current units system. All rules
// (bounds, formats, label text, which key does what, the exit check and its
// messages) live in the windowless TDataEditLogic; this class shows them.
//
// The exit check runs when the field is left, on Enter and from
// ValidateEntry. A failed check shows its message in an error box (through
// TUserPrompts::Current().showError, which tests replace) and gives the
// focus back to the field. Leaving the field by a change of the active
// top-level window (a message box, another program) or by a popup menu runs
// no check: the dialog that owns the field asks it itself when it is
// deactivated, and a message box of the field's own would otherwise check
// the field again while it is still showing.

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>

#include "controls/TDataEditLogic.h"

namespace terraq::ui {

class TDataEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TDataEdit(QWidget* parent = nullptr);

  // --- The published properties (see TDataEditLogic for their rules) ----

  bool IntegerOnly() const { return logic_.IntegerOnly(); }
  void SetIntegerOnly(bool integerOnly) { logic_.SetIntegerOnly(integerOnly); }

  QString Caption() const { return QString::fromStdString(logic_.Caption()); }
  void SetCaption(const QString& caption) { logic_.SetCaption(caption.toStdString()); }

  // The companion label (not owned; it normally shares the field's parent).
  // Setting it makes the field the label's buddy, so the label's access key
  // ("&Increments") moves the focus here, and shows the label text.
  QLabel* EditLabel() const { return label_; }
  void SetEditLabel(QLabel* label);

  bool Hex() const { return logic_.Hex(); }
  void SetHex(bool hex) { logic_.SetHex(hex); }

  long double MaxVal() const { return logic_.MaxVal(); }
  void SetMaxVal(long double maxVal) { logic_.SetMaxVal(maxVal); }
  long double MinVal() const { return logic_.MinVal(); }
  void SetMinVal(long double minVal) { logic_.SetMinVal(minVal); }

  // Reading evaluates the text and throws EAssignError when it cannot be
  // evaluated. Writing clamps to the bounds and shows the formatted value;
  // such a value counts as checked (see HoldsCheckedValue).
  long double Number() const { return logic_.Number(); }
  void SetNumber(long double value);

  QString UnitsString() const { return QString::fromStdString(logic_.UnitsString()); }
  void SetUnitsString(const QString& unitsString) { logic_.SetUnitsString(unitsString.toStdString()); }

  // 1 English, 2 SI, 3 none (out-of-range values are pulled in).
  int Units() const { return logic_.Units(); }
  void SetUnits(int units) { logic_.SetUnits(units); }

  // True after the last exit check succeeded.
  bool EntryValid() const { return logic_.EntryValid(); }

  // Runs the exit check (with its error box and the focus given back on
  // failure) and returns EntryValid.
  bool ValidateEntry();

  // For a dialog about to store its fields. True at once when the text is a
  // value the program wrote or an exit check accepted, unchanged since.
  // Otherwise the exit check runs as in ValidateEntry, and every refusal
  // says why, except while the box of a refusal found by the same action
  // (leaving the field) is still to be shown or open: false, no second box.
  bool ConfirmEntry();
  // The text is a value the program wrote or the last check accepted.
  bool HoldsCheckedValue() const { return text() == checkedText_; }

  // The label text as the logic composes it (caption and unit).
  QString LabelText() const { return QString::fromStdString(logic_.LabelText()); }

  TDataEditLogic& Logic() { return logic_; }
  const TDataEditLogic& Logic() const { return logic_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Taking the focus selects the whole entry, so that a value typed replaces
  // it (also after a click, which would otherwise place the caret).
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Runs the exit check. On failure the message is shown and the focus
  // comes back, now or (while the focus is on its way elsewhere, from
  // focusOutEvent) as soon as that change has completed.
  bool runExitCheck(bool reportLater);
  void reportFailure(const QString& message);
  void showLogicText();
  void refreshLabel();

  TDataEditLogic logic_;
  QPointer<QLabel> label_;
  QString checkedText_;   // the text last accepted or written by the program
  bool reportPending_ = false;  // a refusal's box is to be shown or is open
  bool updatingText_ = false;
};

}  // namespace terraq::ui
