#include "StudyRun.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <system_error>
#include <thread>

#include "SequenceAnalysis.h"
#include "StudyGround.h"
#include "api/EngineRoute.h"

namespace terraq::design {

namespace api = engine::api;

void ParallelFor(size_t count, int threads, const std::function<void(int, size_t)>& task) {
  threads = std::max(1, std::min<int>(threads, static_cast<int>(std::max<size_t>(count, 1))));
  std::atomic<size_t> next{0};
  auto work = [&](int worker) {
    for (size_t k; (k = next.fetch_add(1)) < count;) task(worker, k);
  };
  std::vector<std::thread> pool;
  // A system out of threads (a per-user limit) runs the study on those it
  // gave: the calling thread alone takes every item the others do not.
  try {
    for (int w = 1; w < threads; ++w) pool.emplace_back(work, w);
  } catch (const std::system_error&) {}
  work(0);
  for (std::thread& t : pool) t.join();
}

ProblemOutputs OutputsOf(const api::ProblemResult& p) {
  ProblemOutputs o;
  if (!p.stations.empty()) o.topDeflection = p.stations[0].deflection;
  for (const api::StationResult& s : p.stations) {
    if (std::fabs(s.deflection) > std::fabs(o.deflection)) {
      o.deflection = s.deflection;
      o.deflectionDepth = s.depth;
    }
    if (std::fabs(s.moment) > std::fabs(o.moment)) {
      o.moment = s.moment;
      o.momentDepth = s.depth;
    }
  }
  o.shear = std::fabs(p.largestShear);
  if (p.largestShearStation >= 0 && static_cast<size_t>(p.largestShearStation) < p.stations.size())
    o.shearDepth = p.stations[p.largestShearStation].depth;
  // Each end named at its first station along a stretch of equal shear, as
  // the largest shear is.
  for (size_t k = 0; k < p.stations.size(); ++k)
    for (double v : {p.stations[k].shearAbove, p.stations[k].shearBelow}) {
      if (k == 0 || v > o.shearMax + std::fabs(o.shearMax) * 1e-9) {
        o.shearMax = v;
        o.shearMaxDepth = p.stations[k].depth;
      }
      if (k == 0 || v < o.shearMin - std::fabs(o.shearMin) * 1e-9) {
        o.shearMin = v;
        o.shearMinDepth = p.stations[k].depth;
      }
    }
  for (const api::SupportForce& s : p.supports) o.supports.push_back({s.depth, s.force});
  o.closed = p.closed;
  o.held = p.closed && p.notValidStations.empty() && p.numericalFault.empty();
  if (!p.closed)
    o.warnings.push_back("the deflections did not close in " + std::to_string(p.iterations) +
                         " iterations");
  if (p.offCurves) o.warnings.push_back("a deflection is beyond the last point of a p-y curve");
  if (p.stationsOverLimit > 0)
    o.warnings.push_back(std::to_string(p.stationsOverLimit) +
                         " stations deflect more than the allowed deflection");
  if (!p.notValidStations.empty())
    o.warnings.push_back("the equations were singular at " +
                         std::to_string(p.notValidStations.size()) +
                         " stations: nothing holds the wall there");
  if (!p.numericalFault.empty()) o.warnings.push_back(p.numericalFault);
  return o;
}

std::array<double, 6> ProblemOutputValues(const ProblemOutputs& o) {
  return {o.topDeflection, o.deflection, o.moment, o.shear, o.shearMax, o.shearMin};
}

std::string SupportOutputName(const std::vector<SupportOutput>& supports, size_t index) {
  if (index < supports.size() && !supports[index].name.empty())
    return "supportForce." + supports[index].name;
  size_t number = 1;  // the data file's supports are numbered among themselves
  for (size_t k = 0; k < index && k < supports.size(); ++k) number += supports[k].name.empty();
  return "support." + std::to_string(number);
}

namespace {

template <typename T>
void KeepLarger(T& kept, double& keptDepth, T value, double depth) {
  if (std::fabs(value) > std::fabs(kept)) {
    kept = value;
    keptDepth = depth;
  }
}

// The outputs of a construction sequence: each the largest over the
// stages; the data file's own supports by their order in each stage, the
// sequence's by name, in the order of the plan.
ProblemOutputs WorstStage(const SequenceAnalysis& run) {
  ProblemOutputs worst;
  worst.closed = worst.held = true;
  std::vector<SupportOutput> own;
  std::vector<SupportOutput> named;
  for (const ModelSupport& m : run.sequence.supports)
    if (m.installStage > 0) named.push_back({m.depth, 0, m.name});
  for (size_t k = 0; k < run.analysis.problems.size(); ++k) {
    const api::ProblemResult& p = run.analysis.problems[k];
    ProblemOutputs o = OutputsOf(p);
    double unused = 0;
    KeepLarger(worst.topDeflection, unused, o.topDeflection, 0);
    KeepLarger(worst.deflection, worst.deflectionDepth, o.deflection, o.deflectionDepth);
    KeepLarger(worst.moment, worst.momentDepth, o.moment, o.momentDepth);
    KeepLarger(worst.shear, worst.shearDepth, o.shear, o.shearDepth);
    if (k == 0 || o.shearMax > worst.shearMax) {
      worst.shearMax = o.shearMax;
      worst.shearMaxDepth = o.shearMaxDepth;
    }
    if (k == 0 || o.shearMin < worst.shearMin) {
      worst.shearMin = o.shearMin;
      worst.shearMinDepth = o.shearMinDepth;
    }
    worst.closed = worst.closed && o.closed;
    worst.held = worst.held && o.held;
    for (const std::string& w : o.warnings)
      worst.warnings.push_back(run.sequence.stageNames[k] + ": " + w);
    size_t index = 0;
    for (const api::SupportForce& s : p.supports) {
      const bool sequential = std::any_of(
          p.sequentialSupports.begin(), p.sequentialSupports.end(),
          [&](const api::SequentialSupportResult& q) { return q.station == s.station; });
      if (sequential) continue;
      if (index == own.size()) own.push_back({s.depth, 0, {}});
      KeepLarger(own[index].force, own[index].depth, s.force, s.depth);
      ++index;
    }
    for (const StageSupportForce& f : run.supportForces[k])
      for (SupportOutput& n : named)
        if (n.name == f.name) KeepLarger(n.force, n.depth, f.forceAlong, f.depth);
  }
  worst.supports = std::move(own);
  worst.supports.insert(worst.supports.end(), named.begin(), named.end());
  return worst;
}

std::string ErrorText(const api::AnalysisError& error) {
  return error.message + (error.line > 0 ? " (line " + std::to_string(error.line) + ")" : "");
}

// Why `name` cannot be studied: it is not a parameter of the data file, or
// a construction sequence sets it from its first stage on, so that no stage
// sees the data file's value and every point would come out the same.
std::optional<std::string> UnstudiedParameter(const ParameterText& text, const std::string& name,
                                              const SequentialPlan* sequence) {
  if (!text.find(name)) return text.unknown(name);
  if (!sequence || sequence->stages.empty()) return std::nullopt;
  const ConstructionStage& first = sequence->stages.front();
  for (const auto& [value, _] : first.values)
    if (value == name)
      return name + " is set by the construction sequence from its first stage (\"" + first.name +
             "\") on, so no stage takes the data file's value: every point would be the same";
  return std::nullopt;
}

}  // namespace

PointResult AnalysePoint(engine::Analyser& analyser, const ParameterText& text,
                         const std::vector<std::string>& names, const std::vector<double>& values,
                         const SequentialPlan* sequence) {
  PointResult point;
  std::vector<std::pair<std::string, double>> set;
  for (size_t k = 0; k < names.size() && k < values.size(); ++k)
    set.push_back({names[k], values[k]});
  ParameterText::Applied applied = text.apply(set);
  point.values = applied.error ? values : applied.values;
  if (applied.error) {
    point.error = *applied.error;
    return point;
  }
  if (sequence) {
    std::string error;
    const std::optional<SequenceAnalysis> run =
        AnalyseStages(applied.text, *sequence, error, &analyser, 1.0, applied.soil);
    if (!run) point.error = "the construction sequence cannot be built: " + error;
    else if (run->analysis.error) point.error = ErrorText(*run->analysis.error);
    else point.problems.push_back(WorstStage(*run));
    return point;
  }
  const api::AnalysisResult r = analyser.analyse(applied.text, EngineOptions(applied.soil));
  if (r.error) {
    point.error = ErrorText(*r.error);
    return point;
  }
  for (const api::ProblemResult& p : r.problems) point.problems.push_back(OutputsOf(p));
  return point;
}

std::optional<Vary> Vary::Parse(const std::string& name, const std::string& range,
                                std::string& error) {
  auto number = [](const std::string& s, double& v) {
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return !s.empty() && end == s.c_str() + s.size() && std::isfinite(v);
  };
  Vary vary{name, {}};
  const size_t colon = range.find(':');
  if (colon != std::string::npos) {
    const size_t second = range.find(':', colon + 1);
    double from = 0, to = 0, count = 0;
    if (second == std::string::npos || !number(range.substr(0, colon), from) ||
        !number(range.substr(colon + 1, second - colon - 1), to) ||
        !number(range.substr(second + 1), count) || count < 2 || count != std::floor(count) ||
        count > 1e6) {
      error = "\"" + range + "\" is not a range FROM:TO:COUNT (COUNT a whole number from 2)";
      return std::nullopt;
    }
    const int n = static_cast<int>(count);
    for (int k = 0; k < n; ++k) {
      double v = from + (to - from) * k / (n - 1);
      // A range near the ends of the numbers overflows the difference;
      // interpolating between the ends never does.
      if (!std::isfinite(v)) v = std::lerp(from, to, static_cast<double>(k) / (n - 1));
      vary.values.push_back(k == n - 1 ? to : v);
    }
    return vary;
  }
  for (size_t start = 0; start <= range.size();) {
    size_t end = range.find(',', start);
    if (end == std::string::npos) end = range.size();
    double v = 0;
    if (!number(range.substr(start, end - start), v)) {
      error = "\"" + range + "\" is not a list of numbers A,B,C or a range FROM:TO:COUNT";
      return std::nullopt;
    }
    vary.values.push_back(v);
    start = end + 1;
  }
  return vary;
}

SweepResult Sweep(const ParameterText& text, const std::vector<Vary>& vary, int threads,
                  const StudyControl& control, const SequentialPlan* sequence) {
  SweepResult result;
  size_t count = vary.empty() ? 0 : 1;
  for (const Vary& v : vary) {
    if ((result.error = UnstudiedParameter(text, v.name, sequence))) return result;
    result.names.push_back(v.name);
    count *= v.values.size();
  }
  result.points.resize(count);
  std::vector<engine::Analyser> analysers(std::max(1, threads));
  // In blocks, so that progress can be told and a stop leaves a whole prefix
  // of the points analysed.
  const size_t block = std::max<size_t>(4 * std::max(1, threads), 16);
  for (size_t first = 0; first < count; first += block) {
    if (control.stopped()) {
      result.interrupted = true;
      return result;
    }
    const size_t size = std::min(block, count - first);
    ParallelFor(size, threads, [&](int worker, size_t k) {
      const size_t index = first + k;
      // The last parameter varies fastest.
      std::vector<double> values(vary.size());
      for (size_t v = vary.size(), rest = index; v-- > 0;) {
        values[v] = vary[v].values[rest % vary[v].values.size()];
        rest /= vary[v].values.size();
      }
      result.points[index] = AnalysePoint(analysers[worker], text, result.names, values, sequence);
    });
    result.done = first + size;
    if (control.progress) control.progress(result.done);
  }
  return result;
}

std::string ProblemPrefix(size_t index, size_t count, bool staged) {
  return count == 1   ? ""
         : staged     ? "stage." + std::to_string(index + 1) + "."
         : index == 0 ? ""
                      : "longterm.";
}

namespace {

std::vector<std::string> OutputNames(const std::vector<ProblemOutputs>& problems, bool staged) {
  std::vector<std::string> names;
  for (size_t p = 0; p < problems.size(); ++p) {
    const std::string prefix = ProblemPrefix(p, problems.size(), staged);
    for (const char* n : kProblemOutputNames) names.push_back(prefix + n);
    for (size_t s = 0; s < problems[p].supports.size(); ++s)
      names.push_back(prefix + SupportOutputName(problems[p].supports, s));
  }
  return names;
}

class WallPointModel : public PointModel {
 public:
  WallPointModel(std::shared_ptr<const ParameterText> text, std::vector<std::string> names,
                 size_t outputs, std::shared_ptr<const SequentialPlan> sequence,
                 std::shared_ptr<const ExcavationPlan> ground,
                 std::optional<SlipCircleGeometry> baseCircle)
      : text_(std::move(text)),
        names_(std::move(names)),
        outputs_(outputs),
        sequence_(std::move(sequence)),
        ground_(std::move(ground)),
        baseCircle_(baseCircle) {}

  Evaluation evaluate(const std::vector<double>& values) override {
    const PointResult point = AnalysePoint(analyser_, *text_, names_, values, sequence_.get());
    Evaluation e;
    if (point.error) {
      e.error = point.error;
      e.held = false;
      return e;
    }
    for (const ProblemOutputs& p : point.problems) {
      const std::array<double, 6> problemValues = ProblemOutputValues(p);
      e.outputs.insert(e.outputs.end(), problemValues.begin(), problemValues.end());
      for (const SupportOutput& s : p.supports) e.outputs.push_back(s.force);
      e.held = e.held && p.held;
    }
    if (ground_ && !point.problems.empty())
      if (const std::string why = GroundValues(values, point.problems.front(), e.outputs);
          !why.empty()) {
        e.error = why;
        e.outputs.clear();
        return e;
      }
    if (e.outputs.size() != outputs_) {
      e.error = "the analysis gives other supports or stages than the data file as it is";
      e.held = false;
    }
    return e;
  }

 private:
  std::shared_ptr<const ParameterText> text_;
  std::vector<std::string> names_;
  size_t outputs_;
  std::shared_ptr<const SequentialPlan> sequence_;
  std::shared_ptr<const ExcavationPlan> ground_;
  std::optional<SlipCircleGeometry> baseCircle_;  // the data file's critical circle
  engine::Analyser analyser_;

  // The point's text again (setting values is cheap beside an analysis).
  std::string GroundValues(const std::vector<double>& values, const ProblemOutputs& worst,
                           std::vector<double>& outputs) const {
    std::vector<std::pair<std::string, double>> set;
    for (size_t k = 0; k < names_.size() && k < values.size(); ++k)
      set.push_back({names_[k], values[k]});
    const ParameterText::Applied applied = text_->apply(set);
    if (applied.error) return *applied.error;
    return GroundOutputValues(*ground_, applied.text, applied.soil, worst, sequence_.get(), outputs,
                              baseCircle_ ? &*baseCircle_ : nullptr);
  }
};

}  // namespace

std::optional<WallModel> MakeWallModel(std::shared_ptr<const ParameterText> text,
                                       const std::vector<std::string>& names, std::string& error,
                                       std::shared_ptr<const SequentialPlan> sequence,
                                       std::shared_ptr<const ExcavationPlan> ground) {
  for (const std::string& name : names)
    if (const auto why = UnstudiedParameter(*text, name, sequence.get())) {
      error = *why;
      return std::nullopt;
    }
  engine::Analyser analyser;
  const PointResult base = AnalysePoint(analyser, *text, {}, {}, sequence.get());
  if (base.error) {
    error = "the data file as it is cannot be analysed: " + *base.error;
    return std::nullopt;
  }
  const Parameter* stagedName = text->find("stage.1.tip");
  WallModel model;
  model.outputs = OutputNames(base.problems, stagedName != nullptr);
  std::optional<SlipCircleGeometry> baseCircle;
  if (ground) {
    const std::vector<std::string> groundNames = GroundOutputNames(*ground);
    model.outputs.insert(model.outputs.end(), groundNames.begin(), groundNames.end());
    // A ground check the data file as it is cannot make is refused here,
    // not in every sample.
    std::vector<double> values;
    const ParameterText::Applied applied = text->apply({});
    if (const std::string why =
            GroundOutputValues(*ground, applied.text, applied.soil, base.problems.front(),
                               sequence.get(), values, nullptr, &baseCircle);
        !why.empty()) {
      error = "the data file as it is: " + why;
      return std::nullopt;
    }
  }
  for (const std::string& name : names)
    model.bounds.push_back({text->find(name)->lower, text->find(name)->upper});
  const size_t count = model.outputs.size();
  model.factory = [text, names, count, sequence, ground, baseCircle] {
    return std::make_unique<WallPointModel>(text, names, count, sequence, ground, baseCircle);
  };
  return model;
}

std::vector<std::vector<std::string>> SupportColumns(const SweepResult& result) {
  std::vector<std::vector<std::string>> columns;
  for (size_t k = 0; k < result.done; ++k) {
    const auto& ps = result.points[k].problems;
    columns.resize(std::max(columns.size(), ps.size()));
    for (size_t p = 0; p < ps.size(); ++p) {
      if (ps[p].supports.size() <= columns[p].size()) continue;
      columns[p].clear();
      for (size_t s = 0; s < ps[p].supports.size(); ++s)
        columns[p].push_back(SupportOutputName(ps[p].supports, s));
    }
  }
  return columns;
}

}  // namespace terraq::design
