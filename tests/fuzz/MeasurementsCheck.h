#pragma once
// The check of the measurements fuzz target, shared with the ordinary suite
// that runs the kept inputs through it: any text is refused with a message
// (a line's number where a line is at fault), or read into readings whose
// every depth and deflection is a finite number, the depths not negative
// and each once, that stay finite in both units systems and read back the
// same from the text written of them.

#include <string>
#include <string_view>

namespace terraq::fuzz {

// Empty when the reader behaved; else the fault, in words.
std::string CheckMeasurements(std::string_view text);

}  // namespace terraq::fuzz
