// Fuzz target of the inclinometer profiles (MeasurementsCsv.h): the check is in
// MeasurementsCheck.h; the ordinary tests run the kept inputs through it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "MeasurementsCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string fault =
      terraq::fuzz::CheckMeasurements(std::string_view(reinterpret_cast<const char*>(data), size));
  if (fault.empty()) return 0;
  std::fprintf(stderr, "fault: %s\n", fault.c_str());
  std::abort();
}
