// The engine's soil description: read from the data file as the analysis
// reads it, and down to the excavation level the very pressures of the
// earth-pressure generator.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DesignCases.h"
#include "api/Analysis.h"

namespace terraq::test {
namespace {

using engine::api::PressureAt;
using engine::api::ReadSoilDescriptions;
using engine::api::Side;

std::string Example(const std::string& name) {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SoilDescription, PressuresAboveTheExcavationAreTheGenerators) {
  for (const char* name :
       {"cantilever-triangular-strip-load.tq4d", "wall-socketed-weak-rock.tq4d"}) {
    const std::string text = Example(name);
    const auto soils = ReadSoilDescriptions(text);
    const auto run = engine::api::Analyse(text);
    ASSERT_FALSE(soils.error || run.error) << name;
    ASSERT_EQ(soils.problems.size(), run.problems.size()) << name;
    const SoilDescription& soil = soils.problems.front();
    ASSERT_FALSE(soil.layers.empty()) << name;
    const auto& rows = run.problems.front().earthPressure;
    ASSERT_GT(rows.size(), 10u) << name;
    // The rows are per unit length of wall: the pressure times the width
    // for earth pressure (the wall record's second value).
    const double width =
        rows[5].total / (PressureAt(soil, Side::Backfill, rows[5].depth).active +
                         PressureAt(soil, Side::Backfill, rows[5].depth).water +
                         PressureAt(soil, Side::Backfill, rows[5].depth).surcharge);
    for (const auto& row : rows) {
      // A row at a layer boundary is the bottom of the layer above it.
      const double z = row.depth - 1e-9;
      const auto b = PressureAt(soil, Side::Backfill, z);
      const auto e = PressureAt(soil, Side::Excavation, z);
      EXPECT_NEAR(row.total, width * (b.active + b.water + b.surcharge - e.water),
                  1e-6 * std::max(1.0, std::fabs(row.total)))
          << name << " at " << row.depth;
    }
  }
}

TEST(SoilDescription, ReadsLayersAnchorAndErrors) {
  const auto tieback = ReadSoilDescriptions(Example("anchored-wall-tieback.tq4d"));
  ASSERT_FALSE(tieback.error);
  ASSERT_FALSE(tieback.problems.empty());
  EXPECT_NEAR(tieback.problems[0].anchorDepth.value_or(-1.0), 1.5, 1e-9);

  const auto sand = ReadSoilDescriptions(Example("cantilever-sand-generated.tq4d"));
  ASSERT_FALSE(sand.error);
  const SoilDescription& s = sand.problems.at(0);
  EXPECT_EQ(s.units, 1);
  EXPECT_DOUBLE_EQ(s.excavationDepth, 120.0);
  EXPECT_DOUBLE_EQ(s.wallLength, 360.0);
  ASSERT_EQ(s.layers.size(), 1u);
  EXPECT_TRUE(s.layers[0].drained);
  EXPECT_DOUBLE_EQ(s.layers[0].frictionAngle, 32.0);
  // Passive in front below the excavation: g (z - H) Kp; nothing above it.
  const auto e = PressureAt(s, Side::Excavation, 180.0);
  EXPECT_NEAR(e.passive, 0.06655 * 60.0 / RankineKa(32.0), 1e-5 * e.passive);
  EXPECT_FALSE(PressureAt(s, Side::Excavation, 100.0).soil);
  // The strength factor divides tan(phi) on either side.
  const auto reduced = PressureAt(s, Side::Excavation, 180.0, 1.5);
  EXPECT_NEAR(std::tan(std::atan(1.0) * 4 / 180 * 32.0) / 1.5,
              std::tan(std::asin((1 - reduced.Ka) / (1 + reduced.Ka))), 1e-6);

  const auto broken = ReadSoilDescriptions("A title\n1 0 1 0 1 2 0 1 0\nsixty 6 100 0.0001 120\n");
  ASSERT_TRUE(broken.error);
  EXPECT_EQ(broken.error->line, 3);
  EXPECT_TRUE(broken.problems.empty());
}

}  // namespace
}  // namespace terraq::test
