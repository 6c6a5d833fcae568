// terraq run with a wall section, as users run it: named on the command line
// (analysed in memory, nothing written, the utilisation in the summary), or
// remembered by the project beside the data file (the run's outputs written
// as always, the check added), and the mistakes a user makes.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

fs::path Example(const ScratchFolder& work, const std::string& name) {
  const fs::path to = work.path() / name;
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / name, to);
  return to;
}

double NumberAfter(const std::string& json, const std::string& prefix) {
  const size_t at = json.find(prefix);
  return at == std::string::npos ? std::nan("") : std::stod(json.substr(at + prefix.size()));
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = 0; (at = text.find(part, at)) != std::string::npos; at += part.size()) ++n;
  return n;
}

}  // namespace

TEST(RunSection, ChecksEveryStageWithALibrarySectionAndWritesNothing) {
  ScratchFolder work;
  const fs::path data = Example(work, "staged-excavation-tieback.tq4d");
  const Outcome run = runTerraq("run --json --section AZ18 " + quoted(data.string()), work.path());
  ASSERT_EQ(run.status, 0) << run.err;
  // Nothing beside the data file: the project's outputs are the data file's.
  EXPECT_EQ(std::distance(fs::directory_iterator(work.path()), fs::directory_iterator()), 1);
  EXPECT_TRUE(contains(run.out, "\"reportFile\": null")) << run.out.substr(0, 300);
  EXPECT_TRUE(contains(run.out,
                       "\"section\": {\"name\": \"AZ18\", \"family\": \"sheet-pile-z\", "
                       "\"grade\": \"S355GP\", \"method\": \"eurocode\", \"applied\": true"))
      << run.out;
  EXPECT_EQ(Count(run.out, "\"utilisation\": "), 5u);
  EXPECT_EQ(Count(run.out, "\"governingCheck\": \"bending\""), 5u) << run.out;
  // AZ18's EI per metre of wall: 210 GPa × 34200 cm⁴/m = 71820 kN·m²/m.
  EXPECT_NEAR(NumberAfter(run.out, "\"flexuralRigidity\": "), 71820, 1e-6);
  // The last stage's largest moment against Wpl fy of a class-2 pile, or Wel
  // fy of class 3: the utilisation lies between the two.
  const std::string last = run.out.substr(run.out.rfind("\"number\": 5"));
  const double moment = std::fabs(NumberAfter(last, "\"maxMoment\": {\"value\": "));
  const double u = NumberAfter(last, "\"utilisation\": ");
  EXPECT_GE(u, moment / (2104e-6 * 355e3) * (1 - 1e-3));
  EXPECT_LE(u, moment / (1800e-6 * 355e3) * (1 + 1e-3));

  const Outcome text = runTerraq("run --section AZ18 " + quoted(data.string()), work.path());
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(contains(text.out, "with the section AZ18 in S355GP")) << text.out;
  EXPECT_TRUE(contains(text.out, "   utilisation    0.")) << text.out;
  EXPECT_TRUE(contains(text.out, "Nothing written")) << text.out;
}

TEST(RunSection, BendingStressOfAStaticallyDeterminateCantileverIsMOverS) {
  // 1000 lb at the top of a 40 ft member fixed at its foot: M = P·L =
  // 480,000 lb·in at the foot whatever the EI. As 12 in of an AZ18 wall
  // (Wel = 1800 cm³/m) checked by allowable stresses, fb = M/(b·Wel) against
  // 0.65·355 MPa: 480,000 × 0.1129848 N·m / 0.3048 m / 1.8e-3 m³ = 98.85
  // MPa, a utilisation of 0.4284.
  ScratchFolder work;
  const fs::path data = Example(work, "cantilever-point-load.tq4d");
  const Outcome run = runTerraq(
      "run --json --section AZ18 --spacing 12 --method allowable " + quoted(data.string()),
      work.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const double fb = 480000 * 4.4482216152605 * 0.0254 / 0.3048 / 1800e-6;
  EXPECT_NEAR(NumberAfter(run.out, "\"utilisation\": "), fb / (0.65 * 355e6), 1e-9);
  EXPECT_EQ(NumberAfter(run.out, "\"utilisationDepth\": "), 480);
  EXPECT_TRUE(contains(run.out, "\"governingCheck\": \"bending\"")) << run.out;
}

TEST(RunSection, FlagsAnOverstressedSectionAndRefusesWhatCannotBeChecked) {
  ScratchFolder work;
  const fs::path piles = Example(work, "cantilever-sand-generated.tq4d");
  // A 168 mm pipe at the piles' 6 ft spacing (72 in): its elastic moment,
  // about 49 kN·m, is half the analysis' 95 kN·m (70 kip-ft) per pile.
  const Outcome weak = runTerraq(
      "run --json --section PIPE168.3x7.1 --spacing 72 " + quoted(piles.string()), work.path());
  EXPECT_EQ(weak.status, 0) << weak.err;
  EXPECT_TRUE(contains(weak.out, "\"utilisationExceeded\": true")) << weak.out;
  EXPECT_TRUE(contains(weak.err, "the section PIPE168.3x7.1 is overstressed")) << weak.err;

  const struct {
    std::string args;
    const char* says;
  } wrong[] = {{"--section AZ19", "no section AZ19; nearest: AZ18"},
               {"--section AZ18 --grade S355", "grade S355 is a grade of structural steel"},
               {"--section AZ18 --spacing 2", "not a spacing"},
               {"--grade S355", "need --section"},
               {"--section AZ18 --method lrfd", "eurocode or allowable"},
               {"--section PIPE610x12.7 --spacing -1", "--spacing -1 is refused for run"}};
  for (const auto& c : wrong) {
    const Outcome o = runTerraq("run " + c.args + " " + quoted(piles.string()), work.path());
    EXPECT_EQ(o.status, 2) << c.args;
    EXPECT_TRUE(contains(o.err, c.says)) << c.args << ": " << o.err;
  }
  // User p-y curves and specified pressure: no wall unit width.
  const fs::path curves = Example(work, "cantilever-sheet-pile-py-curves.tq4d");
  const Outcome noWidth = runTerraq("run --section AZ18 " + quoted(curves.string()), work.path());
  EXPECT_EQ(noWidth.status, 2);
  EXPECT_TRUE(contains(noWidth.err, "gives no wall unit width")) << noWidth.err;
}

TEST(RunSection, ChecksTheSectionTheProjectRemembers) {
  ScratchFolder work;
  const fs::path data = Example(work, "staged-excavation-tieback.tq4d");
  const Outcome plain = runTerraq("run --json " + quoted(data.string()), work.path());
  ASSERT_EQ(plain.status, 0) << plain.err;

  std::ofstream(work.path() / "staged-excavation-tieback.terraq.json")
      << R"({"format": "terraq-project", "version": 1, "section": {"name": "AZ18"}})";
  const Outcome checked = runTerraq("run --json " + quoted(data.string()), work.path());
  ASSERT_EQ(checked.status, 0) << checked.err;
  EXPECT_TRUE(contains(checked.out, "\"applied\": false")) << checked.out;
  EXPECT_TRUE(contains(checked.out, "the analysis used the data file's EI")) << checked.out;
  EXPECT_TRUE(fs::exists(work.path() / "staged-excavation-tieback.tq4o"));
  // The summary without the section's members is the plain run's.
  std::string stripped = checked.out;
  for (size_t at; (at = stripped.find(",\n     \"utilisation\"")) != std::string::npos;)
    stripped.erase(at, stripped.find('}', stripped.find("\"checkError\"", at)) - at);
  const size_t section = stripped.find("  \"section\"");
  stripped.erase(section, stripped.find("  \"problems\"") - section);
  EXPECT_EQ(stripped, plain.out);

  std::ofstream(work.path() / "staged-excavation-tieback.terraq.json")
      << R"({"format": "terraq-project", "version": 1, "section": {"name": "AZ99"}})";
  const Outcome unknown = runTerraq("run --json " + quoted(data.string()), work.path());
  EXPECT_EQ(unknown.status, 0) << unknown.err;
  EXPECT_TRUE(contains(unknown.err, "the wall's section AZ99")) << unknown.err;
  EXPECT_TRUE(contains(unknown.err, "is not checked: the section library has no section AZ99"))
      << unknown.err;
  EXPECT_EQ(unknown.out, plain.out);
}
