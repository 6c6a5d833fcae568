// Fuzz target of the section library's reader: any text is refused with a
// message naming the origin, or read into a library whose every value is a
// finite positive number and whose every name finds its own row.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Sections.h"

namespace {

void Fault(const std::string& what) {
  std::fprintf(stderr, "fault: %s\n", what.c_str());
  std::abort();
}

void CheckValue(const std::optional<double>& value, const std::string& name) {
  if (value && !(std::isfinite(*value) && *value > 0))
    Fault(name + " holds a value that is not finite and positive");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using terraq::design::Section;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto library = terraq::design::ParseSectionLibrary(text, "fuzz.txt", error);
  if (!library) {
    if (error.rfind("fuzz.txt", 0) != 0) Fault("a refusal without the file's name: " + error);
    return 0;
  }
  for (const Section& s : library->sections) {
    for (const auto* v :
         {&s.width, &s.height, &s.flangeThickness, &s.webThickness, &s.webAngle, &s.area,
          &s.secondMoment, &s.elasticModulus, &s.plasticModulus, &s.massPerLength})
      CheckValue(*v, s.name);
    if (library->findSection(s.name) != &s) Fault(s.name + " does not find its own row");
  }
  for (const auto& g : library->grades)
    if (!(g.yieldStrength > 0 && std::isfinite(g.yieldStrength) && g.elasticModulus > 0 &&
          std::isfinite(g.elasticModulus)))
      Fault(g.name + ": a grade with a strength that is not finite and positive");
  return 0;
}
