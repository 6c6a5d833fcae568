#include "tables/TableLibrary.h"

#include <cstdio>
#include <set>

namespace terraq::ui {

namespace {

// Sub-tables inside sub-tables: deeper than this is a loop of templates.
constexpr int kMaxNesting = 4;

std::vector<std::string> readStringList(TResourceReader& reader) {
  std::vector<std::string> list;
  reader.ReadListBegin();
  while (!reader.EndOfList()) list.push_back(reader.ReadString());
  reader.ReadListEnd();
  return list;
}

void expectMarker(TResourceReader& reader, const char* marker) {
  const int line = reader.Line();
  std::string word;
  if (reader.Peek() == TResourceReader::Kind::String) word = reader.ReadString();
  else if (reader.Peek() == TResourceReader::Kind::Identifier) word = reader.ReadIdentifier();
  if (word != marker) throw ETableError("line " + std::to_string(line) + ": " + marker + " expected");
}

std::unique_ptr<TColumn> readColumn(TResourceReader& reader, ColumnClass kind) {
  std::unique_ptr<TColumn> column;
  switch (kind) {
    case ColumnClass::Enum: column = std::make_unique<TEnumColumn>(); break;
    case ColumnClass::Int: column = std::make_unique<TIntColumn>(); break;
    case ColumnClass::Float: column = std::make_unique<TFloatColumn>(); break;
    case ColumnClass::Table: column = std::make_unique<TTableColumn>(); break;
    case ColumnClass::String: column = std::make_unique<TStringColumn>(); break;
  }
  column->Captions = readStringList(reader);
  column->Flag = reader.ReadBoolean();
  column->SharedInGroup = reader.ReadBoolean();
  switch (kind) {
    case ColumnClass::Enum: {
      auto& c = static_cast<TEnumColumn&>(*column);
      c.Items = readStringList(reader);
      if (c.Items.empty()) throw ETableError("an enumerated column needs at least one item");
      break;
    }
    case ColumnClass::Int: {
      auto& c = static_cast<TIntColumn&>(*column);
      c.Default = reader.ReadInteger();
      c.Min = reader.ReadInteger();
      c.Max = reader.ReadInteger();
      if (c.Min > c.Max) throw ETableError("minimum above maximum");
      break;
    }
    case ColumnClass::Float: {
      auto& c = static_cast<TFloatColumn&>(*column);
      c.FloatFlag = reader.ReadBoolean();
      expectMarker(reader, "FLOATCOLUMN2");
      c.UnitsCode = reader.ReadString();
      c.Default = reader.ReadReal();
      break;
    }
    case ColumnClass::Table: {
      auto& c = static_cast<TTableColumn&>(*column);
      expectMarker(reader, "FLEXCOLUMN2");
      reader.ReadListBegin();
      while (!reader.EndOfList()) c.Templates.push_back(reader.ReadInteger());
      reader.ReadListEnd();
      if (c.Templates.empty()) throw ETableError("a sub-table column needs at least one template");
      break;
    }
    case ColumnClass::String: {
      auto& c = static_cast<TStringColumn&>(*column);
      c.Default = reader.ReadString();
      c.StringReal = reader.ReadReal();
      break;
    }
  }
  return column;
}

}  // namespace

std::vector<std::unique_ptr<TColumn>> ReadColumnDescription(TResourceReader& reader) {
  int count = -1;
  try {
    if (reader.Peek() == TResourceReader::Kind::Integer) count = reader.ReadInteger();
  } catch (const ETableError&) {
    count = -1;
  }
  if (count < 0) throw ETableError("Error reading column count");

  std::vector<std::unique_ptr<TColumn>> columns;
  for (int i = 0; i < count; ++i) {
    int classNumber = -1;
    try {
      classNumber = reader.ReadInteger();
    } catch (const ETableError& e) {
      char message[512];
      std::snprintf(message, sizeof message, "Error occured when creating column %d: %s", i + 1, e.what());
      throw ETableError(message);
    }
    if (classNumber < 0 || classNumber > static_cast<int>(ColumnClass::String))
      throw ETableError("Error Column Class not defined");
    try {
      columns.push_back(readColumn(reader, static_cast<ColumnClass>(classNumber)));
    } catch (const ETableError& e) {
      char message[512];
      std::snprintf(message, sizeof message, "Error occured when creating column %d: %s", i + 1, e.what());
      throw ETableError(message);
    }
  }
  return columns;
}

std::vector<std::unique_ptr<TColumn>> ReadColumnDescription(std::string_view text) {
  TResourceReader reader(text);
  auto columns = ReadColumnDescription(reader);
  if (reader.Peek() != TResourceReader::Kind::End)
    throw ETableError("line " + std::to_string(reader.Line()) + ": values after the last column");
  return columns;
}

TTableLibrary::TTableLibrary(std::string_view text) {
  TResourceReader reader(text);
  while (reader.Peek() != TResourceReader::Kind::End) {
    TTableDeclaration declaration;
    TTableProperties& p = declaration.Properties;
    const int objectLine = reader.Line();
    try {
      if (reader.ReadIdentifier() != "object")
        throw ETableError("line " + std::to_string(objectLine) + ": \"object\" expected");
      p.Name = reader.ReadIdentifier();
      reader.ReadColon();
      const int typeLine = reader.Line();
      if (reader.ReadIdentifier() != "TGridTable")
        throw ETableError("line " + std::to_string(typeLine) + ": TGridTable expected");
      bool haveColumns = false;
      for (;;) {
        const int line = reader.Line();
        const std::string property = reader.ReadIdentifier();
        if (property == "end") break;
        reader.ReadEquals();
        if (property == "Identifier") p.Identifier = reader.ReadInteger();
        else if (property == "Caption") p.Caption = reader.ReadString();
        else if (property == "MinRows") p.MinRows = reader.ReadInteger();
        else if (property == "MaxRows") p.MaxRows = reader.ReadInteger();
        else if (property == "RowGroup") p.RowGroup = reader.ReadInteger();
        else if (property == "HardwiredButton") p.HardwiredButton = reader.ReadBoolean();
        else if (property == "TopLeft") p.TopLeft = reader.ReadString();
        else if (property == "Comments") p.Comments = reader.ReadString();
        else if (property == "HelpPicture") p.HelpPicture = reader.ReadString();
        else if (property == "FormParent") p.FormParent = reader.ReadString();
        else if (property == "Col") {
          reader.ReadListBegin();
          declaration.Columns = ReadColumnDescription(reader);
          reader.ReadListEnd();
          haveColumns = true;
        } else {
          throw ETableError("line " + std::to_string(line) + ": unknown property " + property);
        }
      }
      if (!haveColumns) throw ETableError("no column description (Col)");
      if (p.MinRows < 0 || p.MaxRows < 0 || (p.MaxRows > 0 && p.MinRows > p.MaxRows))
        throw ETableError("row limits " + std::to_string(p.MinRows) + " to " + std::to_string(p.MaxRows));
      if (p.RowGroup < 1) throw ETableError("row group below 1");
    } catch (const ETableError& e) {
      throw ETableError("Table declaration " + (p.Name.empty() ? "at line " + std::to_string(objectLine) : p.Name) +
                        ": " + e.what());
    }
    declarations_.push_back(std::move(declaration));
  }
  check();
}

void TTableLibrary::check() const {
  std::set<std::string> names;
  std::set<int> identifiers;
  for (const auto& d : declarations_) {
    if (!names.insert(d.Properties.Name).second)
      throw ETableError("Table declaration " + d.Properties.Name + ": declared twice");
    if (!identifiers.insert(d.Properties.Identifier).second)
      throw ETableError("Table declaration " + d.Properties.Name + ": identifier " +
                        std::to_string(d.Properties.Identifier) + " used twice");
  }
  for (const auto& d : declarations_)
    for (const auto& column : d.Columns)
      if (column->Class() == ColumnClass::Table)
        for (int id : static_cast<const TTableColumn&>(*column).Templates)
          if (id != -1 && !identifiers.count(id))
            throw ETableError("Table declaration " + d.Properties.Name + ": no template table " + std::to_string(id));
}

const TTableDeclaration* TTableLibrary::Find(std::string_view name) const {
  for (const auto& d : declarations_)
    if (d.Properties.Name == name) return &d;
  return nullptr;
}

const TTableDeclaration* TTableLibrary::FindIdentifier(int identifier) const {
  for (const auto& d : declarations_)
    if (d.Properties.Identifier == identifier) return &d;
  return nullptr;
}

std::unique_ptr<TGridTable> TTableLibrary::create(const TTableDeclaration& declaration, int units) const {
  if (depth_ >= kMaxNesting)
    throw ETableError("Table declaration " + declaration.Properties.Name + ": sub-tables nested too deeply");
  std::vector<std::unique_ptr<TColumn>> columns;
  for (const auto& column : declaration.Columns) columns.push_back(column->Clone());
  auto table = std::make_unique<TGridTable>(declaration.Properties, std::move(columns), this, units);
  ++depth_;
  try {
    table->Reset();
  } catch (...) {
    --depth_;
    throw;
  }
  --depth_;
  table->ResetChanged();
  return table;
}

std::unique_ptr<TGridTable> TTableLibrary::Create(std::string_view name, int units) const {
  const TTableDeclaration* declaration = Find(name);
  if (!declaration) throw ETableError("no table declaration " + std::string(name));
  return create(*declaration, units);
}

std::unique_ptr<TGridTable> TTableLibrary::CreateTemplate(int identifier, int units) const {
  const TTableDeclaration* declaration = FindIdentifier(identifier);
  return declaration ? create(*declaration, units) : nullptr;
}

}  // namespace terraq::ui

namespace terraq::ui {

namespace resources {
extern const unsigned char kTableDeclarations[];
extern const std::size_t kTableDeclarationsSize;
}  // namespace resources

std::string_view TTableLibrary::ProgramText() {
  return {reinterpret_cast<const char*>(resources::kTableDeclarations), resources::kTableDeclarationsSize};
}

const TTableLibrary& TTableLibrary::Program() {
  static const TTableLibrary library(ProgramText());
  return library;
}

}  // namespace terraq::ui
