#pragma once
// The columns of a data-entry table. Each column stores one value per row of
// its table and knows how to show a value as text and how to take a typed
// text back (validating it). Rows are 0-based here; the grid shows them
// numbered from 1.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace terraq::ui {

class TGridTable;
class TTableLibrary;

// The class numbers of the stored column description.
enum class ColumnClass { Enum = 0, Int = 1, Float = 2, Table = 3, String = 4 };

// Errors of a table or its declaration (not entry errors of the user: those
// are EAssignError).
class ETableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TColumn {
 public:
  virtual ~TColumn() = default;
  virtual ColumnClass Class() const = 0;
  virtual std::unique_ptr<TColumn> Clone() const = 0;

  // Caption lines of the column heading, top to bottom.
  std::vector<std::string> Captions;
  // The two flags of the stored description: the first is set in every
  // column of this program; the second, when set, makes one value shared by
  // all rows of a row group.
  bool Flag = true;
  bool SharedInGroup = false;

  // The heading lines in a units system (real columns add their unit).
  virtual std::vector<std::string> Heading(int units) const;

  int RowCount() const { return rows_; }

  // Row storage, driven by the owning table only.
  virtual void InsertRows(TGridTable& owner, int at, int count) = 0;
  virtual void EraseRows(int at, int count) = 0;

  // Cell access; the table checks the row beforehand. The typed getters and
  // setters of the wrong column class throw ETableError.
  virtual std::string Text(int row) const = 0;
  // Validates and stores a typed text; throws EAssignError with the
  // message for the user when the text is not acceptable.
  virtual void SetText(int row, const std::string& text) = 0;
  virtual long double Float(int row) const;
  virtual void SetFloat(int row, long double value);
  virtual int Integer(int row) const;
  virtual void SetInteger(int row, int value);

  // Converts every value from one units system to another.
  virtual void ConvertUnits(int /*fromSystem*/, int /*toSystem*/) {}

 protected:
  int rows_ = 0;
};

// A column that stores one value of type T per row, new rows taking Default.
template <typename T>
class TValueColumn : public TColumn {
 public:
  T Default{};

  void InsertRows(TGridTable&, int at, int count) override {
    values_.insert(values_.begin() + at, static_cast<size_t>(count), Default);
    rows_ += count;
  }
  void EraseRows(int at, int count) override {
    values_.erase(values_.begin() + at, values_.begin() + at + count);
    rows_ -= count;
  }

 protected:
  std::vector<T> values_;
};

// A 1-based code chosen from a list of item texts.
class TEnumColumn : public TValueColumn<int> {
 public:
  TEnumColumn() { Default = 1; }
  std::vector<std::string> Items;

  ColumnClass Class() const override { return ColumnClass::Enum; }
  std::unique_ptr<TColumn> Clone() const override { return std::make_unique<TEnumColumn>(*this); }
  std::string Text(int row) const override;
  void SetText(int row, const std::string& text) override;
  long double Float(int row) const override { return values_[static_cast<size_t>(row)]; }
  int Integer(int row) const override { return values_[static_cast<size_t>(row)]; }
  void SetInteger(int row, int value) override { values_[static_cast<size_t>(row)] = value; }

};

// A 32-bit integer between a minimum and a maximum.
class TIntColumn : public TValueColumn<int> {
 public:
  int Min = 0;
  int Max = 2147483647;

  ColumnClass Class() const override { return ColumnClass::Int; }
  std::unique_ptr<TColumn> Clone() const override { return std::make_unique<TIntColumn>(*this); }
  std::string Text(int row) const override;
  void SetText(int row, const std::string& text) override;
  long double Float(int row) const override { return values_[static_cast<size_t>(row)]; }
  int Integer(int row) const override { return values_[static_cast<size_t>(row)]; }
  void SetInteger(int row, int value) override { values_[static_cast<size_t>(row)] = value; }

};

// A real (extended precision) with a units code; shown with 8 significant
// digits.
class TFloatColumn : public TValueColumn<long double> {
 public:
  // The flag stored before the column's marker; kept as declared.
  bool FloatFlag = false;
  std::string UnitsCode;

  ColumnClass Class() const override { return ColumnClass::Float; }
  std::unique_ptr<TColumn> Clone() const override { return std::make_unique<TFloatColumn>(*this); }
  std::vector<std::string> Heading(int units) const override;
  std::string Text(int row) const override;
  void SetText(int row, const std::string& text) override;
  long double Float(int row) const override { return values_[static_cast<size_t>(row)]; }
  void SetFloat(int row, long double value) override { values_[static_cast<size_t>(row)] = value; }
  void ConvertUnits(int fromSystem, int toSystem) override;

};

// Free text.
class TStringColumn : public TValueColumn<std::string> {
 public:
  // The real stored after the default text; kept as declared.
  long double StringReal = 0;

  ColumnClass Class() const override { return ColumnClass::String; }
  std::unique_ptr<TColumn> Clone() const override { return std::make_unique<TStringColumn>(*this); }
  std::string Text(int row) const override { return values_[static_cast<size_t>(row)]; }
  void SetText(int row, const std::string& text) override { values_[static_cast<size_t>(row)] = text; }

};

// A sub-table per row, a copy of a template table. With one template every
// row gets that one; with several, the row's code in the table's first
// column (1-based) picks the template, and -1 marks a code without one.
class TTableColumn : public TColumn {
 public:
  std::vector<int> Templates;

  TTableColumn() = default;
  TTableColumn(const TTableColumn& other);
  TTableColumn& operator=(const TTableColumn&) = delete;
  ~TTableColumn() override;

  ColumnClass Class() const override { return ColumnClass::Table; }
  std::unique_ptr<TColumn> Clone() const override { return std::make_unique<TTableColumn>(*this); }
  void InsertRows(TGridTable& owner, int at, int count) override;
  void EraseRows(int at, int count) override;
  // The button caption "n: caption" of the row's sub-table ("" without one).
  std::string Text(int row) const override;
  void SetText(int row, const std::string& text) override;
  void ConvertUnits(int fromSystem, int toSystem) override;

  // The row's sub-table; nullptr when the row's code selects no template.
  TGridTable* SubTable(int row) const { return tables_[static_cast<size_t>(row)].get(); }
  // Replaces the row's sub-table with a fresh copy of the template that the
  // row's current code selects.
  void RenewSubTable(TGridTable& owner, int row);
  // The template identifier for a row of the owner (-1 for none).
  int TemplateFor(const TGridTable& owner, int row) const;

 private:
  std::unique_ptr<TGridTable> makeSubTable(TGridTable& owner, int row) const;
  void renumber();
  std::vector<std::unique_ptr<TGridTable>> tables_;
};

}  // namespace terraq::ui
