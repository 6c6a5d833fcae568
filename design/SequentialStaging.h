#pragma once
// Staged construction that remembers: a construction sequence of up to 20
// stages over one wall, each stage starting from the wall and soil the
// stage before left (the engine's sequential mode).
//
// The data file holds one problem: the wall and the soil before
// construction. Each stage changes what it names, and the change holds in
// the stages after it until a later stage changes it again:
//   - values in the study vocabulary (Parameters.h): `excavation` (deeper:
//     excavate; shallower: fill in front of the wall), `water.back`,
//     `water.front`, `surcharge`, `load.N` (a row of the concentrated loads;
//     0 removes the load), `seismic.kh` and `seismic.kv` (the ground shakes
//     from that stage on, by the project's seismic method, Mononobe-Okabe
//     without one; the coefficient not set keeps the project's value, 0
//     without one);
//   - supports installed and removed by name;
//   - the seepage method of the stage (that stage alone, not those after
//     it: a stage without one takes the analysis's seepage).
// A support (an anchor or a strut) is given as built, per unit (one anchor
// or strut) at a horizontal spacing: its stiffness is E·A / free length ×
// cos²(inclination), its prestress the lock-off force along it, its yield
// force along it. The analysis is of one wall unit of width Wa (the data
// file's active width), so each support enters it times Wa / spacing, and
// horizontally (a force along the anchor times cos(inclination)); the
// vertical component acts on the wall as an axial compression.
//
// Units: those of the data file (in, lb, lb/in², in²; or m, kN, kN/m², m²);
// inclinations in degrees below the horizontal. Thread safety: values and
// pure functions.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "api/SeepageOptions.h"

namespace terraq::design {

constexpr int kMaxSequentialStages = 20;

struct StagedSupport {
  std::string name{};
  bool strut = false;  // false: an anchor
  double depth = 0;    // below the top of the wall
  double modulus = 0;  // E of the tendon or strut
  double area = 0;     // its cross-section
  double freeLength = 0;
  double inclination = 0;  // degrees below the horizontal, 0 <= α < 90
  double spacing = 0;      // horizontal, between supports of the row
  double prestress = 0;    // lock-off force along the support, per support
  std::optional<double> yieldForce{};  // along the support, per support; none: no limit

  bool operator==(const StagedSupport&) const = default;
};

struct ConstructionStage {
  std::string name{};
  // Values set from this stage on, in the study vocabulary.
  std::vector<std::pair<std::string, double>> values{};
  std::vector<std::string> install{}, remove{};
  // The seepage method of this stage alone (a stage that dewaters, say),
  // with the rest of the analysis's seepage (the flow net's base, widths and
  // permeabilities, the checks' factors); unset: the analysis's own.
  std::optional<engine::api::SeepageMethod> seepage{};

  bool operator==(const ConstructionStage&) const = default;
};

struct SequentialPlan {
  std::vector<StagedSupport> supports{};
  std::vector<ConstructionStage> stages{};

  bool operator==(const SequentialPlan&) const = default;
};

// The names a stage may set a value of (load.N for any N).
bool IsStageValueName(std::string_view name);

// A support as the analysis of one wall unit takes it: horizontal, per
// wall unit of width Wa.
struct ModelSupport {
  std::string name;
  double depth = 0;
  double stiffness = 0;      // F/L per wall unit: E·A/L·cos²α·Wa/s
  double prestress = 0;      // F per wall unit, horizontal
  std::optional<double> yieldForce;  // F per wall unit, horizontal
  double verticalPerHorizontal = 0;  // tan α: the axial compression per horizontal force
  int installStage = 0;      // from 1
  int removeStage = 0;       // 0: never
  // The force along one support from a horizontal force per wall unit:
  // s / (Wa · cos α).
  double perSupport = 1;
};

// The seismic coefficients the stages up to one have set, each the last
// stage's that set it.
struct StageShaking {
  std::optional<double> kh, kv;
  bool operator==(const StageShaking&) const = default;
};

struct SequenceData {
  // The stages one after the other as the engine reads a staged data file.
  std::string text;
  std::vector<std::string> stageNames;
  // Each stage's data set alone, as a data file of one problem (what the
  // program's tables can show of it).
  std::vector<std::string> stageTexts;
  std::vector<ModelSupport> supports;
  double unitWidth = 0;  // Wa
  // Per stage, the excavation level (below the top of the wall).
  std::vector<double> excavation;
  // Per stage, the shaking set so far (nothing set: the analysis's own).
  std::vector<StageShaking> shaking;
};

// The seepage of each stage of `plan` that chooses its own method
// (ConstructionStage::seepage): `seepage`, the analysis's own (the flow
// net's base, widths and permeabilities, the checks' factors; the defaults
// without it), with the stage's method; unset for the stages that take the
// analysis's seepage. Empty when no stage chooses one.
std::vector<std::optional<engine::api::SeepageOptions>> StageSeepage(
    const SequentialPlan& plan, const std::optional<engine::api::SeepageOptions>& seepage);
class WallText;
// The wall unit width Wa of a problem (its wall configuration's active
// width) that the analysis of one wall unit is per; 0 when it has none.
double WallUnitWidth(const WallText& problem);

// The sequence of `plan` over the one problem of `dataText`. Nullopt with
// `error` for: no stages or more than 20; a data file of more than one
// problem or without an active width Wa; a value the stage may not set or
// the data file does not have (naming those it has), a seismic coefficient
// out of its range (SeismicCoefficientsFault); an excavation below
// the tip or above the top; a support that is unknown, installed twice,
// removed before it is installed, installed below the excavation level of
// its stage or below the tip, or without stiffness (E, A, free length or
// spacing not above 0), with an inclination outside 0..90°, a negative
// prestress or a yield force not above 0 or below its prestress.
std::optional<SequenceData> BuildSequence(std::string_view dataText, const SequentialPlan& plan,
                                          std::string& error);

}  // namespace terraq::design
