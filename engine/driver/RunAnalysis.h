#pragma once
// One complete analysis run: the names file in the current directory names
// the data file and the three outputs; every problem of the data file is
// read, solved and reported until its end code says the run is over.

namespace terraq::engine {

void RunAnalysis();

}  // namespace terraq::engine
