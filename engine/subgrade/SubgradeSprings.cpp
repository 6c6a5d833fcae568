#include "SubgradeSprings.h"

#include <algorithm>
#include <cmath>

#include "SideSpring.h"
#include "api/DataRecords.h"
#include "api/DescribeSoil.h"
#include "api/EarthPressureFaces.h"
#include "api/SeismicFaces.h"
#include "earthpressure/Coefficients.h"
#include "earthpressure/Layers.h"
#include "earthpressure/SeismicStage.h"
#include "soil/StationSprings.h"
#include "solver/Solver.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

std::string Shown(double value) {
  const std::string text = (ListRecord() << value).str();
  return text.substr(std::min(text.find_first_not_of(' '), text.size()));
}

void CheckData(const EngineModel& model, const api::SubgradeOptions& options) {
  const ProblemControl& c = model.control;
  if (api::HasSpecifiedPressure(c.KEP))
    StopWithMessage(
        "ERROR STOP -- THE SUBGRADE-REACTION MODEL MAKES ITS OWN EARTH PRESSURE: "
        "THE DATA FILE SPECIFIES ONE");
  if (c.NPYUSER > 0)
    StopWithMessage(
        "ERROR STOP -- THE SUBGRADE-REACTION MODEL MAKES ITS OWN SOIL SPRINGS: "
        "THE DATA FILE GIVES P-Y CURVES");
  if (model.soil.layers.empty())
    StopWithMessage(
        "ERROR STOP -- THE SUBGRADE-REACTION MODEL NEEDS THE SOIL LAYERS OF THE DATA "
        "FILE");
  const std::string fault = api::SubgradeOptionsFault(options, model.soil.layers.size());
  if (!fault.empty()) StopForOptionFault(fault);
  CheckEarthPressureTheories(model);
}

// The depths where a side's soil, water or width changes, within [top, bottom].
std::vector<double> Breaks(const api::SoilDescription& soil, api::Side side, double top,
                           double bottom) {
  std::vector<double> at{top, bottom, soil.excavationDepth,
                         side == api::Side::Backfill ? soil.waterBackfill : soil.waterExcavation};
  for (const api::SoilLayer& layer : soil.layers) {
    at.push_back(layer.top);
    at.push_back(layer.bottom);
  }
  std::erase_if(at, [&](double d) { return d < top || d > bottom; });
  std::sort(at.begin(), at.end());
  at.erase(
      std::unique(at.begin(), at.end(), [](double a, double b) { return b - a < kDepthTolerance; }),
      at.end());
  return at;
}

double SubgradeModulusAt(const api::SubgradeLayer& parameters, const api::SoilLayer& layer,
                         double depth) {
  const double thickness = layer.bottom - layer.top;
  const double r = thickness > 0 ? std::clamp((depth - layer.top) / thickness, 0.0, 1.0) : 0.0;
  return parameters.khTop + (parameters.khBottom - parameters.khTop) * r;
}

// The spring of the part of `side`'s soil at `depth`, or none when that side
// has no soil there. Stops the run when its at-rest pressure lies outside its
// limits in the data as given.
bool MakeSpring(const EngineModel& model, const api::SoilDescription& soil,
                const api::SubgradeOptions& options, const api::SidePressure& p, double depth,
                SubgradeSpring& spring) {
  if (!p.soil) return false;
  const api::SoilLayer& layer = soil.layers[static_cast<size_t>(p.layer)];
  const api::SubgradeLayer& parameters = options.layers[static_cast<size_t>(layer.number - 1)];
  spring.layer = layer.number;
  spring.depth = depth;
  spring.verticalStress = p.verticalStress;
  spring.k0 = api::AtRestCoefficient(parameters, layer.frictionAngle);
  spring.atRest = spring.k0 * p.verticalStress;
  spring.water = p.water;
  spring.law.active = p.active;
  spring.law.passive = p.passive;
  spring.law.kh = SubgradeModulusAt(parameters, layer, depth);
  spring.law.kur = parameters.reloadRatio * spring.law.kh;
  const double slack = 1e-9 * std::max(p.passive, 1.0);
  if (spring.atRest < p.active - slack || spring.atRest > p.passive + slack) {
    // Under a strength reduction the limits close in on the at-rest
    // pressure by design, and the shaking raises the active limit and
    // lowers the passive one: the soil starts at the limit it has reached.
    if (model.strengthReductionFactor == 1.0 && !model.seismic)
      StopWithMessage("ERROR STOP -- LAYER " + FormatI(layer.number, 0) +
                      ": THE AT-REST PRESSURE (K0 = " + Shown(spring.k0) + ") AT DEPTH " +
                      Shown(depth) + " LIES OUTSIDE ITS ACTIVE AND PASSIVE LIMITS");
    spring.atRest = std::clamp(spring.atRest, p.active, p.passive);
  }
  return true;
}

// A load on station position j, in the problem's own load table: in a
// stage of a sequential analysis also in the table its supports are added
// to afresh at every iteration.
void AddLoad(EngineModel& model, int j, double load) {
  model.st.Q[j] += load;
  std::vector<double>& base = model.sequential.baseQ;
  if (model.sequential.active && static_cast<size_t>(j) < base.size())
    base[static_cast<size_t>(j)] += load;
}

}  // namespace

void GenerateSubgradeSprings(EngineModel& model, const api::SubgradeOptions& options) {
  CheckData(model, options);
  const ProblemControl& c = model.control;
  api::SoilDescription soil = api::DescribeSoil(model);
  if (soil.earthPressure)  // found once, not at every spring
    soil.theoryCoefficients = api::CoefficientsUsed(soil, *soil.earthPressure);
  if (model.seismic) {
    // While the ground shakes the layers' seismic coefficients (K_AE, K_PE)
    // give both faces' limits in place of the static ones.
    if (!soil.earthPressure) soil.earthPressure.emplace();
    soil.theoryCoefficients.clear();
    for (const api::SeismicLayerCoefficient& k : model.seismicCoefficients)
      soil.theoryCoefficients.push_back(
          {k.number, k.side, soil.earthPressure->face(k.side).method, 0.0, k.Kah, k.Kph});
  }
  const std::optional<api::SeismicIncrement> increment = SeismicIncrementOf(model, soil);
  const double h = c.h, wallBottom = c.NI * h, H = soil.excavationDepth;
  SubgradeStage& stage = model.subgrade;
  stage.active = true;
  stage.springs.clear();
  for (const api::Side side : {api::Side::Backfill, api::Side::Excavation}) {
    const int sign = side == api::Side::Backfill ? -1 : 1;
    const std::vector<double> breaks = Breaks(soil, side, 0.0, wallBottom);
    for (int station = 0; station <= c.NI; ++station) {
      const double X = station * h;
      for (size_t k = 0; k + 1 < breaks.size(); ++k) {
        const double top = std::max(breaks[k], X - h), bottom = std::min(breaks[k + 1], X + h);
        if (!(bottom > top)) continue;
        const HatPart part = HatPartOf((top - X) / h, (bottom - X) / h);
        if (!(part.share > 0.0)) continue;
        const double depth = std::clamp(X + h * part.centroid, top, bottom);
        const WallRecord& wall = model.soil.wall;
        const double area = part.share * h * (depth < H ? wall.widthActive : wall.widthResistance);
        api::SidePressure p = api::PressureAt(soil, side, depth);
        if (model.seismic && side == api::Side::Excavation)
          p.water = std::max(0.0, p.water - api::StandingWaterRelief(soil, *model.seismic, depth));
        const int j = Pos(station);
        double load = p.water + p.surcharge;
        if (increment && side == api::Side::Backfill) load += increment->at(depth);
        AddLoad(model, j, -sign * load * area);
        SubgradeSpring spring;
        if (!MakeSpring(model, soil, options, p, depth, spring)) continue;
        spring.j = j;
        spring.side = sign;
        spring.share = part.share;
        spring.area = area;
        spring.state = SpringAtRest(sign * model.st.w[j], spring.atRest);
        stage.springs.push_back(spring);
      }
    }
  }
}

void ApplySubgradeSprings(EngineModel& model) {
  StationArrays& st = model.st;
  for (const SubgradeSpring& s : model.subgrade.springs) {
    const double w = st.w[s.j], v = s.side * w;
    SideSpringPoint point = EvaluateSideSpring(s.law, s.state, v);
    if (model.secants && v != s.state.vC)
      point.slope = (point.stress - s.state.sC) / (v - s.state.vC);
    // The force on the wall, -side * stress * area, as the line q - k w
    // through the point: k = area * slope.
    const double k = s.area * point.slope;
    st.Qw[s.j] += -s.side * point.stress * s.area + k * w;
    st.Sw[s.j] += k;
  }
}

void CommitSubgradeSprings(EngineModel& model) {
  for (SubgradeSpring& s : model.subgrade.springs)
    CommitSideSpring(s.law, s.state, s.side * model.st.w[s.j]);
}

std::vector<api::SubgradeStation> MobilisedPressures(const EngineModel& model) {
  const ProblemControl& c = model.control;
  std::vector<api::SubgradeStation> stations(static_cast<size_t>(std::max(c.NI + 1, 0)));
  for (size_t k = 0; k < stations.size(); ++k) stations[k].depth = static_cast<double>(k) * c.h;
  std::vector<double> shares(2 * stations.size(), 0.0);
  for (const SubgradeSpring& s : model.subgrade.springs) {
    const auto k = static_cast<size_t>(s.j - Pos(0));
    if (k >= stations.size()) continue;
    api::MobilisedPressure& m = s.side < 0 ? stations[k].retained : stations[k].front;
    const double stress = EvaluateSideSpring(s.law, s.state, s.side * model.st.w[s.j]).stress;
    m.present = true;
    m.pressure += s.share * stress;
    m.active += s.share * s.law.active;
    m.atRest += s.share * s.atRest;
    m.passive += s.share * s.law.passive;
    m.water += s.share * s.water;
    shares[2 * k + (s.side < 0 ? 0 : 1)] += s.share;
  }
  for (size_t k = 0; k < stations.size(); ++k) {
    for (int face = 0; face < 2; ++face) {
      api::MobilisedPressure& m = face == 0 ? stations[k].retained : stations[k].front;
      const double share = shares[2 * k + static_cast<size_t>(face)];
      if (!(share > 0)) continue;
      for (double* v : {&m.pressure, &m.active, &m.atRest, &m.passive, &m.water}) *v /= share;
    }
  }
  return stations;
}

}  // namespace terraq::engine
