// The generated earth pressure against hand calculations: Rankine's
// coefficients, a layered profile with water on both sides and a uniform
// surcharge, the elastic pressures of a strip and a line load, and the
// apparent pressure of an anchored wall. The pressures are the table the
// wall is loaded with (per unit length of wall), taken from the model the run
// leaves behind (ten significant digits); the coefficients are read from the
// report, which prints three.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "EarthPressureCase.h"
#include "VerificationTable.h"
#include "WallCase.h"

namespace terraq::verification {

namespace {

using test::EarthPressureCase;
using Rows = std::vector<terraq::engine::EarthPressureRow>;

constexpr double kPi = std::numbers::pi;

double Rankine(double phiDegrees, double sign) {
  return std::pow(std::tan((45 + sign * phiDegrees / 2) * kPi / 180), 2);
}
double RankineKa(double phiDegrees) { return Rankine(phiDegrees, -1); }
double RankineKp(double phiDegrees) { return Rankine(phiDegrees, +1); }

struct Run {
  Rows rows;
  std::string report;
};

Run Generate(const EarthPressureCase& c) {
  const test::SolvedWall run = test::SolveDataFile(c.text());
  if (run.files.report.find("ERROR") != std::string::npos || run.model.earthPressure.empty())
    throw CaseFailed("an earth-pressure case stopped");
  return {run.model.earthPressure, run.files.report};
}

// The row at `depth`. The table holds the generator's own sample depths, so
// the cases take depths that are rows of it: the surface, layer boundaries,
// the free height, whole inches.
const terraq::engine::EarthPressureRow& RowAt(const Rows& rows, double depth) {
  for (const auto& r : rows)
    if (std::fabs(r.depth - depth) < 1e-9 * std::max(1.0, depth)) return r;
  throw CaseFailed("an earth-pressure table has no row at a depth it should");
}

// Two sands, the water table 2.5 m down behind the wall and 5 m down in
// front of it, a 10 kPa surcharge; H = 7 m, Wa = 1 m.
EarthPressureCase LayeredProfile() {
  EarthPressureCase c;  // SI
  c.H = 7;
  c.q = 10;
  c.waterBackfill = 2.5;
  c.waterExcavation = 5.0;
  c.layers = {{4, 4, 19, 0, 34}, {4, 20, 20, 0, 28}};
  return c;
}

Section Coefficients(const Run& layered) {
  EarthPressureCase sloping = LayeredProfile();
  sloping.beta = 20;
  sloping.layers = {{4, 20, 19, 0, 30}};
  const Run slope = Generate(sloping);
  // Report rows: layer, Ka, Kp. The layered profile is cut at the water
  // table and at H: layers 0-2.5, 2.5-4 and 4-7 m, and below H.
  const auto k = test::SectionNumbers(layered.report, "ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT");
  const auto s = test::SectionNumbers(slope.report, "ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT");
  if (k.size() != 4 || s.empty() || k[0].size() < 3 || k[2].size() < 3 || s[0].size() < 3)
    throw CaseFailed("the report lacks the coefficients");
  const double cb = std::cos(20 * kPi / 180), cp = std::cos(30 * kPi / 180);
  const double root = std::sqrt(cb * cb - cp * cp);
  return ComparisonSection(
      "Earth pressure coefficients",
      "Rankine's active and passive coefficients of the two sands of the layered profile below, as the "
      "report prints them (three significant digits), and the active coefficient of a sand of φ′ = 30° "
      "behind a backfill sloping at 20°.",
      "Hand calculation",
      {{"Ka = tan²(45° − φ′/2), φ′ = 34°", RankineKa(34), k[0][1]},
       {"Kp = tan²(45° + φ′/2), φ′ = 34°", RankineKp(34), k[0][2]},
       {"Ka, φ′ = 28°", RankineKa(28), k[2][1]},
       {"Kp, φ′ = 28°", RankineKp(28), k[2][2]},
       {"Ka, φ′ = 30°, slope 20°", cb * (cb - root) / (cb + root), s[0][1]}});
}

Section Layered(const Run& run) {
  const double q = 10, gw = 9.81;
  // Effective vertical stress and water pressure at depth z (m), by hand.
  const auto hand = [&](double z, double Ka) {
    const double effective = q + 19 * std::min(z, 2.5) + (19 - gw) * std::clamp(z - 2.5, 0.0, 1.5) +
                             (20 - gw) * std::max(0.0, z - 4);
    const double water = gw * std::max(0.0, z - 2.5) - gw * std::max(0.0, z - 5);
    return Ka * effective + water;
  };
  const double Ka1 = RankineKa(34), Ka2 = RankineKa(28);
  std::vector<Comparison> rows;
  rows.push_back({"at the surface, Ka q (kPa)", hand(0, Ka1), RowAt(run.rows, 0).total});
  rows.push_back({"at the water table, 2.5 m (kPa)", hand(2.5, Ka1), RowAt(run.rows, 2.5).total});
  rows.push_back({"at 4 m, bottom of the upper sand (kPa)", hand(4, Ka1), RowAt(run.rows, 4).total});
  rows.push_back({"at the excavation level, 7 m (kPa)", hand(7, Ka2), RowAt(run.rows, 7).total});
  return ComparisonSection(
      "Layered profile with water and a uniform surcharge",
      "SI units. Sand of 19 kN/m³ (121 pcf) and φ′ = 34° down to 4 m (13.1 ft) over sand of 20 kN/m³ "
      "(127 pcf) and φ′ = 28°; water table 2.5 m (8.2 ft) down behind the wall, water 5 m (16.4 ft) down "
      "in front of it; uniform surcharge q = 10 kPa (209 psf); free height H = 7 m (23.0 ft); Wa = 1 m, so "
      "that the table's load per unit length of wall in kN/m is the pressure in kPa. By hand, with "
      "γw = 9.81 kN/m³: p = Ka (q + Σ γ′ h) + γw (z − 2.5) below the water table, less γw (z − 5) below "
      "the water in front. The table holds one row at the layer boundary, with the value of the upper "
      "layer; the lower layer's pressure starts a row (about an inch) deeper.",
      "Hand calculation", rows);
}

// A weightless sand behind the wall: the whole table is the load's pressure.
// English units, H = 120 in, Wa = 1 in: the table shows the pressure in psi.
EarthPressureCase LoadedBackfill(int type, double magnitude, double x, double width) {
  EarthPressureCase c;
  c.units = 1;
  c.H = 120;
  c.h = 6;
  c.NI = 30;
  c.waterBackfill = c.waterExcavation = 1000;
  c.layers = {{4, 300, 0, 0, 30}};
  c.loads = {{type, magnitude, x, width}};
  return c;
}

Section Surcharges() {
  const double H = 120;
  // Strip load q = 1000 psf (6.944 psi), 36 in wide, centred 48 in behind the wall.
  const double q = 1000.0 / 144, x = 48, w = 36;
  const auto strip = [&](double z) {
    const double beta = std::atan((x + w / 2) / z) - std::atan((x - w / 2) / z), alpha = std::atan(x / z);
    return 2 * q / kPi * (beta - std::sin(beta) * std::cos(2 * alpha));
  };
  // Line load 1000 lb/ft (83.33 lb/in) at 36 in (m = 0.3 <= 0.4).
  const double ql = 1000.0 / 12, xl = 36;
  const auto line = [&](double z) {
    const double n = z / H;
    return 0.203 * ql * n / (H * std::pow(0.16 + n * n, 2));
  };
  const Rows stripRows = Generate(LoadedBackfill(3, q, x, w)).rows;
  const Rows lineRows = Generate(LoadedBackfill(2, ql, xl, 0)).rows;
  std::vector<Comparison> rows;
  for (double z : {24.0, 60.0, 120.0})
    rows.push_back({"strip load, at " + Number(z) + " in (psi)", strip(z), RowAt(stripRows, z).surcharge});
  for (double z : {24.0, 60.0, 120.0})
    rows.push_back({"line load, at " + Number(z) + " in (psi)", line(z), RowAt(lineRows, z).surcharge});
  return ComparisonSection(
      "Strip and line loads behind the wall",
      "English units, free height H = 120 in (10 ft, 3.05 m), weightless backfill, Wa = 1 in, so that the table "
      "shows the pressure in psi. A strip load of 1000 psf (47.9 kPa), 36 in (0.91 m) wide, centred "
      "48 in (1.22 m) behind the wall, against σh = 2q (β − sin β cos 2α) / π; a line load of 1000 lb/ft "
      "(14.6 kN/m) 36 in behind the wall (m = 0.3), against σh = 0.203 q n / (H (0.16 + n²)²). The "
      "depths chosen lie on the generator's samples (every 0.02 H).",
      "Published formula", rows);
}

Section ApparentPressure() {
  // Dry sand, 0.07 lb/in³ (121 pcf), φ′ = 30°, q = 1 psi, H = 120 in;
  // anchors at 24 and 72 in (stations 2 and 6 of 12 in).
  EarthPressureCase c;
  c.units = 1;
  c.KEP = 3;
  c.H = 120;
  c.h = 12;
  c.NI = 20;
  c.q = 1;
  c.waterBackfill = c.waterExcavation = 1000;
  c.layers = {{4, 400, 0.07, 0, 30}};
  c.anchors = {{2, 1e5}, {6, 1e5}};
  const Rows rows = Generate(c).rows;
  const double Z = 120, za = 24, zb = 72;
  const double F = RankineKa(30) * (c.q * Z + 0.5 * 0.07 * Z * Z);
  const double h1 = 2 * za / 3, h3 = 2 * (Z - zb) / 3;
  const double peak = 1.3 * F / (Z - (h1 + h3) / 2);
  double area = 0;
  for (size_t k = 1; k < rows.size() && rows[k].depth <= Z + 1e-9; ++k)
    area += 0.5 * (rows[k].total + rows[k - 1].total) * (rows[k].depth - rows[k - 1].depth);
  return ComparisonSection(
      "Apparent pressure of an anchored wall",
      "English units. Dry sand of 0.07 lb/in³ (121 pcf), φ′ = 30°, uniform surcharge 1 psi (144 psf), "
      "excavation Z = 120 in (10 ft, 3.05 m), anchors at za = 24 in (0.61 m) and zb = 72 in (1.83 m), "
      "Wa = 1 in. The conventional diagram has the area F = Ka (q Z + γ Z²/2) = " + Number(F) + " lb/in (" +
          Number(F * 4.4482216152605 / 25.4) + " kN/m); the envelope rises to its peak at h1 = 2 za/3 = 16 in, "
      "holds it down to Z − h3 = 88 in (h3 = 2 (Z − zb)/3 = 32 in) and falls to zero at Z.",
      "Hand calculation",
      {{"area of the envelope, 1.3 F (lb/in)", 1.3 * F, area},
       {"pressure at h1/2 = 8 in, peak/2 (psi)", peak / 2, RowAt(rows, 8).total},
       {"peak at h1 = 16 in, 1.3 F / (Z − (h1 + h3)/2) (psi)", peak, RowAt(rows, 16).total},
       {"pressure at 88 in, peak (psi)", peak, RowAt(rows, 88).total},
       {"pressure at 104 in, peak/2 (psi)", peak / 2, RowAt(rows, 104).total}});
}

}  // namespace

std::vector<Section> EarthPressureSections() {
  const Run layered = Generate(LayeredProfile());
  return {Coefficients(layered), Layered(layered), Surcharges(), ApparentPressure()};
}

}  // namespace terraq::verification
