// The graph of the mobilised earth pressure: its curves are the subgrade
// analysis's numbers, each face on its own side of the wall, and a p-y
// analysis has none.

#include <gtest/gtest.h>

#include <cmath>

#include "../engine/analysis/SoilWallText.h"
#include "api/Analysis.h"
#include "api/EngineRoute.h"
#include "graphs/MobilisedPressureGraph.h"
#include "graphs/PlotMenuRules.h"

using namespace terraq;
using terraq::test::SoilWall;

namespace {

// Sand (gamma 18 kN/m3, phi' 30 deg: Ka = 1/3, K0 = 1/2, Kp = 3), dry to
// 4 m, on a 10 m wall excavated `excavation` m in front.
SoilWall SandWall(double excavation) {
  SoilWall wall;
  wall.excavation = excavation;
  wall.waterBehind = wall.waterFront = 4;
  wall.layers = {{4, 20, 18, 0, 30}};
  return wall;
}

engine::api::AnalysisOptions Subgrade() {
  engine::api::AnalysisOptions options;
  options.subgrade = engine::api::SubgradeOptions{{{20000, 60000, 0, 1, 2}}};
  return options;
}

}  // namespace

TEST(MobilisedPressureGraph, EachFaceOnItsSideWithItsLimits) {
  const engine::api::AnalysisResult r = engine::Analyse(SandWall(2).text(), Subgrade());
  ASSERT_FALSE(r.error) << r.error->message;
  ui::TGraphPlot graph;
  ASSERT_TRUE(ui::FillMobilisedPressureGraph(graph, r, false));
  ASSERT_EQ(graph.Lines.size(), 8u);
  EXPECT_EQ(graph.Label(0), "Retained: mobilised");
  EXPECT_EQ(graph.XCaption, "Earth Pressure (kN/m^2): Retained Face Left, Front Face Right");

  // At 1 m, sv = 18 kPa behind the wall: active 6, at rest 9, passive 54
  // (within the rounding of the generated coefficients), drawn to the
  // left; the front has no soil above the excavation.
  const ui::TFloatPoint mobilised = graph.Lines[0].Points[10];
  EXPECT_NEAR(mobilised.Y, 1, 1e-9);
  EXPECT_DOUBLE_EQ(static_cast<double>(mobilised.X), -r.problems[0].subgrade[10].retained.pressure);
  EXPECT_NEAR(static_cast<double>(graph.Lines[1].Points[10].X), -18.0 / 3, 1e-3);
  EXPECT_NEAR(static_cast<double>(graph.Lines[2].Points[10].X), -3 * 18.0, 1e-3);
  EXPECT_NEAR(static_cast<double>(graph.Lines[3].Points[10].X), -18.0 / 2, 1e-3);
  EXPECT_TRUE(std::isnan(graph.Lines[4].Points[10].X));

  // At 3 m, 1 m below the excavation: sv = 18 kPa in front, drawn to the
  // right; the mobilised pressure is the analysis's own.
  const engine::api::SubgradeStation& at3 = r.problems[0].subgrade[30];
  EXPECT_DOUBLE_EQ(static_cast<double>(graph.Lines[4].Points[30].X), at3.front.pressure);
  EXPECT_NEAR(static_cast<double>(graph.Lines[6].Points[30].X), 3 * 18.0, 1e-3);
  EXPECT_GT(at3.front.pressure, 18.0 / 2);  // the wall pushes into the front
}

TEST(MobilisedPressureGraph, StagesWaitInActiveCurvesAndPyHasNone) {
  engine::api::AnalysisOptions options = Subgrade();
  options.sequential = engine::api::SequentialOptions{};
  const engine::api::AnalysisResult staged =
      engine::Analyse(test::StagedSoilText({SandWall(1), SandWall(3)}), options);
  ASSERT_FALSE(staged.error) << staged.error->message;
  ui::TGraphPlot graph;
  ASSERT_TRUE(ui::FillMobilisedPressureGraph(graph, staged, false));
  ASSERT_EQ(graph.Lines.size(), 16u);
  EXPECT_EQ(graph.Label(8), "Stage 2, retained: mobilised");
  ui::ChooseFirstCurves(graph);
  EXPECT_EQ(ui::ActiveCurveIndices(graph), (std::vector<int>{8, 9, 10, 11, 12, 13, 14, 15}));

  const engine::api::AnalysisResult py = engine::Analyse(SandWall(2).text());
  EXPECT_FALSE(ui::FillMobilisedPressureGraph(graph, py, false));
  EXPECT_TRUE(graph.Lines.empty());
}
