// The engine linked into a program (its tests, benchmarks and fuzz targets)
// as the engine of the process, from the program's start: linked as an
// object of its own, so that the registration is never left out.
#include "EngineEntries.h"
#include "EngineRoute.h"

namespace {

const bool registered = [] {
  terraq::engine::UseEngine(&terraq::engine::api::EntriesOfThisEngine());
  return true;
}();

}  // namespace
