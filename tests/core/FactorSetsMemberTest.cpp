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

// A seismic situation keeps the site's shaking; a static set's entry has no
// key of it; a malformed shaking refuses the member with its reason.
TEST(FactorSetsMember, SeismicSetsKeepTheirShaking) {
  design::FactorSet site = *design::StandardFactorSet("seismic");
  site.seismic = engine::api::SeismicOptions{engine::api::SeismicMethod::Eurocode8, 0.24, -0.12};
  const design::FactorSet still = *design::StandardFactorSet("DA1-1");
  ProjectFile project;
  SetFactorSets(project, {site, still});
  const std::string text = FormatJson(project.root);
  ASSERT_NE(text.find("seismic\""), std::string::npos);
  EXPECT_EQ(text.find("seismic\""), text.rfind("seismic\""));  // the SEISMIC set's alone
  std::string error;
  const std::optional<std::vector<design::FactorSet>> sets =
      ReadFactorSets({*ParseJson(text, error)}, error);
  ASSERT_TRUE(sets) << error;
  EXPECT_EQ(*sets, (std::vector<design::FactorSet>{site, still}));

  const struct {
    const char* set;
    const char* says;
  } bad[] = {
      {R"({"name": "Q", "seismic": 0.2})", "Q: \"seismic\" must be an object"},
      {R"({"name": "Q", "seismic": {"kh": 0.2}})", "needs a method"},
      {R"({"name": "Q", "seismic": {"method": "rankine", "kh": 0.2}})", "needs a method"},
      {R"({"name": "Q", "seismic": {"method": "wood", "kh": "0.2"}})", "kh must be a number"},
      {R"({"name": "Q", "seismic": {"method": "wood", "kh": 1.2}})", "kh must lie from 0"},
      {R"({"name": "Q", "seismic": {"method": "wood", "kh": 0.1, "kz": 0}})", "kz"}};
  for (const auto& c : bad) {
    ProjectFile p;
    p.set("designSituations", *ParseJson(std::string(R"({"sets": [)") + c.set + "]}", error));
    EXPECT_FALSE(ReadFactorSets(p, error)) << c.set;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace terraq::ui
