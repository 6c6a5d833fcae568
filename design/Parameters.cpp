#include "Parameters.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "SpringTrial.h"
#include "api/SoilModelTable.h"
#include "api/Subgrade.h"

namespace terraq::design {

namespace {

namespace api = engine::api;

using Kind = WallText::RecordKind;

constexpr double kHuge = 1e300;

// A soil parameter's position on a layer's parameter lines, by the layer's
// soil model (the data file's record 13); -1 when the model has none.
int LayerField(int code, const std::string& key) {
  const api::SoilModelInfo* model = api::FindSoilModel(code);
  const api::SoilParameter* p = model ? model->find(key) : nullptr;
  return p ? static_cast<int>(p->position) : -1;
}

// The physical range of a wall's value, so that a distribution does not give
// a wall that cannot exist (a soil parameter's is the vocabulary's).
void Bounds(const std::string& item, double& lower, double& upper) {
  lower = -kHuge;
  upper = kHuge;
  if (item == "tip" || item == "ei" || item == "spring" || item == "excavation") lower = 0;
  if (item == "slope.back") lower = -90, upper = 90;  // beta, degrees from the horizontal
}

// A name taken apart: stage (0: every problem), the item, its row or
// layer (1-based) and a layer's field.
struct Target {
  int stage = 0;
  std::string item;
  int row = 0;
  std::string field;
};

std::optional<Target> Split(std::string name) {
  Target t;
  std::vector<std::string> parts;
  for (size_t start = 0;;) {
    const size_t dot = name.find('.', start);
    parts.push_back(name.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  auto number = [](const std::string& s) {
    if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos || s.size() > 6)
      return 0;
    return std::atoi(s.c_str());
  };
  size_t k = 0;
  if (parts.size() >= 3 && parts[0] == "stage") {
    t.stage = number(parts[1]);
    if (t.stage <= 0) return std::nullopt;
    k = 2;
  }
  t.item = parts[k++];
  if (t.item == "spring" || t.item == "load" || t.item == "layer") {
    if (k >= parts.size() || (t.row = number(parts[k++])) <= 0) return std::nullopt;
  }
  if (t.item == "layer") {
    if (k >= parts.size()) return std::nullopt;
    t.field = parts[k++];
  } else if (t.item == "all") {
    if (k >= parts.size()) return std::nullopt;
    t.field = parts[k++];
  } else if (t.item == "water" || t.item == "slope" || t.item == "delta" || t.item == "seismic") {
    if (k >= parts.size()) return std::nullopt;
    t.item += "." + parts[k++];
  }
  if (k != parts.size()) return std::nullopt;
  return t;
}

// The subgrade-reaction parameter `t` names (a layer's field that is a key
// of that model, for every stage); nullptr when it names none.
const api::SubgradeParameter* SubgradeParameterOf(const Target& t) {
  return t.item == "layer" && t.stage == 0 ? api::FindSubgradeParameter(t.field) : nullptr;
}

// The names of the subgrade-reaction parameters of every layer of `subgrade`.
void AddSubgradeNames(const api::SubgradeOptions& subgrade, std::vector<Parameter>& names) {
  for (size_t n = 0; n < subgrade.layers.size(); ++n)
    for (const api::SubgradeParameter& p : api::SubgradeParameters())
      names.push_back({"layer." + std::to_string(n + 1) + "." + std::string(p.key),
                       subgrade.layers[n].*p.value, p.lower, p.upper});
}

// The face whose wall friction δ/φ' `t` names (delta.back, delta.front, for
// every stage); nullptr when it names none.
api::FaceTheory api::EarthPressureOptions::*WallFrictionOf(const Target& t) {
  if (t.stage != 0) return nullptr;
  if (t.item == "delta.back") return &api::EarthPressureOptions::backfill;
  if (t.item == "delta.front") return &api::EarthPressureOptions::excavation;
  return nullptr;
}

// The seismic coefficient `t` names (seismic.kh, seismic.kv, for every
// stage); nullptr when it names none.
double api::SeismicOptions::*SeismicCoefficientOf(const Target& t) {
  if (t.stage != 0) return nullptr;
  if (t.item == "seismic.kh") return &api::SeismicOptions::kh;
  if (t.item == "seismic.kv") return &api::SeismicOptions::kv;
  return nullptr;
}

// The seismic coefficients of a project whose ground is still: names a
// study may vary (by Mononobe-Okabe then) without their being listed, so
// that the list of such a project's names stays as it was.
const Parameter kStillGround[] = {{"seismic.kh", 0, 0, 1}, {"seismic.kv", 0, -1, 1}};

// The fields of every layer a multiplier (all.KEY) scales: the stiffness
// and the strength a back-analysis most often finds to differ from the
// laboratory's by one factor over the whole profile.
constexpr const char* kMultipliedFields[] = {"k", "su"};

// The multipliers `listed` allows: all.KEY (and stage.K.all.KEY) where a
// layer has KEY, at 1 (the data file as it is). Not listed among the
// names, so that the list of a project stays as it was.
std::vector<Parameter> Multipliers(const std::vector<Parameter>& listed) {
  std::vector<Parameter> multipliers;
  for (const Parameter& p : listed) {
    const size_t layer = p.name.find("layer.");
    if (layer == std::string::npos) continue;
    const std::string key = p.name.substr(p.name.rfind('.') + 1);
    if (std::find(std::begin(kMultipliedFields), std::end(kMultipliedFields), key) ==
        std::end(kMultipliedFields))
      continue;
    const std::string name = p.name.substr(0, layer) + "all." + key;
    if (std::none_of(multipliers.begin(), multipliers.end(),
                     [&](const Parameter& m) { return m.name == name; }))
      multipliers.push_back({name, 1.0, 0.0, kHuge});
  }
  return multipliers;
}

struct Slot {
  size_t record, value;
};

// Where `t` (not the tip) is held in one problem; empty when the problem
// has no such value.
std::vector<Slot> Slots(const std::vector<WallText::Record>& records, const Target& t) {
  std::vector<Slot> slots;
  int layerCode = 0;
  for (size_t k = 0; k < records.size(); ++k) {
    const WallText::Record& r = records[k];
    const bool row = r.row + 1 == t.row;
    if (t.item == "ei" && r.kind == Kind::Stiffness) slots.push_back({k, 3});
    if (t.item == "ei" && r.kind == Kind::MomentEi) slots.push_back({k, 1});
    if (t.item == "excavation" && r.kind == Kind::Wall) slots.push_back({k, 4});
    if (t.item == "excavation" && r.kind == Kind::WallConfiguration) slots.push_back({k, 0});
    if (t.item == "spring" && r.kind == Kind::Spring && row) slots.push_back({k, 3});
    if (t.item == "load" && r.kind == Kind::Load && row) slots.push_back({k, 3});
    if (t.item == "surcharge" && r.kind == Kind::Surcharge) slots.push_back({k, 0});
    if (t.item == "water.back" && r.kind == Kind::WallConfiguration) slots.push_back({k, 3});
    if (t.item == "water.front" && r.kind == Kind::WallConfiguration) slots.push_back({k, 4});
    // Older layouts' wall records end before the backfill slope.
    if (t.item == "slope.back" && r.kind == Kind::WallConfiguration && r.values.size() > 7)
      slots.push_back({k, 7});
    if ((t.item == "layer" && row) || t.item == "all") {
      if (r.kind == Kind::LayerLine) layerCode = r.values.empty() ? 0 : int(r.values[0]);
      const int field = LayerField(layerCode, t.field);
      if (field >= 0 && (r.kind == Kind::LayerTop || r.kind == Kind::LayerBase))
        slots.push_back({k, static_cast<size_t>(field)});
    }
  }
  return slots;
}

double ValueAt(const std::vector<WallText::Record>& records, Slot s) {
  const std::vector<double>& v = records[s.record].values;
  return s.value < v.size() ? v[s.value] : 0.0;
}

void Set(std::vector<WallText::Record>& records, Slot s, double value) {
  std::vector<double>& v = records[s.record].values;
  if (v.size() <= s.value) v.resize(s.value + 1, 0.0);
  v[s.value] = value;
}

// The names one problem has, in their order, with the values.
std::vector<Parameter> Names(const WallText& problem) {
  std::vector<Parameter> names;
  auto add = [&](const std::string& name, double value, const std::string& item) {
    Parameter p{name, value};
    Bounds(item, p.lower, p.upper);
    names.push_back(p);
  };
  const auto& records = problem.records();
  add("tip", problem.increments() * problem.incrementLength(), "tip");
  auto simple = [&](const std::string& item) {
    const std::vector<Slot> s = Slots(records, {0, item, 0, ""});
    if (!s.empty()) add(item, ValueAt(records, s[0]), item);
  };
  simple("ei");
  simple("excavation");
  for (const auto& r : records)
    if (r.kind == Kind::Spring)
      add("spring." + std::to_string(r.row + 1), ValueAt(records, {size_t(&r - &records[0]), 3}),
          "spring");
  for (const auto& r : records)
    if (r.kind == Kind::Load)
      add("load." + std::to_string(r.row + 1), ValueAt(records, {size_t(&r - &records[0]), 3}),
          "load");
  simple("surcharge");
  simple("water.back");
  simple("water.front");
  simple("slope.back");
  for (const auto& r : records) {
    if (r.kind != Kind::LayerLine) continue;
    const api::SoilModelInfo* model =
        api::FindSoilModel(r.values.empty() ? 0 : static_cast<int>(r.values[0]));
    if (!model) continue;
    for (const api::SoilParameter* field : model->inLineOrder()) {
      const std::string key(field->key);
      const std::vector<Slot> s = Slots(records, {0, "layer", r.row + 1, key});
      if (s.empty()) continue;
      names.push_back({"layer." + std::to_string(r.row + 1) + "." + key, ValueAt(records, s[0]),
                       field->lower, field->upper});
    }
  }
  return names;
}

}  // namespace

std::optional<ParameterText> ParameterText::Parse(std::string_view dataText, std::string& error,
                                                  const SoilModel& soil) {
  std::optional<std::vector<WallText>> problems = WallText::ParseAll(dataText, error);
  if (!problems) return std::nullopt;
  ParameterText text;
  text.problems_ = std::move(*problems);
  text.soil_ = soil;
  const auto& control = text.problems_[0].records()[1].values;
  text.staged_ = control.size() > 7 && control[7] >= 2;
  for (const WallText& problem : text.problems_)
    for (const Parameter& p : Names(problem))
      if (!text.find(p.name)) text.parameters_.push_back(p);
  if (soil.subgrade) AddSubgradeNames(*soil.subgrade, text.parameters_);
  if (soil.earthPressure)
    for (const auto& [name, face] : {std::pair{"delta.back", &soil.earthPressure->backfill},
                                     std::pair{"delta.front", &soil.earthPressure->excavation}})
      text.parameters_.push_back({name, face->deltaRatio, 0.0, 1.0});
  if (soil.seismic) {
    text.parameters_.push_back({"seismic.kh", soil.seismic->kh, 0, 1});
    text.parameters_.push_back({"seismic.kv", soil.seismic->kv, -1, 1});
  }
  if (text.staged_) {
    for (size_t k = 0; k < text.problems_.size(); ++k)
      for (Parameter p : Names(text.problems_[k])) {
        p.name = "stage." + std::to_string(k + 1) + "." + p.name;
        text.parameters_.push_back(p);
      }
  }
  text.multipliers_ = Multipliers(text.parameters_);
  return text;
}

const Parameter* ParameterText::find(const std::string& name) const {
  for (const Parameter& p : parameters_)
    if (p.name == name) return &p;
  for (const Parameter& p : multipliers_)
    if (p.name == name) return &p;
  if (!soil_.seismic)
    for (const Parameter& p : kStillGround)
      if (p.name == name) return &p;
  return nullptr;
}

std::string ParameterText::validNames() const {
  std::string names;
  for (const Parameter& p : parameters_) names += (names.empty() ? "" : ", ") + p.name;
  return names;
}

std::string ParameterText::unknown(const std::string& name) const {
  const std::optional<Target> t = Split(name);
  if (t && !soil_.subgrade && SubgradeParameterOf(*t))
    return name + " is a parameter of the subgrade-reaction springs, and the wall is analysed " +
           "with the p-y model";
  if (t && !soil_.earthPressure && WallFrictionOf(*t))
    return name + " is the wall friction of the project's earth-pressure theories, and the " +
           "project chose none (Rankine's smooth wall)";
  return "the data file has no parameter \"" + name + "\"; it has " + validNames();
}

namespace {

// Sets a parameter the soil model holds rather than the data text (a
// subgrade modulus, a face's wall friction, a seismic coefficient): empty
// when set, why not when it cannot be; nullopt when `t` is none of these.
std::optional<std::string> ApplyToSoilModel(const Target& t, double value, SoilModel& soil) {
  if (const api::SubgradeParameter* key = SubgradeParameterOf(t)) {
    soil.subgrade->layers[t.row - 1].*key->value = value;
    return "";
  }
  if (const auto face = WallFrictionOf(t)) {
    ((*soil.earthPressure).*face).deltaRatio = value;
    return "";
  }
  if (const auto coefficient = SeismicCoefficientOf(t)) {
    api::SeismicOptions& seismic = soil.seismic ? *soil.seismic : soil.seismic.emplace();
    seismic.*coefficient = value;
    return SeismicCoefficientsFault(seismic.kh, seismic.kv);
  }
  return std::nullopt;
}

}  // namespace

ParameterText::Applied ParameterText::apply(
    const std::vector<std::pair<std::string, double>>& values) const {
  Applied out;
  out.soil = soil_;
  std::vector<WallText> problems = problems_;
  std::vector<std::pair<int, double>> walls;
  for (const WallText& p : problems) walls.push_back({p.increments(), p.incrementLength()});
  for (const auto& [name, value] : values) {
    const std::optional<Target> t = find(name) ? Split(name) : std::nullopt;
    if (!t) {
      out.error = unknown(name);
      return out;
    }
    if (!std::isfinite(value)) {
      out.error = name + " is not a number";
      return out;
    }
    if (const std::optional<std::string> fault = ApplyToSoilModel(*t, value, out.soil)) {
      if (!fault->empty()) {
        out.error = name + ": " + *fault;
        return out;
      }
      out.values.push_back(value);
      continue;
    }
    double applied = value;
    for (size_t k = 0; k < problems.size(); ++k) {
      if (t->stage != 0 && static_cast<size_t>(t->stage) != k + 1) continue;
      WallText& problem = problems[k];
      if (t->item == "tip") {
        if (!(value > 0)) {
          out.error = "tip " + std::to_string(value) + " is not a wall";
          return out;
        }
        if (problem.nodesOnlyAtEnds()) {
          walls[k].second = value / problem.increments();
        } else {
          const int n = static_cast<int>(std::lround(value / problem.incrementLength()));
          if (n <= problem.deepestInnerNode()) {
            out.error = "a tip at " + std::to_string(value) + " is above the wall's node " +
                        std::to_string(problem.deepestInnerNode()) +
                        " (a support, load or stiffness row)";
            return out;
          }
          walls[k].first = n;
          applied = n * problem.incrementLength();
        }
        continue;
      }
      std::vector<WallText::Record>& records = problem.records();
      const std::vector<Slot> slots = Slots(records, *t);
      if (slots.empty()) continue;
      if (t->item == "ei") {
        const double first = ValueAt(records, slots[0]);
        for (const Slot& s : slots)
          Set(records, s, first != 0 ? ValueAt(records, s) * (value / first) : value);
      } else if (t->item == "all") {
        // Each layer's values as they stand, scaled alike.
        for (const Slot& s : slots) Set(records, s, ValueAt(records, s) * value);
      } else if (t->item == "layer") {
        // Top row, then bottom row: a bottom that differs keeps its ratio.
        const double top = ValueAt(records, slots[0]);
        for (const Slot& s : slots) {
          const double old = ValueAt(records, s);
          Set(records, s, old == top || top == 0 ? value : old * (value / top));
        }
      } else {
        for (const Slot& s : slots) Set(records, s, value);
      }
    }
    out.values.push_back(applied);
  }
  for (size_t k = 0; k < problems.size(); ++k)
    out.text += problems[k].text(walls[k].first, walls[k].second);
  return out;
}

std::string SeismicCoefficientsFault(double kh, double kv) {
  if (!std::isfinite(kh) || kh < 0 || kh >= 1)
    return "kh must be from 0 to less than 1, not " + FourDigits(kh);
  if (!std::isfinite(kv) || kv <= -1 || kv >= 1)
    return "kv must lie between -1 and 1, not " + FourDigits(kv);
  return {};
}

}  // namespace terraq::design
