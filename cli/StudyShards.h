#pragma once
// The shards of a sampling study: the I-th of N runs a slice of the
// samples and writes a part file; the merge of the N parts gives what one
// run of the whole study gives, to the last digit. The samples' numbers
// depend only on (seed, sample), so a slice is the same wherever it runs;
// a part keeps every sample's parameter values and outputs in their
// shortest exact decimal form, and the merge gathers them in sample order
// with the same code as a single run (SampleGatherer).
//
// A part file is one JSON object:
//   {"samples": [[INDEX, HELD, [VALUES...], [OUTPUTS...]] or [INDEX, "why it failed"], ...],
//    "part": {"format": 1, "shard": I, "shards": N, "first": F, "count": C},
//    "study": {"dataFile", "method", "samples", "seed", "random": [{"name", "distribution"}],
//              "correlations": [{"first", "second", "value"}], "limits", "outputs",
//              "unitsCode", "notes"}}
// with one sample a line, written as the samples come. A value that is not
// finite is written as the string "inf", "-inf" or "nan".

#include <optional>
#include <string>
#include <vector>

#include "StudyFiles.h"
#include "StudyOutput.h"

namespace terraq::cli {

// The first sample (0-based) and the count of shard `shard` (1-based) of
// `shards` of `samples`.
void ShardSlice(size_t samples, size_t shard, size_t shards, size_t& first, size_t& count);

// Writes a part file through `file`: begin(), a sample at a time, then end()
// once every sample of the slice is done.
class PartWriter {
 public:
  explicit PartWriter(OutputFile& file);
  void sample(size_t index, const std::vector<double>& values, const design::Evaluation& e,
              size_t outputs);
  void end(const SamplingStudy& study, const std::vector<std::string>& notes, size_t shard,
           size_t shards, size_t first, size_t count);

 private:
  OutputFile& file_;
  bool first_ = true;
};

struct MergeResult {
  SamplingStudy study;
  design::SamplingResult result;
  std::optional<std::string> error;  // why the parts do not make one study
};

// Reads the parts (any order) and gathers their samples. Refused: a file
// that cannot be read or is not a part, parts of different studies or
// seeds, a shard given twice, a shard missing.
MergeResult MergeParts(const std::vector<std::string>& files);

}  // namespace terraq::cli
