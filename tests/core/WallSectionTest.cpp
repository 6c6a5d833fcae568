// The wall's section: what the project file keeps of it, the EI it gives a
// wall unit in both units systems (worked here from E, I and Wa), the data
// text analysed with it, and the check of an analysis against the
// allowable-stress formula M/Wa ≤ 0.65 fy Wel and the Eurocode's
// N/Npl,Rd + M/Mc,Rd evaluated here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "DesignSituations.h"
#include "api/Analysis.h"
#include "project/JsonText.h"
#include "project/UltimateSectionCheck.h"
#include "project/WallSection.h"

namespace terraq::ui {
namespace {

const char* kLibrary =
    "family sheet-pile-z\nsource Z table\n"
    "columns name  b[mm]  h[mm]  tf[mm]  tw[mm]  webAngle[deg]  A[cm2/m]  I[cm4/m]  Wel[cm3/m]  "
    "Wpl[cm3/m]\n"
    "AZ18  630  380  9.5  9.5  55.4  150.4  34200  1800  2104\n"
    "family steel-grade\nsource grades\ncolumns name fy[MPa] E[GPa] use\n"
    "S355GP 355 210 sheet-pile\nS355 355 210 structural\n";

design::SectionLibrary Library() {
  std::string error;
  std::optional<design::SectionLibrary> lib = design::ParseSectionLibrary(kLibrary, "lib", error);
  EXPECT_TRUE(lib) << error;
  return *lib;
}

std::string Example(const char* name) {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

SectionInUse Resolve(WallSection wanted) {
  std::string error;
  std::optional<SectionInUse> used = ResolveWallSection(wanted, Library(), error);
  EXPECT_TRUE(used) << error;
  return *used;
}

TEST(WallSectionMember, KeepsOtherMembersAndRefusesMalformedValues) {
  ProjectFile project;
  project.set("studies", JsonValue::Array());
  const std::optional<JsonValue> old = [] {
    std::string e;
    return ParseJson(R"({"name": "X", "grade": "S275"})", e);
  }();
  project.set("section", *old);
  WallSection s;
  s.name = "PIPE610x12.7";
  s.grade = "S355";
  s.spacing = 2.5;
  s.settings.method = design::CheckMethod::Allowable;
  s.settings.bendingFraction = 0.6;
  s.settings.sectionClass = 2;
  SetWallSection(project, s);
  std::string error;
  std::optional<JsonValue> back = ParseJson(FormatJson(project.root), error);
  ASSERT_TRUE(back) << error;
  ProjectFile reread{*back};
  EXPECT_EQ(ReadWallSection(reread, error), s) << error;
  EXPECT_EQ(reread.root.members.front().first, "studies");

  SetWallSection(reread, std::nullopt);
  EXPECT_FALSE(reread.find("section"));
  EXPECT_FALSE(ReadWallSection(reread, error));
  EXPECT_TRUE(error.empty());

  const struct {
    const char* member;
    const char* says;
  } bad[] = {{R"("AZ18")", "not a JSON object"},
             {R"({"grade": "S355"})", "has no name"},
             {R"({"name": "AZ18", "spacing": 0})", "\"spacing\""},
             {R"({"name": "AZ18", "method": "lrfd"})", "\"method\""},
             {R"({"name": "AZ18", "betaB": -1})", "\"betaB\""},
             {R"({"name": "AZ18", "class": 2.5})", "\"class\""},
             {R"({"name": "AZ18", "spacng": 2})", "\"spacng\" is not a key this version knows"}};
  for (const auto& c : bad) {
    ProjectFile p;
    p.set("section", *ParseJson(c.member, error));
    EXPECT_FALSE(ReadWallSection(p, error)) << c.member;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

TEST(WallSectionResolve, RefusesWhatCannotMakeTheWall) {
  const design::SectionLibrary lib = Library();
  const struct {
    WallSection wanted;
    const char* says;
  } cases[] = {{{"AZ17", "", {}, {}}, "no section AZ17; nearest: AZ18"},
               {{"AZ18", "S999", {}, {}}, "no grade S999; grades: S355GP, S355"},
               {{"AZ18", "S355", {}, {}}, "grade S355 is a grade of structural steel"},
               {{"PIPE610x12.7", "S355GP", {}, {}}, "a grade of sheet piles"},
               {{"PIPE610x12.7", "", -2.0, {}}, "must be a positive number"}};
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ResolveWallSection(c.wanted, lib, error)) << c.wanted.name;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
  std::string error;
  const std::optional<SectionInUse> pipe =
      ResolveWallSection({"pipe610x12.7", "", {}, {}}, lib, error);
  ASSERT_TRUE(pipe) << error;
  EXPECT_EQ(pipe->grade.name, "S355");  // the structural default
}

TEST(WallSectionRigidity, IsEIPerWallUnitInTheDataFilesUnits) {
  // AZ18: I = 34200 cm⁴/m, E = 210 GPa; a 1.5 m wall unit in kN·m².
  const SectionInUse az = Resolve({"AZ18", "", {}, {}});
  EXPECT_NEAR(*SectionRigidity(az, 2, 1.5), 210e6 * 34200e-8 * 1.5, 1e-6);
  // The same unit in inches, lb·in²: per metre × width in metres, N → lb, m² → in².
  const double n = 210e9 * 34200e-8 * (1.5 / 0.0254 * 0.0254);
  EXPECT_NEAR(*SectionRigidity(az, 1, 1.5 / 0.0254) / (n / 4.4482216152605 / (0.0254 * 0.0254)),
              1.0, 1e-12);
  // A pipe pile: E·I per pile whatever the spacing; I = π(D⁴ − d⁴)/64.
  const SectionInUse pipe = Resolve({"PIPE610x12.7", "", {}, {}});
  const double i = std::acos(-1.0) * (std::pow(0.610, 4) - std::pow(0.610 - 0.0254, 4)) / 64;
  EXPECT_NEAR(*SectionRigidity(pipe, 2, 3.0) / (210e6 * i), 1.0, 1e-12);
  EXPECT_FALSE(SectionRigidity(pipe, 3, 3.0));  // generic units
}

TEST(WallSectionData, PutsTheSectionInEveryStageAndSaysWhatItCannot) {
  // Five stages, SI, per metre of wall (Wa = 1 m).
  const std::string staged = Example("staged-excavation-tieback.tq4d");
  const SectionInUse az = Resolve({"AZ18", "", {}, {}});
  std::string error;
  const std::optional<SectionedData> data = ApplyWallSection(staged, az, error);
  ASSERT_TRUE(data) << error;
  ASSERT_EQ(data->problems.size(), 5u);
  const double ei = 210e6 * 34200e-8;
  for (const SectionedProblem& p : data->problems) {
    EXPECT_EQ(p.unitWidth, 1.0);
    EXPECT_NEAR(p.flexuralRigidity, ei, 1e-6);
    EXPECT_EQ(p.dataRigidity, 63000);
  }
  // The analysis of the new text has the section's EI everywhere.
  const engine::api::AnalysisResult analysis = engine::api::Analyse(data->text);
  ASSERT_FALSE(analysis.error) << analysis.error->message;
  ASSERT_EQ(analysis.problems.size(), 5u);
  for (const auto& problem : analysis.problems)
    for (const auto& station : problem.stations)
      ASSERT_NEAR(station.flexuralRigidity / ei, 1.0, 1e-4) << station.depth;

  // Analysed as it is, the data file's EI (63000) is not the section's: said.
  const std::optional<SectionedData> asIs = CheckedData(staged, az, error);
  ASSERT_TRUE(asIs) << error;
  EXPECT_EQ(asIs->text, staged);
  ASSERT_EQ(asIs->notes.size(), 1u);
  EXPECT_NE(asIs->notes[0].find("is not the section's"), std::string::npos) << asIs->notes[0];

  // A sheet-pile wall's unit is the data file's Wa: a spacing is refused.
  EXPECT_FALSE(ApplyWallSection(staged, Resolve({"AZ18", "", 2.0, {}}), error));
  EXPECT_NE(error.find("its wall unit is the active width Wa of problem 1"), std::string::npos)
      << error;
  // Specified pressure and user p-y curves carry no Wa: the unit is unknown,
  // unless given.
  const std::string curves = Example("cantilever-sheet-pile-py-curves.tq4d");
  EXPECT_FALSE(ApplyWallSection(curves, az, error));
  EXPECT_NE(error.find("gives no wall unit width"), std::string::npos) << error;
  const std::optional<SectionedData> perFoot =
      ApplyWallSection(curves, Resolve({"AZ18", "", 12.0, {}}), error);
  ASSERT_TRUE(perFoot) << error;
  EXPECT_EQ(perFoot->problems.at(0).unitWidth, 12.0);
}

TEST(WallSectionCheck, BendingIsTheMomentPerMetreOverTheAllowableMoment) {
  // Soldier piles at their spacing (English units, per pile): the pipe's
  // allowable moment 0.65 fy Wel against the analysis' moment per pile.
  const std::string piles = Example("cantilever-sand-generated.tq4d");
  WallSection wanted{"PIPE610x12.7", "", 72.0, {}};
  wanted.settings.method = design::CheckMethod::Allowable;
  const SectionInUse pipe = Resolve(wanted);
  std::string error;
  const std::optional<SectionedData> data = ApplyWallSection(piles, pipe, error);
  ASSERT_TRUE(data) << error;
  EXPECT_EQ(data->problems.at(0).unitWidth, 72.0);
  const engine::api::AnalysisResult analysis = engine::api::Analyse(data->text);
  ASSERT_EQ(analysis.problems.size(), 1u);
  const std::vector<design::WallCheck> checks = CheckAnalysis(analysis, *data, pipe);
  ASSERT_EQ(checks.size(), 1u);
  ASSERT_TRUE(checks[0].error.empty()) << checks[0].error;

  const double d = 0.610, t = 0.0127, di = d - 2 * t;
  const double wel = std::acos(-1.0) * (std::pow(d, 4) - std::pow(di, 4)) / (32 * d);
  const double allowable = 0.65 * 355e6 * wel;  // N·m per pile
  const auto& stations = analysis.problems[0].stations;
  const auto largest = std::max_element(stations.begin(), stations.end(), [](auto& a, auto& b) {
    return std::fabs(a.moment) < std::fabs(b.moment);
  });
  const double moment = std::fabs(largest->moment) * 4.4482216152605 * 0.0254;  // lb·in → N·m
  const design::StationCheck& at = checks[0].stations[largest - stations.begin()];
  EXPECT_NEAR(at.bending, moment / allowable, 1e-9);
  EXPECT_EQ(at.depth, largest->depth);  // in the data file's inches
  EXPECT_GE(checks[0].utilisation, at.bending);
}

// A 10 m cantilever of AZ18 over 1.5 m of wall (class 3, γM0 = 1.1) fixed at
// its foot, 30 kN across and 1,200 kN of compression at its head: the wall
// carries the compression down to its foot, where the moment is largest, so
// the check there is N/Npl,Rd + M/Mc,Rd with N = 1,200 kN, worked here from
// the library's A and Wel. The same load at the foot's node is the same
// force at the foot and none above it.
TEST(WallSectionCheck, AnAxialLoadAtTheHeadIsCarriedToTheFoot) {
  WallSection wanted{"AZ18", "", 1.5, {}};
  wanted.settings.gammaM0 = 1.1;
  wanted.settings.sectionClass = 3;
  const SectionInUse az18 = Resolve(wanted);
  const auto checkAt = [&](int node) {
    const std::string text =
        "AZ18 cantilever under an axial load\n2 1 1 0 0 0 0 0 0\n"
        "20 0.5 100 0.00001 0\n3 20 0 0\n0 20 1 1E5\n2\n"
        "1 0 0 30 0 0\n1 " +
        std::to_string(node) + " " + std::to_string(node) + " 0 0 -1200\n0\n0\n";
    std::string error;
    const std::optional<SectionedData> data = ApplyWallSection(text, az18, error);
    EXPECT_TRUE(data) << error;
    const engine::api::AnalysisResult analysis = engine::api::Analyse(data->text);
    EXPECT_EQ(analysis.problems.size(), 1u);
    const std::vector<design::WallCheck> checks = CheckAnalysis(analysis, *data, az18);
    EXPECT_TRUE(checks.at(0).error.empty()) << checks.at(0).error;
    return std::make_pair(analysis.problems[0], checks.at(0));
  };
  const double npl = 150.4e-4 * 1.5 * 355e6 / 1.1;  // N per 1.5 m
  const double mc = 1800e-6 * 1.5 * 355e6 / 1.1;    // N·m per 1.5 m
  const double n = 1.2e6 / npl;                     // 0.1648
  for (const int node : {0, 20}) {
    const auto [result, check] = checkAt(node);
    const double footMoment = std::fabs(result.stations.at(20).moment) * 1e3;  // kN·m → N·m
    EXPECT_NEAR(check.stations.at(20).combined, n + footMoment / mc, 1e-9) << node;
    EXPECT_EQ(check.utilisationDepth, 10.0) << node;
    EXPECT_EQ(check.governing, design::GoverningCheck::Combined) << node;
    EXPECT_NEAR(check.utilisationEffect.axial, 1.2e6, 1e-6) << node;
    EXPECT_NEAR(check.utilisationEffect.moment, result.stations.at(20).moment * 1e3, 1e-6);
    // Above the foot the load at the head is in the wall; the one at the
    // foot is not.
    const double above = std::fabs(result.stations.at(19).moment) * 1e3 / mc;
    EXPECT_NEAR(check.stations.at(19).combined, node == 0 ? n + above : above, 1e-9) << node;
  }
}

// The force in the wall from the analysis' station values: a row of the
// table is stored as each station's share, half at its ends (an inclined
// anchor's vertical component V from its station to the tip), and the check
// takes the larger side there; a concentrated load at the head is carried
// down. Compression negative, as the analysis gives it.
TEST(WallSectionCheck, TheAxialForceIsTheLargerSideOfRowsPlusTheLoadsAbove) {
  const double V = -90, P = -400;
  engine::api::ProblemResult result;
  // Stations 0..6; the anchor at 3, the head's load P stored at 0.
  for (const double share : {P, 0.0, 0.0, V / 2, V, V, V / 2})
    result.stations.push_back({.axialForce = share});
  const std::vector<double> forces = design::WallAxialForces(result, {{0, P}});
  const std::vector<double> expected = {P, P, P, P + V, P + V, P + V, P + V};
  ASSERT_EQ(forces.size(), expected.size());
  for (size_t i = 0; i < forces.size(); ++i) EXPECT_DOUBLE_EQ(forces[i], expected[i]) << i;
  // A row over the whole wall is the same force at its head and tip.
  engine::api::ProblemResult row;
  for (const double share : {P / 2, P, P, P / 2}) row.stations.push_back({.axialForce = share});
  for (const double force : design::WallAxialForces(row, {})) EXPECT_DOUBLE_EQ(force, P);
}

// The same cantilever with each ultimate set's design effects: DA1-1 (γG
// 1.35, γQ 1.5) and DA1-2 (γG 1, γQ 1.3) on the 30 kN across its head, a
// variable action; the head's compression is permanent. Without it statics
// give the foot γQ·30 kN·10 m, so DA1-1 governs with 450 kN·m over Mc,Rd;
// with it the foot's check is NEd/Npl,Rd + MEd/Mc,Rd, NEd = 1.35·1,200 kN
// carried down from the head and MEd the design moment there.
TEST(UltimateSectionCheck, TheEnvelopeIsTheGoverningSetsDesignEffectsOverTheResistance) {
  WallSection wanted{"AZ18", "", 1.5, {}};
  wanted.settings.gammaM0 = 1.1;
  wanted.settings.sectionClass = 3;
  const SectionInUse az18 = Resolve(wanted);
  const std::vector<design::FactorSet> sets = {*design::StandardFactorSet("DA1-1"),
                                               *design::StandardFactorSet("DA1-2"),
                                               *design::StandardFactorSet("SLS")};
  const auto checkWith = [&](const std::string& compression) {
    const std::string text =
        "AZ18 cantilever, design situations\n2 1 1 0 0 0 0 0 0\n"
        "20 0.5 100 0.00001 0\n3 20 0 0\n0 20 1 1E5\n2\n"
        "1 0 0 30 0 0\n1 0 0 0 0 " +
        compression + "\n0\n0\n";
    std::string error;
    const std::optional<SectionedData> data = ApplyWallSection(text, az18, error);
    EXPECT_TRUE(data) << error;
    std::vector<design::SituationResult> results =
        design::RunDesignSituations(data->text, sets, {});
    UltimateSectionCheck check =
        CheckDesignSituations(results, design::EnvelopeOf(results), *data, az18);
    return std::make_pair(std::move(results), std::move(check));
  };
  const double npl = 150.4e-4 * 1.5 * 355e6 / 1.1;  // N per 1.5 m
  const double mc = 1800e-6 * 1.5 * 355e6 / 1.1;    // N·m per 1.5 m

  const auto [bent, bending] = checkWith("0");
  ASSERT_EQ(bending.sets.size(), 2u);  // SLS's effects are not design effects
  ASSERT_EQ(bending.envelope.size(), 1u);
  const EnvelopeSectionCheck& e = bending.envelope[0];
  ASSERT_TRUE(e.checked && e.valid);
  EXPECT_EQ(e.set, "DA1-1");
  EXPECT_NEAR(e.check.utilisation, 1.5 * 30e3 * 10 / mc, 1e-6);
  EXPECT_EQ(e.check.utilisationDepth, 10.0);
  EXPECT_EQ(e.stationSets.back(), "DA1-1");
  EXPECT_NEAR(bending.sets[1].problems.at(0).utilisation, 1.3 * 30e3 * 10 / mc, 1e-6);
  EXPECT_EQ(GoverningEnvelopeProblem(bending), 0);

  const auto [pressed, combined] = checkWith("-1200");
  const design::DesignStation& foot = pressed.at(0).problems.at(0).stations.at(20);
  EXPECT_NEAR(foot.axial, -1.35 * 1200, 1e-9);  // kN, tension positive
  const double moment = std::fabs(foot.moment) * 1e3;
  EXPECT_GT(moment, 450e3);  // the compression bends the wall further
  const EnvelopeSectionCheck& c = combined.envelope.at(0);
  EXPECT_EQ(c.set, "DA1-1");
  EXPECT_EQ(c.check.governing, design::GoverningCheck::Combined);
  EXPECT_NEAR(c.check.stations.at(20).combined, 1.35 * 1.2e6 / npl + moment / mc, 1e-9);
  EXPECT_NEAR(c.check.utilisationEffect.axial, 1.35 * 1.2e6, 1e-6);
}

}  // namespace
}  // namespace terraq::ui
