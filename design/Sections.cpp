// The section library: its families, the sections and grades found by
// name, pipes computed from their dimensions, and the shipped and the
// user's files loaded into one library.
#include "Sections.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "SectionLibraryText.h"

namespace terraq::design {

using library_text::kMaxFileBytes;
using library_text::Normalised;
using library_text::PositiveNumber;

namespace {

constexpr double kPi = 3.14159265358979323846;

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
  // Differences of powers factored, D^n - d^n = (D - d)(...), so that a thin wall of a large
  // pipe keeps its digits instead of cancelling to zero.
  const double D = diameter, d = diameter - 2 * thickness, wall = 2 * thickness;
  s.height = diameter;
  s.webThickness = thickness;
  s.area = kPi * wall * (D + d) / 4;
  s.secondMoment = kPi * wall * (D + d) * (D * D + d * d) / 64;
  s.elasticModulus = 2 * *s.secondMoment / diameter;
  s.plasticModulus = wall * (D * D + D * d + d * d) / 6;
  s.massPerLength = *s.area * 7850.0;
  return s;
}

bool PipePropertiesComputable(const Section& pipe) {
  for (double v : {*pipe.area, *pipe.secondMoment, *pipe.elasticModulus, *pipe.plasticModulus,
                   *pipe.massPerLength})
    if (!std::isfinite(v) || v <= 0) return false;
  return true;
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
  if (!PipePropertiesComputable(pipe)) return std::nullopt;
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
