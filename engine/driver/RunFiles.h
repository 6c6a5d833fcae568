#pragma once
// The texts of one analysis run: the data being read, the three outputs
// and the messages for the caller. Owned by the run and handed to every
// procedure that reads or writes.

#include <optional>
#include <string>
#include <vector>

#include "textio/FreeFormatReader.h"
#include "textio/TextOut.h"

namespace terraq::engine {

struct RunFiles {
  std::optional<FreeFormatReader> data;
  TextOut report;
  TextOut plot;
  TextOut monitor;
  std::vector<std::string> messages;  // lines for the caller, in order
};

}  // namespace terraq::engine
