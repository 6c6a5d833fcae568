#pragma once
// The check of the subgrade-reaction fuzz target, shared with the ordinary
// suite that runs the kept inputs through it: the text of a data file is
// analysed with the soil modelled by subgrade-reaction springs (the
// parameters of each layer taken from the text's length, so that varied
// inputs vary them too), alone and as the stages of a sequence. What comes
// back must be an error stop or results whose every mobilised pressure is a
// number within its active and passive limits.

#include <string>
#include <string_view>

namespace terraq::fuzz {

// Empty when every analysis behaved; else the fault, in words.
std::string CheckSubgrade(std::string_view dataText);

}  // namespace terraq::fuzz
