#pragma once
// Error stops of the engine. Faults of the input never end the process and
// never cross the library's entry: they throw ErrorStop with the lines to
// write to the report, and the run driver writes them and runs the end
// sequence of the run.

#include <stdexcept>
#include <string>
#include <vector>

namespace terraq::engine {

class ErrorStop : public std::runtime_error {
 public:
  explicit ErrorStop(std::vector<std::string> reportLines)
      : std::runtime_error(reportLines.empty() ? "error stop" : reportLines.front()),
        lines_(std::move(reportLines)) {}
  const std::vector<std::string>& reportLines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// An index outside the model's storage: the input asked for something the
// checks upstream did not foresee. Caught by the run driver like an error stop.
class InternalIndexError : public std::runtime_error {
 public:
  InternalIndexError() : std::runtime_error("station index outside the storage") {}
};

// The fixed error stops of the engine, with their report layouts.
[[noreturn]] void StopTooMuchData();
[[noreturn]] void StopStationsNotInOrder();
[[noreturn]] void StopBeyondEnd();
// Any other stop: one message line, written after two empty lines.
[[noreturn]] void StopWithMessage(const std::string& message);

}  // namespace terraq::engine
