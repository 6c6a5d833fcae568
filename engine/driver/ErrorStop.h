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
  // `callerLines` are warnings for the caller's messages that go with the
  // stop (the p-y generation repeats some there).
  explicit ErrorStop(std::vector<std::string> reportLines,
                     std::vector<std::string> callerLines = {})
      : std::runtime_error(reportLines.empty() ? "error stop" : reportLines.front()),
        lines_(std::move(reportLines)),
        callerLines_(std::move(callerLines)) {}
  const std::vector<std::string>& reportLines() const { return lines_; }
  const std::vector<std::string>& callerLines() const { return callerLines_; }

 private:
  std::vector<std::string> lines_;
  std::vector<std::string> callerLines_;
};

// An index outside the model's storage: the input asked for something the
// checks upstream did not foresee. Caught by the run driver like an error stop.
class InternalIndexError : public std::runtime_error {
 public:
  InternalIndexError() : std::runtime_error("station index outside the storage") {}
};

// A file of the run could not be written (a full disk, a file-size limit):
// not a fault of the input. The run driver ends the run and tells its caller
// which file and why; the outputs of such a run are incomplete.
class OutputWriteError : public std::runtime_error {
 public:
  OutputWriteError(std::string path, int error)
      : std::runtime_error("cannot write " + path), path_(std::move(path)), error_(error) {}
  const std::string& path() const { return path_; }
  int error() const { return error_; }

 private:
  std::string path_;
  int error_;
};

// Throws OutputWriteError when a write to `file` has failed.
class TextOut;
void ThrowIfWriteFailed(const TextOut& file);

// The fixed error stops of the engine, with their report layouts.
[[noreturn]] void StopTooMuchData();
[[noreturn]] void StopStationsNotInOrder();
[[noreturn]] void StopBeyondEnd();
// Any other stop: one message line, written after two empty lines, with
// the warnings for the caller that go with it.
[[noreturn]] void StopWithMessage(const std::string& message,
                                  std::vector<std::string> callerLines = {});
// The stop for a fault of the caller's options, worded in lower case as the
// API gives it: "ERROR STOP -- " and the fault in capitals.
[[noreturn]] void StopForOptionFault(const std::string& fault);

}  // namespace terraq::engine
