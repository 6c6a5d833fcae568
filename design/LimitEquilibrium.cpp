#include "LimitEquilibrium.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Equilibrium.h"
#include "NetPressure.h"
#include "api/SoilModelTable.h"

namespace terraq::design {

using engine::api::Side;
using engine::api::SoilDescription;

const char* MethodName(Method method) {
  switch (method) {
    case Method::FixedEarth: return "fixed-earth";
    case Method::FixedEarthFull: return "fixed-earth-full";
    case Method::FreeEarth: break;
  }
  return "free-earth";
}

const char* FsMethodName(FsMethod method) {
  switch (method) {
    case FsMethod::Passive: return "passive";
    case FsMethod::Strength: return "strength";
    case FsMethod::NetPassive: break;
  }
  return "net-passive";
}

namespace {

const char* FsDescription(FsMethod method) {
  switch (method) {
    case FsMethod::Passive: return "on the passive resistance";
    case FsMethod::Strength: return "on the soil strength";
    case FsMethod::NetPassive: break;
  }
  return "on the net available passive resistance";
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

// Rock: a model that reads a uniaxial strength where a soil has its cohesion.
bool IsRock(int code) {
  const engine::api::SoilModelInfo* model = engine::api::FindSoilModel(code);
  return model && model->find("qu");
}

std::string Length(double v, int units) {
  return Number(v) + " " +
         std::string(engine::api::UnitLabel(engine::api::Quantity::Length, units));
}

// The checked inputs of a design: the embedment factor and the anchor depth
// settled, or why there can be no design.
struct Setup {
  double factor = 1, anchor = 0;
  std::optional<DesignError> error;
  std::vector<std::string> notes;
};

DesignError Error(DesignError::Kind kind, std::string message) {
  return {kind, std::move(message)};
}

// The faces' earth-pressure theories on every layer: a refusal stops the
// design, a warning is its note.
void CheckFaces(const SoilDescription& soil, const DesignOptions& o, Setup& s) {
  const FaceCheck faces = CheckFaceTheories(soil, o.backfillTheory, o.excavationTheory);
  s.notes.insert(s.notes.end(), faces.notes.begin(), faces.notes.end());
  if (faces.error) {
    s.error = Error(DesignError::Kind::BadOption, *faces.error);
    return;
  }
  if (!o.seismic) return;
  const FaceCheck shaking = CheckSeismic(soil, o.backfillTheory, o.excavationTheory, *o.seismic);
  s.notes.insert(s.notes.end(), shaking.notes.begin(), shaking.notes.end());
  if (shaking.error) s.error = Error(DesignError::Kind::BadOption, *shaking.error);
}

// A berm's raised level lies between the top of the wall and the excavation
// level (a design without one stays open to a problem without excavation).
std::optional<DesignError> RaiseError(const DesignOptions& o, double H, int units) {
  if (o.excavationRaise == 0.0 || (o.excavationRaise > 0.0 && o.excavationRaise < H))
    return std::nullopt;
  return Error(DesignError::Kind::BadOption,
               "The raised excavation level must lie between the top of the wall and the "
               "excavation level at " +
                   Length(H, units) + " (it is raised by " + Length(o.excavationRaise, units) +
                   ").");
}

Setup Check(const SoilDescription& soil, const DesignOptions& o) {
  Setup s;
  s.factor = o.embedmentFactor.value_or(o.method == Method::FixedEarth ? 1.2 : 1.0);
  const double H = soil.excavationDepth, bottom = soil.profileBottom();
  const int units = soil.units;
  if (!(o.fs >= 1.0) || !std::isfinite(o.fs)) {
    s.error = Error(DesignError::Kind::BadOption,
                    "The factor of safety must be 1 or more (it is " + Number(o.fs) + ").");
  } else if (!(s.factor >= 1.0) || !std::isfinite(s.factor)) {
    s.error = Error(DesignError::Kind::BadOption,
                    "The embedment factor must be 1 or more (it is " + Number(s.factor) + ").");
  } else if (o.method == Method::FixedEarthFull && o.fsMethod == FsMethod::NetPassive) {
    s.error = Error(DesignError::Kind::BadOption,
                    "The net available passive resistance is defined for moments about the toe or "
                    "the anchor; with the full fixed-earth solution use the factor on the passive "
                    "resistance or on the soil strength.");
  } else if (soil.layers.empty()) {
    s.error = Error(DesignError::Kind::NoSoil,
                    "The problem has no soil layers: it generates neither earth pressure nor p-y "
                    "curves.");
  } else if (bottom <= H + kDepthTolerance * bottom) {
    s.error = Error(DesignError::Kind::NoSoil, "The soil profile ends at " + Length(bottom, units) +
                                                   ", not below the excavation level at " +
                                                   Length(H, units) + ".");
  }
  if (!s.error) s.error = RaiseError(o, H, units);
  if (!s.error) CheckFaces(soil, o, s);
  if (s.error) return s;

  bool anyStrength = false;
  for (const auto& layer : soil.layers) {
    if (layer.bottom <= H) continue;
    if (IsRock(layer.code)) {
      // The generator reads a rock's strength value as its cohesion; the
      // Rankine pressures of a rock socket are at best a rough guide.
      s.notes.push_back("Layer " + std::to_string(layer.number) +
                        " is rock: its strength is taken as a cohesion, as the earth-pressure "
                        "generator takes it.");
    }
    if (layer.frictionAngle > 0.0 || layer.cohesion > 0.0) {
      anyStrength = true;
    } else {
      s.notes.push_back("Layer " + std::to_string(layer.number) + " (" +
                        Length(std::max(layer.top, H), units) + " to " +
                        Length(layer.bottom, units) +
                        ") has neither friction nor cohesion: it gives no passive resistance.");
    }
  }
  if (!anyStrength) {
    s.error = Error(DesignError::Kind::NoPassiveResistance,
                    "No passive resistance below the excavation level: no layer below " +
                        Length(H, units) + " has a friction angle or a cohesion.");
    return s;
  }

  if (o.method == Method::FreeEarth) {
    const std::optional<double> anchor = o.anchorDepth ? o.anchorDepth : soil.anchorDepth;
    if (!anchor) {
      s.error = Error(DesignError::Kind::NoAnchor,
                      "Free earth support needs an anchor or prop: give its depth, or a row in "
                      "the springs table.");
    } else if (!(*anchor >= 0.0)) {
      s.error =
          Error(DesignError::Kind::BadOption,
                "The anchor depth must not be negative (it is " + Length(*anchor, units) + ").");
    } else if (*anchor > H + kDepthTolerance * bottom) {
      s.error =
          Error(DesignError::Kind::AnchorBelowExcavation,
                "The anchor at " + Length(*anchor, units) + " lies below the excavation level at " +
                    Length(H, units) + ": free earth support needs it above.");
    } else {
      s.anchor = *anchor;
    }
  }
  return s;
}

Equilibrium SolveAt(const SoilDescription& soil, const DesignOptions& o, double anchor, double fs) {
  const NetPressure net = BuildNetPressure(soil, o, fs);
  return SolveEquilibrium(net, o.method, soil.excavationDepth, anchor);
}

struct FactorFound {
  std::optional<double> value;
  int bound = 0;
};

// The factor F whose equilibrium embedment is `embedment`: the required
// embedment grows with F (a weaker soil needs a longer wall), so bisection
// on log F brackets it.
FactorFound FactorFor(const SoilDescription& soil, const DesignOptions& o, double anchor,
                      double embedment) {
  const double H = soil.excavationDepth;
  const auto holds = [&](double fs) {
    const Equilibrium eq = SolveAt(soil, o, anchor, fs);
    return eq.found && eq.tip - H <= embedment;
  };
  FactorFound out;
  double lo = kLowestFactor, hi = kHighestFactor;
  if (!holds(lo)) {
    out.bound = -1;
    return out;
  }
  if (holds(hi)) {
    out.bound = 1;
    return out;
  }
  while (hi / lo - 1.0 > kFactorTolerance) {
    const double mid = std::sqrt(lo * hi);
    (holds(mid) ? lo : hi) = mid;
  }
  out.value = std::sqrt(lo * hi);
  return out;
}

// The faces' pressures at `z`, straight between the rows about it.
PressureRow RowAt(const std::vector<PressureRow>& rows, double z) {
  auto it = std::lower_bound(rows.begin(), rows.end(), z,
                             [](const PressureRow& row, double d) { return row.depth < d; });
  if (it == rows.end()) return rows.back();
  if (it == rows.begin() || it->depth <= z) return *it;
  const PressureRow& a = *(it - 1);
  const double t = (z - a.depth) / (it->depth - a.depth);
  const auto mix = [&](double x, double y) { return x + t * (y - x); };
  return {z, mix(a.backfill, it->backfill), mix(a.excavation, it->excavation), mix(a.net, it->net)};
}

// The pressures of the design down to `last`: forward, and for the full
// fixed-earth method below the point of rotation the straight turn to the
// reversed pressures at the tip of the equilibrium.
std::vector<PressureRow> Diagram(const NetPressure& net, Method method, const Equilibrium& eq,
                                 double last) {
  std::vector<PressureRow> rows;
  const bool turning = method == Method::FixedEarthFull && eq.tip > eq.pivot;
  for (const PressureRow& row : net.forwardRows) {
    if (row.depth > last) break;
    if (!turning || row.depth <= eq.pivot) {
      rows.push_back(row);
      continue;
    }
    const double t = std::min(1.0, (row.depth - eq.pivot) / (eq.tip - eq.pivot));
    const PressureRow a = RowAt(net.forwardRows, eq.pivot), b = RowAt(net.reverseRows, eq.tip);
    const auto mix = [&](double x, double y) { return x + t * (y - x); };
    rows.push_back({row.depth, mix(a.backfill, b.backfill), mix(a.excavation, b.excavation),
                    mix(a.net, b.net)});
  }
  return rows;
}

std::string FactorText(const FactorFound& f) {
  if (f.value) return Number(*f.value);
  return f.bound < 0 ? "less than " + Number(kLowestFactor) : "more than " + Number(kHighestFactor);
}

}  // namespace

std::optional<double> FactorOfSafety(const SoilDescription& soil, const DesignOptions& options,
                                     double embedment) {
  const Setup s = Check(soil, options);
  if (s.error || !(embedment > 0.0)) return std::nullopt;
  return FactorFor(soil, options, s.anchor, embedment / s.factor).value;
}

DesignResult DesignWall(const SoilDescription& soil, const DesignOptions& options) {
  DesignResult r;
  r.method = options.method;
  r.fsMethod = options.fsMethod;
  r.fs = options.fs;
  r.excavationDepth = soil.excavationDepth;
  const Setup s = Check(soil, options);
  r.embedmentFactor = s.factor;
  r.anchorDepth = s.anchor;
  r.notes = s.notes;
  if (s.error) {
    r.error = s.error;
    return r;
  }
  const double H = soil.excavationDepth, bottom = soil.profileBottom();
  const int units = soil.units;
  const auto unsatisfiable = [&](double fs) {
    const FactorFound atBottom = FactorFor(soil, options, s.anchor, bottom - H);
    r.error = Error(DesignError::Kind::Unsatisfiable,
                    "No embedment within the soil profile gives a factor of safety of " +
                        Number(fs) + " " + FsDescription(options.fsMethod) +
                        ": a wall down to the bottom of the profile at " + Length(bottom, units) +
                        " has " + FactorText(atBottom) + ".");
  };

  const Equilibrium equilibrium = SolveAt(soil, options, s.anchor, 1.0);
  if (!equilibrium.found) {
    unsatisfiable(1.0);
    return r;
  }
  r.D0 = equilibrium.tip - H;
  if (r.D0 <= 0.0)
    r.notes.push_back(
        "The retained soil puts no net load on the wall down to the excavation level: "
        "equilibrium needs no embedment.");
  const NetPressure net = BuildNetPressure(soil, options, options.fs);
  const Equilibrium eq =
      options.fs == 1.0 ? equilibrium : SolveEquilibrium(net, options.method, H, s.anchor);
  if (!eq.found) {
    unsatisfiable(options.fs);
    return r;
  }
  r.Dfs = eq.tip - H;
  r.D = s.factor * r.Dfs;
  r.tipDepth = H + r.D;
  r.pivotDepth = options.method == Method::FreeEarth ? 0.0 : eq.pivot;
  r.counterForce = eq.counterForce;
  r.anchorForce = eq.anchorForce;
  const WallForces w = ForcesOnWall(net, options.method, eq, s.anchor);
  r.maxMoment = w.maxMoment;
  r.maxMomentDepth = w.maxMomentDepth;
  r.zeroShearDepth = w.zeroShearDepth;

  r.diagram = Diagram(net, options.method, eq, std::min(r.tipDepth, bottom));

  if (soil.wallLength > H) {
    const FactorFound f = FactorFor(soil, options, s.anchor, (soil.wallLength - H) / s.factor);
    r.wallFs = f.value;
    r.wallFsBound = f.bound;
  }
  if (r.tipDepth > bottom + kDepthTolerance * bottom)
    r.error = Error(DesignError::Kind::ProfileTooShort,
                    "The soil profile ends at " + Length(bottom, units) +
                        ", above the required tip at " + Length(r.tipDepth, units) + ".");
  return r;
}

}  // namespace terraq::design
