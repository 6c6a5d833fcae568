// The exported entry of the engine library. One call with the code 7 runs
// one analysis; any other code does nothing. Nothing the analysis finds is
// returned: it is all in the report. Returns 0 for a run that wrote its
// outputs, 1 for a code other than 7, 2 when an output file could not be
// created or written (a full disk), and 3 when the system could not read
// the data file (an input/output error): the run messages in the current
// directory name the file and the reason.

#include <cstdint>
#include <exception>

#include "RunAnalysis.h"

#if defined(_WIN32)
#define TERRAQ_EXPORT extern "C" __declspec(dllexport)
#define TERRAQ_CALL __stdcall
#else
#define TERRAQ_EXPORT extern "C" __attribute__((visibility("default")))
#define TERRAQ_CALL
#endif

TERRAQ_EXPORT int32_t TERRAQ_CALL ITERRAQ(int32_t code) {
  if (code != 7) return 1;
  int32_t status = 0;
  try {
    status = static_cast<int32_t>(terraq::engine::RunAnalysis());
  } catch (...) {
    // Nothing may cross the entry; the run driver has already closed the
    // report with whatever it could write.
  }
  return status;
}

TERRAQ_EXPORT int32_t TERRAQ_CALL _ITERRAQ(int32_t code) { return ITERRAQ(code); }
