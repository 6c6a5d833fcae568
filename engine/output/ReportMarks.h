#pragma once
// The marks that every section of the report shares, whichever part of the
// engine writes the section: the star box framing a section's title, and
// the line that heads a warning of the generators.

#include <string>
#include <string_view>

#include "textio/TextOut.h"

namespace terraq::engine {

// Two empty lines, then the title between two lines of stars, each indented
// by six. `framedTitle` is the title's whole line, stars at its ends
// included ("*        PROGRAM CONTROL PARAMETERS              *").
void WriteStarBox(TextOut& report, std::string_view framedTitle);

// "**** WARNING ****", indented by 29, over the lines of a warning.
std::string WarningMarkLine();

}  // namespace terraq::engine
