#pragma once
// A number as the design library's messages and reports write it: four
// significant digits in the stream's general form (12.35, 0.0625, 1.5e+04).

#include <sstream>
#include <string>

namespace terraq::design {

inline std::string FourDigits(double value) {
  std::ostringstream out;
  out.precision(4);
  out << value;
  return out.str();
}

}  // namespace terraq::design
