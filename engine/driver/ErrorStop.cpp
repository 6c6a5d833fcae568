#include "ErrorStop.h"

#include <cctype>

#include "textio/TextOut.h"

namespace terraq::engine {

void StopTooMuchData() {
  throw ErrorStop({"", "", "     TOO MUCH DATA FOR AVAILABLE STORAGE", "", ""});
}

void StopStationsNotInOrder() { throw ErrorStop({"", "", "     ERROR STOP -- STATIONS NOT IN ORDER"}); }

void StopBeyondEnd() { throw ErrorStop({"", "", "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"}); }

void StopWithMessage(const std::string& message, std::vector<std::string> callerLines) {
  throw ErrorStop({"", "", "     " + message}, std::move(callerLines));
}

void StopForOptionFault(const std::string& fault) {
  std::string text = "ERROR STOP -- " + fault;
  for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  StopWithMessage(text);
}

void ThrowIfWriteFailed(const TextOut& file) {
  if (file.error() != 0) throw OutputWriteError(file.path(), file.error());
}

}  // namespace terraq::engine
