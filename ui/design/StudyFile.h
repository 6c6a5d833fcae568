#pragma once
// The definition of a study as the Study window saves it beside its project:
// NAME.tq4d gets NAME.terraq.json, one JSON object
//
//   {"format": "terraq-project", "version": 1, "studies": [STUDY, ...]}
//
// where the window's study is the first item of "studies". The other
// members of the file and the other studies are kept as they were when the
// study is written back; a key the window does not know inside a study is
// refused (a misspelt "samples" must not read as the default).
//
// A study: {"mode": "sweep"|"probabilistic", "vary": [{"name", "from", "to",
// "count"}], "output": NAME, "random": [{"name", "distribution": "normal",
// "values": "32, 2"}], "method": "mc"|"lhs"|"form", "samples": N, "seed": S,
// "limits": ["top>0.5", "not-held"], "units": {"code": 2}}. Values in the
// data file's units, whose code "units" records.

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/ProjectFile.h"

namespace terraq::ui {

struct StudyDefinition {
  bool probabilistic = false;
  struct Range {
    std::string name;
    double from = 0, to = 0;
    int count = 2;
  };
  std::vector<Range> vary;  // one or two
  std::string output = "top";
  struct Random {
    std::string name;
    std::string distribution = "normal";  // normal, lognormal, uniform, truncnormal
    std::string values;                   // its arguments, "MEAN, SD" and the like
  };
  std::vector<Random> random;
  std::string method = "mc";  // mc, lhs, form
  std::uint64_t samples = 1000;
  std::uint64_t seed = 1;
  std::vector<std::string> limits;  // as terraq study takes them
  // The units code of the data file the numbers are in, as saved ("units":
  // {"code": N}); 0 for a study saved without it. Not part of ==: the same
  // study in the same units either way.
  int units = 0;

  bool operator==(const StudyDefinition&) const;
};

// The study with its numbers in units code `to`: the ranges, the
// distributions' values (not a coefficient of variation) and the limits'
// values, each by its parameter's or output's factor (StudyValueFactor).
// A study saved without its units is taken to be in `to` already.
StudyDefinition StudyInUnits(StudyDefinition study, int to);

// NAME.terraq.json beside the data file `dataFile`.
QString StudyFilePath(const QString& dataFile);

// The file as it was read: the whole project file (written back with the
// study replaced) and the window's study, when it has one.
struct StudyFile {
  ProjectFile project;
  std::optional<StudyDefinition> study;
};

// Reads `path`. A missing file is an empty StudyFile; a file that is not
// such an object gives nullopt with `error` saying why.
std::optional<StudyFile> ReadStudyFile(const QString& path, QString& error);

// Writes `study` as the first study of the project file at `path`,
// atomically, under the file's lock and over the file as it is then (read
// again: whatever another part saved since `file` was read is kept);
// `file` then holds what was written. False with `error` when it cannot be
// read or written.
bool WriteStudyFile(const QString& path, StudyFile& file, const StudyDefinition& study,
                    QString& error);

}  // namespace terraq::ui
