#pragma once
// terraq convert: a data file of any layout (the current one, 3.0 or 2.0)
// written in the current layout.

#include <string_view>
#include <vector>

namespace terraq::cli {

// The arguments after "convert". Returns 0 converted, 1 the input is not a
// valid data file of its layout (or converting it would lose data), 2 on
// usage or a file that cannot be read or written.
int ConvertCommand(const std::vector<std::string_view>& args);

}  // namespace terraq::cli
