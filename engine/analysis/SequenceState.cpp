#include "SequenceState.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "solver/HystereticSprings.h"
#include "solver/StageSupports.h"

namespace terraq::engine {

namespace {

std::string Label(const api::SequentialSupport& support, size_t index) {
  if (!support.name.empty()) return "\"" + support.name + "\"";
  return "NO. " + std::to_string(index + 1);
}

[[noreturn]] void StopSupport(const api::SequentialSupport& support, size_t index,
                              const std::string& what) {
  StopWithMessage("ERROR STOP -- SUPPORT " + Label(support, index) + " " + what);
}

// The number of stages of the run: the control record's, or one for a data
// file of single problems.
int StageCount(const ProblemControl& c) { return c.KSTAGE >= 2 ? c.KSTAGE : 1; }

std::vector<double> Copy(const RealStations& stations) {
  std::vector<double> copy(kStationPositions + 1);
  for (int j = 1; j <= kStationPositions; ++j) copy[static_cast<size_t>(j)] = stations[j];
  return copy;
}

}  // namespace

void SequenceState::checkOptions(const ProblemControl& c) const {
  if (c.KSTAGE > api::kMaxSequentialStages)
    StopWithMessage("ERROR STOP -- A SEQUENTIAL ANALYSIS HAS AT MOST 20 STAGES");
  const int stages = StageCount(c);
  for (size_t i = 0; i < options_.supports.size(); ++i) {
    const api::SequentialSupport& s = options_.supports[i];
    if (!std::isfinite(s.depth) || !std::isfinite(s.stiffness) || !std::isfinite(s.prestress) ||
        std::isnan(s.yieldForce) || !std::isfinite(s.inclination))
      StopSupport(s, i, "HAS A VALUE THAT IS NOT A FINITE NUMBER");
    if (!(s.stiffness > 0.0)) StopSupport(s, i, "HAS NO STIFFNESS (IT MUST BE GREATER THAN ZERO)");
    if (s.prestress < 0.0) StopSupport(s, i, "HAS A NEGATIVE PRESTRESS");
    if (!(s.yieldForce > 0.0)) StopSupport(s, i, "HAS A YIELD FORCE THAT IS NOT GREATER THAN ZERO");
    if (!(std::fabs(s.inclination) < 90.0))
      StopSupport(s, i, "HAS AN INCLINATION OF 90 DEGREES OR MORE");
    if (s.installStage < 1 || s.installStage > stages)
      StopSupport(s, i, "IS INSTALLED IN A STAGE THE DATA FILE DOES NOT HAVE");
    if (s.removeStage != 0 && (s.removeStage <= s.installStage || s.removeStage > stages))
      StopSupport(s, i, "IS REMOVED IN A STAGE THAT DOES NOT FOLLOW ITS INSTALLATION");
  }
}

void SequenceState::checkInstallation(const api::SequentialSupport& support,
                                      const ProblemControl& c) const {
  const auto index = static_cast<size_t>(&support - options_.supports.data());
  const double tolerance = kStationDepthTolerance * c.h;
  if (support.depth < -tolerance) StopSupport(support, index, "LIES ABOVE THE TOP OF THE WALL");
  if (support.depth > c.NI * c.h + tolerance)
    StopSupport(support, index, "LIES BELOW THE TIP OF THE WALL");
  if (support.depth > c.HFREE + tolerance)
    StopSupport(support, index, "LIES BELOW THE EXCAVATION LEVEL OF ITS INSTALLATION STAGE");
}

double SequenceState::carriedDeflection(double depth) const {
  const double x = std::clamp(depth / h_, 0.0, static_cast<double>(increments_));
  const int below = std::min(static_cast<int>(x), std::max(increments_ - 1, 0));
  const double r = x - below;
  return w_[Pos(below)] + (w_[Pos(std::min(below + 1, increments_))] - w_[Pos(below)]) * r;
}

void SequenceState::carryDeflections(EngineModel& model) const {
  if (stage_ == 1) return;
  const ProblemControl& c = model.control;
  if (c.NI == increments_ && c.h == h_) {
    for (int j = 1; j <= kStationPositions; ++j) model.st.w[j] = w_[j];
    return;
  }
  for (int i = 0; i <= c.NI; ++i) model.st.w[Pos(i)] = carriedDeflection(i * c.h);
}

void SequenceState::matchSprings(EngineModel& model) const {
  const ProblemControl& c = model.control;
  SequentialStage& stage = model.sequential;
  const double tolerance = kStationDepthTolerance * c.h;
  const auto fresh = [&](int j) {
    HystereticState state;
    state.origin = model.st.w[j];
    return state;
  };
  stage.springStates.clear();
  for (const StationSpring& spring : model.generatedSprings) {
    const double stationDepth = (spring.j - Pos(0)) * c.h;
    const CarriedSpring* match = nullptr;
    for (const CarriedSpring& old : springs_) {
      if (std::fabs(old.stationDepth - stationDepth) > tolerance) continue;
      const double apart = std::fabs(old.depth - spring.depth);
      if (apart <= 0.5 * c.h && (!match || apart < std::fabs(match->depth - spring.depth)))
        match = &old;
    }
    stage.springStates.push_back(match ? match->state : fresh(spring.j));
  }
  stage.curveStates.assign(kStationPositions + 1, HystereticState{});
  if (model.curves.empty()) return;
  RealStations k0, q0;
  UserCurvesAtZero(model, k0, q0);
  for (int i = 0; i <= c.NI; ++i) {
    const int j = Pos(i);
    if (k0[j] == 0.0 && q0[j] == 0.0) continue;
    const auto old = std::find_if(curveSprings_.begin(), curveSprings_.end(), [&](const auto& s) {
      return std::fabs(s.stationDepth - i * c.h) <= tolerance;
    });
    stage.curveStates[static_cast<size_t>(j)] = old != curveSprings_.end() ? old->state : fresh(j);
  }
}

void SequenceState::placeSupports(EngineModel& model) {
  const ProblemControl& c = model.control;
  SequentialStage& stage = model.sequential;
  stage.supports.clear();
  for (size_t i = 0; i < options_.supports.size(); ++i) {
    const api::SequentialSupport& s = options_.supports[i];
    if (s.installStage > stage_ || (s.removeStage != 0 && s.removeStage <= stage_)) continue;
    if (s.installStage == stage_) checkInstallation(s, c);
    StageSupport support;
    support.index = static_cast<int>(i);
    const int station = std::clamp(static_cast<int>(std::lround(s.depth / c.h)), 0, c.NI);
    support.j = Pos(station);
    support.stiffness = s.stiffness;
    support.prestress = s.prestress;
    support.yieldForce = s.yieldForce;
    support.tanInclination = std::tan(s.inclination * std::numbers::pi / 180.0);
    support.installing = s.installStage == stage_;
    support.lockDeflection = supports_[i].lockDeflection;
    support.permanent = supports_[i].permanent;
    stage.supports.push_back(support);
  }
  std::stable_sort(stage.supports.begin(), stage.supports.end(),
                   [](const StageSupport& a, const StageSupport& b) { return a.j < b.j; });
}

void SequenceState::beginStage(EngineModel& model) {
  ++stage_;
  const ProblemControl& c = model.control;
  if (stage_ == 1) {
    checkOptions(c);
    supports_.assign(options_.supports.size(), CarriedSupport{});
  }
  if (stage_ > api::kMaxSequentialStages)
    StopWithMessage("ERROR STOP -- A SEQUENTIAL ANALYSIS HAS AT MOST 20 STAGES");
  SequentialStage& stage = model.sequential;
  stage.active = true;
  placeSupports(model);
  stage.baseQ = Copy(model.st.Q);
  stage.baseS = Copy(model.st.S);
  stage.baseQpoint = Copy(model.st.Qpoint);
  stage.baseSpoint = Copy(model.st.Spoint);
  stage.baseP = Copy(model.st.P);
  carryDeflections(model);
  matchSprings(model);
}

void SequenceState::recordSupportForces(EngineModel& model) const {
  const ProblemControl& c = model.control;
  SequentialStage& stage = model.sequential;
  stage.supportResults.clear();
  for (const StageSupport& support : stage.supports) {
    const api::SequentialSupport& s = options_.supports[static_cast<size_t>(support.index)];
    const int station = support.j - Pos(0);
    stage.supportResults.push_back({s.name, station * c.h, station,
                                    support.q - support.k * model.st.w[support.j], support.state});
  }
  // The support force at a station is the step of the shear there less the
  // point loads of the tables; the supports' own line is not a table's load.
  for (size_t k = 0; k < stage.supports.size(); ++k) {
    const int j = stage.supports[k].j;
    if (k > 0 && stage.supports[k - 1].j == j) continue;
    double supportLoads = 0.0;
    for (const StageSupport& other : stage.supports)
      if (other.j == j) supportLoads += other.q;
    ResultRow& row = model.results[static_cast<size_t>(j - Pos(0))];
    row.supportForce = (row.shearBelow - row.shearAbove) - (model.st.Qpoint[j] - supportLoads);
  }
}

void SequenceState::endStage(EngineModel& model) {
  const ProblemControl& c = model.control;
  SequentialStage& stage = model.sequential;
  recordSupportForces(model);
  CommitHystereticSprings(model);
  for (const StageSupport& support : stage.supports) {
    CarriedSupport& carried = supports_[static_cast<size_t>(support.index)];
    const double w = model.st.w[support.j];
    if (support.installing) {
      carried.lockDeflection = w;
      continue;
    }
    const double elastic = w - support.lockDeflection - support.permanent;
    if (support.prestress + support.stiffness * elastic > support.yieldForce)
      carried.permanent =
          w - support.lockDeflection - (support.yieldForce - support.prestress) / support.stiffness;
  }
  springs_.clear();
  for (size_t s = 0; s < model.generatedSprings.size(); ++s) {
    const StationSpring& spring = model.generatedSprings[s];
    springs_.push_back({(spring.j - Pos(0)) * c.h, spring.depth, stage.springStates[s]});
  }
  curveSprings_.clear();
  if (!model.curves.empty()) {
    RealStations k0, q0;
    UserCurvesAtZero(model, k0, q0);
    for (int i = 0; i <= c.NI; ++i)
      if (k0[Pos(i)] != 0.0 || q0[Pos(i)] != 0.0)
        curveSprings_.push_back({i * c.h, i * c.h, stage.curveStates[static_cast<size_t>(Pos(i))]});
  }
  w_ = model.st.w;
  h_ = c.h;
  increments_ = c.NI;
}

}  // namespace terraq::engine
