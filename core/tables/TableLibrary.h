#pragma once
// The table declarations of the program: every project table and every
// sub-table template with its properties and columns, read from a text
// resource compiled into the program (resources/tables/tables.txt). Tables
// are created from their declarations; sub-table columns find their
// templates here by identifier.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tables/ResourceReader.h"
#include "tables/TGridTable.h"

namespace terraq::ui {

struct TTableDeclaration {
  TTableProperties Properties;
  std::vector<std::unique_ptr<TColumn>> Columns;  // prototypes without rows
};

// Reads a stored column description from `reader`: the column count, then
// per column its class number, caption lines, two flags and its class's
// settings. Throws ETableError "Error reading column count", "Error Column
// Class not defined" or "Error occured when creating column %d: %s" (the
// 1-based column and the inner message).
std::vector<std::unique_ptr<TColumn>> ReadColumnDescription(TResourceReader& reader);
// The same for a description given alone as text.
std::vector<std::unique_ptr<TColumn>> ReadColumnDescription(std::string_view text);

class TTableLibrary {
 public:
  // Reads declarations; throws ETableError naming the table and the line.
  explicit TTableLibrary(std::string_view text);
  TTableLibrary(const TTableLibrary&) = delete;
  TTableLibrary& operator=(const TTableLibrary&) = delete;

  // The declarations compiled into the program, read on first use.
  static const TTableLibrary& Program();
  // The text of the compiled-in declarations.
  static std::string_view ProgramText();

  const std::vector<TTableDeclaration>& Declarations() const { return declarations_; }
  const TTableDeclaration* Find(std::string_view name) const;
  const TTableDeclaration* FindIdentifier(int identifier) const;

  // A new table of the declaration, reset to its MinRows rows of defaults.
  // Throws ETableError for an unknown name.
  std::unique_ptr<TGridTable> Create(std::string_view name, int units = 1) const;
  // A fresh copy of a template (nullptr for an unknown identifier).
  std::unique_ptr<TGridTable> CreateTemplate(int identifier, int units) const;

 private:
  std::unique_ptr<TGridTable> create(const TTableDeclaration& declaration, int units) const;
  void check() const;
  std::vector<TTableDeclaration> declarations_;
  mutable int depth_ = 0;  // nesting of sub-table creation
};

}  // namespace terraq::ui
