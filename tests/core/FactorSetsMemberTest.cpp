// The project's own sets of partial factors: written and read back whole,
// a shipped set replaced by the project's of the same name, malformed
// members refused with what is wrong.
#include <gtest/gtest.h>

#include "project/FactorSetsMember.h"
#include "project/JsonText.h"

namespace terraq::ui {
namespace {

TEST(FactorSetsMember, RoundTripsReplacesShippedSetsAndRefusesMalformedOnes) {
  design::FactorSet annex = *design::StandardFactorSet("DA1-2");
  annex.gammaCu = 1.5;  // a national annex's value
  const design::FactorSet own{.name = "Temporary", .gammaQ = 1.1, .serviceability = true};
  ProjectFile project;
  project.set("section", JsonValue::Object());
  SetFactorSets(project, {annex, own});
  std::string error;
  const std::optional<JsonValue> back = ParseJson(FormatJson(project.root), error);
  ASSERT_TRUE(back) << error;
  const std::optional<std::vector<design::FactorSet>> sets = ReadFactorSets({*back}, error);
  ASSERT_TRUE(sets) << error;
  EXPECT_EQ(*sets, (std::vector<design::FactorSet>{annex, own}));
  EXPECT_EQ(FindFactorSet(*sets, "da1-2")->gammaCu, 1.5);
  EXPECT_EQ(FindFactorSet(*sets, "DA2")->gammaRe, 1.4);
  EXPECT_FALSE(FindFactorSet(*sets, "DA9"));

  // What the project is designed with, written and read back.
  DesignSituationsChoice choice{{annex}, {"DA1-1", "da1-2", "SLS"}, {}};
  choice.options.minimumSurcharge = 10;
  SetDesignSituations(project, choice);
  const std::optional<DesignSituationsChoice> chosen =
      ReadDesignSituations({*ParseJson(FormatJson(project.root), error)}, error);
  ASSERT_TRUE(chosen) << error;
  EXPECT_EQ(*chosen, choice);
  ASSERT_EQ(ChosenSets(*chosen).size(), 3u);
  EXPECT_EQ(ChosenSets(*chosen)[1].gammaCu, 1.5);  // the project's DA1-2

  // No sets of its own: the sets go, what was chosen (and a key of a later
  // version) stays; a member of sets alone goes.
  SetFactorSets(project, {});
  ASSERT_TRUE(project.find("designSituations"));
  EXPECT_EQ(
      FormatJson(*project.find("designSituations")),
      FormatJson(*ParseJson(R"({"chosen": ["DA1-1", "da1-2", "SLS"], "unplannedExcavation": true,)"
                            R"( "minimumSurcharge": 10})",
                            error)));
  ProjectFile setsAlone;
  SetFactorSets(setsAlone, {own});
  SetFactorSets(setsAlone, {});
  EXPECT_FALSE(setsAlone.find("designSituations"));

  const struct {
    const char* member;
    const char* says;
  } bad[] = {
      {R"({"sets": 3})", "not an object with a list of sets"},
      {R"({"sets": [{"gammaG": 1}]})", "has no name"},
      {R"({"sets": [{"name": "A", "gammaPhi": 0}]})", "A: gammaPhi must be a number above 0"},
      {R"({"sets": [{"name": "A", "gammaQ": "1.5"}]})", "A: gammaQ must be a number"},
      {R"({"sets": [{"name": "A"}, {"name": "a"}]})", "two sets of partial factors named a"}};
  for (const auto& c : bad) {
    ProjectFile p;
    p.set("designSituations", *ParseJson(c.member, error));
    EXPECT_FALSE(ReadFactorSets(p, error)) << c.member;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace terraq::ui
