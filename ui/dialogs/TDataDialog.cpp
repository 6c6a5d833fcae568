#include "dialogs/TDataDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <cmath>

#include "controls/EvaluateEntry.h"
#include "controls/UnitsCode.h"
#include "dialogs/TDataEdit.h"

namespace terraq::ui {

TDataDialog::TDataDialog(TDialogContext context, QWidget* parent) : QWidget(parent), context_(std::move(context)) {
  // The field the dialog asks before it stores is the one that had the
  // focus last; it keeps that role while another window has the focus.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now && isAncestorOf(now)) lastFocus_ = now;
  });
}

TDataEdit* TDataDialog::FocusedField() const { return qobject_cast<TDataEdit*>(lastFocus_.data()); }

TDataEdit* TDataDialog::NewField(const QString& name, const QString& caption, const QString& unitsCode) {
  auto* field = new TDataEdit(this);
  field->setObjectName(name);
  auto* label = new QLabel(this);
  label->setObjectName(QStringLiteral("lbl") + name);
  field->SetCaption(caption);
  field->SetUnitsString(unitsCode);
  field->SetEditLabel(label);
  // Room for 16 digits; the few values with more scroll within the field.
  field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0.0833333333333333")) + 12);
  return field;
}

void TDataDialog::BindReal(TDataEdit* field, double TProgramData::* member) {
  BindNumber(
      field, [member](const TProgramData& d) { return d.*member; },
      [member](TProgramData& d, double value) { d.*member = value; });
}

void TDataDialog::BindNumber(TDataEdit* field, std::function<double(const TProgramData&)> get,
                             std::function<void(TProgramData&, double)> set) {
  // A field without limits of its own is kept inside what the project and
  // its data file can hold.
  if (field->MaxVal() > kLargestEntry) field->SetMaxVal(kLargestEntry);
  if (field->MinVal() < -kLargestEntry) field->SetMinVal(-kLargestEntry);
  numbers_.push_back({field, std::move(get), std::move(set), {}, false});
}

void TDataDialog::AddFieldRow(QGridLayout* grid, int row, TDataEdit* field, int column) {
  grid->addWidget(field->EditLabel(), row, column);
  grid->addWidget(field, row, column + 1);
}

void TDataDialog::Reload() {
  const TProgramData& d = Data();
  for (NumberBinding& binding : numbers_) loadNumber(binding, d);
  LoadOther(d);
}

void TDataDialog::loadNumber(NumberBinding& binding, const TProgramData& values) {
  TDataEdit* field = binding.field;
  field->SetUnits(values.Units);
  long double shown =
      ShownValue(binding.get(values), field->UnitsString().toStdString(), values.Units);
  if (field->IntegerOnly()) shown = std::round(shown);
  field->SetNumber(shown);
  binding.loadedText = field->text();
  binding.pulledIn = QString::fromStdString(field->Logic().Format(shown)) != binding.loadedText;
}

bool TDataDialog::Store() {
  // The focused field first, then any other field edited since the last
  // load or store: nothing unchecked reaches the project, however the
  // field was left.
  std::vector<TDataEdit*> edited;
  if (TDataEdit* field = FocusedField()) edited.push_back(field);
  for (const NumberBinding& binding : numbers_)
    if (binding.field->text() != binding.loadedText) edited.push_back(binding.field);
  for (TDataEdit* field : edited) {
    if (!field->ConfirmEntry()) {
      takeFocusBack(field);
      return false;
    }
  }
  TProgramData& d = Data();
  // What changes a value marks the project Modified: a mark set afresh here
  // says this store changed it.
  const bool wasModified = d.Modified;
  d.Modified = false;
  for (NumberBinding& binding : numbers_) storeNumber(binding, d);
  StoreOther(d);
  const bool changed = d.Modified;
  d.Modified = wasModified || changed;
  if (changed && context_.edited) context_.edited();
  return true;
}

void TDataDialog::storeNumber(NumberBinding& binding, TProgramData& values) {
  TDataEdit* field = binding.field;
  if (field->text() == binding.loadedText && !binding.pulledIn) return;
  long double shown = 0;
  try {
    shown = field->Number();
  } catch (const EAssignError&) {
    return;  // every edited field was confirmed above
  }
  shown = std::fmin(std::fmax(shown, field->MinVal()), field->MaxVal());
  if (field->IntegerOnly()) shown = std::round(shown);
  const double stored = HeldValue(shown, field->UnitsString().toStdString(), values.Units);
  if (stored != binding.get(values)) {
    binding.set(values, stored);
    values.Modified = true;
  }
  binding.loadedText = field->text();
  binding.pulledIn = false;
}

void TDataDialog::Discard() {
  discarding_ = true;
  if (auto* window = qobject_cast<QMdiSubWindow*>(parentWidget()))
    window->close();
  else
    close();
}

void TDataDialog::takeFocusBack(TDataEdit* field) {
  // After the change of window that asked for the store has completed.
  QPointer<TDataEdit> target(field);
  QTimer::singleShot(0, this, [this, target] {
    if (closing_) return;
    if (area_ && subWindow_) area_->setActiveSubWindow(subWindow_);
    if (target) target->setFocus(Qt::OtherFocusReason);
  });
}

void TDataDialog::showEvent(QShowEvent* event) {
  attachToArea();
  QWidget::showEvent(event);
}

void TDataDialog::attachToArea() {
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  QMdiArea* area = sub ? sub->mdiArea() : nullptr;
  if (!area || area == area_) return;
  area_ = area;
  subWindow_ = sub;
  connect(area, &QMdiArea::subWindowActivated, this, &TDataDialog::onSubWindowActivated);
  if (area->activeSubWindow() == sub) {
    active_ = true;
    Reload();
  }
}

void TDataDialog::onSubWindowActivated(QMdiSubWindow* window) {
  if (!window || closing_) return;
  if (window == subWindow_) {
    if (!active_) {
      active_ = true;
      // Every dialog hears of the change, in the order they were connected:
      // the one that was left may be told after this one. Loading once the
      // signal has gone round sees what the other stored.
      QMetaObject::invokeMethod(
          this, [this] { if (!closing_) Reload(); }, Qt::QueuedConnection);
    }
    return;
  }
  // On refusal the dialog stays the active one in its own eyes: when it
  // gets the activation back it must not reload over the invalid entry.
  if (active_ && Store()) active_ = false;
}

void TDataDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    // The window's close runs the check; a refused entry keeps it open.
    if (subWindow_) subWindow_->close();
    else close();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TDataDialog::closeEvent(QCloseEvent* event) {
  if (!discarding_ && !Store()) {
    event->ignore();
    return;
  }
  closing_ = true;
  event->accept();
}

}  // namespace terraq::ui
