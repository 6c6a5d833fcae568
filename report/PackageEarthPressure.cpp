// The calculation package's chapter of the earth-pressure theories the
// project chose (engine/api/EarthPressureOptions.h): which theory each face
// takes, where it is published, and the coefficients of every layer and face
// as the analysis used them, the very rows terraq run --json prints
// (ui::RunCoefficients), so that a checker can recompute them by hand.

#include "PackageParts.h"
#include "api/EarthPressureFaces.h"
#include "project/EarthPressureMember.h"

namespace terraq::report::detail {

namespace {

namespace api = engine::api;

std::string Number(double value) { return SignificantText(value, 4); }

// "layer 2, backfill: ..." as a sentence of its own.
std::string Sentence(std::string text) {
  if (!text.empty() && text.front() >= 'a' && text.front() <= 'z') text.front() -= 'a' - 'A';
  if (!text.empty() && text.back() != '.') text += '.';
  return text;
}

std::string FaceName(api::Side side) {
  return side == api::Side::Backfill ? "Backfill" : "Excavation";
}

void AppendFaces(const api::EarthPressureOptions& options, std::vector<Block>& blocks) {
  Table table;
  table.caption = "Earth-pressure theories of the faces";
  table.columns = {{"Face", "", "", Align::Left},
                   {"Theory", "", "", Align::Left},
                   {"Wall friction", "δ/φ′", "", Align::Decimal},
                   {"Source", "", "", Align::Left}};
  for (const api::Side side : {api::Side::Backfill, api::Side::Excavation}) {
    const api::FaceTheory& face = options.face(side);
    const api::EarthPressureTheory& theory = api::TheoryOf(face.method);
    table.rows.push_back({FaceName(side), std::string(theory.name), Number(face.deltaRatio),
                          std::string(theory.source)});
  }
  table.note =
      "A layer given its own wall friction takes it instead of δ/φ′. A face with Rankine's "
      "smooth wall keeps the coefficients the earth-pressure generator always used.";
  blocks.push_back(std::move(table));
}

double FrictionAngleOf(const api::SoilDescription& soil, int number) {
  for (const api::SoilLayer& layer : soil.layers)
    if (layer.number == number) return layer.frictionAngle;
  return 0;
}

void AppendCoefficients(const std::vector<api::LayerCoefficients>& rows,
                        const api::SoilDescription& soil, std::vector<Block>& blocks) {
  Table table;
  table.caption = "Earth-pressure coefficients of the layers";
  table.columns = {{"Layer", "", "", Align::Right}, {"Face", "", "", Align::Left},
                   {"Theory", "", "", Align::Left}, {"Friction angle", "φ′", "°"},
                   {"Wall friction", "δ", "°"},     {"Active", "Kah", ""},
                   {"Passive", "Kph", ""}};
  for (const api::LayerCoefficients& c : rows)
    table.rows.push_back(
        {std::to_string(c.number), FaceName(c.side), std::string(api::TheoryOf(c.method).name),
         Number(FrictionAngleOf(soil, c.number)), Number(c.delta), Number(c.Kah), Number(c.Kph)});
  table.note =
      "Horizontal coefficients of the thrust inclined at δ; the excavation's apply below the "
      "excavation level. A cohesion c adds −2c√Kah and +2c√Kph.";
  blocks.push_back(std::move(table));
}

}  // namespace

void AppendEarthPressureTheories(const api::EarthPressureOptions& options,
                                 const std::string& dataText, std::vector<Block>& blocks) {
  blocks.push_back(Heading{1, "Earth-pressure theories", {}});
  blocks.push_back(Paragraph{
      "Where the earth pressure is generated from the soil layers, its active and passive "
      "pressures and the limits of the soil springs take these theories' coefficients instead of "
      "Rankine's."});
  AppendFaces(options, blocks);
  const std::optional<api::SoilDescription> soil = ui::TheorySoil(dataText);
  if (!soil) {
    blocks.push_back(Paragraph{"No problem of the data file has soil layers to take them."});
    return;
  }
  const api::EarthPressureCheck check =
      api::CheckEarthPressure(options, *soil, soil->layers.size());
  if (check.error) {
    blocks.push_back(Paragraph{Sentence("the analysis refused the theories: " + *check.error),
                               Paragraph::Style::Warning});
    return;
  }
  if (const std::vector<api::LayerCoefficients> rows = ui::RunCoefficients(dataText, options);
      !rows.empty())
    AppendCoefficients(rows, *soil, blocks);
  for (const std::string& note : check.notes)
    blocks.push_back(Paragraph{Sentence(note), Paragraph::Style::Warning});
}

}  // namespace terraq::report::detail
