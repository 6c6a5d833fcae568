// Fuzz target of the project core: the text of a plot file, read into the
// result graphs and laid out for drawing.
// The check and its rules are in FuzzChecks.h; the ordinary tests run the
// kept inputs through the same check.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  terraq::fuzz::AbortOnProblem(terraq::fuzz::CheckPlotFile(bytes));
  return 0;
}
