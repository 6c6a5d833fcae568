// terraq_doc_verification: runs the engine on the verification cases and
// writes the verification chapter's tables as a Markdown page, so that the
// manual prints the numbers the engine gives today rather than numbers typed
// once.
//
//   terraq_doc_verification OUT.md
//
// The cases: beams with closed-form solutions, each generated p-y model
// against its published formulas, walls on generated soil against a beam on
// the continuous published curves, the generated earth pressure against hand
// calculations and the elastic surcharge formulas, a sheet pile refined from
// 30 to 400 increments, one wall in English and SI units, and a sequential
// analysis whose load reverses after the soil has yielded. The output is
// deterministic: the same engine gives the same page byte for byte. Exit
// status 0 when written, 1 when a case failed to run or the file cannot be
// written, 2 for a wrong command line.

#include <cstdio>
#include <fstream>

#include "VerificationTable.h"

using namespace terraq::verification;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: terraq_doc_verification OUT.md\n");
    return 2;
  }
  // The engine reports its progress on standard output ("READ SOIL DATA");
  // the build log has no use for it. Where /dev/null cannot be opened the
  // lines merely show.
  [[maybe_unused]] std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
  std::vector<Section> sections;
  try {
    for (auto* group : {BeamSections, PyCurveSections, GeneratedSoilSections, EarthPressureSections,
                        RefinementAndUnitsSections, SequenceSections})
      for (Section& s : group()) sections.push_back(std::move(s));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "terraq_doc_verification: %s\n", e.what());
    return 1;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << PageText(sections);
  out.close();
  if (!out) {
    std::fprintf(stderr, "terraq_doc_verification: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
