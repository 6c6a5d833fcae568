#include "widgets/TGridTableModel.h"

#include <QStringList>

#include "controls/EvaluateEntry.h"
#include "tables/TableLibrary.h"

namespace terraq::ui {

namespace {

bool isCoded(ColumnClass c) { return c == ColumnClass::Enum || c == ColumnClass::Int; }

}  // namespace

TGridTableModel::TGridTableModel(Resolver resolve, QObject* parent)
    : QAbstractTableModel(parent), resolve_(std::move(resolve)) {}

ColumnClass TGridTableModel::ClassOf(int column) const {
  const TGridTable* table = Table();
  if (!table || column < 0 || column >= table->ColumnCount()) return ColumnClass::Float;
  return table->Column(column).Class();
}

QStringList TGridTableModel::ItemsOf(int column) const {
  QStringList items;
  const TGridTable* table = Table();
  if (!table || ClassOf(column) != ColumnClass::Enum) return items;
  for (const std::string& item : static_cast<const TEnumColumn&>(table->Column(column)).Items)
    items << QString::fromStdString(item);
  return items;
}

QStringList TGridTableModel::ButtonCaptionsOf(int column) const {
  QStringList captions;
  const TGridTable* table = Table();
  if (!table || ClassOf(column) != ColumnClass::Table || !table->Library()) return captions;
  const int rows = std::max(table->RowCount(), table->MaxRows());
  for (int identifier : static_cast<const TTableColumn&>(table->Column(column)).Templates)
    if (const TTableDeclaration* declaration = table->Library()->FindIdentifier(identifier))
      captions << QStringLiteral("%1: %2").arg(rows).arg(QString::fromStdString(declaration->Properties.Caption));
  return captions;
}

int TGridTableModel::rowCount(const QModelIndex& parent) const {
  const TGridTable* table = Table();
  return parent.isValid() || !table ? 0 : table->RowCount();
}

int TGridTableModel::columnCount(const QModelIndex& parent) const {
  const TGridTable* table = Table();
  return parent.isValid() || !table ? 0 : table->ColumnCount();
}

QVariant TGridTableModel::data(const QModelIndex& index, int role) const {
  TGridTable* table = Table();
  if (!table || !index.isValid() || index.row() >= table->RowCount() || index.column() >= table->ColumnCount())
    return {};
  const ColumnClass kind = table->Column(index.column()).Class();
  const TData cell = table->Cell(index.column(), index.row());
  switch (role) {
    case Qt::DisplayRole:
      if (kind == ColumnClass::Enum) {
        const QStringList items = ItemsOf(index.column());
        const int code = cell.AsInteger();
        return code >= 1 && code <= items.size() ? items[code - 1] : QString::number(code);
      }
      if (kind == ColumnClass::Table) return {};  // drawn as a button
      return QString::fromStdString(cell.AsText());
    case Qt::EditRole:
      if (refusal_.row == index.row() && refusal_.column == index.column()) return refusal_.text;
      if (kind == ColumnClass::Enum) return cell.AsInteger();
      return QString::fromStdString(cell.AsText());
    case Qt::ToolTipRole:
      if (kind == ColumnClass::Enum) return data(index, Qt::DisplayRole);
      return {};
    case Qt::TextAlignmentRole:
      if (kind == ColumnClass::Int || kind == ColumnClass::Float)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
      return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::UserRole:  // the caption of a sub-table button
      return kind == ColumnClass::Table ? QString::fromStdString(cell.AsText()) : QString();
    default:
      return {};
  }
}

QVariant TGridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const TGridTable* table = Table();
  if (!table) return {};
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return QString::number(section + 1);
  if (section < 0 || section >= table->ColumnCount()) return {};
  QStringList lines;
  for (const std::string& line : table->Heading(section)) lines << QString::fromStdString(line).trimmed();
  return lines.join(QLatin1Char('\n'));
}

Qt::ItemFlags TGridTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (ClassOf(index.column()) != ColumnClass::Table) f |= Qt::ItemIsEditable;
  return f;
}

bool TGridTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  TGridTable* table = Table();
  if (role != Qt::EditRole || !table || !index.isValid() || index.row() >= table->RowCount() ||
      index.column() >= table->ColumnCount())
    return false;
  const int row = index.row();
  const int column = index.column();
  const ColumnClass kind = table->Column(column).Class();
  if (kind == ColumnClass::Table) return false;
  const std::string text = value.toString().toStdString();
  TData cell = table->Cell(column, row);
  const bool sameCell = refusal_.row == row && refusal_.column == column;
  // Leaving a cell untouched is no change to the project.
  if (cell.AsText() == text) {
    if (sameCell) ClearRefusal();
    return true;
  }
  const int before = isCoded(kind) ? cell.AsInteger() : 0;
  try {
    cell.SetText(text);
  } catch (const EAssignError& e) {
    refusal_ = {row, column, QString::fromStdString(text), QString::fromStdString(e.what())};
    emit entryRefused();
    return false;
  } catch (const ETableError& e) {
    refusal_ = {row, column, QString::fromStdString(text), QString::fromStdString(e.what())};
    emit entryRefused();
    return false;
  }
  if (sameCell) ClearRefusal();
  // A value shared by a row group, or a new sub-table, shows in other cells.
  emit dataChanged(this->index(row, 0), this->index(row, table->ColumnCount() - 1));
  if (column == 0 && isCoded(kind) && cell.AsInteger() != before) emit rowCodeChanged(row);
  emit cellEdited(row, column);
  return true;
}

void TGridTableModel::Reload() {
  beginResetModel();
  // A refusal names a cell of the content shown before.
  ClearRefusal();
  endResetModel();
}

}  // namespace terraq::ui
