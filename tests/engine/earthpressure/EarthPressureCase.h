#pragma once
// A wall problem for the earth-pressure tests: the data-file text of one
// problem with generated (or specified) earth pressure, a stiff wall and
// linear user p-y curves below the excavation so that every run solves, and
// readers of what the generator produced: the earth-pressure block of the
// plot file and the numeric rows of a report section.

#include <string>
#include <utility>
#include <vector>

#include "EngineRun.h"

namespace terraq::test {

struct EarthPressureCase {
  int units = 2;  // 1 English (lb, in), 2 SI (kN, m)
  int KEP = 2;
  int KPY = 1;  // 1: linear user curves below H; 2: generated (no user curves)
  int NI = 40;
  double h = 0.25;
  double tolerance = 1e-4;  // deflection closure tolerance
  // Flexural rigidity of the wall and slope of its linear soil springs (p per
  // unit length over y); 0 takes a stiff wall and springs that suit the units.
  double EI = 0, k = 0;
  // Record 10.
  double H = 6, Wa = 1, Wp = 1, waterBackfill = 100, waterExcavation = 100, factor = 1;
  int pressureSwitch = 1;
  double beta = 0;
  // Record 11: q and the single surcharge (distance, point, line, strip, width).
  double q = 0;
  double legacy[5] = {0, 0, 0, 0, 0};
  struct Load {
    int type;
    double magnitude, x, width;
  };
  std::vector<Load> loads;
  struct Layer {
    int code;  // 4 sand and 5 silt drain
    double bottom, gamma, c, phi;
  };
  std::vector<Layer> layers;
  // Springs confined to one station each (anchors): station, stiffness.
  std::vector<std::pair<int, double>> anchors;
  std::vector<std::pair<double, double>> specified;  // KEP = 1: depth, pressure

  std::string text() const;
};

struct PressureRow {
  double depth, total, soil, surcharge;
};

// The earth-pressure block at the start of a plot file (empty when absent).
std::vector<PressureRow> PlotPressureRows(const std::string& plot);

// The rows of numbers of the report section whose title contains `title`,
// up to the next section or table.
std::vector<std::vector<double>> SectionNumbers(const std::string& report, const std::string& title);

bool Contains(const std::string& text, const std::string& part);

}  // namespace terraq::test
