#include "dialogs/TDataEdit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "widgets/TUserPrompts.h"

namespace terraq::ui {

TDataEdit::TDataEdit(QWidget* parent) : QLineEdit(parent) {
  logic_.OnTextChange = [this] { showLogicText(); };
  logic_.OnLabelChange = [this] { refreshLabel(); };
  showLogicText();
  // The user's own edits go to the logic; it tells us about its changes
  // through OnTextChange (which sets the text with updatingText_ on).
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!updatingText_) logic_.SetText(text.toStdString());
  });
}

void TDataEdit::SetEditLabel(QLabel* label) {
  label_ = label;
  if (label) label->setBuddy(this);
  refreshLabel();
}

void TDataEdit::SetNumber(long double value) {
  logic_.SetNumber(value);
  // The logic announces only a text that changed; the value is checked
  // either way.
  checkedText_ = text();
}

bool TDataEdit::ValidateEntry() { return runExitCheck(false); }

bool TDataEdit::ConfirmEntry() {
  if (HoldsCheckedValue()) return true;
  // Leaving the field and the dialog's store can come from one click: the
  // failure already found is on its way to the user, once.
  if (reportPending_) return false;
  return ValidateEntry();
}

void TDataEdit::keyPressEvent(QKeyEvent* event) {
  char key = 0;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    key = '\r';
  } else {
    const QString typed = event->text();
    if (typed.size() == 1 && typed.at(0).unicode() < 128) key = static_cast<char>(typed.at(0).unicode());
  }
  if (key != 0) {
    const bool wholeTextSelected = hasSelectedText() && !text().isEmpty() && selectedText() == text();
    switch (TDataEditLogic::DecideKey(key, wholeTextSelected)) {
      case KeyDecision::ExitCheckThenSelectAll:
        // Enter never reaches a default button of the dialog.
        runExitCheck(false);
        selectAll();
        event->accept();
        return;
      case KeyDecision::MoveCaretToEndThenInsert:
        end(false);
        break;
      case KeyDecision::PassThrough:
        break;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void TDataEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  switch (event->reason()) {
    case Qt::ActiveWindowFocusReason:  // back from a box or another program: as it was
    case Qt::PopupFocusReason:         // back from a menu
      return;
    case Qt::MouseFocusReason:
      // The click that gave the focus places the caret after this event.
      QTimer::singleShot(0, this, [this] {
        if (hasFocus()) selectAll();
      });
      return;
    default: selectAll();
  }
}

void TDataEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  switch (event->reason()) {
    case Qt::ActiveWindowFocusReason:  // another top-level window, e.g. a box
    case Qt::PopupFocusReason:         // a menu or a drop-down list
    case Qt::MenuBarFocusReason:
      return;
    default:
      break;
  }
  if (isVisible()) runExitCheck(true);
}

void TDataEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) logic_.SetEnabled(isEnabled());
}

bool TDataEdit::runExitCheck(bool reportLater) {
  const ExitCheckResult result = logic_.ExitCheck();
  if (result.valid) {
    checkedText_ = text();
    return true;
  }
  // A value outside the bounds was replaced by the bound (a value the
  // program wrote); an entry that does not evaluate, or is not whole, stays
  // as typed and is checked again, and reported again, next time.
  reportPending_ = true;
  const QString message = QString::fromStdString(result.message);
  if (reportLater) {
    // Called while the focus is on its way to another widget: taking it
    // back now would interrupt that change half way (the other widget would
    // be left without its focus-in). Report once it has completed.
    QTimer::singleShot(0, this, [this, message] { reportFailure(message); });
  } else {
    reportFailure(message);
  }
  return false;
}

void TDataEdit::reportFailure(const QString& message) {
  TUserPrompts::Current().showError(window(), message);
  reportPending_ = false;
  if (!isVisible()) return;
  // The box took the activation; without it back, the field would show
  // the next keys typed without holding the focus, and leaving it would run
  // no check. Window managers give it back on their own; without one
  // nothing would.
  window()->activateWindow();
  setFocus(Qt::OtherFocusReason);
  selectAll();
}

void TDataEdit::showLogicText() {
  updatingText_ = true;
  setText(QString::fromStdString(logic_.Text()));
  updatingText_ = false;
  checkedText_ = text();
}

void TDataEdit::refreshLabel() {
  if (!label_) return;
  label_->setText(LabelText());
  label_->setEnabled(logic_.Enabled());
}

}  // namespace terraq::ui
