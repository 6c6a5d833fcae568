// Fuzz target of what a user types for a study: a distribution of a random
// parameter and the values of a sweep (StudyTextCheck.h); the ordinary
// tests run the kept inputs through the same check.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzTarget.h"
#include "StudyTextCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  terraq::fuzz::AbortOnProblem(terraq::fuzz::CheckStudyTexts(bytes));
  return 0;
}
