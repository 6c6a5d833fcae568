#include "StudyRun.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace terraq::design {

namespace api = engine::api;

void ParallelFor(size_t count, int threads, const std::function<void(int, size_t)>& task) {
  threads = std::max(1, std::min<int>(threads, static_cast<int>(std::max<size_t>(count, 1))));
  std::atomic<size_t> next{0};
  auto work = [&](int worker) {
    for (size_t k; (k = next.fetch_add(1)) < count;) task(worker, k);
  };
  std::vector<std::thread> pool;
  for (int w = 1; w < threads; ++w) pool.emplace_back(work, w);
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
  o.shear = p.largestShear;
  if (p.largestShearStation >= 0 && static_cast<size_t>(p.largestShearStation) < p.stations.size())
    o.shearDepth = p.stations[p.largestShearStation].depth;
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

PointResult AnalysePoint(api::Analyser& analyser, const ParameterText& text,
                         const std::vector<std::string>& names, const std::vector<double>& values) {
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
  const api::AnalysisResult r = analyser.analyse(applied.text);
  if (r.error) {
    point.error = r.error->message;
    if (r.error->line > 0) *point.error += " (line " + std::to_string(r.error->line) + ")";
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
    return !s.empty() && *end == '\0' && std::isfinite(v);
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
    for (int k = 0; k < n; ++k)
      vary.values.push_back(k == n - 1 ? to : from + (to - from) * k / (n - 1));
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
                  const StudyControl& control) {
  SweepResult result;
  size_t count = vary.empty() ? 0 : 1;
  for (const Vary& v : vary) {
    if (!text.find(v.name)) {
      result.error =
          "the data file has no parameter \"" + v.name + "\"; it has " + text.validNames();
      return result;
    }
    result.names.push_back(v.name);
    count *= v.values.size();
  }
  result.points.resize(count);
  std::vector<api::Analyser> analysers(std::max(1, threads));
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
      result.points[index] = AnalysePoint(analysers[worker], text, result.names, values);
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
    for (const char* n : {"top", "deflection", "moment", "shear"}) names.push_back(prefix + n);
    for (size_t s = 0; s < problems[p].supports.size(); ++s)
      names.push_back(prefix + "support." + std::to_string(s + 1));
  }
  return names;
}

class WallPointModel : public PointModel {
 public:
  WallPointModel(std::shared_ptr<const ParameterText> text, std::vector<std::string> names,
                 size_t outputs)
      : text_(std::move(text)), names_(std::move(names)), outputs_(outputs) {}

  Evaluation evaluate(const std::vector<double>& values) override {
    const PointResult point = AnalysePoint(analyser_, *text_, names_, values);
    Evaluation e;
    if (point.error) {
      e.error = point.error;
      e.held = false;
      return e;
    }
    for (const ProblemOutputs& p : point.problems) {
      e.outputs.insert(e.outputs.end(), {p.topDeflection, p.deflection, p.moment, p.shear});
      for (const SupportOutput& s : p.supports) e.outputs.push_back(s.force);
      e.held = e.held && p.held;
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
  api::Analyser analyser_;
};

}  // namespace

std::optional<WallModel> MakeWallModel(std::shared_ptr<const ParameterText> text,
                                       const std::vector<std::string>& names, std::string& error) {
  for (const std::string& name : names)
    if (!text->find(name)) {
      error = "the data file has no parameter \"" + name + "\"; it has " + text->validNames();
      return std::nullopt;
    }
  api::Analyser analyser;
  const PointResult base = AnalysePoint(analyser, *text, {}, {});
  if (base.error) {
    error = "the data file as it is cannot be analysed: " + *base.error;
    return std::nullopt;
  }
  const Parameter* stagedName = text->find("stage.1.tip");
  WallModel model;
  model.outputs = OutputNames(base.problems, stagedName != nullptr);
  for (const std::string& name : names)
    model.bounds.push_back({text->find(name)->lower, text->find(name)->upper});
  const size_t count = model.outputs.size();
  model.factory = [text, names, count] {
    return std::make_unique<WallPointModel>(text, names, count);
  };
  return model;
}

std::vector<size_t> SupportColumns(const SweepResult& result) {
  std::vector<size_t> supports;
  for (size_t k = 0; k < result.done; ++k) {
    const auto& ps = result.points[k].problems;
    supports.resize(std::max(supports.size(), ps.size()), 0);
    for (size_t p = 0; p < ps.size(); ++p)
      supports[p] = std::max(supports[p], ps[p].supports.size());
  }
  return supports;
}

}  // namespace terraq::design
