#include "PressureTable.h"

#include <algorithm>
#include <cmath>

#include "Surcharge.h"
#include "api/SeismicFaces.h"

namespace terraq::engine {

namespace {

// Rows of one layer, evenly spaced down to its bottom, at least one when the
// layer has any thickness (a thin layer above the excavation level would
// otherwise drop out of the table and with it the pressure down to H).
double RowsInLayer(double thickness, double spacing) {
  if (thickness <= kDepthTolerance) return 0.0;
  return std::max(1.0, std::round(thickness / spacing));
}

// Resultant over the layer of the surcharge record's single surcharge,
// sampled at the midpoints of ten equal slices of the layer.
double SingleSurchargeResultant(const SurchargeProfile& single, double top, double thickness) {
  double sum = 0.0;
  for (int k = 1; k <= 10; ++k) sum += single.at(top + (k - 0.5) * thickness / 10.0);
  return sum * thickness / 10.0;
}

}  // namespace

double ConventionalRowCount(const LayerProfile& profile, double spacing) {
  double count = 1.0;
  for (int L = 1; L < profile.excavationLayer; ++L)
    count += RowsInLayer(profile.layers[static_cast<size_t>(L - 1)].thickness, spacing);
  return count;
}

double PressureRowSpacing(const LayerProfile& profile, double inch) {
  auto fits = [&](double inches) {
    return ConventionalRowCount(profile, inches * inch) <= kMaxEarthPressureRows;
  };
  if (fits(1.0)) return inch;
  // A layer of thickness T gives at most T / spacing + 1 rows, so a spacing
  // of Z / (kMaxEarthPressureRows - 1 - layers) always fits (Z: the depth
  // tabulated). The count falls as the spacing grows: bisect on the whole
  // number of inches between one (too many rows) and that bound.
  double depth = 0.0;
  for (int L = 1; L < profile.excavationLayer; ++L)
    depth += profile.layers[static_cast<size_t>(L - 1)].thickness;
  const double room = kMaxEarthPressureRows - profile.excavationLayer;
  double tooFew = 1.0, enough = std::max(2.0, std::ceil(depth / (inch * room)));
  while (enough - tooFew > 1.0) {
    const double middle = std::floor(0.5 * (tooFew + enough));
    if (middle <= tooFew || middle >= enough) break;  // beyond the integers of a double
    (fits(middle) ? enough : tooFew) = middle;
  }
  return enough * inch;
}

namespace {

// The resultants of layer i (index into the profile) that the report lists:
// the active pressure's three parts (or, when the layer's top is in tension,
// the triangle of its lower part) and the water's two, with their depths.
LayerResultants ResultantsOf(const PressureInputs& in, size_t i, const SurchargeProfile& single,
                             double gammaEff, double wTop, double wSlope, double pTop,
                             double pBottom) {
  const double FA = in.soil.wall.activeFactor;
  const GeneratorLayer& layer = in.profile.layers[i];
  const EarthPressureCoefficients& k = in.coefficients[i];
  const double T = layer.thickness, zt = layer.top, c = layer.cohesion;
  const double sigma = in.overburden[i];
  LayerResultants r;
  r.PA1 = FA * sigma * k.Ka * T + SingleSurchargeResultant(single, zt, T);
  r.Z1 = zt + 0.5 * T;
  r.PA2 = FA * 0.5 * gammaEff * T * T * k.Ka;
  r.Z2 = zt + 2.0 * T / 3.0;
  r.PA3 = -FA * 2.0 * c * k.sqrtKa * T;
  r.Z3 = zt + 0.5 * T;
  r.tension = !(r.PA1 + r.PA3 > 0.0 || c <= 0.0);

  // Tension case: the active pressure of a cohesive layer is negative at
  // its top; the wall is loaded only where the linear pressure from p_top
  // to p_bot is positive, i.e. over the lower X of the layer.
  if (r.tension) {
    r.PA1 = r.PA2 = r.PA3 = 0.0;
    if (T > kDepthTolerance && pBottom > 0.0) {
      // p_bot > 0 > p_top keeps the denominator positive; a top that is
      // not in tension after all loads the whole layer.
      r.X = pTop < 0.0 ? pBottom * T / (pBottom - pTop) : T;
      r.PA4 = FA * r.X * pBottom / 2.0;
    }
    r.Z3 = zt + T - r.X / 3.0;
  }
  r.PW1 = wTop * T;
  r.ZW1 = zt + 0.5 * T;
  r.PW2 = wSlope * 0.5 * T * T;
  r.ZW2 = zt + 2.0 * T / 3.0;
  return r;
}

}  // namespace

PressureTable ConventionalPressureTable(const PressureInputs& in) {
  const WallRecord& wall = in.soil.wall;
  const double FA = wall.activeFactor;
  const double gw = in.gammaWater;
  const SurchargeProfile surcharge(in.soil.loads, wall.freeHeight);
  const SurchargeProfile single(LegacySurchargeLoads(in.soil.surcharge), wall.freeHeight);

  PressureTable table;
  const double top0 = in.coefficients.front().Ka * in.soil.surcharge.uniform;
  table.rows.push_back({0.0, top0, top0, 0.0});

  for (int L = 1; L < in.profile.excavationLayer; ++L) {
    const auto i = static_cast<size_t>(L - 1);
    const GeneratorLayer& layer = in.profile.layers[i];
    const EarthPressureCoefficients& k = in.coefficients[i];
    const double T = layer.thickness, zt = layer.top, c = layer.cohesion;
    const double sigma = in.overburden[i];
    const bool submerged = layer.drained && layer.belowWater;
    double gammaEff = submerged ? layer.gamma - gw : layer.gamma;
    const double w = submerged && wall.pressureSwitch == 1 ? gw : 0.0;
    double sigmaBottom = in.overburden[i + 1], wTop = w * (zt - wall.waterBackfill), wSlope = w;
    // Under seepage the pore pressure of a submerged drained layer is the
    // retained face's: the effective stress grows by the total weight less
    // its rise, and the water presses with it.
    const bool seeping = in.seepage && submerged;
    const auto pore = [&](double d) {
      return api::PorePressureOnFace(*in.seepage, api::WallFace::Retained, d);
    };
    if (seeping) {
      sigmaBottom = sigma + layer.gamma * T - (pore(zt + T) - pore(zt));
      gammaEff = T > 0.0 ? (sigmaBottom - sigma) / T : gammaEff;
      wTop = w > 0.0 ? pore(zt) : 0.0;
      wSlope = w > 0.0 && T > 0.0 ? (pore(zt + T) - pore(zt)) / T : 0.0;
    }
    const double pTop = sigma * k.Ka - 2.0 * c * k.sqrtKa;
    const double pBottom = sigmaBottom * k.Ka - 2.0 * c * k.sqrtKa;
    const LayerResultants r = ResultantsOf(in, i, single, gammaEff, wTop, wSlope, pTop, pBottom);
    table.resultants.push_back(r);

    const int n = static_cast<int>(RowsInLayer(T, in.rowSpacing));
    for (int row = 1; row <= n; ++row) {
      const double z = row * T / n;
      const double d = zt + z;
      PressureRow p;
      p.depth = d;
      if (!r.tension) {
        const double growth =
            seeping ? (layer.gamma * z - (pore(d) - pore(zt))) * k.Ka : gammaEff * k.Ka * z;
        p.soil = FA * (sigma * k.Ka - 2.0 * c * k.sqrtKa + growth);
      } else {
        // The triangle 0 at depth T - X to FA p_bot at T, written as the
        // positive part of the line from p_top to p_bot: the same values
        // without dividing by X, which may be arbitrarily small.
        p.soil = FA * std::max(0.0, pTop + (pBottom - pTop) * z / T);
      }
      // The water behind the wall presses on it whether or not the soil's
      // effective pressure is cut off by a tension crack (its resultants
      // PW1 and PW2 are reported for every submerged drained layer).
      p.soil += seeping ? (w > 0.0 ? pore(d) : 0.0) : w * (d - wall.waterBackfill);
      p.surcharge = surcharge.at(d);
      p.total = p.soil + p.surcharge;
      // Water standing in the excavation pushes back on the wall.
      if (d > wall.waterExcavation && layer.belowWater) {
        double back = (d - wall.waterExcavation) * gw;
        if (in.kh > 0.0)
          back -= std::min(
              back, api::StandingWaterRelief(in.kh, gw, wall.freeHeight, wall.waterExcavation, d));
        p.total -= back;
        p.soil -= back;
        if (p.total < 1.0e-5) p.total = static_cast<double>(table.rows.size() + 1) * 1.0e-12;
      }
      table.rows.push_back(p);
    }
  }
  return table;
}

ApparentPressure ApplyApparentPressure(PressureTable& table, const SpringRowSummary& springs) {
  if (springs.rows <= 0)
    StopWithMessage(
        "ERROR STOP -- TRAPEZOIDAL EARTH PRESSURE NEEDS AN ANCHOR: THE SPRINGS TABLE IS EMPTY");
  ApparentPressure a;
  std::vector<PressureRow>& rows = table.rows;
  // Area of the conventional total-pressure diagram, by the trapezoid rule
  // over the actual row spacing.
  for (size_t i = 1; i < rows.size(); ++i)
    a.F += 0.5 * (rows[i].total + rows[i - 1].total) * (rows[i].depth - rows[i - 1].depth);
  const double Z = rows.back().depth;
  if (Z <= kDepthTolerance) return a;  // no height above the excavation: nothing to spread

  const bool single = springs.rows == 1;
  const double za = springs.firstSingleStationDepth;
  const double zb = single ? za : springs.lastSingleStationDepth;
  if (za < -kDepthTolerance || zb > Z + kDepthTolerance || za > zb + kDepthTolerance)
    StopWithMessage(
        "ERROR STOP -- TRAPEZOIDAL EARTH PRESSURE NEEDS ITS ANCHORS BETWEEN THE TOP OF THE WALL "
        "AND THE EXCAVATION LEVEL, THE FIRST SPRING ROW ABOVE THE LAST");

  a.applied = true;
  a.rise = 2.0 * za / 3.0;
  if (single) {
    a.fall = 2.0 * (Z - za) / 3.0;
    a.middle = Z / 3.0;
    a.peak = 1.3 * a.F * 3.0 / (2.0 * Z);
  } else {
    a.fall = 2.0 * (Z - zb) / 3.0;
    a.middle = Z - a.rise - a.fall;
    // Area of the trapezoid = peak (Z - (h1 + h3)/2) = 1.3 F; the
    // denominator is at least Z/3 for anchors within 0..Z.
    a.peak = 1.3 * a.F / (Z - 0.5 * (a.rise + a.fall));
  }
  const double z2 = a.rise + a.middle;
  for (PressureRow& r : rows) {
    if (r.depth < a.rise) r.total = a.peak * r.depth / a.rise;
    else if (r.depth <= z2 || a.fall <= 0.0) r.total = a.peak;
    else r.total = std::max(0.0, a.peak - (r.depth - z2) * a.peak / a.fall);
  }
  return a;
}

}  // namespace terraq::engine
