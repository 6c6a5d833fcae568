#pragma once
// TDataDialog: what every data dialog does the same way. A data dialog is a
// child window of the main window (a widget inside a QMdiSubWindow) that
// edits scalar values of the project and opens project tables.
//
//  - Activation (its sub-window becomes the active one) loads the fields
//    from the project (Reload): stored units become display units (English
//    projects hold heights and water depths in inches and show them in
//    feet, hold the surcharge pressure in lb/in^2 and show it in lb/ft^2),
//    and every numeric field takes the project's units system.
//  - Deactivation (another sub-window becomes active; the main window also
//    asks before a menu opens and before it closes) stores the fields back
//    (Store). When the numeric field that has (or last had) the focus, or
//    any other field edited since, holds an invalid entry, nothing is
//    stored, the field reports it, and the dialog is made active again with
//    the focus in that field.
//  - Closing stores like deactivation and is refused on an invalid entry.
//  - A value that changes marks the project Modified; a field the user did
//    not touch is not written back, so an open-and-close stores nothing,
//    except a project value that had to be pulled into the field's bounds
//    to be shown: the dialog never shows what the project does not hold.
//
// Activation is taken from the QMdiArea's subWindowActivated signal (a dialog
// outside such an area loads when it is made and stores when it closes). A null
// window there means the main window lost the activation (a message box,
// another program) and is not a deactivation of the dialog: the user has not
// left it, and a box raised by one of its own fields must not reload it.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "project/TProject.h"
#include "project/WallSection.h"

class QGridLayout;
class QLabel;
class QMdiArea;
class QMdiSubWindow;

namespace terraq::ui {

class TDataEdit;

// What the dialogs reach outside themselves. The project outlives every
// dialog (the main window's, or a test's); its TProgramData is looked up
// anew each time, since New and Open replace it.
struct TDialogContext {
  TProject* project = nullptr;
  // Opens the window of a project table, or brings it to the front.
  std::function<void(TGridTable&)> showTable;
  // Closes the window of a project table when it is open.
  std::function<void(const TGridTable&)> closeTable;
  // The wall's section the main window keeps for the project, and what
  // takes a new one (nullopt: none) after its EI went into the project.
  std::function<std::optional<WallSection>()> wallSection;
  std::function<void(const std::optional<WallSection>&)> setWallSection;
  // Told when a dialog stored a value that changed the project (may be
  // empty).
  std::function<void()> edited;
};

class TDataDialog : public QWidget {
  Q_OBJECT

 public:
  TDataDialog(TDialogContext context, QWidget* parent = nullptr);

  // The activation step: shows the project's values (also after a change of
  // the units system).
  void Reload();
  // The deactivation step. False when an edited field's entry is invalid:
  // nothing was stored and the dialog takes the focus back.
  bool Store();
  // Closes the dialog without storing anything (the project it shows is
  // being replaced).
  void Discard();

  // The numeric field that has, or last had, the focus (nullptr when the
  // focus was last on another kind of control).
  TDataEdit* FocusedField() const;
  // The dialog was closed (it is deleted with its window later).
  bool IsClosed() const { return closing_; }

 protected:
  TProgramData& Data() const { return context_.project->Data(); }
  TProjectTables& Tables() const { return context_.project->Tables(); }
  const TDialogContext& Context() const { return context_; }

  // A numeric field and its companion label (object name "lbl" + name),
  // both children of this dialog. `unitsCode` names the unit shown beside
  // the caption and decides the display conversion.
  TDataEdit* NewField(const QString& name, const QString& caption, const QString& unitsCode);
  // Binds a field to a real of the project; the display conversion follows
  // the field's units code.
  void BindReal(TDataEdit* field, double TProgramData::* member);
  // Binds a field to any project value through a getter and a setter of
  // stored values.
  void BindNumber(TDataEdit* field, std::function<double(const TProgramData&)> get,
                  std::function<void(TProgramData&, double)> set);
  // Puts a field's label in column `column` and the field beside it.
  static void AddFieldRow(QGridLayout* grid, int row, TDataEdit* field, int column = 0);

  // What a dialog loads and stores besides its bound numeric fields.
  virtual void LoadOther(const TProgramData&) {}
  virtual void StoreOther(TProgramData&) {}

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Escape closes the dialog's window, after the check of its fields.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct NumberBinding {
    TDataEdit* field = nullptr;
    std::function<double(const TProgramData&)> get;
    std::function<void(TProgramData&, double)> set;
    QString loadedText;    // the text shown by the last load or store
    bool pulledIn = false;  // the project value lay outside the bounds
  };

  void loadNumber(NumberBinding& binding, const TProgramData& values);
  void storeNumber(NumberBinding& binding, TProgramData& values);
  void attachToArea();
  void onSubWindowActivated(QMdiSubWindow* window);
  void takeFocusBack(TDataEdit* field);

  TDialogContext context_;
  std::vector<NumberBinding> numbers_;
  QPointer<QWidget> lastFocus_;
  QPointer<QMdiArea> area_;
  QPointer<QMdiSubWindow> subWindow_;
  bool active_ = false;
  bool closing_ = false;
  bool discarding_ = false;
};

}  // namespace terraq::ui
