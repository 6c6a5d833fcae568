// terraq run on a project with a construction sequence, as users run it:
// the shipped example's four stages each from the one before, the anchor
// carrying its lock-off force in the stage it is installed in and more once
// the last excavation loads it, its embedment designed and its section checked
// stage by stage, studies and design situations of its stages, and a sequence
// that cannot be built refused with the earlier
// outputs kept.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

// The anchor's force along it, from the JSON of the run's stage `stage`.
double AnchorForce(const std::string& json, int stage) {
  size_t at = 0;
  for (int k = 0; k < stage; ++k) at = json.find("\"sequentialSupports\": [", at + 1);
  const size_t force = json.find("\"forceAlong\": ", at);
  return force == std::string::npos ? NAN : std::stod(json.substr(force + 14));
}

}  // namespace

TEST(SequenceCommand, StagesRunFromOneAnotherAndBadSequencesAreRefused) {
  ScratchFolder work;
  const fs::path data = work.path() / "wall.tq4d";
  const fs::path project = work.path() / "wall.terraq.json";
  const fs::path examples = fs::path(TERRAQ_SOURCE_DIR) / "examples";
  fs::copy_file(examples / "sequential-excavation-anchor.tq4d", data);
  fs::copy_file(examples / "sequential-excavation-anchor.terraq.json", project);

  const Outcome run = runTerraq("run --json " + quoted(data.string()), work.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(contains(run.out,
                       "\"stages\": [\"Excavate to 2.0 m\", \"Install and lock off "
                       "anchor A1\", \"Excavate to 5.0 m\""))
      << run.out;
  // No anchor in stage 1; in stage 2 the jack's 150 kN whatever the wall
  // does; locked off, it follows the wall from then on, and the last,
  // deepest excavation stretches it beyond its lock-off.
  EXPECT_TRUE(contains(run.out, "\"sequentialSupports\": []")) << run.out;
  EXPECT_NEAR(AnchorForce(run.out, 2), 150, 1e-9);
  EXPECT_TRUE(contains(run.out, "\"state\": \"prestress\"")) << run.out;
  EXPECT_TRUE(contains(run.out, "\"state\": \"acting\"")) << run.out;
  EXPECT_GT(AnchorForce(run.out, 4), 150);
  EXPECT_TRUE(contains(run.out, "\"largestForceAlong\": ")) << run.out;
  const std::string report = ReadFile(work.path() / "wall.tq4o");
  EXPECT_TRUE(contains(report, "Stage No : 4")) << report.substr(0, 2000);

  // The embedment design is of the four stages, the deepest governing, and
  // the spring model of the whole sequence.
  const Outcome design = runTerraq("design --json " + quoted(data.string()), work.path());
  EXPECT_EQ(design.status, 0) << design.err << design.out;
  EXPECT_TRUE(contains(design.out, "\"governingStage\": ")) << design.out;
  EXPECT_TRUE(contains(design.out, "\"supportsInPlace\": [\"A1\"]")) << design.out;
  EXPECT_TRUE(contains(design.out, "\"name\": \"Lower the water in front, excavate to 6.0 m\""))
      << design.out;
  EXPECT_FALSE(contains(design.out, "\"strengthReductionFactor\": null")) << design.out;
  // The section is checked on every stage, and over them.
  const Outcome section = runTerraq("run --section AZ18 " + quoted(data.string()), work.path());
  EXPECT_EQ(section.status, 0) << section.err;
  EXPECT_TRUE(contains(section.out, "as a construction sequence of 4 stages")) << section.out;
  EXPECT_TRUE(contains(section.out, "over the stages: utilisation ")) << section.out;

  // A study analyses every point through the four stages: the point of the
  // data file as it is (surcharge 10 kPa) is the run's worst stage, and the
  // anchor's output its largest force along it.
  const Outcome study =
      runTerraq("study --json --vary surcharge=10,20 " + quoted(data.string()), work.path());
  ASSERT_EQ(study.status, 0) << study.err;
  auto after = [](const std::string& text, const std::string& key, size_t from = 0) {
    const size_t at = text.find(key, from);
    return at == std::string::npos ? std::string::npos : at + key.size();
  };
  double worstMoment = 0;
  for (size_t at = 0;
       (at = after(run.out, "\"maxMoment\": {\"value\": ", at)) != std::string::npos;)
    if (const double m = std::stod(run.out.substr(at)); std::fabs(m) > std::fabs(worstMoment))
      worstMoment = m;
  const size_t moment = after(study.out, "\"moment\": {\"value\": ");
  ASSERT_NE(moment, std::string::npos) << study.out;
  EXPECT_NEAR(std::stod(study.out.substr(moment)), worstMoment, 1e-3 * std::fabs(worstMoment));
  const size_t anchor = after(study.out, "{\"name\": \"A1\", \"depth\": 1.5, \"force\": ");
  const size_t largest = after(run.out, "\"largestForceAlong\": ");
  ASSERT_NE(anchor, std::string::npos) << study.out;
  ASSERT_NE(largest, std::string::npos) << run.out;
  EXPECT_EQ(std::stod(study.out.substr(anchor)), std::stod(run.out.substr(largest)));
  EXPECT_TRUE(
      contains(runTerraq("study --vary surcharge=10,20 " + quoted(data.string()), work.path()).out,
               "supportForce.A1"));

  // The design situations factor the stages: DA1-1's anchor holds its
  // 150 kN lock-off force times γG = 1.35 in the stage it is installed in,
  // and the envelope names the set and stage of its largest design force.
  const Outcome situations =
      runTerraq("run --json --design-approach DA1-1,SLS " + quoted(data.string()), work.path());
  ASSERT_EQ(situations.status, 0) << situations.err;
  EXPECT_TRUE(contains(situations.out, "\"stages\": [\"Excavate to 2.0 m\"")) << situations.out;
  EXPECT_TRUE(contains(situations.out,
                       "\"supportForces\": [{\"name\": \"A1\", \"depth\": 1.5, "
                       "\"force\": 202.5}]"))
      << situations.out;
  EXPECT_TRUE(contains(situations.out, "\"set\": \"DA1-1\", \"stage\": 4}]\n}")) << situations.out;
  // The calculation package is of the four stages, its design of the
  // sequence, with the design situations the project chooses analysed
  // through them.
  std::string chosen = ReadFile(project);
  chosen.replace(chosen.find("\"version\": 1,"), 13,
                 "\"version\": 1, \"designSituations\": {\"chosen\": [\"DA1-1\"]},");
  std::ofstream(project, std::ios::binary) << chosen;
  const Outcome package =
      runTerraq("report " + quoted(data.string()) + " --out calc.html", work.path());
  ASSERT_EQ(package.status, 0) << package.err;
  const std::string calc = ReadFile(work.path() / "calc.html");
  EXPECT_TRUE(contains(calc, "Stage 4"));
  EXPECT_TRUE(contains(calc, "Governing stage: ")) << calc;
  EXPECT_TRUE(contains(calc, "Design support forces of the construction sequence"));

  // An anchor installed below the excavation of its stage: refused, and the
  // outputs of the run before stay as they were.
  std::string text = ReadFile(project);
  text.replace(text.find("\"depth\": 1.5"), 12, "\"depth\": 2.5");
  std::ofstream(project, std::ios::binary) << text;
  const Outcome refused = runTerraq("run " + quoted(data.string()), work.path());
  EXPECT_EQ(refused.status, 2);
  EXPECT_TRUE(contains(refused.err, "installs A1 at 2.5, below the excavation level 2"))
      << refused.err;
  EXPECT_EQ(ReadFile(work.path() / "wall.tq4o"), report);
}
