#include "OverallStabilityText.h"

#include "FourDigits.h"
#include "api/Units.h"

namespace terraq::design {

void AppendOverallStabilityLines(const DesignedGround& g, int units, std::vector<CheckLine>& out) {
  if (!g.overall) return out.push_back({"   overall stability not checked: " + g.overallSkipped});
  const SlipSearchResult& s = *g.overall;
  if (s.error) return out.push_back({"   overall stability: " + *s.error});
  const std::string L =
      " " + std::string(engine::api::UnitLabel(engine::api::Quantity::Length, units));
  const SlipResult& c = s.critical;
  out.push_back({"   overall stability (Bishop's critical circle below the tip at " +
                     FourDigits(g.overallTip) + L + "): F = " + FourDigits(c.factor) +
                     ", centre x = " + FourDigits(c.circle.xc) + L + ", elevation " +
                     FourDigits(c.circle.yc) + L + ", radius " + FourDigits(c.circle.radius) + L +
                     ", " + std::to_string(s.circlesTried) + " circles tried",
                 c.factor < kRequiredGroundFactor});
  if (!g.overallAnchors.empty())
    out.push_back(
        {"     anchors counted: " + std::to_string(g.overallAnchors.size()) + ", their capacity " +
         (g.capacityFromDesign ? "the bonds' pull-out of the anchor design"
                               : "each anchor's design force along it (no anchor design)")});
  if (!g.anchorsNotCounted.empty())
    out.push_back({"     anchors not counted: " + g.anchorsNotCounted});
  if (g.pointLoadsLeftOut > 0)
    out.push_back(
        {"     point loads left out (not plane): " + std::to_string(g.pointLoadsLeftOut)});
}

}  // namespace terraq::design
