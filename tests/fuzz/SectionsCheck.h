#pragma once
// The check of the section-library fuzz target, shared with the ordinary
// suite that runs the kept inputs through it: any text is refused with a
// message naming the origin, or read into a library whose every value is a
// finite positive number (in SI, after its unit) and whose every name finds
// its own row.

#include <string>
#include <string_view>

namespace terraq::fuzz {

// Empty when the reader behaved; else the fault, in words.
std::string CheckSections(std::string_view text);

}  // namespace terraq::fuzz
