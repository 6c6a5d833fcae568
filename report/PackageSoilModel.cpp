// The calculation package's chapter of the subgrade-reaction soil model
// (engine/api/Subgrade.h): the parameters of each layer as the analysis used
// them, and per problem the pressure of each face against its active and
// passive limits, as a table and as a graph, so that the checker sees where
// the soil has yielded.

#include "PackageFigures.h"
#include "PackageParts.h"
#include "api/Units.h"

namespace terraq::report::detail {

namespace {

using engine::api::MobilisedPressure;
using engine::api::Quantity;
using engine::api::UnitLabel;

// At most this many rows per problem: every station of a short wall, every
// k-th of a long one (the tip always).
constexpr size_t kMostRows = 41;

std::string Number(double value) { return SignificantText(value, 4); }

void AppendParameters(const engine::api::SubgradeOptions& options, int units,
                      std::vector<Block>& blocks) {
  Table table;
  table.caption = "Subgrade-reaction parameters of the soil layers";
  table.columns = {{"Layer", "", "", Align::Right}};
  for (const engine::api::SubgradeParameter& p : engine::api::SubgradeParameters())
    table.columns.push_back({std::string(p.name), std::string(p.symbol),
                             std::string(UnitLabel(p.quantity, units)), Align::Decimal});
  for (size_t k = 0; k < options.layers.size(); ++k) {
    std::vector<std::string> row{std::to_string(k + 1)};
    for (const engine::api::SubgradeParameter& p : engine::api::SubgradeParameters())
      row.push_back(Number(options.layers[k].*p.value));
    table.rows.push_back(std::move(row));
  }
  table.note =
      "K0 = 0 takes (1 − sin φ′)·OCR^sin φ′ (1 in clay and rock); kh varies linearly "
      "from the layer's top to its bottom; unloading and reloading follow R·kh.";
  blocks.push_back(std::move(table));
}

void AddFace(const MobilisedPressure& face, std::vector<std::string>& row) {
  if (!face.present) {
    row.insert(row.end(), {"", "", ""});
    return;
  }
  row.insert(row.end(), {Number(face.pressure), Number(face.active), Number(face.passive)});
}

}  // namespace

void AppendSoilModel(const engine::api::SubgradeOptions& options,
                     const engine::api::AnalysisResult& analysis,
                     const std::vector<std::string>& names, std::vector<Block>& blocks) {
  if (analysis.problems.empty()) return;
  const int units = analysis.problems.front().units;
  blocks.push_back(Heading{1, "Soil model", {}});
  blocks.push_back(Paragraph{
      "The soil is modelled by subgrade-reaction springs on both faces of the wall, starting from "
      "the at-rest pressure and bounded by the active and the passive pressure (Rankine); the "
      "generated earth-pressure table and p-y curves are not used. Pressures are effective in "
      "drained layers, the water pressure apart."});
  AppendParameters(options, units, blocks);
  const std::string stress(UnitLabel(Quantity::Pressure, units));
  for (size_t k = 0; k < analysis.problems.size(); ++k) {
    const engine::api::ProblemResult& p = analysis.problems[k];
    if (p.subgrade.empty()) continue;
    Table table;
    table.caption = "Mobilised earth pressure, " + ProblemName(names, k);
    table.columns = {{"Depth", "z", std::string(UnitLabel(Quantity::Length, units))},
                     {"Retained", "σ", stress},
                     {"Active", "σa", stress},
                     {"Passive", "σp", stress},
                     {"In front", "σ", stress},
                     {"Active", "σa", stress},
                     {"Passive", "σp", stress}};
    const size_t step = (p.subgrade.size() + kMostRows - 2) / (kMostRows - 1);
    for (size_t s = 0; s < p.subgrade.size(); s += std::max<size_t>(step, 1)) {
      const size_t station = s + step >= p.subgrade.size() ? p.subgrade.size() - 1 : s;
      std::vector<std::string> row{Number(p.subgrade[station].depth)};
      AddFace(p.subgrade[station].retained, row);
      AddFace(p.subgrade[station].front, row);
      table.rows.push_back(std::move(row));
      if (station + 1 == p.subgrade.size()) break;
    }
    table.note = "Where a pressure equals one of its limits the soil has yielded there.";
    blocks.push_back(std::move(table));
    blocks.push_back(MobilisedPressureFigure(
        p, "Mobilised earth pressure against its limits, " + ProblemName(names, k)));
  }
}

}  // namespace terraq::report::detail
