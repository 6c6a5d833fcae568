// Fuzz target of the project file beside a data file: read, written, read
// and written again, and each member read by its owner and written back.
// The check and its rules are in ProjectFileCheck.h; the ordinary tests run
// the kept inputs through the same check.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzTarget.h"
#include "ProjectFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const terraq::fuzz::WorkFolder folder;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  terraq::fuzz::AbortOnProblem(terraq::fuzz::CheckProjectFile(bytes, folder), &folder);
  return 0;
}
