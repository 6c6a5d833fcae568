// The parameters of a study: the names a data file has, the text rewritten
// with new values read back by the analysis as the same wall (every sample,
// at the values it already holds), a value set where an engineer would set
// it by hand, stages set alone or together, and unknown names refused.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "Parameters.h"
#include "api/Analysis.h"

namespace terraq::test {
namespace {

using design::ParameterText;
using engine::api::Analyse;
using engine::api::AnalysisResult;

std::string Example(const char* name) {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

ParameterText Parsed(const std::string& text) {
  std::string error;
  std::optional<ParameterText> p = ParameterText::Parse(text, error);
  EXPECT_TRUE(p) << error;
  return p ? *p : *ParameterText::Parse(Example("cantilever-point-load.tq4d"), error);
}

void ExpectSameResults(const AnalysisResult& a, const AnalysisResult& b) {
  ASSERT_FALSE(a.error || b.error);
  ASSERT_EQ(a.problems.size(), b.problems.size());
  for (size_t p = 0; p < a.problems.size(); ++p) {
    const auto& x = a.problems[p].stations;
    const auto& y = b.problems[p].stations;
    ASSERT_EQ(x.size(), y.size());
    for (size_t s = 0; s < x.size(); ++s) {
      EXPECT_NEAR(x[s].deflection, y[s].deflection, 1e-9 * (1 + std::fabs(x[s].deflection)));
      EXPECT_NEAR(x[s].moment, y[s].moment, 1e-9 * (1 + std::fabs(x[s].moment)));
    }
  }
}

TEST(Parameters, ListsTheNamesAndValuesOfTheSample) {
  const ParameterText p = Parsed(Example("cantilever-sand-generated.tq4d"));
  std::string listed;
  for (const auto& q : p.parameters()) listed += q.name + "=" + std::to_string(q.value) + " ";
  EXPECT_EQ(listed,
            "tip=360.000000 ei=11397000000.000000 excavation=120.000000 surcharge=0.000000 "
            "water.back=480.000000 water.front=480.000000 slope.back=0.000000 "
            "layer.1.gamma=0.066550 "
            "layer.1.phi=32.000000 layer.1.k=90.000000 ");
  EXPECT_EQ(p.find("layer.1.gamma")->lower, 0.0);

  const auto unknown = p.apply({{"layer.1.su", 5}});
  ASSERT_TRUE(unknown.error);
  EXPECT_NE(unknown.error->find("\"layer.1.su\""), std::string::npos);
  EXPECT_NE(unknown.error->find("layer.1.phi"), std::string::npos) << "lists the valid names";
  EXPECT_TRUE(Parsed(Example("anchored-wall-tieback.tq4d")).find("spring.1"));
  // No soil records, no wall record with a backfill slope.
  EXPECT_FALSE(Parsed(Example("cantilever-point-load.tq4d")).find("slope.back"));
}

// Every value set to what it is: the analysis gives the data file's results.
TEST(Parameters, RewritingTheCurrentValuesKeepsEveryExample) {
  for (const char* name :
       {"anchored-trapezoid.tq4d", "anchored-wall-tieback.tq4d", "cantilever-point-load.tq4d",
        "cantilever-sand-generated.tq4d", "cantilever-sheet-pile-py-curves.tq4d",
        "cantilever-soft-clay-generated.tq4d", "cantilever-triangular-strip-load.tq4d",
        "layered-clay-stiff-below-water.tq4d", "wall-socketed-weak-rock.tq4d"}) {
    SCOPED_TRACE(name);
    const std::string text = Example(name);
    const ParameterText p = Parsed(text);
    std::vector<std::pair<std::string, double>> same;
    for (const auto& q : p.parameters()) same.push_back({q.name, q.value});
    const auto applied = p.apply(same);
    ASSERT_FALSE(applied.error) << *applied.error;
    ExpectSameResults(Analyse(applied.text), Analyse(text));
  }
}

// A new value is the data file edited by hand: both parameter lines of the
// layer, the EI of the wall, the free height in both records.
TEST(Parameters, ANewValueIsTheFileEditedByHand) {
  std::string text = Example("cantilever-sand-generated.tq4d");
  const auto applied = Parsed(text).apply(
      {{"layer.1.phi", 30}, {"ei", 2e10}, {"excavation", 108}, {"slope.back", 12.5}});
  ASSERT_FALSE(applied.error);
  auto replace = [&](const std::string& from, const std::string& to) {
    for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
  };
  replace("0.0  32 0.0", "0.0  30 0.0");
  replace("1.1397E10", "2E10");
  replace("0.0001\t120", "0.0001\t108");
  replace("120\t72\t12\t480\t480\t1\t1\t0", "108\t72\t12\t480\t480\t1\t1\t12.5");
  ExpectSameResults(Analyse(applied.text), Analyse(text));
  EXPECT_FALSE(Analyse(applied.text).error);
  EXPECT_EQ(Parsed(applied.text).find("slope.back")->value, 12.5);
}

TEST(Parameters, StagesAreSetAloneOrTogether) {
  // Two stages of the sample: excavated to 5 ft, then to 10 ft.
  std::string stage = Example("cantilever-sand-generated.tq4d");
  stage.replace(stage.find("1 0\t1\t0\t1\t2 0 1 0"), 17, "1 0\t1\t0\t1\t2 0 2 0");
  std::string first = stage, second = stage;
  first.replace(first.rfind("\n0"), 2, "\n1");
  second.replace(second.rfind("\n0"), 2, "\n2");
  second.replace(0, second.find('\n'), " Stage No : 2");
  for (const char* from : {"0.0001\t120", "120\t72\t12"}) {
    const size_t at = first.find(from);
    first.replace(at, std::string(from).size(),
                  std::string(from) == "0.0001\t120" ? "0.0001\t60" : "60\t72\t12");
  }
  const ParameterText p = Parsed(first + second);
  ASSERT_TRUE(p.find("stage.2.excavation"));
  EXPECT_EQ(p.find("stage.1.excavation")->value, 60);
  EXPECT_EQ(p.find("stage.2.excavation")->value, 120);

  const AnalysisResult alone = Analyse(p.apply({{"stage.2.layer.1.phi", 36}}).text);
  const AnalysisResult both = Analyse(p.apply({{"layer.1.phi", 36}}).text);
  const AnalysisResult none = Analyse(first + second);
  ASSERT_FALSE(alone.error || both.error || none.error);
  ASSERT_EQ(alone.problems.size(), 2u);
  EXPECT_EQ(alone.problems[0].stations[0].deflection, none.problems[0].stations[0].deflection);
  EXPECT_NE(both.problems[0].stations[0].deflection, none.problems[0].stations[0].deflection);
  EXPECT_EQ(alone.problems[1].stations[0].deflection, both.problems[1].stations[0].deflection);
}

}  // namespace
}  // namespace terraq::test
