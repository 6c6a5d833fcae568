#pragma once
// The tables of the verification chapter: each case is a titled section with
// a short description and one Markdown table. Most compare a value TERRAQ
// computes with a reference worked out independently (a closed form, a
// published formula or a hand calculation); the studies of refinement and of
// units systems have tables of their own shape.

#include <stdexcept>
#include <string>
#include <vector>

namespace terraq::verification {

struct Section {
  std::string title;
  std::string description;
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
};

// One value against its reference, both in the units the quantity names.
struct Comparison {
  std::string quantity;
  double reference;
  double computed;
};

// A section whose table reads Quantity | `referenceHeading` | TERRAQ |
// Difference (%), the difference taken relative to the reference (which must
// not be zero).
Section ComparisonSection(const std::string& title, const std::string& description,
                          const std::string& referenceHeading, const std::vector<Comparison>& rows);

// Four significant digits, as the program prints its results.
std::string Number(double value);
// 100 (computed - reference) / reference with two decimals.
std::string PercentDifference(double reference, double computed);

// A case that did not run to a result; main reports it and fails.
struct CaseFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The groups of cases, in the order the chapter shows them.
std::vector<Section> BeamSections();
std::vector<Section> PyCurveSections();
std::vector<Section> GeneratedSoilSections();
std::vector<Section> EarthPressureSections();
std::vector<Section> RefinementAndUnitsSections();
std::vector<Section> SequenceSections();

// The page: a comment line, then each section under a third-level heading.
std::string PageText(const std::vector<Section>& sections);

}  // namespace terraq::verification
