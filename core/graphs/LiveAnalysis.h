#pragma once
// Live analysis: the project as it is being edited, analysed in memory after
// each accepted entry, so that the open graphs follow the data without Save
// and Run. The analysis is the one a run makes (the construction sequence,
// soil model, earth-pressure theories, seepage and shaking of the project's
// members as edited) through the engine's in-memory route; it writes no
// file. Its results live in the graphs, marked as such, until the project is
// saved and run and the graphs are read from the run's files again.
//
// Only projects that analyse quickly are analysed live: the first live
// analysis of a project is timed, and a project slower than the limit falls
// back to Run (said once). Analyses run on the caller's thread: below the
// limit one takes less than the repaint it leads to.
//
// Units: milliseconds of wall-clock time. Thread safety: AnalyseLive and
// ShowLiveResult are functions of their arguments; a TLiveAnalysis belongs
// to one thread (the window's).

#include <filesystem>
#include <string>

#include "api/Analysis.h"
#include "graphs/PlotFileReader.h"
#include "graphs/TResultGraphs.h"
#include "project/ProjectMembers.h"
#include "project/RunSummary.h"

namespace terraq::ui {

// The slowest first analysis for which a project is analysed live.
inline constexpr double kLiveLimitMilliseconds = 50;

// The marks of graphs drawn from a live analysis, and of graphs the data no
// longer agrees with because the last entry could not be analysed.
inline constexpr const char* kLiveMark = "live \u2014 not saved";
inline constexpr const char* kStaleMark = "stale \u2014 the data as entered cannot be analysed";

// The project as edited. Nothing is read from its files: the data file and
// the project file on disk may be older than what the window holds.
struct LiveProject {
  std::filesystem::path dataFile;  // names the project in messages; need not exist
  std::string dataText;            // the whole project as Save writes it (TProject::DataText)
  const ProjectMembers* members = nullptr;  // as edited; not owned, must not be null
  MembersFault membersFault;                // what the opening of the project file met
  std::string obstacle;                     // FirstRunObstacle of the project: no analysis when set
};

struct LiveResult {
  // Why there are no results to show, as the status bar says it; empty when
  // there are.
  std::string error;
  double milliseconds = 0;               // the analysis, its plot text included
  engine::api::AnalysisResult analysis;  // with its plot text
  // The text analysed: the construction sequence's stages when the project
  // has one, else the data text (what the section check reads beside it).
  std::string text;
  RunSummary summary;       // of the analysis (no report headings)
  std::string resultsMark;  // the verdict's mark (JudgeResults)
};

// Analyses the project in memory as a run would, asking for the plot text
// only. Never throws: a fault of the data, the project file or the engine is
// the result's error.
LiveResult AnalyseLive(const LiveProject& project);

// Reads a live result without error into the graphs as a run's plot file is
// read, every graph taking the result's verdict and kLiveMark. False with
// `error` when its plot text does not read (the graphs keep what was read up
// to the fault).
bool ShowLiveResult(const LiveResult& result, const TPlotProjectFacts& facts, TResultGraphs& graphs,
                    std::string& error);

// Sets the live mark of every graph ("" removes it).
void MarkLiveGraphs(TResultGraphs& graphs, const std::string& mark);

// The decisions of live analysis for the project a window holds: whether an
// accepted entry is analysed, and what a result comes to.
class TLiveAnalysis {
 public:
  // The user's option (on by default).
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  // The limit of the first analysis (kLiveLimitMilliseconds unless set).
  void SetLimit(double milliseconds) { limit_ = milliseconds; }

  // Another project was opened or made: its first live analysis is timed
  // anew, and its graphs are those of its files.
  void ProjectReplaced();
  // The graphs were read from the files of a run: they carry no mark.
  void ResultsFromFiles() { shown_ = Shown::Files; }
  // The graphs could not take a result shown: they no longer agree with the
  // data.
  void MarkStale() { shown_ = Shown::Stale; }

  // Whether an accepted entry is analysed live: the option is on and the
  // project did not fall back to Run.
  bool Wanted() const { return enabled_ && !fellBack_; }
  bool FellBack() const { return fellBack_; }

  struct Verdict {
    bool show = false;   // read the result into the graphs (ShowLiveResult)
    std::string status;  // what the status bar says ("" nothing new)
  };
  // Takes the result of an analysis Wanted() asked for. The first one
  // without error is timed against the limit: a slower project falls back
  // to Run and its result is not shown. A result with error is not shown:
  // the graphs keep what they had, marked stale.
  Verdict Take(const LiveResult& result);
  // The mark the graphs and the side view carry ("" for the files' results).
  std::string Mark() const;

 private:
  enum class Shown { Files, Live, Stale };
  bool enabled_ = true;
  double limit_ = kLiveLimitMilliseconds;
  bool timed_ = false;     // the project's first analysis without error was timed
  bool fellBack_ = false;  // the project is too slow: Run only
  Shown shown_ = Shown::Files;
};

}  // namespace terraq::ui
