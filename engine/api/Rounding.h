#pragma once
// Numbers rounded as the engine's printed fields round them, for whoever
// must compare or report results the way the output files hold them.
// Thread safety: pure functions.

namespace terraq::engine::api {

// `value` rounded to `digits` (1..17) significant digits: exactly what
// printf's "%.{digits-1}e" read back by strtod gives (a NaN stays one), in
// a few nanoseconds rather than through the text.
double RoundedToDigits(double value, int digits);

}  // namespace terraq::engine::api
