#pragma once
// TTableForm: the editing window of one data-entry table, shown as a child
// window of the main window. A grid shows the rows (numbered under the
// table's top-left text) with the column captions and units as headings;
// under it the Add/Insert/Delete row buttons (tables that have them) and
// the table's notes; beside it the table's picture when one is shipped.
//
// A window never opens larger than the visible area of the main window;
// what does not fit scrolls.
//
// Every typed entry is checked by its column when the cell is left (another
// cell, Enter, the window deactivated or closed). A refused entry is never
// stored: its message is shown in an error box and the cursor goes back to
// the cell with the text as typed, and the window cannot be closed until
// the cell holds a valid value (or the entry is taken back with Escape).
//
// The table is reached through a resolver (see TGridTableModel): the window
// never outlives the safety of its table, it only finds nothing.

#include <QWidget>

#include "widgets/TGridTableModel.h"

class QLabel;
class QMdiSubWindow;
class QPushButton;
class QVBoxLayout;

namespace terraq::ui {

class TGridView;

class TTableForm : public QWidget {
  Q_OBJECT

 public:
  using Resolver = TGridTableModel::Resolver;

  explicit TTableForm(Resolver resolve, QWidget* parent = nullptr);

  TGridTable* Table() const { return model_->Table(); }
  const Resolver& TableResolver() const { return model_->TableResolver(); }
  TGridView& Grid() const { return *grid_; }
  TGridTableModel& Model() const { return *model_; }

  // Stores the text of an open cell editor. False when the entry was
  // refused; it is then pending (HasInvalidEntry) and not reported yet.
  bool StoreEdits();
  bool HasInvalidEntry() const { return model_->HasRefusal(); }
  // Shows the pending refusal in an error box and takes the cursor back to
  // its cell, with the text as typed in the cell's editor.
  void ReportInvalidEntry();
  // Drops an open editor and a pending refusal (the window is about to be
  // closed by the program, e.g. because its option was switched off).
  void DiscardEdits();

  // Shows the table's content again (rows, values, units) and fits the
  // window to it.
  void Refresh();

  // Adds `panel` under the grid and its notes (the form owns it): what
  // the window shows beside the table that is not the table's.
  void AddPanel(QWidget* panel);
  // Fits the window to its content again (a panel grew or shrank).
  void FitToContent() { fitWindow(); }

  // The size that shows all of the content (the window may be smaller).
  QSize sizeHint() const override;

  // The sub-window the form lives in (nullptr before it is placed in one).
  QMdiSubWindow* SubWindow() const;

  // Where a table's picture is looked for: an image resource of its name.
  static QString PictureResource(const QString& pictureName);

 signals:
  // A sub-table button was pressed (0-based column and row).
  void subTableRequested(int column, int row);
  // Rows were added, inserted or deleted, or a row got another code: the
  // sub-tables of the table may have changed.
  void structureChanged();
  // The table was shown again (Refresh): a panel follows it.
  void refreshed();
  // The window was closed (its sub-window is about to be deleted).
  void closed();
  // An entry was stored or a row command ran: the project may have changed
  // (`name` says how, for the Edit menu's Undo).
  void edited(const QString& name);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // Escape, when no cell is being edited (the cell takes it back then),
  // closes the window after the check of its entries.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void addRow();
  void insertRow();
  void deleteRow();
  // Runs a row command; an error of the table is shown in an error box.
  template <typename Command>
  // When `firstColumn`, the cursor goes to the first cell of the command's
  // row, else it stays in its column. `name` ("Add Row to %1") is the edit's,
  // the window's caption in place of %1.
  void rowCommand(const QString& name, Command&& command, bool firstColumn);
  void updateButtons();
  void fitWindow();
  void onEntryRefused();
  void onButtonClicked(const QModelIndex& index);

  TGridTableModel* model_;
  TGridView* grid_;
  QWidget* content_ = nullptr;  // everything but the scroll bars
  QVBoxLayout* left_ = nullptr;  // the grid, its buttons, notes and panels
  QPushButton* addButton_ = nullptr;
  QPushButton* insertButton_ = nullptr;
  QPushButton* deleteButton_ = nullptr;
  QLabel* comments_ = nullptr;
  QLabel* picture_ = nullptr;
  bool reporting_ = false;
  bool fitted_ = false;
};

}  // namespace terraq::ui
