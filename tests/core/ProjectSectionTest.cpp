// The program's side of the wall's section: the stiffness table and Wa a
// section puts into a project of piles, and the utilisation graph drawn
// from the checks (one curve per result set, legend with the largest
// value, where it is and its check; problems not checked left out and said).
#include <gtest/gtest.h>

#include "graphs/UtilisationGraph.h"
#include "project/ProjectSection.h"
#include "project/TProject.h"

namespace terraq::ui {
namespace {

TEST(ProjectSection, PilesTakeTheSpacingAsWaAndTheirEIPerPile) {
  TProject project;
  project.Open(std::filesystem::path(TERRAQ_SOURCE_DIR) / "examples/wall-socketed-weak-rock.tq4d",
               1);
  TProgramData& d = project.Data();
  ASSERT_EQ(d.Units, 2);
  const SectionInUse used{design::PipeSection("PIPE610x12.7", 0.610, 0.0127),
                          {"S355", 355e6, 210e9, "structural", "", ""},
                          {},
                          2.5};
  std::string error;
  ASSERT_TRUE(FillSectionRigidity(d, used, error)) << error;
  EXPECT_EQ(d.ActiveWidth, 2.5);
  const double ei = 210e9 * *used.section.secondMoment / 1000;  // kN·m² per pile
  for (int row = 0; row < d.Tables().PileSect.RowCount(); ++row)
    EXPECT_NEAR(static_cast<double>(d.Tables().PileSect.Cell(3, row).AsFloat()), ei, 1e-9 * ei);
  EXPECT_TRUE(d.Modified);
  // A switch of units converts the spacing as Wa.
  WallSection section{"PIPE610x12.7", "S355", 2.54, {}};
  EXPECT_NEAR(*SectionInUnits(section, 2, 1).spacing, 100, 1e-12);
  EXPECT_EQ(SectionInUnits(section, 2, 3), section);

  // Without a spacing there is no unit to put a pile's EI on; generic
  // units have no unit at all. The project stays as it was.
  d.Modified = false;
  SectionInUse noSpacing = used;
  noSpacing.spacing.reset();
  d.Tables().PileSect.Cell(3, 0).SetFloat(1);
  EXPECT_FALSE(FillSectionRigidity(d, noSpacing, error));
  EXPECT_EQ(error, "give the spacing of the piles");
  d.Units = 3;
  EXPECT_FALSE(FillSectionRigidity(d, used, error));
  EXPECT_NE(error.find("generic units"), std::string::npos) << error;
  EXPECT_EQ(d.Tables().PileSect.Cell(3, 0).AsFloat(), 1);
  EXPECT_FALSE(d.Modified);
}

TEST(UtilisationGraph, OneCurvePerCheckedResultSetInTheMomentGraphsDepths) {
  SectionChecks checks;
  checks.used.section.name = "AZ18";
  checks.used.grade.name = "S355GP";
  checks.data.problems = {{1, 12, 0, 0, false}, {1, 12, 0, 0, false}};
  checks.data.notes = {"the wall's EI in problem 1 of the data file is not the section's"};
  design::WallCheck shortTerm;
  shortTerm.stations = {{0, 0, 0, 0, 0, design::GoverningCheck::None},
                        {120, 0.8, 0.1, 1.1, 1.1, design::GoverningCheck::Combined},
                        {240, 0.2, 0.05, 0.3, 0.3, design::GoverningCheck::Combined}};
  shortTerm.utilisation = 1.1;
  shortTerm.utilisationDepth = 120;
  shortTerm.governing = design::GoverningCheck::Combined;
  design::WallCheck longTerm;
  longTerm.error = "the results are not those of the wall (see the report): they are not checked";
  checks.problems = {shortTerm, longTerm};

  TGraphPlot graph;
  const std::vector<std::string> notes = FillUtilisationGraph(graph, checks, true);
  ASSERT_EQ(graph.Lines.size(), 1u);
  EXPECT_EQ(graph.Lines[0].Points[1], (TFloatPoint{1.1, 10}));  // depth in ft
  EXPECT_EQ(graph.Label(0), "Short-Term: 1.1 at 10 ft, combined");
  EXPECT_EQ(graph.YCaption, "Depth (ft)");
  EXPECT_EQ(graph.XCaption, "Utilisation of AZ18 in S355GP");
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[1], "Long-Term is not checked: " + longTerm.error);
}

}  // namespace
}  // namespace terraq::ui
