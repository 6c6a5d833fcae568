// Fuzz target of the project core: the text of a data file read, written,
// read and written again.
// The check and its rules are in FuzzChecks.h; the ordinary tests run the
// kept inputs through the same check.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const terraq::fuzz::WorkFolder folder;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  terraq::fuzz::AbortOnProblem(terraq::fuzz::CheckDataFileRoundTrip(bytes, folder), &folder);
  return 0;
}
