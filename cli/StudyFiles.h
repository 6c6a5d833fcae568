#pragma once
// The files a study writes as it goes: the CSV of its points or samples and
// the part file of a shard. Each is written to a temporary file beside its
// target, row by row as the samples come (memory does not grow with the
// samples), and put in the target's place whole at the end; a study that
// fails or is stopped leaves the earlier file as it was.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "StudyRun.h"
#include "StudySampling.h"

namespace terraq::ui {
class ReplacementFile;
}

namespace terraq::cli {

class OutputFile {
 public:
  // The temporary file for `path`; nullptr with `error` set ("cannot write
  // PATH: why") when it cannot be made: a folder that does not exist or
  // cannot be written, a target that is a folder or read-only.
  static std::unique_ptr<OutputFile> Open(const std::filesystem::path& path, std::string& error);
  ~OutputFile();  // removes the temporary file unless committed

  void write(std::string_view text);
  // Puts the file in the target's place; false with `error` set when a
  // write failed (a full disk) or the replacement did: the target is then
  // as it was.
  bool commit(std::string& error);
  const std::filesystem::path& temporary() const;

 private:
  OutputFile() = default;
  std::unique_ptr<ui::ReplacementFile> replacement_;
  std::FILE* stream_ = nullptr;
  bool failed_ = false;
};

// Why the files a study is asked to write (the CSV, the part file, the
// picture; empty names are not asked for) cannot be written: one is an
// input of the project (RefuseProjectInputs: the data file, its project
// file, ... under any name), named as another project's input
// (ProjectInputKind), or the same file as another of them. Empty when they
// can be; checked before anything is analysed.
std::string RefusedStudyOutputs(const std::string& dataFile, const std::string& csv,
                                const std::string& part, const std::string& plot);

// A CSV field: as it is, or quoted when it holds a comma, quote or line break.
std::string CsvField(const std::string& text);
// A number in its shortest exact form; empty when not finite.
std::string CsvNumber(double value);

// The sweep's CSV: a heading row, then one row per point (the parameters,
// per problem the outputs with their depths, closed, held; the error).
std::string SweepCsv(const design::SweepResult& result, bool staged);

// The sampling CSV: the heading row, then one row per sample: its number,
// the parameters' values, the outputs, held and the error; with two limit
// states or more, whether the sample fails each ("fails:NAME") and any of
// them ("fails:system").
std::string SampleCsvHeading(const std::vector<std::string>& parameters,
                             const std::vector<std::string>& outputs,
                             const std::vector<design::LimitState>& limits = {});
std::string SampleCsvRow(size_t index, const std::vector<double>& values,
                         const design::Evaluation& evaluation, size_t outputs,
                         const std::vector<design::LimitState>& limits = {});

}  // namespace terraq::cli
