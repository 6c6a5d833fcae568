#pragma once
// The command line of terraq study: what to vary or sample, how, and where
// the results go. Checked here as far as it can be without the data file;
// the names of parameters and outputs are checked against the file later.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Calibration.h"
#include "StudyRandom.h"
#include "StudyRun.h"
#include "StudySampling.h"

namespace terraq::cli {

enum class StudyMethod { MonteCarlo, LatinHypercube, Form };

// A random parameter as the user gave it ("layer.1.phi=normal(32,2)"): the
// text is shown in the report and kept in a shard's part file.
struct RandomOption {
  std::string name;
  std::string text;  // the distribution as given
  design::Distribution distribution;
};

// A correlation between two random parameters ("A,B=R").
struct CorrelationOption {
  std::string first, second;
  double value = 0;
};

struct StudyRequest {
  std::string dataFile;
  bool list = false;
  std::vector<design::Vary> vary;
  std::vector<std::string> varyText;  // NAME=RANGE as given
  std::vector<RandomOption> random;
  std::vector<CorrelationOption> correlations;
  std::vector<std::string> limits;  // as given: "moment>250", "not-held"
  StudyMethod method = StudyMethod::MonteCarlo;
  size_t samples = 1000;
  std::uint64_t seed = 1;
  int jobs = 0;  // 0: one per core
  bool json = false;
  std::string csv;                 // empty: none
  size_t shard = 0, shards = 0;    // 1-based I of N; 0: the whole study
  std::string out;                 // the part file of a shard
  std::string plot;                // the picture; empty: none
  std::string plotOutput = "top";  // the output it draws
  // A calibration: the measured profile (a .csv file, or "project" for the
  // project's measurements), the parameters' bounds (--vary NAME=LOW:HIGH),
  // the stage measured (0: the CSV's stage 1, or every measured stage of the
  // project), and whether the CSV's readings are kept in the project.
  std::string fit;
  std::vector<design::FitParameter> bounds;
  int stage = 0;
  bool saveMeasurements = false;
};

// Fills `request` from the arguments after "study"; returns the exit status
// when the command ends here (help printed, or the usage refused with its
// message on standard error).
std::optional<int> ParseStudyArguments(const std::vector<std::string_view>& args,
                                       StudyRequest& request);

// "method mc" and the like as the reports and part files name it.
const char* StudyMethodName(StudyMethod method);

using design::ParseLimit;  // StudySampling.h

// The correlation matrix of the random parameters (row-major; empty when no
// correlation is given); empty with `error` set for a name that is not one
// of them, a parameter with itself or a coefficient beyond -1..1.
std::vector<double> CorrelationMatrix(const std::vector<RandomOption>& random,
                                      const std::vector<CorrelationOption>& correlations,
                                      std::string& error);

}  // namespace terraq::cli
