#pragma once
// The table windows of the main window: one TTableForm per shown table,
// created on first use, reused while open and freed when closed. Windows
// of sub-tables (a layer's soil parameters, a curve's points) are opened
// from the buttons of their parent's window; their captions carry the
// parent row ("Layer 2 Sand").
//
// A sub-table goes away when its row is deleted, gets another code, or the
// project is replaced; Prune() closes the windows whose table is gone
// (their forms never touch a freed table in between, see TGridTableModel).

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "widgets/TTableForm.h"

class QMdiArea;
class QMdiSubWindow;

namespace terraq::ui {

class TTableWindows : public QObject {
  Q_OBJECT

 public:
  explicit TTableWindows(QMdiArea& area, QObject* parent = nullptr);

  // Shows the window of a project table (the table outlives the windows).
  TTableForm* Show(TGridTable& table);
  // The open window of a table, or nullptr.
  TTableForm* FormFor(const TGridTable& table) const;
  // Opens the window of the sub-table in a parent window's cell.
  TTableForm* ShowSubTable(TTableForm& parent, int column, int row);

  // Closes a table's window and the windows of its sub-tables, dropping an
  // entry that is still being typed.
  void Close(const TGridTable& table);
  void CloseAll();
  // Closes the windows whose table is gone and renews the captions of the
  // others.
  void Prune();
  // Prune(), then every window shows its table's current content.
  void Refresh();
  // Stores what is being typed in every window. When a window refuses its
  // entry, that window reports it and false is returned.
  bool StoreAll();

  int Count();

 signals:
  // A window's table took an entry: a cell's value, or rows added,
  // inserted or deleted.
  void tableEdited();

 private:
  struct Entry {
    const TGridTable* identity = nullptr;  // compared, never dereferenced
    const TGridTable* parent = nullptr;    // the table whose row owns it
    QPointer<QMdiSubWindow> window;
    QPointer<TTableForm> form;
    std::function<QString()> caption;
  };

  TTableForm* open(TTableForm::Resolver resolve, const TGridTable* identity, const TGridTable* parent,
                   std::function<QString()> caption);
  void forget();  // drops the entries of windows that were closed
  void closeEntry(const Entry& entry);

  QMdiArea* area_;
  std::vector<Entry> entries_;
};

}  // namespace terraq::ui
