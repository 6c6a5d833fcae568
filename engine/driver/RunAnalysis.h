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
// in the report; only a file the run could not create or write, or a data
// file the system could not read, is told to the caller this way (its name
// and the reason in the run messages), since the outputs then hold no
// result of the data.
enum class RunStatus : int32_t {
  Completed = 0,
  OutputNotWritten = 2,
  InputNotRead = 3,
};

RunStatus RunAnalysis();

}  // namespace terraq::engine
