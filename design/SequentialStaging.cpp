#include "SequentialStaging.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <sstream>

#include "Parameters.h"
#include "WallText.h"

namespace terraq::design {

namespace {

using Kind = WallText::RecordKind;

std::string Text(double value) {
  std::ostringstream out;
  out.precision(6);
  out << value;
  return out.str();
}

// What is wrong with a support as built; empty when it can be used.
std::string SupportError(const StagedSupport& s) {
  const std::string which = (s.strut ? "strut " : "anchor ") + s.name;
  auto above = [&](double v, const char* what) {
    return std::isfinite(v) && v > 0 ? std::string()
                                     : which + ": " + what + " must be above 0, not " + Text(v);
  };
  if (s.name.empty()) return "a support needs a name";
  for (const auto& [value, what] : {std::pair{s.modulus, "its modulus E"},
                                    std::pair{s.area, "its cross-section A"},
                                    std::pair{s.freeLength, "its free length"},
                                    std::pair{s.spacing, "its spacing"}})
    if (std::string e = above(value, what); !e.empty())
      return e + " (a support without stiffness cannot hold the wall)";
  if (!std::isfinite(s.depth) || s.depth < 0)
    return which + ": its depth must be 0 or more, not " + Text(s.depth);
  if (!(s.inclination >= 0 && s.inclination < 90))
    return which + ": its inclination must be from 0 to below 90 degrees, not " +
           Text(s.inclination);
  if (!(std::isfinite(s.prestress) && s.prestress >= 0))
    return which + ": its prestress must be 0 or more, not " + Text(s.prestress);
  if (s.yieldForce && !(std::isfinite(*s.yieldForce) && *s.yieldForce > s.prestress &&
                        *s.yieldForce > 0))
    return which + ": its yield force must be above 0 and above its prestress, not " +
           Text(*s.yieldForce);
  return {};
}

}  // namespace

double WallUnitWidth(const WallText& problem) {
  for (const WallText::Record& r : problem.records())
    if (r.kind == WallText::RecordKind::WallConfiguration && r.values.size() > 1)
      return r.values[1];
  return 0;
}

bool IsStageValueName(std::string_view name) {
  if (name == "excavation" || name == "water.back" || name == "water.front" ||
      name == "surcharge" || name == "seismic.kh" || name == "seismic.kv")
    return true;
  if (name.substr(0, 5) != "load." || name.size() == 5) return false;
  return std::all_of(name.begin() + 5, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

namespace {

// A support as the model holds it: per unit width of the wall, its
// stiffness, prestress and yield force horizontal.
ModelSupport ModelOfSupport(const StagedSupport& s, double unitWidth) {
  const double alpha = s.inclination * std::numbers::pi / 180;
  const double perUnit = unitWidth / s.spacing, cosine = std::cos(alpha);
  ModelSupport m;
  m.name = s.name;
  m.depth = s.depth;
  m.stiffness = s.modulus * s.area / s.freeLength * cosine * cosine * perUnit;
  m.prestress = s.prestress * cosine * perUnit;
  if (s.yieldForce) m.yieldForce = *s.yieldForce * cosine * perUnit;
  m.verticalPerHorizontal = std::tan(alpha);
  m.perSupport = 1 / (cosine * perUnit);
  return m;
}

// The plan's supports into `out.supports`, each found by its name in
// `supportIndex`; false with `error` for one that cannot be built.
bool ModelSupports(const SequentialPlan& plan, SequenceData& out,
                   std::map<std::string, size_t>& supportIndex, std::string& error) {
  for (const StagedSupport& s : plan.supports) {
    if (error = SupportError(s); !error.empty()) return false;
    if (!supportIndex.emplace(s.name, out.supports.size()).second) {
      error = "two supports are named " + s.name;
      return false;
    }
    out.supports.push_back(ModelOfSupport(s, out.unitWidth));
  }
  return true;
}

// The values a stage sets, into the values in force; the excavation into
// `level`, the seismic coefficients (no value of the text) into `shaking`.
// False with `error` for a value no stage may set.
bool SetStageValues(const ConstructionStage& stage, const std::string& which, double tip,
                    std::vector<std::pair<std::string, double>>& values, double& level,
                    StageShaking& shaking, std::string& error) {
  for (const auto& [name, value] : stage.values) {
    if (!IsStageValueName(name)) {
      error = which + ": a stage sets excavation, water.back, water.front, surcharge, load.N, " +
              "seismic.kh or seismic.kv, not " + name;
      return false;
    }
    if (name == "seismic.kh" || name == "seismic.kv") {
      const bool kh = name == "seismic.kh";
      if (const std::string fault = SeismicCoefficientsFault(kh ? value : 0, kh ? 0 : value);
          !fault.empty()) {
        error = which + ": " + fault;
        return false;
      }
      (kh ? shaking.kh : shaking.kv) = value;
      continue;
    }
    if (name == "excavation") {
      if (!(value >= 0 && value <= tip)) {
        error = which + ": the excavation at " + Text(value) +
                " is not on the wall (its tip is at " + Text(tip) + ")";
        return false;
      }
      level = value;
    }
    const std::string& key = name;  // a lambda may not capture a structured binding (C++17)
    auto at = std::find_if(values.begin(), values.end(),
                           [&key](const auto& v) { return v.first == key; });
    if (at == values.end()) values.emplace_back(name, value);
    else at->second = value;
  }
  return true;
}

// The supports stage k removes, then those it installs (from the
// excavation at `level`). False with `error` for one it cannot.
bool ChangeSupports(const ConstructionStage& stage, const std::string& which, int k, double level,
                    double tip, const std::map<std::string, size_t>& supportIndex,
                    std::vector<ModelSupport>& supports, std::string& error) {
  for (const std::string& name : stage.remove) {
    const auto found = supportIndex.find(name);
    ModelSupport* s = found == supportIndex.end() ? nullptr : &supports[found->second];
    if (!s || s->installStage == 0 || s->removeStage != 0) {
      error = which + " removes " + name + ", which " +
              (!s                     ? "is not a support of the sequence"
               : s->installStage == 0 ? "is not installed"
                                      : "is removed already");
      return false;
    }
    s->removeStage = k;
  }
  for (const std::string& name : stage.install) {
    const auto found = supportIndex.find(name);
    if (found == supportIndex.end()) {
      error = which + " installs " + name + ", which is not a support of the sequence";
      return false;
    }
    ModelSupport& s = supports[found->second];
    if (s.installStage != 0) {
      error = which + " installs " + name + " again: a support is installed once";
      return false;
    }
    if (s.depth > level || s.depth > tip) {
      error = which + " installs " + name + " at " + Text(s.depth) +
              ", below the excavation level " + Text(level) +
              ": a support is installed from the excavation";
      return false;
    }
    s.installStage = k;
  }
  return true;
}

}  // namespace

std::vector<std::optional<engine::api::SeepageOptions>> StageSeepage(
    const SequentialPlan& plan, const std::optional<engine::api::SeepageOptions>& seepage) {
  std::vector<std::optional<engine::api::SeepageOptions>> stages;
  const auto chooses = [](const ConstructionStage& s) { return s.seepage.has_value(); };
  if (std::none_of(plan.stages.begin(), plan.stages.end(), chooses)) return stages;
  for (const ConstructionStage& stage : plan.stages) {
    std::optional<engine::api::SeepageOptions>& own = stages.emplace_back();
    if (!stage.seepage) continue;
    own = seepage.value_or(engine::api::SeepageOptions{});
    own->method = *stage.seepage;
  }
  return stages;
}

std::optional<SequenceData> BuildSequence(std::string_view dataText, const SequentialPlan& plan,
                                          std::string& error) {
  const int stages = static_cast<int>(plan.stages.size());
  if (stages == 0 || stages > kMaxSequentialStages) {
    error = "a construction sequence has 1 to " + std::to_string(kMaxSequentialStages) +
            " stages, not " + std::to_string(stages);
    return std::nullopt;
  }
  const std::optional<std::vector<WallText>> problems = WallText::ParseAll(dataText, error);
  if (!problems) return std::nullopt;
  if (problems->size() != 1) {
    error = "the data file of a construction sequence holds the wall and soil before "
            "construction as one problem; this one has " +
            std::to_string(problems->size());
    return std::nullopt;
  }
  const WallText& base = problems->front();
  const double tip = base.increments() * base.incrementLength();
  SequenceData out;
  out.unitWidth = WallUnitWidth(base);
  if (!(out.unitWidth > 0)) {
    error = "a construction sequence needs the wall unit width: the active width Wa of the "
            "wall configuration (generated earth pressure or p-y curves)";
    return std::nullopt;
  }
  const std::optional<ParameterText> parameters = ParameterText::Parse(dataText, error);
  if (!parameters) return std::nullopt;
  std::map<std::string, size_t> supportIndex;
  if (!ModelSupports(plan, out, supportIndex, error)) return std::nullopt;

  // The values in force, stage after stage; the excavation starts as the
  // data file has it.
  std::vector<std::pair<std::string, double>> values;
  const Parameter* excavation = parameters->find("excavation");
  double level = excavation ? excavation->value : 0;
  StageShaking shaking;
  for (int k = 1; k <= stages; ++k) {
    const ConstructionStage& stage = plan.stages[static_cast<size_t>(k - 1)];
    const std::string which = "stage " + std::to_string(k) +
                              (stage.name.empty() ? std::string() : " (" + stage.name + ")");
    if (!SetStageValues(stage, which, tip, values, level, shaking, error) ||
        !ChangeSupports(stage, which, k, level, tip, supportIndex, out.supports, error))
      return std::nullopt;
    const ParameterText::Applied applied = parameters->apply(values);
    if (applied.error) {
      error = which + ": " + *applied.error;
      return std::nullopt;
    }
    std::optional<WallText> problem = WallText::Parse(applied.text, 0, error);
    if (!problem) return std::nullopt;
    problem->setStage(1, 1);
    out.stageTexts.push_back(problem->text());
    problem->setStage(k, stages);
    out.text += problem->text();
    out.stageNames.push_back(stage.name.empty() ? "Stage " + std::to_string(k) : stage.name);
    out.excavation.push_back(level);
    out.shaking.push_back(shaking);
  }
  return out;
}

}  // namespace terraq::design
