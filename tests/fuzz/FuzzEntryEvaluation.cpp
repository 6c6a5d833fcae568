// Fuzz target of the entry-expression evaluator: any text typed into an
// entry field or a table cell is evaluated or refused, never accepted as an
// infinite or NaN value; a hang is caught by libFuzzer's -timeout.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  terraq::fuzz::AbortOnProblem(terraq::fuzz::CheckEntryEvaluation(bytes));
  return 0;
}
