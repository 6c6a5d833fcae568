// Fuzz target of the design of a wall: the input is the text of a data file,
// designed problem by problem (limit equilibrium, the spring model's
// strength reduction, the shortest wall) through DesignCheck.h's check.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "DesignCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string problem =
      terraq::fuzz::CheckDesign(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!problem.empty()) {
    std::fprintf(stderr, "fault: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
