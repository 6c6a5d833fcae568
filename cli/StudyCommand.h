#pragma once
// terraq study: sweeps of one or two parameters of a data file, sampling
// studies (Monte Carlo, Latin hypercube) and the first-order reliability
// method, with their shards and the merge of the shards' part files, and
// the list of the parameters a data file has. The analyses run in memory on
// every core (the design library's studies); only the engine library is
// loaded.
//
// Exit status: 0 the study ran (points or samples that could not be
// analysed are reported, not fatal), 1 nothing could be analysed (the data
// file as it is, or every point of a sweep), 2 the study could not be
// carried out (usage, names, distributions, data, part or output files),
// 128 + N stopped by signal N after reporting what was done.

#include <string_view>
#include <vector>

namespace terraq::cli {

// `args` are the arguments after "study".
int StudyCommand(const std::vector<std::string_view>& args);

}  // namespace terraq::cli
