// The section library's reader: blocks of rows with units in the column
// heads, every value converted to SI base units as it is read.
#include "SectionLibraryText.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

#include "Sections.h"
#include "api/Units.h"

namespace terraq::design {

namespace library_text {

std::string Normalised(std::string_view name) {
  std::string out;
  for (char c : name)
    if (!std::isspace(static_cast<unsigned char>(c)))
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::optional<double> PositiveNumber(const std::string& word) {
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (end != word.c_str() + word.size() || !std::isfinite(value) || value <= 0) return std::nullopt;
  return value;
}

}  // namespace library_text

using library_text::kMaxFileBytes;
using library_text::Normalised;
using library_text::PositiveNumber;

namespace {

constexpr double kInch = engine::api::kMetresPerInch;
constexpr double kFoot = 0.3048;
constexpr double kPound = 0.45359237;
constexpr size_t kMaxLineBytes = 4096;

// What a column holds, and the power of length its unit must carry.
enum class Quantity { Name, Length, Area, Modulus, SecondMoment, Stress, Mass, Angle, Text };

struct Column {
  std::string
      key;  // as written: b, h, tf, tw, bf, webAngle, A, I, Wel, Wpl, mass, fy, E, use, name, D, t
  Quantity quantity = Quantity::Text;
  double factor = 1.0;  // to SI, per metre of wall when the unit is per foot
};

std::optional<double> LengthFactor(std::string_view unit) {
  if (unit == "mm") return 1e-3;
  if (unit == "cm") return 1e-2;
  if (unit == "m") return 1.0;
  if (unit == "in") return kInch;
  if (unit == "ft") return kFoot;
  return std::nullopt;
}

std::optional<double> StressFactor(const std::string& unit) {
  static const std::map<std::string, double> kStress = {{"Pa", 1.0},
                                                        {"kPa", 1e3},
                                                        {"MPa", 1e6},
                                                        {"GPa", 1e9},
                                                        {"N/mm2", 1e6},
                                                        {"psi", 6894.757293168},
                                                        {"ksi", 6894757.293168}};
  if (const auto s = kStress.find(unit); s != kStress.end()) return s->second;
  return std::nullopt;
}

// kg/m, lb/ft per pile; kg/m2, lb/ft2 per square metre of wall.
std::optional<double> MassFactor(const std::string& unit) {
  static const std::map<std::string, double> kMass = {{"kg/m", 1.0},
                                                      {"kg/m2", 1.0},
                                                      {"lb/ft", kPound / kFoot},
                                                      {"lb/ft2", kPound / (kFoot * kFoot)}};
  if (const auto s = kMass.find(unit); s != kMass.end()) return s->second;
  return std::nullopt;
}

// A length to the power the quantity carries ("cm4"), per metre or per foot
// of wall when the unit says so ("cm4/m", "in2/ft").
std::optional<double> GeometryFactor(Quantity quantity, const std::string& unit) {
  const int power = quantity == Quantity::Length    ? 1
                    : quantity == Quantity::Area    ? 2
                    : quantity == Quantity::Modulus ? 3
                                                    : 4;
  std::string base = unit;
  double perWall = 1.0;
  if (const size_t slash = unit.find('/'); slash != std::string::npos) {
    const std::string per = unit.substr(slash + 1);
    base = unit.substr(0, slash);
    if (per == "m") perWall = 1.0;
    else if (per == "ft") perWall = 1.0 / kFoot;
    else return std::nullopt;
  }
  if (power > 1) {
    if (base.empty() || base.back() != static_cast<char>('0' + power)) return std::nullopt;
    base.pop_back();
  }
  const std::optional<double> length = LengthFactor(base);
  if (!length) return std::nullopt;
  return std::pow(*length, power) * perWall;
}

std::optional<double> UnitFactor(Quantity quantity, const std::string& unit) {
  switch (quantity) {
    case Quantity::Angle: return unit == "deg" ? std::optional<double>(1.0) : std::nullopt;
    case Quantity::Stress: return StressFactor(unit);
    case Quantity::Mass: return MassFactor(unit);
    default: return GeometryFactor(quantity, unit);
  }
}

// "cm4/m" → cm, power 4, per metre of wall (1); "in2/ft" → in, 2, 1/0.3048.
std::optional<Column> ColumnOfHead(std::string_view head, std::string& why) {
  Column column;
  const size_t open = head.find('[');
  const std::string key(head.substr(0, open));
  column.key = key;
  std::string unit;
  if (open != std::string_view::npos) {
    if (head.back() != ']') {
      why = "the column " + std::string(head) + " has no closing bracket";
      return std::nullopt;
    }
    unit = std::string(head.substr(open + 1, head.size() - open - 2));
  }
  static const std::map<std::string, Quantity> kKeys = {
      {"name", Quantity::Name},   {"b", Quantity::Length},       {"h", Quantity::Length},
      {"tf", Quantity::Length},   {"tw", Quantity::Length},      {"D", Quantity::Length},
      {"t", Quantity::Length},    {"bf", Quantity::Length},      {"webAngle", Quantity::Angle},
      {"A", Quantity::Area},      {"I", Quantity::SecondMoment}, {"Wel", Quantity::Modulus},
      {"Wpl", Quantity::Modulus}, {"mass", Quantity::Mass},      {"fy", Quantity::Stress},
      {"E", Quantity::Stress},    {"use", Quantity::Text}};
  const auto found = kKeys.find(key);
  if (found == kKeys.end()) {
    why = "unknown column " + key;
    return std::nullopt;
  }
  column.quantity = found->second;
  const bool unitless = column.quantity == Quantity::Name || column.quantity == Quantity::Text;
  if (unitless != unit.empty()) {
    why = unitless ? "the column " + key + " takes no unit"
                   : "the column " + key + " needs a unit in brackets";
    return std::nullopt;
  }
  if (unitless) return column;
  const std::optional<double> factor = UnitFactor(column.quantity, unit);
  if (!factor) {
    why = "unknown unit [" + unit + "] for the column " + key;
    return std::nullopt;
  }
  column.factor = *factor;
  return column;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// A row's values by column key, in SI; absent ("-") ones left out.
using RowValues = std::map<std::string, double>;

std::optional<double> ValueOf(const RowValues& values, const char* key) {
  const auto v = values.find(key);
  return v == values.end() ? std::nullopt : std::optional<double>(v->second);
}

// The reader of one file, a line at a time: the block being read (its
// family, source and columns) and the library so far. Each step returns why
// its line is not understood, or nullopt.
class LibraryReader {
 public:
  explicit LibraryReader(const std::string& origin) : origin_(origin) {}

  std::optional<std::string> read(const std::string& line, int lineNumber) {
    std::vector<std::string> words = Words(line);
    if (words.empty()) return std::nullopt;
    const std::string& head = words.front();
    if (head == "family") return readFamily(words);
    if (head == "source") return readSource(line);
    if (head == "columns") return readColumns(words);
    return readRow(words, lineNumber);
  }

  SectionLibrary library;

 private:
  std::optional<std::string> readFamily(const std::vector<std::string>& words) {
    if (words.size() != 2) return "family takes one word";
    if (words[1] != "steel-grade" && !FamilyOfWord(words[1])) return "unknown family " + words[1];
    family_ = words[1];
    source_.clear();
    columns_.clear();
    return std::nullopt;
  }

  std::optional<std::string> readSource(const std::string& line) {
    if (family_.empty()) return "source before any family";
    const size_t at = line.find("source") + 6;
    const size_t first = line.find_first_not_of(" \t", at);
    const size_t last = line.find_last_not_of(" \t\r");
    if (first == std::string::npos) return "source names no table";
    source_ = line.substr(first, last - first + 1);
    return std::nullopt;
  }

  std::optional<std::string> readColumns(const std::vector<std::string>& words) {
    if (family_.empty()) return "columns before any family";
    columns_.clear();
    for (size_t i = 1; i < words.size(); ++i) {
      std::string why;
      const std::optional<Column> column = ColumnOfHead(words[i], why);
      if (!column) return why;
      for (const Column& c : columns_)
        if (c.key == column->key) return "the column " + c.key + " is named twice";
      columns_.push_back(*column);
    }
    if (columns_.empty() || columns_.front().key != "name") return "the first column is name";
    return std::nullopt;
  }

  std::optional<std::string> readRow(const std::vector<std::string>& words, int lineNumber) {
    if (columns_.empty()) return "a row before its block's family and columns";
    if (source_.empty()) return "the block names no source";
    if (words.size() != columns_.size())
      return "the row has " + std::to_string(words.size()) + " values for " +
             std::to_string(columns_.size()) + " columns";
    const std::string key = Normalised(words[0]);
    if (const auto before = seen_.find(key); before != seen_.end())
      return words[0] + " is read twice (first on line " + std::to_string(before->second) + ")";
    seen_[key] = lineNumber;
    RowValues values;
    std::string use;
    if (auto why = readValues(words, values, use)) return why;
    if (family_ == "steel-grade") return addGrade(words[0], values, use);
    return addSection(words[0], values);
  }

  std::optional<std::string> readValues(const std::vector<std::string>& words, RowValues& values,
                                        std::string& use) const {
    for (size_t i = 1; i < words.size(); ++i) {
      if (columns_[i].quantity == Quantity::Text) {
        use = words[i];
        continue;
      }
      if (words[i] == "-") continue;  // absent: not published
      const std::optional<double> value = PositiveNumber(words[i]);
      if (!value)
        return "the " + columns_[i].key + " of " + words[0] +
               " is not a positive number: " + words[i];
      // A number the unit takes beyond the range of doubles (1e308 ksi) or
      // to zero (1e-320 mm) is no dimension of a section.
      const double converted = *value * columns_[i].factor;
      if (!std::isfinite(converted) || !(converted > 0))
        return "the " + columns_[i].key + " of " + words[0] +
               " is out of range in its unit: " + words[i];
      values[columns_[i].key] = converted;
    }
    return std::nullopt;
  }

  std::optional<std::string> addGrade(const std::string& name, const RowValues& values,
                                      const std::string& use) {
    const auto fy = ValueOf(values, "fy"), E = ValueOf(values, "E");
    if (!fy || !E) return "the grade " + name + " needs fy and E";
    if (use != "sheet-pile" && use != "structural" && use != "sheet-pile,structural")
      return "the use of " + name + " is sheet-pile, structural or sheet-pile,structural, not " +
             use;
    library.grades.push_back({name, *fy, *E, use, source_, origin_});
    return std::nullopt;
  }

  std::optional<std::string> addSection(const std::string& name, const RowValues& values) {
    auto get = [&](const char* k) { return ValueOf(values, k); };
    const SectionFamily sectionFamily = *FamilyOfWord(family_);
    Section section;
    if (sectionFamily == SectionFamily::Pipe) {
      if (!get("D") || !get("t") || 2 * *get("t") >= *get("D"))
        return "the pipe " + name + " needs D and t with 2t < D";
      section = PipeSection(name, *get("D"), *get("t"));
      if (!PipePropertiesComputable(section))
        return "the pipe " + name + " has dimensions too large or too small to compute";
    } else {
      section.name = name;
      section.family = sectionFamily;
      section.width = get("b");
      section.height = get("h");
      section.flangeThickness = get("tf");
      section.webThickness = get("tw");
      section.flangeWidth = get("bf");
      section.webAngle = get("webAngle");
      section.area = get("A");
      section.secondMoment = get("I");
      section.elasticModulus = get("Wel");
      section.plasticModulus = get("Wpl");
      section.massPerLength = get("mass");
      if (!section.secondMoment) return name + " has no I";
      if (section.flangeWidth && !IsSheetPile(sectionFamily))
        return name + ": bf is the flange width of a sheet pile; an I shape's is b";
      if (section.flangeWidth && section.width && *section.flangeWidth >= *section.width)
        return "the flange width bf of " + name + " is not less than its width b";
    }
    section.source = source_;
    section.origin = origin_;
    library.sections.push_back(std::move(section));
    return std::nullopt;
  }

  const std::string& origin_;
  std::string family_, source_;
  std::vector<Column> columns_;
  std::map<std::string, int> seen_;  // normalised name → line
};

}  // namespace

std::optional<SectionLibrary> ParseSectionLibrary(std::string_view text, const std::string& origin,
                                                  std::string& error) {
  if (text.size() > kMaxFileBytes) {
    error = origin + ": the file is larger than 10 MB; it is not a section library";
    return std::nullopt;
  }
  LibraryReader reader(origin);
  size_t lineNumber = 0;
  size_t start = 0;
  auto fail = [&](const std::string& why) {
    error = origin + " line " + std::to_string(lineNumber) + ": " + why;
    return std::nullopt;
  };
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    ++lineNumber;
    if (end - start > kMaxLineBytes) return fail("the line is longer than 4096 bytes");
    std::string line(text.substr(start, end - start));
    start = end + 1;
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    if (auto why = reader.read(line, static_cast<int>(lineNumber))) return fail(*why);
  }
  return std::move(reader.library);
}

}  // namespace terraq::design
