// Setting the wall's length: every node reference keeps its depth or goes
// with the tip, a depth that no node of the new wall holds is refused with
// nothing changed, and the change is taken back exactly (but never over a
// later edit).

#include <gtest/gtest.h>

#include "ProjectFixtures.h"
#include "project/TProject.h"
#include "project/WallLength.h"

namespace terraq::test {
namespace {

using ui::TProject;

// The nodes the anchored wall of FillEveryOption names: 40 increments of
// 12 in, stiffness rows to the toe, no rotation at the toe, an anchor at
// node 4 (48 in), p-y curves at nodes 22 and 26, a moment-EI row to the toe.
std::vector<int> Nodes(TProject& project) {
  auto& t = project.Data().Tables();
  return {t.PileSect.Cell(1, 0).AsInteger(),  t.PileSect.Cell(0, 1).AsInteger(),
          t.PileSect.Cell(1, 1).AsInteger(),  t.Restraints.Cell(1, 0).AsInteger(),
          t.Springs.Cell(1, 0).AsInteger(),   t.Springs.Cell(2, 0).AsInteger(),
          t.PYCurves.Cell(0, 0).AsInteger(),  t.PYCurves.Cell(0, 1).AsInteger(),
          t.MEICurves.Cell(1, 0).AsInteger(), t.ConcentratedLoads.Cell(2, 1).AsInteger()};
}

TEST(WallLength, NodesKeepTheirDepthsOrGoWithTheTipAndComeBack) {
  TProject project;
  FillEveryOption(project.Data());
  const std::vector<int> before = Nodes(project);
  std::string refused;

  // Longer on the same increments: the toe's rows go to the new tip, the
  // anchor and the curves stay where they are.
  const auto longer = ui::ChangeWallLength(project.Data(), 50, 12, refused);
  ASSERT_TRUE(longer) << refused;
  EXPECT_EQ(Nodes(project), (std::vector<int>{20, 20, 50, 50, 4, 4, 22, 26, 50, 3}));
  ASSERT_TRUE(ui::UndoWallLength(project.Data(), *longer, refused)) << refused;
  EXPECT_EQ(Nodes(project), before);
  EXPECT_EQ(project.Data().IncrementCount, 40);
  // Half the increment length: every node twice its number, the tip 100.
  const auto finer = ui::ChangeWallLength(project.Data(), 100, 6, refused);
  ASSERT_TRUE(finer) << refused;
  EXPECT_EQ(Nodes(project), (std::vector<int>{40, 40, 100, 100, 8, 8, 44, 52, 100, 6}));

  // An edit after Apply is never undone.
  project.Data().Tables().Springs.Cell(1, 0).SetInteger(10);
  EXPECT_FALSE(ui::UndoWallLength(project.Data(), *finer, refused));
  EXPECT_NE(refused.find("edited since"), std::string::npos) << refused;
  EXPECT_EQ(project.Data().IncrementCount, 100);
}

TEST(WallLength, ADepthNoNodeHoldsIsRefusedWithNothingChanged) {
  TProject project;
  FillEveryOption(project.Data());
  const std::vector<int> before = Nodes(project);
  std::string refused;
  // The same 40 increments made 13.2 in long: the change of stiffness at
  // 240 in (and the anchor at 48 in) would fall between nodes.
  EXPECT_FALSE(ui::ChangeWallLength(project.Data(), 40, 13.2, refused));
  EXPECT_NE(refused.find("wall stiffness table, row 1, names node 20 at 240 in"), std::string::npos)
      << refused;
  EXPECT_NE(refused.find("(increments of 13.2 in)"), std::string::npos) << refused;
  EXPECT_NE(refused.find("Keep the increment length"), std::string::npos) << refused;
  // Shorter than the p-y curve at node 26.
  EXPECT_FALSE(ui::ChangeWallLength(project.Data(), 25, 12, refused));
  EXPECT_NE(refused.find("below the new tip at 300 in."), std::string::npos) << refused;
  EXPECT_EQ(Nodes(project), before);
  EXPECT_EQ(project.Data().IncrementCount, 40);
  EXPECT_EQ(project.Data().IncrementLength, 12);
}

}  // namespace
}  // namespace terraq::test
