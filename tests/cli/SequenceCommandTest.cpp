// terraq run on a project with a construction sequence, as users run it:
// the shipped example's four stages each from the one before, the anchor
// carrying its lock-off force in the stage it is installed in and more once
// the last excavation loads it, its embedment designed and its section checked
// stage by stage, and a sequence that cannot be built refused with the earlier
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

  // What does not analyse a sequence yet says so rather than analyse the
  // wall before construction alone.
  for (const char* command : {"study --list ", "run --design-approach DA1-1 "}) {
    const Outcome other = runTerraq(command + quoted(data.string()), work.path());
    EXPECT_EQ(other.status, 2) << command;
    EXPECT_TRUE(contains(other.err, "of a construction sequence are not analysed yet"))
        << other.err;
  }
  // The calculation package is of the four stages, its design of the
  // sequence.
  const Outcome package =
      runTerraq("report " + quoted(data.string()) + " --out calc.html", work.path());
  ASSERT_EQ(package.status, 0) << package.err;
  const std::string html = ReadFile(work.path() / "calc.html");
  EXPECT_TRUE(contains(html, "Stage 4"));
  EXPECT_TRUE(contains(html, "Governing stage: ")) << html;

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
