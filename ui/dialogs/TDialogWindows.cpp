#include "dialogs/TDialogWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "dialogs/TDlgProp.h"
#include "dialogs/TDlgWallConfig.h"
#include "dialogs/TableDialogs.h"
#include "dialogs/TdlgTitle.h"

namespace terraq::ui {

TDialogWindows::TDialogWindows(QMdiArea& area, TDialogContext context, QObject* parent)
    : QObject(parent), area_(&area), context_(std::move(context)) {}

TDataDialog* TDialogWindows::create(TDialogKind kind) {
  switch (kind) {
    case TDialogKind::Title:
      return new TdlgTitle(context_);
    case TDialogKind::Prop:
      return new TDlgProp(context_);
    case TDialogKind::WallConfig: return new TDlgWallConfig(context_);
    case TDialogKind::Surcharge: return new TDlgSurcharge(context_);
    case TDialogKind::ConLoads:
      return new TDlgConLoads(context_);
    case TDialogKind::Spring:
      return new TDlgSpring(context_);
  }
  return nullptr;
}

TDataDialog* TDialogWindows::Dialog(TDialogKind kind) const {
  TDataDialog* dialog = dialogs_[static_cast<size_t>(kind)];
  // A dialog that was closed lingers until its deferred deletion.
  return dialog && !dialog->IsClosed() ? dialog : nullptr;
}

TDataDialog* TDialogWindows::Show(TDialogKind kind) {
  TDataDialog* dialog = Dialog(kind);
  if (!dialog) {
    dialog = create(kind);
    dialogs_[static_cast<size_t>(kind)] = dialog;
    connect(dialog, &TDataDialog::stored, this,
            [this, dialog] { emit edited(tr("Edit %1").arg(dialog->windowTitle())); });
    QMdiSubWindow* window = area_->addSubWindow(dialog);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(dialog->windowTitle());
    window->show();
    window->resize(window->sizeHint());
  }
  auto* window = qobject_cast<QMdiSubWindow*>(dialog->parentWidget());
  if (window->isMinimized()) window->showNormal();
  area_->setActiveSubWindow(window);
  return dialog;
}

bool TDialogWindows::StoreCurrent() {
  QMdiSubWindow* current = area_->currentSubWindow();
  for (const QPointer<TDataDialog>& dialog : dialogs_)
    if (dialog && !dialog->IsClosed() && dialog->parentWidget() == current) return dialog->Store();
  return true;
}

void TDialogWindows::ReloadAll() {
  for (const QPointer<TDataDialog>& dialog : dialogs_)
    if (dialog && !dialog->IsClosed()) dialog->Reload();
}

void TDialogWindows::DiscardAll() {
  for (const QPointer<TDataDialog>& dialog : dialogs_)
    if (dialog && !dialog->IsClosed()) dialog->Discard();
}

int TDialogWindows::Count() const {
  int count = 0;
  for (int k = 0; k < kDialogKinds; ++k)
    if (Dialog(static_cast<TDialogKind>(k))) ++count;
  return count;
}

}  // namespace terraq::ui
