// The overall stability's lines of the ground checks (OverallStabilityText.h):
// the reason when there is no critical circle, the circle in the data file's
// units as DesignedGround holds it, and the factor's line failing below the
// factor asked for.

#include <gtest/gtest.h>

#include "OverallStabilityText.h"

namespace terraq::design {
namespace {

std::vector<CheckLine> Lines(const DesignedGround& g, int units) {
  std::vector<CheckLine> out;
  AppendOverallStabilityLines(g, units, out);
  return out;
}

TEST(OverallStabilityText, ReasonOrTheCircleInTheProjectsUnits) {
  DesignedGround g;
  g.overallSkipped = "the wall was not designed";
  std::vector<CheckLine> lines = Lines(g, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "   overall stability not checked: the wall was not designed");
  EXPECT_FALSE(lines[0].fails);

  g.overall.emplace();
  g.overall->critical.factor = 1.25;
  g.overall->critical.circle = {.xc = 10, .yc = 200, .radius = 300};
  g.overall->circlesTried = 1400;
  g.overallTip = 360;
  g.overallAnchors.push_back({.name = "A1"});
  lines = Lines(g, 1);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text,
            "   overall stability (Bishop's critical circle below the tip at 360 in): F = 1.25, "
            "centre x = 10 in, elevation 200 in, radius 300 in, 1400 circles tried");
  EXPECT_TRUE(lines[0].fails);  // below 1.5
  EXPECT_EQ(lines[1].text,
            "     anchors counted: 1, their capacity each anchor's design force along it (no "
            "anchor design)");

  g.overall->error = "no circle is admissible";
  EXPECT_EQ(Lines(g, 2)[0].text, "   overall stability: no circle is admissible");
}

}  // namespace
}  // namespace terraq::design
