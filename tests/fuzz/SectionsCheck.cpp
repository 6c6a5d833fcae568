#include "SectionsCheck.h"

#include <cmath>
#include <optional>

#include "Sections.h"

namespace terraq::fuzz {

namespace {

bool FinitePositive(double value) { return std::isfinite(value) && value > 0; }

}  // namespace

std::string CheckSections(std::string_view text) {
  using design::Section;
  std::string error;
  const auto library = design::ParseSectionLibrary(text, "fuzz.txt", error);
  if (!library)
    return error.rfind("fuzz.txt", 0) == 0 ? "" : "a refusal without the file's name: " + error;
  for (const Section& s : library->sections) {
    for (const std::optional<double>* v :
         {&s.width, &s.height, &s.flangeThickness, &s.webThickness, &s.webAngle, &s.area,
          &s.secondMoment, &s.elasticModulus, &s.plasticModulus, &s.massPerLength})
      if (*v && !FinitePositive(**v))
        return s.name + " holds a value that is not finite and positive";
    if (library->findSection(s.name) != &s) return s.name + " does not find its own row";
  }
  for (const auto& g : library->grades)
    if (!FinitePositive(g.yieldStrength) || !FinitePositive(g.elasticModulus))
      return g.name + ": a grade with a strength that is not finite and positive";
  return {};
}

}  // namespace terraq::fuzz
