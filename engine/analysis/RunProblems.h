#pragma once
// The analysis of one data file: every problem read, solved and reported in
// turn until its end code says the run is over, or an error stop ends it.
// It touches no file and no state outside the model and the texts it is
// given, so that any number of runs may go on at once on different threads,
// each with its own model and texts.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "api/Sequential.h"
#include "api/Subgrade.h"
#include "driver/EngineModel.h"
#include "driver/RunFiles.h"

namespace terraq::engine {

// What ended a run before its end code: the lines written to the report,
// the message among them, and the line of the data file it concerns (the
// malformed or missing value of an input error; otherwise the last line
// read when the run stopped, 0 before any).
struct RunStop {
  enum class Kind { Input, Stop, TooMuchData, Internal };
  Kind kind = Kind::Stop;
  std::string message;
  int line = 0;
};

// Runs the problems of `files.data` into files.report, .plot and .monitor
// (as the caller has set them up: in memory, or swallowing their text) and
// files.messages. `model` is reset first and afterwards holds the last
// problem. `solved`, if set, sees the model after each problem is solved and
// reported. `stopBeforeReading`, when not empty, is an error stop of its own
// before anything is read (a data file that would not open). `sequential`,
// if set, makes the problems the stages of one construction sequence
// (SequenceState.h); `subgrade`, if set, models the soil by the
// subgrade-reaction springs (subgrade/SubgradeSequence.h). Both must
// outlive the call. Throws nothing but what the
// allocation of its texts may throw.
std::optional<RunStop> RunProblems(RunFiles& files, EngineModel& model,
                                   const std::function<void(const EngineModel&)>& solved,
                                   const std::string& stopBeforeReading = {},
                                   const api::SequentialOptions* sequential = nullptr,
                                   const api::SubgradeOptions* subgrade = nullptr);

}  // namespace terraq::engine
