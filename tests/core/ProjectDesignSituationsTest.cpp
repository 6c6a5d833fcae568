// The sets the Design Situations window offers and what its edits do to
// the project's own sets and the chosen ones; the minimum surcharge when
// the project changes its units.
#include <gtest/gtest.h>

#include "project/ProjectDesignSituations.h"

namespace terraq::ui {
namespace {

std::vector<std::string> Names(const std::vector<design::FactorSet>& sets) {
  std::vector<std::string> names;
  for (const design::FactorSet& s : sets) names.push_back(s.name);
  return names;
}

TEST(ProjectDesignSituations, OwnSetsStandInForShippedOnesAndLeaveTheChoiceConsistent) {
  design::FactorSet annex = *design::StandardFactorSet("DA1-2");
  annex.name = "da1-2";  // the project's spelling of a shipped name
  annex.gammaCu = 1.5;
  DesignSituationsChoice choice{{annex, {.name = "Own set 1"}}, {"DA1-2", "Own set 1", "SLS"}, {}};

  // Shipped order, the project's values in place, its own sets after.
  const std::vector<design::FactorSet> offered = OfferedFactorSets(choice.sets);
  EXPECT_EQ(Names(offered), (std::vector<std::string>{"DA1-1", "da1-2", "DA2", "DA3", "SLS", "LRFD",
                                                      "SEISMIC", "LRFD-EE1", "Own set 1"}));
  EXPECT_EQ(offered[1].gammaCu, 1.5);
  EXPECT_EQ(NewSetName(choice.sets), "Own set 2");

  // An edit of a set the project has replaces it rather than adding one.
  design::FactorSet edited = annex;
  edited.name = "DA1-2";
  edited.gammaPhi = 1.4;
  KeepProjectSet(choice.sets, edited);
  ASSERT_EQ(choice.sets.size(), 2u);
  EXPECT_EQ(choice.sets[0].gammaPhi, 1.4);

  // Removing the project's DA1-2 gives back the shipped one, still chosen;
  // removing an own set drops it from the choice.
  RemoveProjectSet(choice, "DA1-2");
  RemoveProjectSet(choice, "own set 1");
  EXPECT_TRUE(choice.sets.empty());
  EXPECT_EQ(choice.chosen, (std::vector<std::string>{"DA1-2", "SLS"}));
  EXPECT_EQ(ChosenSets(choice)[0], *design::StandardFactorSet("DA1-2"));
}

TEST(ProjectDesignSituations, MinimumSurchargeFollowsTheUnitsSystem) {
  DesignSituationsChoice choice;
  choice.options.minimumSurcharge = 10;  // kPa
  const DesignSituationsChoice english = SituationsInUnits(choice, 2, 1);
  EXPECT_NEAR(*english.options.minimumSurcharge, 10 / 6.894757, 1e-6);  // lb/in²
  EXPECT_NEAR(*SituationsInUnits(english, 1, 2).options.minimumSurcharge, 10, 1e-9);
  // Generic units convert nothing; no surcharge stays none.
  EXPECT_EQ(*SituationsInUnits(choice, 2, 3).options.minimumSurcharge, 10);
  EXPECT_FALSE(SituationsInUnits(DesignSituationsChoice{}, 2, 1).options.minimumSurcharge);
}

}  // namespace
}  // namespace terraq::ui
