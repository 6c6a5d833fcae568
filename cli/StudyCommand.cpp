#include "StudyCommand.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>

#include <pthread.h>

#include "CommandDeclarations.h"
#include "ProjectSoilModel.h"
#include "StudyFiles.h"
#include "StudyFit.h"
#include "StudyForm.h"
#include "StudyInterruption.h"
#include "StudyOptions.h"
#include "StudyOutput.h"
#include "StudyShards.h"
#include "WallText.h"
#include "api/EngineRoute.h"
#include "platform/InstallPaths.h"
#include "project/AsciiLower.h"
#include "project/EngineRun.h"
#include "project/ProjectDesignSituations.h"
#include "project/ProjectMembers.h"
#include "project/SequentialRun.h"
#include "project/TWordReader.h"

namespace terraq::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitNothingAnalysed = 1;
constexpr int kExitUsage = 2;

int Fail(const std::string& message) {
  std::cerr << "terraq: " << message << "\n";
  return kExitUsage;
}

int Threads(const StudyRequest& r) {
  return r.jobs > 0 ? r.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

std::optional<std::string> ReadDataFile(const std::string& name, std::string& text) {
  const fs::path file(name);
  if (ui::AsciiLower(file.extension().string()) != ".tq4d")
    return name + " is not a .tq4d data file";
  if (const std::string missing = ui::UnusableDataFile(file); !missing.empty()) return missing;
  std::error_code ec;
  if (const auto size = fs::file_size(file, ec); !ec && size > ui::kMaxDataFileBytes)
    return ui::DataFileTooLarge(file, size);
  std::ifstream in(file, std::ios::binary);
  std::stringstream buffer;
  if (in) buffer << in.rdbuf();
  if (!in || in.bad())
    return "cannot read the data file " + name + ": " + std::strerror(errno ? errno : EACCES);
  text = buffer.str();
  return std::nullopt;
}

int Print(const std::string& text) {
  std::cout << text << std::flush;
  return kExitOk;
}

// The picture of a study, drawn by the plotting helper from the study's JSON
// in a temporary file: only the helper loads the painting libraries.
int DrawPlot(const StudyRequest& r, const std::string& json) {
  constexpr const char* kHelper = "terraq-plot";
  const std::vector<fs::path> folders = ui::LibraryFolders(ui::ExecutableFolder());
  const fs::path helper = ui::FindIn(folders, kHelper);
  if (helper.empty())
    return Fail(std::string("cannot draw the study: the plotting program ") + kHelper +
                " is not installed (looked for beside " + (folders.front() / kHelper).string() +
                ")");
  std::string pattern = (fs::temp_directory_path() / "terraq-study-XXXXXX").string();
  const int fd = mkstemp(pattern.data());
  if (fd < 0)
    return Fail("cannot draw the study: no temporary file: " + std::string(std::strerror(errno)));
  const bool written = ::write(fd, json.data(), json.size()) == static_cast<ssize_t>(json.size());
  ::close(fd);
  int status = kExitUsage;
  if (!written) {
    Fail("cannot draw the study: cannot write " + pattern + ": " + std::strerror(errno));
  } else {
    std::cout << std::flush;
    // Made before the fork: the child of a program with threads may only
    // make calls that are safe in a signal handler.
    const std::string cannot =
        "terraq: cannot start the plotting program " + helper.string() + "\n";
    const pid_t child = fork();
    if (child == 0) {
      // The helper takes Ctrl-C as any program does: the study's block ends here.
      sigset_t none;
      sigemptyset(&none);
      sigprocmask(SIG_SETMASK, &none, nullptr);
      execl(helper.c_str(), helper.c_str(), "study-plot", "--in", pattern.c_str(), "--output",
            r.plotOutput.c_str(), "--out", r.plot.c_str(), static_cast<char*>(nullptr));
      [[maybe_unused]] const ssize_t told = ::write(2, cannot.data(), cannot.size());
      std::_Exit(kExitUsage);
    }
    int raw = 0;
    if (child > 0 && waitpid(child, &raw, 0) == child && WIFEXITED(raw)) status = WEXITSTATUS(raw);
  }
  ::unlink(pattern.c_str());
  return status;
}

int MergeCommand(const std::vector<std::string_view>& args) {
  CommandArguments read;
  if (const std::optional<int> ended = ReadArguments(kStudyMergeCommand, args, read)) return *ended;
  const bool json = read.has("--json");
  const std::vector<std::string>& files = read.operands;
  if (files.empty()) return Fail("study merge needs the part files of a study's shards");
  const MergeResult merge = MergeParts(files);
  if (merge.error) return Fail(*merge.error);
  for (const std::string& warning : merge.warnings) std::cerr << "terraq: " << warning << "\n";
  return Print(json ? SamplingJson(merge.study, merge.result)
                    : SamplingText(merge.study, merge.result));
}

int SweepStudy(const StudyRequest& r, const design::ParameterText& text, int units, bool staged,
               const design::SequentialPlan* sequence, StudyInterruption& interruption) {
  for (const design::Vary& v : r.vary)
    if (!text.find(v.name)) return Fail("--vary " + v.name + ": " + text.unknown(v.name));
  std::unique_ptr<OutputFile> csv;
  std::string error;
  if (!r.csv.empty() && !(csv = OutputFile::Open(r.csv, error))) return Fail(error);
  if (csv) interruption.removeOnSecondSignal(csv->temporary());
  size_t points = 1;
  for (const design::Vary& v : r.vary) points *= v.values.size();
  design::SweepResult result;
  {
    StudyProgress progress(points, "points");
    design::StudyControl control{[&](size_t done) { progress(done); }, interruption.stop()};
    result = design::Sweep(text, r.vary, Threads(r), control, sequence);
  }
  if (result.error) return Fail(*result.error);
  const SweepReport report{r.dataFile, r.vary, staged, units};
  Print(r.json ? SweepJson(report, result) : SweepText(report, result));
  if (csv) {
    csv->write(SweepCsv(result, staged));
    if (!csv->commit(error)) return Fail(error);
  }
  if (!r.plot.empty())
    if (const int drawn = DrawPlot(r, SweepJson(report, result)); drawn != kExitOk) return drawn;
  if (result.interrupted) {
    std::cerr << "terraq: the study was interrupted: " << result.done << " of " << points
              << " points were analysed\n";
    return 128 + interruption.signal();
  }
  size_t failed = 0;
  for (const design::PointResult& p : result.points) failed += p.error.has_value();
  if (failed == result.points.size()) {
    std::cerr << "terraq: no point of the sweep could be analysed\n";
    return kExitNothingAnalysed;
  }
  if (failed)
    std::cerr << "terraq: " << failed << " of " << result.points.size()
              << " points could not be analysed (see their reasons)\n";
  return kExitOk;
}

// The parameters given --random, in their order.
std::vector<std::string> RandomNames(const StudyRequest& r) {
  std::vector<std::string> names;
  for (const RandomOption& o : r.random) names.push_back(o.name);
  return names;
}

// FORM: the reliability index of each limit state, one after the other.
int FormStudy(const StudyRequest& r, const design::WallModel& model,
              const std::vector<design::RandomParameter>& parameters,
              const std::vector<design::LimitState>& limits, const std::vector<double>& correlation,
              const SamplingStudy& study, StudyInterruption& interruption) {
  for (const design::LimitState& limit : limits)
    if (limit.notHeld)
      return Fail("--method form needs a limit on an output (not-held has no gradient)");
  design::FormOptions options;
  options.threads = Threads(r);
  options.correlation = correlation;
  std::vector<design::FormResult> results;
  for (const design::LimitState& limit : limits) {
    design::FormResult result;
    {
      StudyProgress progress(0, "analyses");  // as many as the iteration takes
      options.control = {[&](size_t done) { progress(done); }, interruption.stop()};
      result = design::Form(model.factory, parameters, model.bounds, limit, options);
    }
    if (result.error)
      return Fail(limits.size() > 1 ? limit.name + ": " + *result.error : *result.error);
    // An index of an iteration cut short would read as a result: none is printed.
    if (result.interrupted) {
      std::cerr << "terraq: the study was cancelled after " << result.evaluations
                << " analyses: FORM gives no reliability index\n";
      return 128 + interruption.signal();
    }
    results.push_back(std::move(result));
  }
  if (results.size() > 1)
    return Print(r.json ? FormModesJson(study, results) : FormModesText(study, results));
  return Print(r.json ? FormJson(study, results.front()) : FormText(study, results.front()));
}

// Monte Carlo or Latin hypercube sampling, of the whole study or a shard,
// with its CSV rows, part file and picture.
int SamplingStudyRun(const StudyRequest& r, const design::WallModel& model,
                     const std::vector<design::RandomParameter>& parameters,
                     const std::vector<design::LimitState>& limits,
                     const std::vector<double>& correlation, const SamplingStudy& study,
                     const PartInputs& inputs, StudyInterruption& interruption) {
  std::string error;
  // Refused before anything is written or analysed.
  {
    std::vector<std::string> notes;
    if (!design::RandomSpace::Make(parameters, model.bounds, correlation, notes, error))
      return Fail(error);
  }
  design::SamplingOptions options;
  options.method = r.method == StudyMethod::LatinHypercube
                       ? design::SamplingOptions::Method::LatinHypercube
                       : design::SamplingOptions::Method::MonteCarlo;
  options.samples = r.samples;
  options.seed = r.seed;
  options.threads = Threads(r);
  options.correlation = correlation;
  if (r.shards) ShardSlice(r.samples, r.shard, r.shards, options.first, options.count);
  std::unique_ptr<OutputFile> csv, part;
  if (!r.csv.empty() && !(csv = OutputFile::Open(r.csv, error))) return Fail(error);
  if (!r.out.empty() && !(part = OutputFile::Open(r.out, error))) return Fail(error);
  for (OutputFile* f : {csv.get(), part.get()})
    if (f) interruption.removeOnSecondSignal(f->temporary());
  std::optional<PartWriter> partWriter;
  if (part) partWriter.emplace(*part);
  const size_t outputs = model.outputs.size();
  if (csv) csv->write(SampleCsvHeading(RandomNames(r), model.outputs, limits));
  options.onSample = [&](size_t index, const std::vector<double>& values,
                         const design::Evaluation& e) {
    if (csv) csv->write(SampleCsvRow(index, values, e, outputs, limits));
    if (partWriter) partWriter->sample(index, values, e, outputs);
  };
  design::SamplingResult result;
  {
    StudyProgress progress(r.shards ? options.count : r.samples, "samples");
    options.control = {[&](size_t done) { progress(done); }, interruption.stop()};
    result =
        design::Sample(model.factory, model.outputs, parameters, model.bounds, limits, options);
  }
  if (result.error) return Fail(*result.error);
  if (part && !result.interrupted) {
    partWriter->end(study, result.notes, r.shard, r.shards, options.first, options.count, inputs);
    if (!part->commit(error)) return Fail(error);
    Print("Shard " + std::to_string(r.shard) + "/" + std::to_string(r.shards) +
          " of the study: samples " + std::to_string(options.first + 1) + " to " +
          std::to_string(options.first + options.count) + " written to " + r.out + "\n");
  } else if (!part) {
    Print(r.json ? SamplingJson(study, result) : SamplingText(study, result));
  }
  if (csv && !csv->commit(error)) return Fail(error);
  if (!r.plot.empty() && !part)
    if (const int drawn = DrawPlot(r, SamplingJson(study, result)); drawn != kExitOk) return drawn;
  if (result.interrupted) {
    std::cerr << "terraq: the study was interrupted: " << result.samples << " of "
              << (r.shards ? options.count : r.samples) << " samples were analysed"
              << (part ? "; the part file is not written" : "") << "\n";
    return 128 + interruption.signal();
  }
  if (result.failedSamples == result.samples) {
    std::cerr << "terraq: no sample could be analysed\n";
    return kExitNothingAnalysed;
  }
  return kExitOk;
}

int RandomStudy(const StudyRequest& r, const design::ParameterText& parsed, int units,
                std::shared_ptr<const design::SequentialPlan> sequence, const PartInputs& inputs,
                StudyInterruption& interruption,
                std::shared_ptr<const design::ExcavationPlan> ground) {
  auto text = std::make_shared<const design::ParameterText>(parsed);
  const std::vector<std::string> names = RandomNames(r);
  std::string error;
  for (const std::string& name : names)
    if (!text->find(name)) return Fail("--random " + name + ": " + text->unknown(name));
  const std::optional<design::WallModel> model =
      design::MakeWallModel(text, names, error, std::move(sequence), std::move(ground));
  if (!model) {
    std::cerr << "terraq: " << error << "\n";
    return kExitNothingAnalysed;
  }
  std::vector<design::LimitState> limits;
  for (const std::string& l : r.limits) {
    std::optional<design::LimitState> limit = ParseLimit(l, model->outputs, error);
    if (!limit) return Fail("--limit " + error);
    limits.push_back(*limit);
  }
  if (!r.plot.empty() &&
      std::find(model->outputs.begin(), model->outputs.end(), r.plotOutput) == model->outputs.end())
    return Fail("--plot-output " + r.plotOutput + ": the study has no such output; it has " + [&] {
      std::string all;
      for (const std::string& o : model->outputs) all += (all.empty() ? "" : ", ") + o;
      return all;
    }());
  const std::vector<double> correlation = CorrelationMatrix(r.random, r.correlations, error);
  if (!r.correlations.empty() && correlation.empty()) return Fail(error);
  std::vector<design::RandomParameter> parameters;
  for (const RandomOption& o : r.random) parameters.push_back({o.name, o.distribution});
  SamplingStudy study{r.dataFile,     r.method, r.samples,      r.seed, r.random,
                      r.correlations, r.limits, model->outputs, units};

  if (r.method == StudyMethod::Form)
    return FormStudy(r, *model, parameters, limits, correlation, study, interruption);
  return SamplingStudyRun(r, *model, parameters, limits, correlation, study, inputs, interruption);
}

}  // namespace

int StudyCommand(const std::vector<std::string_view>& args) {
  if (!args.empty() && args.front() == "merge") return MergeCommand({args.begin() + 1, args.end()});
  StudyRequest r;
  if (const std::optional<int> status = ParseStudyArguments(args, r)) return *status;
  std::string dataText;
  if (const std::optional<std::string> why = ReadDataFile(r.dataFile, dataText)) return Fail(*why);
  if (const std::string refused = RefusedStudyOutputs(r.dataFile, r.csv, r.out, r.plot);
      !refused.empty())
    return Fail(refused);
  // A construction sequence: every point is analysed through its stages.
  std::string error;
  std::shared_ptr<const design::SequentialPlan> sequence;
  if (auto plan = ui::ReadSequencePlan(r.dataFile, dataText, error))
    sequence = std::make_shared<const design::SequentialPlan>(std::move(*plan));
  if (!error.empty()) return Fail(error);
  // The cut's plan: the ground around the wall as outputs of a random study.
  std::shared_ptr<const design::ExcavationPlan> ground;
  {
    ui::MembersFault fault;
    const ui::ProjectMembers members = ui::ReadProjectMembers(
        r.dataFile, [&dataText] { return ui::DataTextUnits(dataText); }, fault);
    if (fault.part == ui::MembersFault::Part::ProjectFile) return Fail(fault.reason);
    if (members.excavation)
      ground = std::make_shared<const design::ExcavationPlan>(*members.excavation);
  }
  const std::optional<design::SoilModel> soil = ProjectSoilModel(r.dataFile, dataText, error);
  if (!soil) return Fail(error);
  const std::optional<design::ParameterText> text =
      design::ParameterText::Parse(dataText, error, *soil);
  const std::optional<design::WallText> wall = design::WallText::Parse(dataText, 0, error);
  if (!text || !wall) return Fail(r.dataFile + " cannot be studied: " + error);
  const int units = wall->units();
  if (r.list)
    return Print(r.json ? ListJson(*text, r.dataFile, units) : ListText(*text, r.dataFile, units));
  if (std::string why; !engine::EngineAvailable(why)) return Fail(why);
  // Made before any other thread starts, so that every thread inherits the
  // blocked signals.
  auto* interruption = new StudyInterruption;  // never destroyed: its thread stays
  if (!r.fit.empty()) return FitStudy(r, *text, units, sequence.get(), Threads(r), *interruption);
  if (!r.vary.empty())
    return SweepStudy(r, *text, units, text->find("stage.1.tip") != nullptr, sequence.get(),
                      *interruption);
  // The digests of what the samples are computed from, for a part file.
  const PartInputs inputs = InputsOf(dataText, sequence.get(), units, *soil);
  return RandomStudy(r, *text, units, std::move(sequence), inputs, *interruption,
                     std::move(ground));
}

}  // namespace terraq::cli
