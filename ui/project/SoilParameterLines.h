#pragma once
// Where each soil parameter of a layer stands on the parameter lines of the
// data file. A line has six positions; per soil type (1-based code) the
// column of the layer's parameter table written at each position, or -1 for
// a position the type does not use. The parameter tables' columns:
//   clay (1-3)      unit weight, cohesion, E50, k
//   sand (4)        unit weight, friction angle, k
//   silt (5)        unit weight, friction angle, cohesion, E50, k
//   strong rock (6) unit weight, uniaxial strength
//   weak rock (7)   unit weight, uniaxial strength, krm, modulus, RQD
// The line's positions: unit weight, cohesion or strength, friction angle,
// E50 or krm, k or modulus, RQD.

namespace terraq::ui {

inline constexpr int kParameterPositions = 6;
inline constexpr int kSoilTypes = 7;

inline constexpr int kSoilParameterColumn[kSoilTypes][kParameterPositions] = {
    {0, 1, -1, 2, 3, -1},    // soft clay
    {0, 1, -1, 2, 3, -1},    // stiff clay with free water
    {0, 1, -1, 2, 3, -1},    // stiff clay without free water
    {0, -1, 1, -1, 2, -1},   // sand
    {0, 2, 1, 3, 4, -1},     // silt
    {0, 1, -1, -1, -1, -1},  // strong rock
    {0, 1, -1, 2, 3, 4},     // weak rock
};

// The column at a position for a soil type, -1 for none (also for a code
// outside 1..7).
inline int SoilParameterColumn(int soilType, int position) {
  if (soilType < 1 || soilType > kSoilTypes || position < 0 || position >= kParameterPositions) return -1;
  return kSoilParameterColumn[soilType - 1][position];
}

}  // namespace terraq::ui
