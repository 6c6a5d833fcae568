#pragma once
// One complete analysis run through files, as the exported entry makes it:
// the names file in the current directory names the data file and the
// three outputs; every problem of the data file is read, solved and reported
// (in memory, by api/Analysis.h) until its end code says the run is over,
// and the outputs are written. Only this adapter depends on the current
// directory.

#include <cstdint>

namespace terraq::engine {

// How a run ended, as the entry returns it. Whatever the analysis found is
// in the report; only a file the run could not create or write is told to
// the caller this way (its name and the reason in the run messages).
enum class RunStatus : int32_t {
  Completed = 0,
  OutputNotWritten = 2,
};

RunStatus RunAnalysis();

}  // namespace terraq::engine
