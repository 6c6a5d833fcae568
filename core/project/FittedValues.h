#pragma once
// Fitted values of study parameters (design/Parameters.h: layer.N.k, ei,
// the multipliers all.k and all.su, ...) set into the project, as the
// Study window's fit to measurements applies them: the project's data text
// is rewritten with the values by the same code that analyses them in the
// fit, and read back into the project, so that what is applied is what was
// fitted. Only on the engineer's Apply, never silently.
//
// Units: the data file's. Thread safety: none (it edits the project).

#include <string>
#include <utility>
#include <vector>

namespace terraq::ui {

class TProgramData;

// Sets `values` (name, value) into `data` and marks it modified; false with
// `refused` saying why (a staged project, a name the data file does not
// have, such as a soil model's spring parameter, a value it cannot hold),
// the project then unchanged.
bool ApplyFittedValues(TProgramData& data,
                       const std::vector<std::pair<std::string, double>>& values,
                       std::string& refused);

}  // namespace terraq::ui
