#include "mainwindow/TTableWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "widgets/TGridView.h"

namespace terraq::ui {

TTableWindows::TTableWindows(QMdiArea& area, QObject* parent) : QObject(parent), area_(&area) {}

void TTableWindows::forget() {
  std::erase_if(entries_, [](const Entry& e) { return e.window.isNull() || e.form.isNull(); });
}

int TTableWindows::Count() {
  forget();
  return static_cast<int>(entries_.size());
}

TTableForm* TTableWindows::FormFor(const TGridTable& table) const {
  for (const Entry& e : entries_)
    if (e.identity == &table && e.window && e.form) return e.form;
  return nullptr;
}

TTableForm* TTableWindows::Show(TGridTable& table) {
  Prune();
  TGridTable* pointer = &table;
  return open([pointer] { return pointer; }, pointer, nullptr,
              [pointer] { return QString::fromStdString(pointer->Caption()); });
}

TTableForm* TTableWindows::ShowSubTable(TTableForm& parentForm, int column, int row) {
  Prune();
  TGridTable* parent = parentForm.Table();
  if (!parent || row < 0 || row >= parent->RowCount() || column < 0 || column >= parent->ColumnCount()) return nullptr;
  TGridTable* sub = parent->Cell(column, row).SubTable();
  if (!sub) return nullptr;
  // The sub-table is found again through its parent every time: its row
  // may move (rows inserted above it) or go away.
  const TTableForm::Resolver parentResolve = parentForm.TableResolver();
  auto rowOf = [parentResolve, column, sub]() -> int {
    TGridTable* p = parentResolve();
    if (!p) return -1;
    for (int r = 0; r < p->RowCount(); ++r)
      if (p->Cell(column, r).SubTable() == sub) return r;
    return -1;
  };
  auto resolve = [rowOf, sub]() -> TGridTable* { return rowOf() >= 0 ? sub : nullptr; };
  auto caption = [rowOf, parentResolve, sub]() -> QString {
    const int r = rowOf();
    TGridTable* p = parentResolve();
    if (r < 0 || !p) return {};
    // The row's label (the parent's top-left text and the row number),
    // then the sub-table's caption.
    return QStringLiteral("%1 %2 %3")
        .arg(QString::fromStdString(p->Properties().TopLeft))
        .arg(r + 1)
        .arg(QString::fromStdString(sub->Caption()));
  };
  return open(resolve, sub, parent, caption);
}

TTableForm* TTableWindows::open(TTableForm::Resolver resolve, const TGridTable* identity, const TGridTable* parent,
                                std::function<QString()> caption) {
  for (const Entry& e : entries_) {
    if (e.identity == identity && e.window && e.form) {
      e.window->showNormal();
      area_->setActiveSubWindow(e.window);
      e.form->setFocus();
      return e.form;
    }
  }
  auto* form = new TTableForm(std::move(resolve));
  const QString title = caption();
  form->setWindowTitle(title);
  QMdiSubWindow* window = area_->addSubWindow(form);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(title);
  connect(form, &TTableForm::subTableRequested, this,
          [this, form](int column, int row) { ShowSubTable(*form, column, row); });
  connect(form, &TTableForm::structureChanged, this, &TTableWindows::Prune);
  connect(form, &TTableForm::structureChanged, this, &TTableWindows::tableEdited);
  connect(&form->Model(), &QAbstractItemModel::dataChanged, this, &TTableWindows::tableEdited);
  // A closed window is gone at once, not only when its deletion has run.
  connect(form, &TTableForm::closed, this, [this, form] {
    std::erase_if(entries_, [form](const Entry& e) { return e.form == form; });
  });
  entries_.push_back({identity, parent, window, form, std::move(caption)});
  window->show();
  area_->setActiveSubWindow(window);
  form->Grid().setFocus();
  if (form->Model().rowCount() > 0) form->Grid().setCurrentIndex(form->Model().index(0, 0));
  return form;
}

void TTableWindows::closeEntry(const Entry& entry) {
  // Sub-table windows first: their tables belong to this table's rows.
  std::vector<Entry> children;
  for (const Entry& e : entries_)
    if (e.parent == entry.identity && e.identity != entry.identity) children.push_back(e);
  for (const Entry& child : children) closeEntry(child);
  if (entry.form) entry.form->DiscardEdits();
  if (entry.window) entry.window->close();  // deleted on close
  std::erase_if(entries_, [&](const Entry& e) { return e.window == entry.window; });
}

void TTableWindows::Close(const TGridTable& table) {
  forget();
  for (const Entry& e : entries_) {
    if (e.identity == &table) {
      closeEntry(Entry(e));
      return;
    }
  }
}

void TTableWindows::CloseAll() {
  forget();
  while (!entries_.empty()) closeEntry(Entry(entries_.front()));
}

void TTableWindows::Prune() {
  forget();
  bool closed = true;
  while (closed) {
    closed = false;
    for (const Entry& e : entries_) {
      if (!e.form->Table()) {
        closeEntry(Entry(e));
        closed = true;
        break;
      }
    }
  }
  for (const Entry& e : entries_) {
    const QString title = e.caption();
    e.form->setWindowTitle(title);
    e.window->setWindowTitle(title);
  }
}

void TTableWindows::Refresh() {
  Prune();
  for (const Entry& e : entries_) e.form->Refresh();
}

bool TTableWindows::StoreAll() {
  forget();
  for (const Entry& e : entries_) {
    if (!e.form->StoreEdits()) {
      e.form->ReportInvalidEntry();
      return false;
    }
  }
  return true;
}

}  // namespace terraq::ui
