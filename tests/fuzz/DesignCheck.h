#pragma once
// The check of the design fuzz target, shared with the ordinary suite that
// runs the kept inputs through it: the text of a data file is designed
// problem by problem as terraq design does it, and what comes back must be
// an answer or a message, never a value that is not a number, a negative
// embedment, or a wall the analysis can no longer read.

#include <string>
#include <string_view>

namespace terraq::fuzz {

// Empty when every problem's design behaved; else the fault, in words.
std::string CheckDesign(std::string_view dataText);

}  // namespace terraq::fuzz
