#include "ErrorStop.h"

namespace terraq::engine {

void stopTooMuchData() {
  throw ErrorStop({"", "", "     TOO MUCH DATA FOR AVAILABLE STORAGE", "", ""});
}

void stopStationsNotInOrder() { throw ErrorStop({"", "", "     ERROR STOP -- STATIONS NOT IN ORDER"}); }

void stopBeyondEnd() { throw ErrorStop({"", "", "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"}); }

void stopWithMessage(const std::string& message) { throw ErrorStop({"", "", "     " + message}); }

}  // namespace terraq::engine
