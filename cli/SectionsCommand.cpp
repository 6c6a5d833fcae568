#include "SectionsCommand.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>

#include "CommandDeclarations.h"
#include "CommandLine.h"
#include "SummaryOutput.h"
#include "project/SectionLibraryFiles.h"

namespace terraq::cli {

namespace {

using design::Section;
using design::SectionFamily;
using design::SteelGrade;

struct Property {
  const char* key;
  std::optional<double> Section::*member;
  double shown;  // SI value × shown = value in the printed unit
  const char* perPile;
  const char* perMetre;
  const char* si;
};

const Property kProperties[] = {
    {"b", &Section::width, 1e3, "mm", "mm", "m"},
    {"bf", &Section::flangeWidth, 1e3, "mm", "mm", "m"},
    {"h", &Section::height, 1e3, "mm", "mm", "m"},
    {"tf", &Section::flangeThickness, 1e3, "mm", "mm", "m"},
    {"tw", &Section::webThickness, 1e3, "mm", "mm", "m"},
    {"webAngle", &Section::webAngle, 1.0, "deg", "deg", "deg"},
    {"A", &Section::area, 1e4, "cm2", "cm2/m", "m2"},
    {"I", &Section::secondMoment, 1e8, "cm4", "cm4/m", "m4"},
    {"Wel", &Section::elasticModulus, 1e6, "cm3", "cm3/m", "m3"},
    {"Wpl", &Section::plasticModulus, 1e6, "cm3", "cm3/m", "m3"},
    {"mass", &Section::massPerLength, 1.0, "kg/m", "kg/m2", "kg/m or kg/m2"},
};

std::string Shown(double value) {
  std::ostringstream out;
  out.precision(5);
  out << value;
  return out.str();
}

// One section on a line; its source below it when `withSource`.
std::string SectionText(const Section& s, bool withSource = true) {
  std::string line = s.name + "  " + std::string(FamilyWord(s.family)) +
                     (s.perMetre() ? ", per metre of wall" : ", per pile");
  for (const Property& p : kProperties)
    if (const auto& v = s.*p.member; v)
      line += "  " + std::string(p.key) + " " + Shown(*v * p.shown) + " " +
              (s.perMetre() ? p.perMetre : p.perPile);
  return line + (withSource ? "\n    source: " + s.source + "\n" : "\n");
}

std::string Json(const design::SectionLibrary& lib) {
  std::string out = "{\"units\": {";
  bool first = true;
  for (const Property& p : kProperties) {
    out += std::string(first ? "" : ", ") + JsonString(p.key) + ": " + JsonString(p.si);
    first = false;
  }
  out +=
      ", \"fy\": \"Pa\", \"E\": \"Pa\", \"perMetre\": \"areas, moduli, I and mass per metre of wall when true\"},\n";
  out += "\"sections\": [";
  for (size_t i = 0; i < lib.sections.size(); ++i) {
    const Section& s = lib.sections[i];
    out += std::string(i ? ",\n" : "\n") + "{\"name\": " + JsonString(s.name) +
           ", \"family\": " + JsonString(FamilyWord(s.family)) +
           ", \"perMetre\": " + (s.perMetre() ? "true" : "false");
    for (const Property& p : kProperties) {
      const auto& v = s.*p.member;
      out += ", " + JsonString(p.key) + ": " + (v ? JsonNumber(*v) : std::string("null"));
    }
    out += ", \"source\": " + JsonString(s.source) + ", \"origin\": " + JsonString(s.origin) + "}";
  }
  out += "],\n\"grades\": [";
  for (size_t i = 0; i < lib.grades.size(); ++i) {
    const SteelGrade& g = lib.grades[i];
    out += std::string(i ? ",\n" : "\n") + "{\"name\": " + JsonString(g.name) +
           ", \"fy\": " + JsonNumber(g.yieldStrength) + ", \"E\": " + JsonNumber(g.elasticModulus) +
           ", \"use\": " + JsonString(g.use) + ", \"source\": " + JsonString(g.source) +
           ", \"origin\": " + JsonString(g.origin) + "}";
  }
  return out + "]}\n";
}

}  // namespace

int SectionsCommand(const std::vector<std::string_view>& args) {
  CommandArguments read;
  if (const std::optional<int> ended = ReadArguments(kSectionsCommand, args, read)) return *ended;
  const bool json = read.has("--json");
  std::string name;
  for (const std::string& word : read.operands) name += (name.empty() ? "" : " ") + word;
  std::string error;
  const std::optional<design::SectionLibrary> lib = ui::LoadProgramSectionLibrary(error);
  if (!lib) return fail(error);

  if (!name.empty()) {
    const std::optional<Section> section = lib->findPipe(name);
    if (!section) {
      const std::string names = lib->nearestSectionNames(name);
      std::cerr << "terraq: the library has no section " << name
                << (names.empty() ? "" : "; nearest: " + names) << "\n";
      return kExitErrorStop;
    }
    if (json) {
      design::SectionLibrary one;
      one.sections.push_back(*section);
      std::cout << Json(one);
    } else {
      std::cout << SectionText(*section);
    }
    return checkStandardOutput(kExitOk);
  }
  if (json) {
    std::cout << Json(*lib);
    return checkStandardOutput(kExitOk);
  }
  for (SectionFamily family :
       {SectionFamily::SheetPileZ, SectionFamily::SheetPileU, SectionFamily::WideFlange,
        SectionFamily::HPile, SectionFamily::Pipe}) {
    bool heading = false;
    std::string lastSource;
    for (const Section& s : lib->sections) {
      if (s.family != family) continue;
      if (!heading)
        std::cout << "\n"
                  << FamilyWord(family)
                  << (design::IsSheetPile(family) ? " (per metre of wall)\n" : " (per pile)\n");
      heading = true;
      if (s.source != lastSource) std::cout << "  source: " << s.source << "\n";
      lastSource = s.source;
      std::cout << "    " << SectionText(s, false);
    }
  }
  std::cout << "\nsteel grades\n";
  for (const SteelGrade& g : lib->grades)
    std::cout << "  " << g.name << "  fy " << Shown(g.yieldStrength / 1e6) << " MPa  E "
              << Shown(g.elasticModulus / 1e9) << " GPa  " << g.use << "\n    source: " << g.source
              << "\n";
  return checkStandardOutput(kExitOk);
}

}  // namespace terraq::cli
