// The overall stability's line of the ground checks (OverallStabilityText.h):
// the reason when there is no critical circle, and the circle's metres in
// the data file's inches.

#include <gtest/gtest.h>

#include "OverallStabilityText.h"
#include "SlipCircle.h"

namespace terraq::design {
namespace {

TEST(OverallStabilityText, ReasonOrTheCircleInTheProjectsUnits) {
  const CheckLine skipped = OverallStabilityLine(nullptr, "the wall was not designed", 1);
  EXPECT_EQ(skipped.text, "   overall stability not checked: the wall was not designed");
  EXPECT_FALSE(skipped.fails);
  SlipSearchResult s;
  s.critical.factor = 1.25;
  s.critical.circle = {.xc = 0.254, .yc = 5.08, .radius = 7.62};
  const CheckLine found = OverallStabilityLine(&s, {}, 1);
  EXPECT_EQ(found.text,
            "   overall stability (Bishop): F = 1.25 on the critical slip circle, centre x = 10 "
            "in, y = 200 in, radius 300 in");
  EXPECT_TRUE(found.fails);
  s.error = "no circle is admissible";
  EXPECT_EQ(OverallStabilityLine(&s, {}, 2).text,
            "   overall stability not checked: no circle is admissible");
}

}  // namespace
}  // namespace terraq::design
