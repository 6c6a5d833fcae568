#include "Rounding.h"

#include "textio/ScratchDigits.h"

namespace terraq::engine::api {

double RoundedToDigits(double value, int digits) { return engine::RoundedToDigits(value, digits); }

}  // namespace terraq::engine::api
