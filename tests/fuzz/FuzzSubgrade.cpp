// Fuzz target of the subgrade-reaction soil model: the input is the text of
// a data file, analysed with the model through SubgradeCheck.h's check.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "SubgradeCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string fault =
      terraq::fuzz::CheckSubgrade(std::string_view(reinterpret_cast<const char*>(data), size));
  if (fault.empty()) return 0;
  std::fprintf(stderr, "fault: %s\n", fault.c_str());
  std::abort();
}
