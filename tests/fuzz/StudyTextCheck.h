#pragma once
// The check of the study-text fuzz target, shared with the ordinary suite
// that runs the kept inputs through it. The bytes are what a user types for
// a study: a distribution ("normal(32,2)", "truncnormal(10,3,0,20)", ...)
// and a sweep's values ("0:5:11", "1,2,4"). Each parses, or is refused with
// a message. A distribution that parses gives finite samples that rise with
// the standard normal variable, within its own bounds and, once truncated to
// a parameter's physical range (when it keeps some probability there),
// within that range; a sweep that parses gives finite values, the range
// form its count of them from its first to its last.

#include <string>
#include <string_view>

namespace terraq::fuzz {

// Empty when both parsers behaved; else the fault, in words.
std::string CheckStudyTexts(std::string_view bytes);

}  // namespace terraq::fuzz
