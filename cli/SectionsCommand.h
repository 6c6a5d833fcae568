#pragma once
// terraq sections: the section library (the shipped file and the user's),
// grouped by family with every property and its unit, then the steel
// grades; one section by name; or all of it as one JSON object (--json),
// every value in SI base units named in "units".

#include <string_view>
#include <vector>

namespace terraq::cli {

// The arguments after "sections". Returns 0 when listed, 1 when the named
// section is not in the library, 2 on usage or a library file that cannot
// be read (its message names file and line).
int SectionsCommand(const std::vector<std::string_view>& args);

}  // namespace terraq::cli
