#include "SoilModelTable.h"

#include <array>

namespace terraq::engine::api {

namespace {

using Q = Quantity;

// clang-format off
constexpr SoilParameter kUnitWeight{
    "gamma", "total unit weight", "γ", kUnitWeightAt, Q::UnitWeight, "gammaGamma"};
constexpr SoilParameter kFrictionAngle{
    "phi", "friction angle", "φ'", kFrictionAngleAt, Q::Angle, "gammaPhi", 0, 89};
constexpr SoilParameter kE50{"e50", "strain at half the peak stress", "ε50", kStrainAt, Q::Ratio};
// The initial modulus of the p-y curves grows with depth: a unit weight's
// dimensions (F/L^3).
constexpr SoilParameter kPyModulus{
    "k", "modulus of subgrade reaction", "k", kModulusAt, Q::UnitWeight};
constexpr SoilParameter kRockStrength{
    "qu", "uniaxial compressive strength", "qu", kStrengthAt, Q::Pressure, "gammaQu"};

// Each model's parameters in the order of its layer table's columns.
constexpr std::array kClay{kUnitWeight,
    SoilParameter{"su", "undrained shear strength", "cu", kStrengthAt, Q::Pressure, "gammaCu"},
    kE50, kPyModulus};
constexpr std::array kSand{kUnitWeight, kFrictionAngle, kPyModulus};
constexpr std::array kSilt{kUnitWeight, kFrictionAngle,
    SoilParameter{"c", "cohesion", "c'", kStrengthAt, Q::Pressure, "gammaC"},
    kE50, kPyModulus};
constexpr std::array kStrongRock{kUnitWeight, kRockStrength};
constexpr std::array kWeakRock{kUnitWeight, kRockStrength,
    SoilParameter{"krm", "strain constant of the rock mass", "krm", kStrainAt, Q::Ratio},
    SoilParameter{"em", "elastic modulus of the rock mass", "Em", kModulusAt, Q::Pressure},
    SoilParameter{"rqd", "rock quality designation", "RQD", kRockQualityAt, Q::Percent, "", 0,
                  100}};
// clang-format on

// In the order of the codes.
const std::array<SoilModelInfo, 7> kModels{{
    {SoilModel::SoftClay, "Soft clay", false, kClay},
    {SoilModel::StiffClayFreeWater, "Stiff clay with free water", false, kClay},
    {SoilModel::StiffClayNoFreeWater, "Stiff clay without free water", false, kClay},
    {SoilModel::Sand, "Sand", true, kSand},
    {SoilModel::Silt, "Silt", true, kSilt},
    {SoilModel::StrongRock, "Strong rock", false, kStrongRock},
    {SoilModel::WeakRock, "Weak rock", false, kWeakRock},
}};

}  // namespace

const SoilParameter* SoilModelInfo::at(size_t position) const {
  for (const SoilParameter& p : parameters)
    if (p.position == position) return &p;
  return nullptr;
}

const SoilParameter* SoilModelInfo::find(std::string_view key) const {
  for (const SoilParameter& p : parameters)
    if (p.key == key) return &p;
  return nullptr;
}

std::vector<const SoilParameter*> SoilModelInfo::inLineOrder() const {
  std::vector<const SoilParameter*> line;
  for (size_t position = 0; position < kLayerLinePositions; ++position)
    if (const SoilParameter* p = at(position)) line.push_back(p);
  return line;
}

std::span<const SoilModelInfo> SoilModels() { return kModels; }

const SoilModelInfo* FindSoilModel(int code) {
  return code >= 1 && code <= static_cast<int>(kModels.size())
             ? &kModels[static_cast<size_t>(code) - 1]
             : nullptr;
}

const SoilModelInfo& GeneratedModelOf(int code) {
  const SoilModelInfo* model = FindSoilModel(code);
  return model ? *model : kModels.front();
}

const SoilModelInfo& InfoOf(SoilModel model) { return *FindSoilModel(static_cast<int>(model)); }

const SoilParameter* FindSoilParameter(std::string_view key) {
  for (const SoilModelInfo& model : kModels)
    if (const SoilParameter* p = model.find(key)) return p;
  return nullptr;
}

}  // namespace terraq::engine::api
