#include "project/TProgramData.h"

#include <algorithm>

#include "api/Units.h"
#include "controls/ConvertedValue.h"
#include "project/AsciiLower.h"
#include "project/TWordReader.h"

namespace terraq::ui {

int LayoutForFile(const std::filesystem::path& path) {
  return AsciiLower(path.extension().string()) == ".tqd" ? kLayout30 : kLayoutCurrent;
}

std::string FileTitle(std::string_view typed) {
  std::string title(typed);
  for (char& c : title)
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f) c = ' ';
  const size_t first = title.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return title.substr(first, title.find_last_not_of(" \t") - first + 1);
}

TProgramData::TProgramData(TProjectTables& tables) : tables_(&tables) {
  tables_->Reset(Units);
}

TProgramData::TProgramData(TProjectTables& tables, const std::filesystem::path& file, int layout)
    : TProgramData(tables) {
  readText(ReadWholeFile(file), layout);
  DataFileName = file.string();
  ClearModified();
}

int TProgramData::WrittenEarthPressureMode() const {
  if (UserPressure) return 1;
  const bool generated = EarthPressureOption == 2 || EarthPressureOption == 3;
  return (GeneratePY || PressureGenerated) && generated ? EarthPressureOption : 0;
}

bool TProgramData::SurchargeLoadsKept() const { return GeneratePY || WrittenEarthPressureMode() >= 2; }

int SurchargeLoadsLostBy(const TProgramData& before, const TProgramData& after) {
  if (!before.UseSurcharge || !before.SurchargeLoadsKept() || after.SurchargeLoadsKept()) return 0;
  return before.Tables().SurchargeTable.RowCount();
}

void TProgramData::ClearModified() {
  Modified = false;
  tables_->ResetChanged();
}

void TProgramData::SetUnits(int system) {
  system = std::clamp(system, 1, 3);
  if (system == Units) return;
  // Only English and SI convert. One factor per dimension, SI units per
  // English unit (the inch is 0.0254 m by definition): multiplied going to
  // SI, divided coming back, so that a round trip gives back the value that
  // was entered, not one drifted by two factors that are not inverses.
  using engine::api::UnitsSystem;
  const UnitsSystem from = engine::api::UnitsSystemOf(Units),
                    to = engine::api::UnitsSystemOf(system);
  const bool toSI = from == UnitsSystem::English && to == UnitsSystem::SI;
  const bool toEnglish = from == UnitsSystem::SI && to == UnitsSystem::English;
  if (toSI || toEnglish) {
    // The program's own switching factors, in long double (finer than the
    // double constants of api/Units.h): the force factor is the one the
    // program has always switched with.
    constexpr long double a = 0.0254L;                   // m per in
    constexpr long double b = 0.004448222468060650624L;  // kN per lb
    const auto scale = [toSI](double& value, long double factor) {
      value = RoundConverted(static_cast<double>(toSI ? value * factor : value / factor));
    };
    for (double* length : {&IncrementLength, &MaxDeflection, &DeflectionTolerance, &FreeHeight, &WaterDepthBackfill,
                           &WaterDepthExcavation, &ActiveWidth, &ResistanceWidth, &LegacySurchargeDistance,
                           &LegacyStripWidth})
      scale(*length, a);
    scale(SurchargePressure, b / (a * a));
    scale(LegacyStripLoad, b / (a * a));
    scale(LegacyPointLoad, b);
    scale(LegacyLineLoad, b / a);
  }
  Units = system;
  tables_->SetUnits(system);
  Modified = true;
}

}  // namespace terraq::ui
