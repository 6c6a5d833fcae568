// The sample projects with generated earth pressure that ship in examples/
// run to the end, with their tables where an engineer expects them.

#include <gtest/gtest.h>

#include "EarthPressureCase.h"

namespace terraq::test {
namespace {

TEST(Examples, GeneratedEarthPressureProjectsRunClean) {
  // Cantilever: 121 rows of one inch down to 10 ft, shown every 6 in.
  // Anchored: 237 rows of about an inch down to 6 m, shown every sixth, the
  // trapezoid 0 at both ends.
  for (const auto& [name, rowCount] : {std::pair{"cantilever-triangular-strip-load.tq4d", 21u},
                                       std::pair{"anchored-trapezoid.tq4d", 40u}}) {
    const std::string text = ReadTextFile(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name);
    ASSERT_FALSE(text.empty()) << name;
    const EngineOutputs out = RunEngineOn(text);
    EXPECT_TRUE(Contains(out.report, "END OF ANALYSIS")) << name;
    for (const char* bad : {"ERROR", "WARNING", "NOT CLOSED"}) EXPECT_FALSE(Contains(out.report, bad)) << name;
    const std::vector<PressureRow> rows = PlotPressureRows(out.plot);
    ASSERT_EQ(rows.size(), rowCount) << name;
    EXPECT_GT(rows[3].total, 0.0) << name;
  }
}

}  // namespace
}  // namespace terraq::test
