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
//    "part": {"format": 1, "shard": I, "shards": N, "first": F, "count": C,
//             "dataSha256": "...", "sequenceSha256": "..."},
//    "study": {"dataFile", "method", "samples", "seed", "random": [{"name", "distribution"}],
//              "correlations": [{"first", "second", "value"}], "limits", "outputs",
//              "unitsCode", "notes"}}
// with one sample a line, written as the samples come. A value that is not
// finite is written as the string "inf", "-inf" or "nan".
//
// "dataSha256" is the SHA-256 of the data file's bytes the shard analysed,
// "sequenceSha256" that of the construction sequence it analysed the stages
// of (left out for a project without one). A shard reads its inputs when it
// starts, so a data file edited while the shards of one study run (a job
// array waiting in a queue) would give parts of two different walls whose
// definitions are the same: the merge refuses parts whose digests differ.
// Parts written before the digests were recorded have neither; they merge
// as before, with a warning that their inputs cannot be checked.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "StudyFiles.h"
#include "StudyOutput.h"

namespace terraq::cli {

// The first sample (0-based) and the count of shard `shard` (1-based) of
// `shards` of `samples`.
void ShardSlice(size_t samples, size_t shard, size_t shards, size_t& first, size_t& count);

// What a part's samples were computed from: the digests of the data text
// (with the subgrade-reaction springs' parameters when the wall stands on
// them) and of the construction sequence (empty without one), as the part
// records them.
struct PartInputs {
  std::string data;
  std::string sequence;
};
PartInputs InputsOf(std::string_view dataText, const design::SequentialPlan* sequence,
                    int unitsCode, const design::SoilModel& soil = {});

// Writes a part file through `file`: begin(), a sample at a time, then end()
// once every sample of the slice is done.
class PartWriter {
 public:
  explicit PartWriter(OutputFile& file);
  void sample(size_t index, const std::vector<double>& values, const design::Evaluation& e,
              size_t outputs);
  void end(const SamplingStudy& study, const std::vector<std::string>& notes, size_t shard,
           size_t shards, size_t first, size_t count, const PartInputs& inputs);

 private:
  OutputFile& file_;
  bool first_ = true;
};

// The version of the part file's layout, and its study's definition as a
// part keeps it: two parts are of one study when these texts are equal.
inline constexpr int kPartFormat = 1;
std::string PartStudyJson(const SamplingStudy& study, const std::vector<std::string>& notes);

struct MergeResult {
  SamplingStudy study;
  design::SamplingResult result;
  std::optional<std::string> error;  // why the parts do not make one study
  std::vector<std::string> warnings;  // merged, but not everything could be checked
};

// Reads the parts (any order; StudyMerge.cpp) and gathers their samples. Refused: a file
// that cannot be read or is not a part, parts of different studies or
// seeds, parts computed from different data files or construction
// sequences (their digests differ), a shard given twice, a shard missing.
MergeResult MergeParts(const std::vector<std::string>& files);

}  // namespace terraq::cli
