// The design chapter's section on the ground around the wall, for a project
// that keeps its cut's plan (the member "excavation"): basal heave by
// Terzaghi's and Bjerrum and Eide's methods, the deep slip plane of an
// anchored wall (Kranz) and the overall stability, each with its inputs,
// method and source, the numbers terraq design prints for the same project
// (design::CheckDesignedGround, four significant digits) and a figure of
// the governing wall, so that a checker can follow each factor by hand.

#include <algorithm>

#include "BasalHeavePainter.h"
#include "DeepSlipPainter.h"
#include "GroundStabilitySoil.h"
#include "PackageGroundOverall.h"
#include "PackageParts.h"
#include "api/Units.h"

namespace terraq::report::detail {

namespace {

using engine::api::Quantity;
constexpr int kMetresAndKilonewtons = 2;  // the slip circle's subsection and figure

std::string Unit(Quantity quantity, int units) {
  return engine::api::PrintedLabel(quantity, units);
}

// A figure's caption: the wall's name first when it has one.
std::string Caption(const std::string& name, const std::string& text) {
  return name.empty() ? text : name + ", " + text;
}

std::string Optional(const std::optional<double>& v) { return v ? FourDigits(*v) : "none"; }

Table HeaveInputTable(int units) {
  const std::string L = Unit(Quantity::Length, units), P = Unit(Quantity::Pressure, units);
  Table t;
  t.caption = "Basal heave: the cut";
  t.columns = {{"Wall", "", "", Align::Left},
               {"Depth", "H", L},
               {"Width", "B", L},
               {"Length", "L", L},
               {"", "B/L", ""},
               {"Base\nstrength", "cb", P},
               {"Side\nstrength", "cs", P},
               {"Unit\nweight", "γ", Unit(Quantity::UnitWeight, units)},
               {"Surcharge", "q", P},
               {"Firm\nstratum", "D", L},
               {"Block", "B1", L}};
  t.note =
      "H the excavation level (the deepest of a sequence), γ the mean total unit weight over H, cb "
      "the undrained strength of the clay below it, cs the mean undrained strength beside the cut "
      "over H, D the depth of a firm stratum below the base (none: not within reach), B1 = 0.7 B, "
      "or D where that is less.";
  return t;
}

Table HeaveFactorTable(int units) {
  const std::string P = Unit(Quantity::Pressure, units);
  Table t;
  t.caption = "Basal heave: factors of safety";
  t.columns = {{"Wall and method", "", "", Align::Left},
               {"", "Nc", ""},
               {"Resisting", "Nc·cb", P},
               {"Load", "γH + q", P},
               {"Side shear", "cs·H/B1", P},
               {"With side\nshear", "F", ""},
               {"Without\nside shear", "F", ""}};
  t.note =
      "F = Nc·cb / (γH + q − cs·H/B1) with the side shear, Nc·cb / (γH + q) without; none: nothing "
      "is left to push the base up, which cannot heave.";
  return t;
}

void HeaveFactorRow(Table& t, const char* method, const design::HeaveFactor& h) {
  t.rows.push_back({method, FourDigits(h.Nc), FourDigits(h.resisting), FourDigits(h.loading),
                    FourDigits(h.sideShear), Optional(h.factor),
                    Optional(h.factorWithoutSideShear)});
  t.groupRows.push_back(false);
}

// The wall whose heave factor (Bjerrum and Eide's with side shear, as a
// study takes it) is least.
const GroundOfWall* GoverningHeave(const std::vector<GroundOfWall>& walls) {
  const GroundOfWall* governing = nullptr;
  double least = 0;
  for (const GroundOfWall& w : walls) {
    const auto& heave = w.ground.limits.heave;
    if (!heave || heave->error) continue;
    const double f = design::HeaveLimitValue(*heave).value_or(design::kGroundFactorCap);
    if (!governing || f < least) governing = &w, least = f;
  }
  return governing;
}

Figure HeavePicture(const GroundOfWall& w) {
  ui::BasalHeaveFigure figure{w.ground.limits.heaveInput, *w.ground.limits.heave, w.wallTip,
                              Unit(Quantity::Length, w.units), Unit(Quantity::Pressure, w.units)};
  return Figure{Caption(w.name,
                        "basal heave: the cut, the soil column of width B1 beside it and "
                        "Terzaghi's failure surface"),
                0.7, [figure](QPainter& painter, const QRectF& area, double dpi) {
                  ui::PaintBasalHeave(painter, area, dpi, figure);
                }};
}

void AppendHeave(const std::vector<GroundOfWall>& walls, std::vector<Block>& blocks) {
  blocks.push_back(Heading{3, "Basal heave", {}});
  blocks.push_back(Paragraph{
      "The soil beside the cut weighs on the clay at the excavation level, which the cut has "
      "unloaded; the clay fails like the ground under a footing and rises into the cut. Undrained, "
      "in total stress. Terzaghi: a column of width B1 beside the cut loads the clay, which fails "
      "as a strip footing with Nc = 5.7, the undrained strength on the column's side holding part "
      "of it up. Bjerrum and Eide: the base fails as a deep footing, Nc from H/B (Skempton's "
      "square-cut curve) times 0.84 + 0.16 B/L. Each factor with and without the side shear. "
      "Sources: Terzaghi, K. (1943), Theoretical Soil Mechanics, Wiley; Bjerrum, L., & Eide, O. "
      "(1956), Stability of strutted excavations in clay, Géotechnique 6(1), 32–47."});
  const int units = walls.front().units;
  Table inputs = HeaveInputTable(units), factors = HeaveFactorTable(units);
  std::vector<std::pair<std::string, std::string>> notes;
  for (const GroundOfWall& w : walls) {
    const design::GroundLimits& g = w.ground.limits;
    if (!g.heave || g.heave->error) {
      notes.emplace_back(w.name, g.heave ? "basal heave: " + *g.heave->error
                                         : "basal heave not checked: " + g.heaveSkipped);
      continue;
    }
    const design::BasalHeaveInput& in = g.heaveInput;
    inputs.rows.push_back(
        {w.name.empty() ? "The wall" : w.name, FourDigits(in.depth), FourDigits(in.width),
         FourDigits(in.length), FourDigits(in.length > 0 ? in.width / in.length : 0.0),
         FourDigits(in.baseStrength), FourDigits(in.sideStrength.value_or(in.baseStrength)),
         FourDigits(in.unitWeight), FourDigits(in.surcharge), Optional(in.firmStratumDepth),
         FourDigits(g.heave->blockWidth)});
    inputs.groupRows.push_back(false);
    if (walls.size() > 1) {
      factors.rows.push_back(std::vector<std::string>(factors.columns.size()));
      factors.rows.back()[0] = w.name;
      factors.groupRows.push_back(true);
    }
    HeaveFactorRow(factors, "Terzaghi", g.heave->terzaghi);
    HeaveFactorRow(factors, "Bjerrum & Eide", g.heave->bjerrumEide);
  }
  if (!inputs.rows.empty()) {
    blocks.push_back(std::move(inputs));
    blocks.push_back(std::move(factors));
  }
  AppendGroundNotes(notes, blocks);
  if (const GroundOfWall* w = GoverningHeave(walls)) blocks.push_back(HeavePicture(*w));
}

}  // namespace

GroundOfWall CheckGroundOfWall(std::string name, const design::ProblemDesign& d,
                               const engine::api::SoilDescription& soil,
                               const design::DesignRequest& request,
                               const design::ExcavationPlan& plan,
                               const design::SequentialPlan* sequence) {
  GroundOfWall w{std::move(name),
                 d.units,
                 design::CheckDesignedGround(d, soil, request, plan, sequence),
                 d.le.error ? soil.wallLength : d.le.tipDepth,
                 std::nullopt,
                 std::nullopt,
                 std::nullopt};
  const design::GroundLimits& g = w.ground.limits;
  if (g.deepSeated && !g.deepSeated->error) {
    engine::api::SoilDescription cut = soil;
    cut.excavationDepth = w.ground.excavation;
    const design::DeepSeatedFromSoil ground =
        design::DeepSeatedGround(cut, w.ground.foot, request.backfillTheory.deltaRatio, g.anchors);
    if (!ground.error) w.deepInput = ground.input;
  }
  if (w.ground.overall && !w.ground.overall->error) {
    engine::api::SoilDescription section = soil;
    section.excavationDepth = w.ground.excavation;
    section.wallLength = w.ground.overallTip;
    design::SlipGroundOfProblem p = design::OverallSection(section, w.ground.overallAnchors);
    if (!p.error) w.overallSection = std::move(p.ground);
  }
  if (w.ground.overall)
    w.overallInSI = design::SlipSearchInUnits(*w.ground.overall, d.units, kMetresAndKilonewtons);
  return w;
}

void AppendGroundNotes(const std::vector<std::pair<std::string, std::string>>& notes,
                       std::vector<Block>& blocks) {
  std::vector<std::pair<std::string, std::string>> shared;  // text, names
  for (const auto& note : notes) {
    const std::string &name = note.first, &text = note.second;
    auto at =
        std::find_if(shared.begin(), shared.end(), [&](const auto& s) { return s.first == text; });
    if (at == shared.end()) shared.emplace_back(text, name);
    else if (!name.empty()) at->second += ", " + name;
  }
  for (const auto& [text, names] : shared)
    blocks.push_back(Paragraph{names.empty() ? text : names + ": " + text, Paragraph::Style::Note});
}

void AppendGround(const std::vector<GroundOfWall>& walls, std::vector<Block>& blocks) {
  if (walls.empty()) return;
  blocks.push_back(Heading{2, "Ground around the wall", {}});
  blocks.push_back(Paragraph{
      "Failures that pass around the designed wall rather than through it, checked with the "
      "cut's plan and the anchors' lengths the project keeps and with what the design found: the "
      "excavation level, the wall's foot and the anchors' forces. Lengths below the top of the "
      "wall, forces per unit length of wall."});
  AppendHeave(walls, blocks);
  AppendDeepSlipPlane(walls, blocks);
  // The wall with the least factor on its critical circle, or the first.
  const GroundOfWall* least = &walls.front();
  for (const GroundOfWall& w : walls)
    if (w.overallInSI && !w.overallInSI->error &&
        (!least->overallInSI || least->overallInSI->error ||
         w.overallInSI->critical.factor < least->overallInSI->critical.factor))
      least = &w;
  AppendOverallStability(least->overallInSI ? &*least->overallInSI : nullptr,
                         least->overallSection ? &*least->overallSection : nullptr,
                         least->ground.overallSkipped, blocks);
}

}  // namespace terraq::report::detail
