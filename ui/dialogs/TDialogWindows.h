#pragma once
// The data dialogs of the main window: each one created on first use as a
// child window of the multiple-document area, reused (brought to the front)
// while it is open and freed when it is closed. The pointer kept for each
// kind is the main window's marker of whether that dialog exists.

#include <QObject>
#include <QPointer>
#include <array>

#include "dialogs/TDataDialog.h"

class QMdiArea;

namespace terraq::ui {

enum class TDialogKind {
  Title,       // TdlgTitle      "Project Title"
  Prop,        // TDlgProp       "Wall Properties"
  WallConfig,  // TDlgWallConfig  "Wall Configuration"
  Surcharge,   // TDlgSurcharge   "Additional Surcharge"
  ConLoads,    // TDlgConLoads   "Concentrated Loads"
  Spring,      // TDlgSpring     "Lateral & Rotational Springs"
};
inline constexpr int kDialogKinds = 6;

class TDialogWindows : public QObject {
  Q_OBJECT

 public:
  // `area` and the context's project must outlive this object.
  TDialogWindows(QMdiArea& area, TDialogContext context, QObject* parent = nullptr);

  // Creates the dialog if needed, then makes it the active child window.
  TDataDialog* Show(TDialogKind kind);
  // The open dialog of a kind, or nullptr (the marker).
  TDataDialog* Dialog(TDialogKind kind) const;

  // The deactivation step of the current dialog, if the current child
  // window is one: before a menu opens and before the program closes. False
  // when its focused field refused its entry (the caller stops).
  bool StoreCurrent();
  // Every open dialog shows the project again (after a change of units).
  void ReloadAll();
  // Closes every dialog without storing (the project is being replaced).
  void DiscardAll();
  int Count() const;

 signals:
  // A dialog stored its fields: "Edit Wall Properties", for the Edit menu's
  // Undo.
  void edited(const QString& name);

 private:
  TDataDialog* create(TDialogKind kind);

  QMdiArea* area_;
  TDialogContext context_;
  std::array<QPointer<TDataDialog>, kDialogKinds> dialogs_;
};

}  // namespace terraq::ui
