// The section library's reader: blocks of rows with units in the column
// heads, every value converted to SI base units as it is read.
#include "Sections.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "api/Units.h"

namespace terraq::design {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kInch = engine::api::kMetresPerInch;
constexpr double kFoot = 0.3048;
constexpr double kPound = 0.45359237;
constexpr size_t kMaxFileBytes = 10u * 1024u * 1024u;
constexpr size_t kMaxLineBytes = 4096;

// What a column holds, and the power of length its unit must carry.
enum class Quantity { Name, Length, Area, Modulus, SecondMoment, Stress, Mass, Angle, Text };

struct Column {
  std::string
      key;  // as written: b, h, tf, tw, bf, webAngle, A, I, Wel, Wpl, mass, fy, E, use, name, D, t
  Quantity quantity = Quantity::Text;
  double factor = 1.0;  // to SI, per metre of wall when the unit is per foot
};

std::string Normalised(std::string_view name) {
  std::string out;
  for (char c : name)
    if (!std::isspace(static_cast<unsigned char>(c)))
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::optional<double> LengthFactor(std::string_view unit) {
  if (unit == "mm") return 1e-3;
  if (unit == "cm") return 1e-2;
  if (unit == "m") return 1.0;
  if (unit == "in") return kInch;
  if (unit == "ft") return kFoot;
  return std::nullopt;
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
  const std::string badUnit = "unknown unit [" + unit + "] for the column " + key;
  switch (column.quantity) {
    case Quantity::Angle:
      if (unit != "deg") break;
      return column;
    case Quantity::Stress: {
      static const std::map<std::string, double> kStress = {{"Pa", 1.0},
                                                            {"kPa", 1e3},
                                                            {"MPa", 1e6},
                                                            {"GPa", 1e9},
                                                            {"N/mm2", 1e6},
                                                            {"psi", 6894.757293168},
                                                            {"ksi", 6894757.293168}};
      if (const auto s = kStress.find(unit); s != kStress.end()) {
        column.factor = s->second;
        return column;
      }
      break;
    }
    case Quantity::Mass: {
      // kg/m, lb/ft per pile; kg/m2, lb/ft2 per square metre of wall.
      static const std::map<std::string, double> kMass = {{"kg/m", 1.0},
                                                          {"kg/m2", 1.0},
                                                          {"lb/ft", kPound / kFoot},
                                                          {"lb/ft2", kPound / (kFoot * kFoot)}};
      if (const auto s = kMass.find(unit); s != kMass.end()) {
        column.factor = s->second;
        return column;
      }
      break;
    }
    default: {
      const int power = column.quantity == Quantity::Length    ? 1
                        : column.quantity == Quantity::Area    ? 2
                        : column.quantity == Quantity::Modulus ? 3
                                                               : 4;
      std::string base = unit;
      double perWall = 1.0;
      if (const size_t slash = unit.find('/'); slash != std::string::npos) {
        const std::string per = unit.substr(slash + 1);
        base = unit.substr(0, slash);
        if (per == "m") perWall = 1.0;
        else if (per == "ft") perWall = 1.0 / kFoot;
        else break;
      }
      if (power > 1) {
        if (base.empty() || base.back() != static_cast<char>('0' + power)) break;
        base.pop_back();
      }
      const std::optional<double> length = LengthFactor(base);
      if (!length) break;
      column.factor = std::pow(*length, power) * perWall;
      return column;
    }
  }
  why = badUnit;
  return std::nullopt;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::optional<double> PositiveNumber(const std::string& word) {
  char* end = nullptr;
  const double value = std::strtod(word.c_str(), &end);
  if (end != word.c_str() + word.size() || !std::isfinite(value) || value <= 0) return std::nullopt;
  return value;
}

// Pipes named PIPE<D>x<t> with D and t in mm.
std::optional<std::pair<double, double>> PipeDimensions(std::string_view normalised) {
  if (normalised.substr(0, 4) != "PIPE") return std::nullopt;
  const std::string rest(normalised.substr(4));
  const size_t x = rest.find('X');
  if (x == std::string::npos) return std::nullopt;
  const auto d = PositiveNumber(rest.substr(0, x));
  const auto t = PositiveNumber(rest.substr(x + 1));
  if (!d || !t || 2 * *t >= *d) return std::nullopt;
  return std::make_pair(*d * 1e-3, *t * 1e-3);
}

}  // namespace

std::string_view FamilyWord(SectionFamily family) {
  switch (family) {
    case SectionFamily::SheetPileU: return "sheet-pile-u";
    case SectionFamily::SheetPileZ: return "sheet-pile-z";
    case SectionFamily::WideFlange: return "wide-flange";
    case SectionFamily::HPile: return "h-pile";
    case SectionFamily::Pipe: return "pipe";
  }
  return "sheet-pile-z";
}

std::optional<SectionFamily> FamilyOfWord(std::string_view word) {
  for (SectionFamily f : {SectionFamily::SheetPileU, SectionFamily::SheetPileZ,
                          SectionFamily::WideFlange, SectionFamily::HPile, SectionFamily::Pipe})
    if (FamilyWord(f) == word) return f;
  return std::nullopt;
}

bool IsSheetPile(SectionFamily family) {
  return family == SectionFamily::SheetPileU || family == SectionFamily::SheetPileZ;
}

Section PipeSection(std::string name, double diameter, double thickness) {
  Section s;
  s.name = std::move(name);
  s.family = SectionFamily::Pipe;
  const double d = diameter - 2 * thickness;
  s.height = diameter;
  s.webThickness = thickness;
  s.area = kPi * (diameter * diameter - d * d) / 4;
  s.secondMoment = kPi * (std::pow(diameter, 4) - std::pow(d, 4)) / 64;
  s.elasticModulus = 2 * *s.secondMoment / diameter;
  s.plasticModulus = (std::pow(diameter, 3) - std::pow(d, 3)) / 6;
  s.massPerLength = *s.area * 7850.0;
  return s;
}

const Section* SectionLibrary::findSection(std::string_view name) const {
  const std::string key = Normalised(name);
  for (const Section& s : sections)
    if (Normalised(s.name) == key) return &s;
  return nullptr;
}

std::optional<Section> SectionLibrary::findPipe(std::string_view name) const {
  if (const Section* row = findSection(name)) return *row;
  const auto dimensions = PipeDimensions(Normalised(name));
  if (!dimensions) return std::nullopt;
  Section pipe = PipeSection(std::string(name), dimensions->first, dimensions->second);
  pipe.source = "computed from D and t";
  return pipe;
}

const SteelGrade* SectionLibrary::findGrade(std::string_view name) const {
  const std::string key = Normalised(name);
  for (const SteelGrade& g : grades)
    if (Normalised(g.name) == key) return &g;
  return nullptr;
}

namespace {

// Levenshtein distance, for the nearest names of a name not found.
size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::string SectionLibrary::nearestSectionNames(std::string_view name, size_t count) const {
  std::vector<std::pair<size_t, std::string>> nearest;
  const std::string key = Normalised(name);
  for (const Section& s : sections)
    nearest.emplace_back(EditDistance(key, Normalised(s.name)), s.name);
  std::sort(nearest.begin(), nearest.end());
  std::string names;
  for (size_t i = 0; i < std::min(count, nearest.size()); ++i)
    names += (i ? ", " : "") + nearest[i].second;
  return names;
}

bool SteelGrade::rolledFor(const Section& section) const {
  const std::string wanted = section.perMetre() ? "sheet-pile" : "structural";
  return use == wanted || use == "sheet-pile,structural";
}

const SteelGrade* SectionLibrary::defaultGrade(const Section& section) const {
  // Sheet piles in S355GP, every other shape in the structural S355, the
  // common choices; the first grade of the right use when those are absent.
  if (const SteelGrade* g = findGrade(section.perMetre() ? "S355GP" : "S355")) return g;
  for (const SteelGrade& g : grades)
    if (g.rolledFor(section)) return &g;
  return nullptr;
}

std::optional<SectionLibrary> ParseSectionLibrary(std::string_view text, const std::string& origin,
                                                  std::string& error) {
  if (text.size() > kMaxFileBytes) {
    error = origin + ": the file is larger than 10 MB; it is not a section library";
    return std::nullopt;
  }
  SectionLibrary library;
  std::string family, source;
  std::vector<Column> columns;
  std::map<std::string, int> seen;  // normalised name → line
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
    std::vector<std::string> words = Words(line);
    if (words.empty()) continue;
    const std::string& head = words.front();
    if (head == "family") {
      if (words.size() != 2) return fail("family takes one word");
      if (words[1] != "steel-grade" && !FamilyOfWord(words[1]))
        return fail("unknown family " + words[1]);
      family = words[1];
      source.clear();
      columns.clear();
      continue;
    }
    if (head == "source") {
      if (family.empty()) return fail("source before any family");
      const size_t at = line.find("source") + 6;
      const size_t first = line.find_first_not_of(" \t", at);
      const size_t last = line.find_last_not_of(" \t\r");
      if (first == std::string::npos) return fail("source names no table");
      source = line.substr(first, last - first + 1);
      continue;
    }
    if (head == "columns") {
      if (family.empty()) return fail("columns before any family");
      columns.clear();
      for (size_t i = 1; i < words.size(); ++i) {
        std::string why;
        const std::optional<Column> column = ColumnOfHead(words[i], why);
        if (!column) return fail(why);
        for (const Column& c : columns)
          if (c.key == column->key) return fail("the column " + c.key + " is named twice");
        columns.push_back(*column);
      }
      if (columns.empty() || columns.front().key != "name") return fail("the first column is name");
      continue;
    }
    // A row.
    if (columns.empty()) return fail("a row before its block's family and columns");
    if (source.empty()) return fail("the block names no source");
    if (words.size() != columns.size())
      return fail("the row has " + std::to_string(words.size()) + " values for " +
                  std::to_string(columns.size()) + " columns");
    const std::string key = Normalised(words[0]);
    if (const auto before = seen.find(key); before != seen.end())
      return fail(words[0] + " is read twice (first on line " + std::to_string(before->second) +
                  ")");
    seen[key] = static_cast<int>(lineNumber);
    std::map<std::string, double> values;
    std::string use;
    for (size_t i = 1; i < words.size(); ++i) {
      if (columns[i].quantity == Quantity::Text) {
        use = words[i];
        continue;
      }
      if (words[i] == "-") continue;  // absent: not published
      const std::optional<double> value = PositiveNumber(words[i]);
      if (!value)
        return fail("the " + columns[i].key + " of " + words[0] +
                    " is not a positive number: " + words[i]);
      // A number the unit takes beyond the range of doubles (1e308 ksi) or
      // to zero (1e-320 mm) is no dimension of a section.
      const double converted = *value * columns[i].factor;
      if (!std::isfinite(converted) || !(converted > 0))
        return fail("the " + columns[i].key + " of " + words[0] +
                    " is out of range in its unit: " + words[i]);
      values[columns[i].key] = converted;
    }
    auto get = [&](const char* k) -> std::optional<double> {
      const auto v = values.find(k);
      return v == values.end() ? std::nullopt : std::optional<double>(v->second);
    };
    if (family == "steel-grade") {
      if (!get("fy") || !get("E")) return fail("the grade " + words[0] + " needs fy and E");
      if (use != "sheet-pile" && use != "structural" && use != "sheet-pile,structural")
        return fail("the use of " + words[0] +
                    " is sheet-pile, structural or sheet-pile,structural, not " + use);
      library.grades.push_back({words[0], *get("fy"), *get("E"), use, source, origin});
      continue;
    }
    const SectionFamily sectionFamily = *FamilyOfWord(family);
    Section section;
    if (sectionFamily == SectionFamily::Pipe) {
      if (!get("D") || !get("t") || 2 * *get("t") >= *get("D"))
        return fail("the pipe " + words[0] + " needs D and t with 2t < D");
      section = PipeSection(words[0], *get("D"), *get("t"));
    } else {
      section.name = words[0];
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
      if (!section.secondMoment) return fail(words[0] + " has no I");
      if (section.flangeWidth && !IsSheetPile(sectionFamily))
        return fail(words[0] + ": bf is the flange width of a sheet pile; an I shape's is b");
      if (section.flangeWidth && section.width && *section.flangeWidth >= *section.width)
        return fail("the flange width bf of " + words[0] + " is not less than its width b");
    }
    section.source = source;
    section.origin = origin;
    library.sections.push_back(std::move(section));
  }
  return library;
}

namespace {

std::optional<std::string> ReadLibraryFile(const std::string& path, std::string& error) {
  // Looked at before it is opened: opening a pipe waits for a writer for
  // ever, a device has no end, and a folder opens but reads as nothing.
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (std::filesystem::is_directory(status) ||
      (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))) {
    error = "cannot read the section library " + path + ": " +
            (std::filesystem::is_directory(status) ? "it is a folder" : "it is not a regular file");
    return std::nullopt;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the section library " + path +
            (errno ? std::string(": ") + std::strerror(errno) : std::string());
    return std::nullopt;
  }
  std::string text;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes) {
      error = path + ": the file is larger than 10 MB; it is not a section library";
      return std::nullopt;
    }
  }
  return text;
}

}  // namespace

std::optional<SectionLibrary> LoadSectionLibrary(const std::string& shippedPath,
                                                 const std::string& userPath, std::string& error) {
  const std::optional<std::string> shippedText = ReadLibraryFile(shippedPath, error);
  if (!shippedText) return std::nullopt;
  std::optional<SectionLibrary> library = ParseSectionLibrary(*shippedText, shippedPath, error);
  if (!library || userPath.empty()) return library;
  // No user file: nothing to add. One that is there but cannot be read (a
  // folder, no permission) is said, as a broken one is: ignoring it would
  // leave the user's sections out without a word.
  std::error_code ec;
  if (std::filesystem::symlink_status(userPath, ec).type() == std::filesystem::file_type::not_found)
    return library;
  const std::optional<std::string> userText = ReadLibraryFile(userPath, error);
  if (!userText) return std::nullopt;
  std::optional<SectionLibrary> user = ParseSectionLibrary(*userText, userPath, error);
  if (!user) return std::nullopt;
  for (Section& s : user->sections) {
    const std::string key = Normalised(s.name);
    bool replaced = false;
    for (Section& shipped : library->sections)
      if (Normalised(shipped.name) == key) {
        shipped = s;
        replaced = true;
      }
    if (!replaced) library->sections.push_back(std::move(s));
  }
  for (SteelGrade& g : user->grades) {
    bool replaced = false;
    for (SteelGrade& shipped : library->grades)
      if (Normalised(shipped.name) == Normalised(g.name)) {
        shipped = g;
        replaced = true;
      }
    if (!replaced) library->grades.push_back(std::move(g));
  }
  return library;
}

}  // namespace terraq::design
