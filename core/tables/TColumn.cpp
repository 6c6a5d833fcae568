#include "tables/TColumn.h"

#include <cmath>

#include "controls/EvaluateEntry.h"
#include "controls/NumberFormat.h"
#include "controls/UnitsCode.h"
#include "tables/TGridTable.h"
#include "tables/TableLibrary.h"

namespace terraq::ui {

namespace {

template <typename T>
void eraseValues(std::vector<T>& values, int at, int count) {
  values.erase(values.begin() + at, values.begin() + at + count);
}

// A typed number for a numeric cell: blank and malformed texts are refused
// with the table's own messages.
long double evaluateCell(const std::string& text) {
  bool blank = true;
  for (char c : text)
    if (c != ' ' && c != '\t') blank = false;
  if (blank) throw EAssignError("Entry cannot be blank.");
  try {
    return EvaluateEntry(text);
  } catch (const EAssignError&) {
    throw EAssignError(text + " is not a valid number.");
  }
}

bool isWhole(long double value) { return std::fabs(value - std::round(value)) <= 1e-10L; }

}  // namespace

std::vector<std::string> TColumn::Heading(int) const { return Captions; }

long double TColumn::Float(int) const { throw ETableError("column holds no real values"); }
void TColumn::SetFloat(int, long double) { throw ETableError("column holds no real values"); }
int TColumn::Integer(int) const { throw ETableError("column holds no integer values"); }
void TColumn::SetInteger(int, int) { throw ETableError("column holds no integer values"); }

// --- TEnumColumn

std::string TEnumColumn::Text(int row) const { return std::to_string(values_[static_cast<size_t>(row)]); }

void TEnumColumn::SetText(int row, const std::string& text) {
  long double value = 0;
  try {
    value = EvaluateEntry(text);
  } catch (const EAssignError&) {
    throw EAssignError("Value must be an integer.");
  }
  if (!isWhole(value) || std::fabs(value) > 2147483647.0L) throw EAssignError("Value must be an integer.");
  values_[static_cast<size_t>(row)] = static_cast<int>(std::round(value));
}

// --- TIntColumn

std::string TIntColumn::Text(int row) const { return std::to_string(values_[static_cast<size_t>(row)]); }

void TIntColumn::SetText(int row, const std::string& text) {
  const long double value = evaluateCell(text);
  if (!isWhole(value)) throw EAssignError("Entry must be an integer.");
  const long double whole = std::round(value);
  if (whole < Min || whole > Max)
    throw EAssignError("Entry must be between " + std::to_string(Min) + " and " + std::to_string(Max) + ".");
  values_[static_cast<size_t>(row)] = static_cast<int>(whole);
}

// --- TFloatColumn

std::vector<std::string> TFloatColumn::Heading(int units) const {
  std::vector<std::string> lines = Captions;
  const std::string unit = UnitText(UnitsCode, units);
  if (!lines.empty() && !unit.empty()) lines.back() = lines.back() + " (" + unit + ")  ";
  return lines;
}

std::string TFloatColumn::Text(int row) const { return FormatFileReal(values_[static_cast<size_t>(row)]); }

void TFloatColumn::SetText(int row, const std::string& text) {
  const long double value = evaluateCell(text);
  if (std::fabs(value) > kLargestEntry)
    throw EAssignError("Entry must be between " + FormatDisplay(-kLargestEntry) + " and " +
                       FormatDisplay(kLargestEntry) + ".");
  values_[static_cast<size_t>(row)] = value;
}

void TFloatColumn::ConvertUnits(int fromSystem, int toSystem) {
  for (long double& v : values_) v = terraq::ui::ConvertUnits(v, UnitsCode, fromSystem, toSystem);
}

// --- TStringColumn

// --- TTableColumn

TTableColumn::TTableColumn(const TTableColumn& other) : TColumn(other), Templates(other.Templates) {
  for (const auto& table : other.tables_) tables_.push_back(table ? table->Clone() : nullptr);
}

TTableColumn::~TTableColumn() = default;

int TTableColumn::TemplateFor(const TGridTable& owner, int row) const {
  if (Templates.size() == 1) return Templates.front();
  if (Templates.empty() || owner.ColumnCount() == 0) return -1;
  const TColumn& first = owner.Column(0);
  if (first.Class() != ColumnClass::Enum && first.Class() != ColumnClass::Int) return -1;
  const int code = first.Integer(row);
  if (code < 1 || code > static_cast<int>(Templates.size())) return -1;
  return Templates[static_cast<size_t>(code - 1)];
}

std::unique_ptr<TGridTable> TTableColumn::makeSubTable(TGridTable& owner, int row) const {
  const int identifier = TemplateFor(owner, row);
  if (identifier < 0 || !owner.Library()) return nullptr;
  auto table = owner.Library()->CreateTemplate(identifier, owner.Units());
  if (table) table->SetNumber(row + 1);
  return table;
}

void TTableColumn::renumber() {
  for (size_t k = 0; k < tables_.size(); ++k)
    if (tables_[k]) tables_[k]->SetNumber(static_cast<int>(k) + 1);
}

void TTableColumn::InsertRows(TGridTable& owner, int at, int count) {
  // The owner has already given the new rows their codes in column 0.
  for (int k = 0; k < count; ++k)
    tables_.insert(tables_.begin() + at + k, makeSubTable(owner, at + k));
  rows_ += count;
  renumber();
}

void TTableColumn::EraseRows(int at, int count) {
  eraseValues(tables_, at, count);
  rows_ -= count;
  renumber();
}

void TTableColumn::RenewSubTable(TGridTable& owner, int row) {
  tables_[static_cast<size_t>(row)] = makeSubTable(owner, row);
}

std::string TTableColumn::Text(int row) const {
  const TGridTable* table = SubTable(row);
  return table ? std::to_string(row + 1) + ": " + table->Caption() : std::string();
}

void TTableColumn::SetText(int, const std::string&) {
  throw ETableError("a sub-table cell is edited in its own table");
}

void TTableColumn::ConvertUnits(int, int toSystem) {
  for (auto& table : tables_)
    if (table) table->SetUnits(toSystem);
}

}  // namespace terraq::ui
