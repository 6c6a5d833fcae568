// The deep slip plane's subsection of the section on the ground around the
// wall: Kranz's check with the EAU's planes for several anchor levels, the
// anchors as the check takes them, every plane's forces and factor, and the
// figure of the governing wall (graphics/DeepSlipPainter.h).

#include "DeepSlipPainter.h"
#include "PackageParts.h"
#include "api/Units.h"

namespace terraq::report::detail {

namespace {

using engine::api::Quantity;

std::string Unit(Quantity quantity, int units) {
  return engine::api::PrintedLabel(quantity, units);
}

// A figure's caption: the wall's name first when it has one.
std::string Caption(const std::string& name, const std::string& text) {
  return name.empty() ? text : name + ", " + text;
}

// As terraq design names a plane: "compound plane carrying anchors 1, 2".
std::string PlaneName(const design::DeepSlipPlane& plane) {
  std::string anchors;
  for (const size_t a : plane.anchors)
    anchors += (anchors.empty() ? "" : ", ") + std::to_string(a + 1);
  return std::string(plane.compound ? "compound plane" : "plane") + " carrying anchor" +
         (plane.anchors.size() > 1 ? "s " : " ") + anchors;
}

void Group(Table& t, const std::string& text) {
  t.rows.push_back(std::vector<std::string>(t.columns.size()));
  t.rows.back()[0] = text;
  t.groupRows.push_back(true);
}

Table AnchorTable(int units) {
  const std::string L = Unit(Quantity::Length, units);
  Table t;
  t.caption = "Deep slip plane: the anchors";
  t.columns = {
      {"Anchor", "", "", Align::Left}, {"Depth", "z", L},
      {"Inclination", "α", "°"},       {"Free\nlength", "Lf", L},
      {"Bond\nlength", "Lb", L},       {"Force", "A", Unit(Quantity::ForcePerLength, units)}};
  t.note =
      "Heads on the wall at depth z, numbered from the top; A the anchor's force along its tendon "
      "per unit length of wall (the design's horizontal force / cos α).";
  return t;
}

Table PlaneTable(int units) {
  const std::string F = Unit(Quantity::ForcePerLength, units);
  Table t;
  t.caption = "Deep slip plane: the planes";
  t.columns = {{"Plane", "", "", Align::Left},
               {"Weight", "G", F},
               {"Wall's\nthrust", "Ea", F},
               {"Thrust\nat D", "Ea1", F},
               {"Applied", "A", F},
               {"Possible", "A_poss", F},
               {"", "η", ""}};
  t.note =
      "Each plane from the foot F to the middle D of a bond (a compound plane through the nearer "
      "bonds' middles below it); G the block's weight, Ea and Ea1 the horizontal active thrusts "
      "on the wall down to F and on the vertical through D, A the sum of the forces of the anchors "
      "in the block, A_poss the force that makes it slide, η = A_poss / A.";
  return t;
}

using Notes = std::vector<std::pair<std::string, std::string>>;

void WallRows(const GroundOfWall& w, bool named, Table& anchors, Table& planes, Notes& notes) {
  const design::GroundLimits& g = w.ground.limits;
  const design::DeepSeatedResult& r = *g.deepSeated;
  const std::string L = " " + Unit(Quantity::Length, w.units);
  const std::string foot = "foot F at " + FourDigits(w.ground.foot) + L;
  Group(anchors, named ? w.name + ", " + foot : "The wall, " + foot);
  for (size_t k = 0; k < g.anchors.size(); ++k) {
    const design::StabilityAnchor& a = g.anchors[k];
    anchors.rows.push_back({std::to_string(k + 1), FourDigits(a.depth), FourDigits(a.inclination),
                            FourDigits(a.freeLength), FourDigits(a.bondLength),
                            FourDigits(a.force)});
    anchors.groupRows.push_back(false);
  }
  if (named) Group(planes, w.name);
  for (size_t k = 0; k < r.planes.size(); ++k) {
    const design::DeepSlipPlane& p = r.planes[k];
    const bool governing = r.governing && *r.governing == k;
    planes.rows.push_back({PlaneName(p) + (governing ? " (governing)" : ""), FourDigits(p.weight),
                           FourDigits(p.wallThrust), FourDigits(p.anchorWallThrust),
                           FourDigits(p.appliedForce),
                           p.possibleForce ? FourDigits(*p.possibleForce) : "none",
                           p.factor ? FourDigits(*p.factor) : "none"});
    planes.groupRows.push_back(false);
    if (!p.factor) notes.emplace_back(w.name, PlaneName(p) + ", no factor: " + p.noFactor);
  }
  if (w.ground.anchorTakenHorizontal)
    notes.emplace_back(w.name,
                       "the anchor is taken as horizontal: the data file holds no inclination.");
}

// The wall of the least η (a wall whose planes have none comes last).
const GroundOfWall* GoverningWall(const std::vector<GroundOfWall>& walls) {
  const GroundOfWall* governing = nullptr;
  double least = 0;
  for (const GroundOfWall& w : walls) {
    const auto& deep = w.ground.limits.deepSeated;
    if (!deep || deep->error || !w.deepInput) continue;
    const double eta = design::KranzLimitValue(*deep).value_or(design::kGroundFactorCap);
    if (!governing || eta < least) governing = &w, least = eta;
  }
  return governing;
}

Figure DeepSlipPicture(const GroundOfWall& w) {
  ui::DeepSlipFigure figure{
      *w.deepInput, *w.ground.limits.deepSeated,     w.ground.excavation,
      w.wallTip,    Unit(Quantity::Length, w.units), Unit(Quantity::ForcePerLength, w.units)};
  return Figure{Caption(w.name,
                        "deep slip plane: the anchors' free lengths and bonds, the "
                        "planes from the foot F to the bonds' middles, the governing "
                        "one bold"),
                0.6, [figure](QPainter& painter, const QRectF& area, double dpi) {
                  ui::PaintDeepSlip(painter, area, dpi, figure);
                }};
}

}  // namespace

void AppendDeepSlipPlane(const std::vector<GroundOfWall>& walls, std::vector<Block>& blocks) {
  blocks.push_back(Heading{3, "Deep slip plane", {}});
  blocks.push_back(Paragraph{
      "The anchors pull the block of soil between the wall and their bonds towards the "
      "excavation; it slides on the deep slip plane from the wall's foot F (in a fixed-earth "
      "design the point of zero shear below the excavation) to the middle D of a bond. The force "
      "the block can hold, A_poss, closes the polygon of its weight G, the wall's active thrust "
      "Ea at the wall friction, the active thrust Ea1 on the vertical through D and the soil's "
      "reaction on the plane; through layers the block is cut into slices. With several anchor "
      "levels a plane runs to each bond's middle and carries the anchors whose bonds lie in its "
      "block, with the compound planes through nearer bonds below it. η = A_poss / A; in the "
      "partial-factor form A_d ≤ A_poss,k / γEp. Sources: Kranz, E. (1953), Über die Verankerung "
      "von Spundwänden, 2nd ed., Ernst & Sohn; EAU (2012), Recommendations of the Committee for "
      "Waterfront Structures, section 8.5, with the partial factors of EN 1997-1."});
  const int units = walls.front().units;
  Table anchors = AnchorTable(units), planes = PlaneTable(units);
  Notes notes;
  for (const GroundOfWall& w : walls) {
    const design::GroundLimits& g = w.ground.limits;
    if (!g.deepSeated) notes.emplace_back(w.name, "deep slip plane not checked: " + g.deepSkipped);
    else if (g.deepSeated->error)
      notes.emplace_back(w.name, "deep slip plane: " + *g.deepSeated->error);
    else WallRows(w, walls.size() > 1, anchors, planes, notes);
  }
  if (!planes.rows.empty()) {
    blocks.push_back(std::move(anchors));
    blocks.push_back(std::move(planes));
  }
  AppendGroundNotes(notes, blocks);
  if (const GroundOfWall* w = GoverningWall(walls)) blocks.push_back(DeepSlipPicture(*w));
}

}  // namespace terraq::report::detail
