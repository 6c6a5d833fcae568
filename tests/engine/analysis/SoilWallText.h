#pragma once
// The data text of a wall in generated soil (SI, kN and m, unless told
// otherwise), for the soil models' tests: one problem, or the stages of a construction sequence
// (the number of stages in each control record, end code k after stage k).

#include <string>
#include <vector>

namespace terraq::test {

struct SoilWall {
  int units = 2;
  double width = 1;  // WA and WP
  int NI = 100;
  double h = 0.1, EI = 50000, WMAX = 1.0, TOL = 1e-7;
  double excavation = 0;
  double waterBehind = 100, waterFront = 100;  // depths below the top of the wall
  double surcharge = 0;                        // kPa, uniform
  double activeFactor = 1;
  struct Layer {
    int code;  // 4 sand, 1 soft clay
    double bottom, gamma, cohesion, phi;
  };
  std::vector<Layer> layers;
  struct Spring {
    int station;
    double stiffness;
  };
  std::vector<Spring> springs;  // confined to one station each

  std::string text(int stages = 1, int stage = 1) const;
};

std::string StagedSoilText(const std::vector<SoilWall>& stages);

}  // namespace terraq::test
