#include "ScratchDigits.h"

#include <string>

#include "FixedFormat.h"
#include "FreeFormatReader.h"

namespace terraq::engine {

namespace {

std::optional<double> ReadBack(const std::string& text) {
  const size_t start = text.find_first_not_of(' ');
  double value = 0;
  if (start == std::string::npos || !ParseReal(std::string_view(text).substr(start), value))
    return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> ScratchRounded(double value) {
  return ReadBack(FormatE(value, kScratchFieldWidth, kScratchDigits));
}

std::optional<double> ListRounded(double value) { return ReadBack((ListRecord() << value).str()); }

}  // namespace terraq::engine
