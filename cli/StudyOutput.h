#pragma once
// What terraq study prints: the parameters a data file has, a sweep's table
// of points and outputs, a sampling study's statistics and limit states, a
// reliability (FORM) result; each as text for an engineer at a terminal and
// as one JSON object for scripts. Values are in the data file's units; the
// JSON says which in a "units" object like the one of terraq run --json.
//
// A sampling study's report depends on nothing but its definition and its
// statistics, so that the merge of a study's shards prints exactly what the
// whole study prints.

#include <cstdint>
#include <string>
#include <vector>

#include "Parameters.h"
#include "StudyForm.h"
#include "StudyOptions.h"
#include "StudyRun.h"
#include "StudySampling.h"
#include "project/StudyUnits.h"

namespace terraq::cli {

using ui::OutputUnit;  // project/StudyUnits.h
using ui::ParameterUnit;

// Text rows as columns, each as wide as its widest cell, two blanks apart.
std::string Table(const std::vector<std::vector<std::string>>& rows, const std::string& indent);
// The "units" object of the JSON outputs, as terraq run --json gives it.
std::string UnitsJson(int unitsCode);

std::string ListText(const design::ParameterText& text, const std::string& dataFile, int unitsCode);
std::string ListJson(const design::ParameterText& text, const std::string& dataFile, int unitsCode);

struct SweepReport {
  std::string dataFile;
  std::vector<design::Vary> vary;
  bool staged = false;
  int unitsCode = 0;
};
std::string SweepText(const SweepReport& report, const design::SweepResult& result);
std::string SweepJson(const SweepReport& report, const design::SweepResult& result);

// The definition of a sampling study, as its report shows it and its part
// files keep it.
struct SamplingStudy {
  std::string dataFile;
  StudyMethod method = StudyMethod::MonteCarlo;
  size_t samples = 0;
  std::uint64_t seed = 1;
  std::vector<RandomOption> random;
  std::vector<CorrelationOption> correlations;
  std::vector<std::string> limits;
  std::vector<std::string> outputs;
  int unitsCode = 0;
};
std::string SamplingText(const SamplingStudy& study, const design::SamplingResult& result);
std::string SamplingJson(const SamplingStudy& study, const design::SamplingResult& result);

std::string FormText(const SamplingStudy& study, const design::FormResult& result);
std::string FormJson(const SamplingStudy& study, const design::FormResult& result);
// Several limit states: each one's own index, one after the other, and why
// FORM gives no probability of the system.
std::string FormModesText(const SamplingStudy& study,
                          const std::vector<design::FormResult>& results);
std::string FormModesJson(const SamplingStudy& study,
                          const std::vector<design::FormResult>& results);

}  // namespace terraq::cli
