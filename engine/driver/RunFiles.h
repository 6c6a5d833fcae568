#pragma once
// The files of one analysis run: the data file being read and the three
// outputs. Owned by the run driver and handed to every procedure that reads
// or writes.

#include <fstream>
#include <optional>

#include "textio/FreeFormatReader.h"
#include "textio/TextOut.h"

namespace terraq::engine {

struct RunFiles {
  std::ifstream dataStream;
  std::optional<FreeFormatReader> data;
  TextOut report;
  TextOut plot;
  TextOut monitor;
};

}  // namespace terraq::engine
