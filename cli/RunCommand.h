#pragma once
// terraq run: analyses data files with the engine library, one or several
// side by side, and prints their summary (text or JSON); with --section it
// checks a steel section along the wall, with --design-approach it analyses
// the wall once per set of partial factors (DesignSituationsRun.h).

#include <string_view>
#include <vector>

namespace terraq::cli {

// The arguments after "run". Returns the exit status: the largest of the
// files' statuses (RunDataFile in FileRun.h), 2 on usage.
int RunCommand(const std::vector<std::string_view>& args);

}  // namespace terraq::cli
