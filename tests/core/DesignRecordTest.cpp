// The project's design record: written and read back whole beside the
// other members, a misspelt key or a value of the wrong kind refused with
// what is wrong, its lengths converted with the project's units.
#include <gtest/gtest.h>

#include <tuple>

#include "CliTestFiles.h"
#include "project/DesignRecord.h"
#include "project/JsonText.h"

namespace terraq::ui {
namespace {

DesignRecord Sample() {
  DesignRecord r;
  r.approach = "DA1-2";
  r.request.method = design::Method::FreeEarth;
  r.request.fsMethod = design::FsMethod::Passive;
  r.request.fs = 1.75;
  r.request.embedmentFactor = 1.1;
  r.request.resolution = 0.05;
  r.request.limits.maxDeflection = 0.04;
  r.request.criterion = design::FailureCriterion::Mechanism;
  r.governingStage = 3;
  r.appliedTip = 11.2;
  r.appliedOn = "2026-12-09";
  r.projectNumber = "P-118";
  r.engineer = "R. Eng.";
  r.checker = "C. Heck";
  r.revision = "B";
  r.request.backfillTheory = {engine::api::EarthPressureMethod::Coulomb, 0.5};
  r.request.excavationTheory = {engine::api::EarthPressureMethod::LogSpiral, 0.67};
  r.request.seismic = design::SeismicChoice{engine::api::SeismicMethod::Eurocode8, 0.15, -0.075};
  r.request.berm = design::Berm{2, 3, 1.5};
  design::ApparentRequest& a = r.apparent.emplace();
  a.source = design::EnvelopeSource::TerzaghiPeck;
  a.soil = design::EnvelopeSoil::StiffClay;
  a.clayFactor = 0.3;
  a.softBase = true;
  a.failureDepth = 4;
  a.supports = std::vector<double>{1.5, 4};
  a.layout = {2.5, 15};
  return r;
}

void ExpectSame(const DesignRecord& a, const DesignRecord& b) {
  EXPECT_EQ(a.approach, b.approach);
  EXPECT_EQ(a.request.method, b.request.method);
  EXPECT_EQ(a.request.fsMethod, b.request.fsMethod);
  EXPECT_EQ(a.request.fs, b.request.fs);
  EXPECT_EQ(a.request.embedmentFactor, b.request.embedmentFactor);
  EXPECT_EQ(a.request.resolution, b.request.resolution);
  EXPECT_EQ(a.request.limits.topDeflection, b.request.limits.topDeflection);
  EXPECT_EQ(a.request.limits.maxDeflection, b.request.limits.maxDeflection);
  EXPECT_EQ(a.request.criterion, b.request.criterion);
  for (const auto& [x, y] : {std::pair{a.request.backfillTheory, b.request.backfillTheory},
                             std::pair{a.request.excavationTheory, b.request.excavationTheory}}) {
    EXPECT_EQ(x.method, y.method);
    EXPECT_EQ(x.deltaRatio, y.deltaRatio);
  }
  EXPECT_EQ(a.request.seismic, b.request.seismic);
  EXPECT_EQ(a.request.berm.has_value(), b.request.berm.has_value());
  if (a.request.berm && b.request.berm) {
    const design::Berm &x = *a.request.berm, &y = *b.request.berm;
    EXPECT_EQ(std::tuple(x.height, x.topWidth, x.sideSlope),
              std::tuple(y.height, y.topWidth, y.sideSlope));
  }
  EXPECT_EQ(a.governingStage, b.governingStage);
  EXPECT_EQ(a.appliedTip, b.appliedTip);
  EXPECT_EQ(a.appliedOn, b.appliedOn);
  EXPECT_EQ(a.projectNumber + a.engineer + a.checker + a.revision,
            b.projectNumber + b.engineer + b.checker + b.revision);
  ASSERT_EQ(a.apparent.has_value(), b.apparent.has_value());
  if (!a.apparent) return;
  EXPECT_EQ(a.apparent->source, b.apparent->source);
  EXPECT_EQ(a.apparent->soil, b.apparent->soil);
  EXPECT_EQ(a.apparent->clayFactor, b.apparent->clayFactor);
  EXPECT_EQ(a.apparent->softBase, b.apparent->softBase);
  EXPECT_EQ(a.apparent->failureDepth, b.apparent->failureDepth);
  EXPECT_EQ(a.apparent->supports, b.apparent->supports);
  EXPECT_EQ(a.apparent->layout.spacing, b.apparent->layout.spacing);
  EXPECT_EQ(a.apparent->layout.inclination, b.apparent->layout.inclination);
}

TEST(DesignRecord, RoundTripsBesideTheOtherMembersAndRefusesWhatItCannotRead) {
  test::ScratchFolder work;
  const std::filesystem::path data = work.path() / "wall.tq4d";
  std::string error;
  ASSERT_TRUE(SaveProjectDesignRecord(data, Sample(), error)) << error;
  std::optional<DesignRecord> back = ReadProjectDesignRecord(data, error);
  ASSERT_TRUE(back) << error;
  ExpectSame(*back, Sample());
  // A record of defaults: the method from the project, no limits.
  ASSERT_TRUE(SaveProjectDesignRecord(data, DesignRecord{}, error)) << error;
  back = ReadProjectDesignRecord(data, error);
  ASSERT_TRUE(back) << error;
  ExpectSame(*back, DesignRecord{});
  // A record without shaking or berm writes neither key, as before they existed.
  ProjectFile plain;
  SetDesignRecord(plain, DesignRecord{});
  EXPECT_FALSE(plain.find("design")->find("seismic") || plain.find("design")->find("berm"));

  const struct {
    const char* member;
    const char* says;
  } bad[] = {{R"({"fs": 1.5, "enbedmentFactor": 1.2})", "\"enbedmentFactor\" is not a key"},
             {R"({"fs": 0.8})", "\"fs\" must be a number of at least 1"},
             {R"({"method": "free"})", "\"method\" must be"},
             {R"({"fsMethod": "strenght"})", "\"fsMethod\" must be"},
             {R"({"appliedTip": -2})", "\"appliedTip\" must be a number above 0"},
             {R"({"governingStage": 1.5})", "\"governingStage\" must be a whole number"},
             {R"({"engineer": 7})", "\"engineer\" must be a text"},
             {R"({"excavationTheory": "jaky"})", "\"excavationTheory\" must be \"rankine\""},
             {R"({"backfillWallFriction": 1.5})", "\"backfillWallFriction\" must be 1 at most"},
             {R"({"apparentPressure": {"envelope": "peck"}})", "\"envelope\" must be"},
             {R"({"apparentPressure": {"supports": [4, 1.5]}})", "not deeper than support 1"},
             {R"({"apparentPressure": {"clayFactor": 0.5}})", "\"clayFactor\" is out of"},
             {R"({"seismic": {"method": "mononobe", "kh": 0.1}})", "needs a \"method\""},
             {R"({"seismic": {"method": "wood", "kh": 1.2}})", "\"kh\" of \"seismic\""},
             {R"({"seismic": {"method": "wood", "kh": 0.1, "kv": -1}})", "\"kv\" of"},
             {R"({"berm": {"topWidth": 3}})", "needs its \"height\""},
             {R"({"berm": {"height": 2, "slope": 2}})", "\"slope\" is not a key"},
             {R"([1])", "is not a JSON object"}};
  for (const auto& c : bad) {
    ProjectFile p;
    p.set("design", *ParseJson(c.member, error));
    EXPECT_FALSE(ReadDesignRecord(p, error)) << c.member;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

TEST(DesignRecord, LengthsFollowTheUnitsAndTheChoicesReadAsWords) {
  const DesignRecord english = DesignRecordInUnits(Sample(), 2, 1);
  EXPECT_NEAR(*english.appliedTip, 11.2 / 0.0254, 1e-9);  // 440.94 in
  EXPECT_NEAR(english.request.resolution, 0.05 / 0.0254, 1e-12);
  EXPECT_NEAR(*english.request.limits.maxDeflection, 0.04 / 0.0254, 1e-12);
  EXPECT_EQ(english.request.fs, 1.75);  // a factor has no unit
  EXPECT_NEAR(*DesignRecordInUnits(english, 1, 2).appliedTip, 11.2, 1e-12);
  EXPECT_NEAR(english.apparent->supports->at(1), 4 / 0.0254, 1e-9);
  EXPECT_NEAR(*english.apparent->layout.spacing, 2.5 / 0.0254, 1e-9);
  EXPECT_EQ(english.apparent->layout.inclination, 15);  // degrees
  EXPECT_NEAR(english.request.berm->topWidth, 3 / 0.0254, 1e-9);
  EXPECT_EQ(english.request.berm->sideSlope, 1.5);  // a ratio
  EXPECT_EQ(english.request.seismic->kh, 0.15);

  DesignRecord byFactor = Sample();
  byFactor.approach.clear();
  EXPECT_EQ(DesignChoicesText(byFactor, "m"),
            "free earth support, factor of safety F = 1.75 on the passive pressure, embedment "
            "factor 1.1, tip resolution 0.05 m, largest deflection at most 0.04 m, failure "
            "criterion mechanism, earth pressure backfill Coulomb with delta/phi' 0.5, "
            "excavation Log-spiral with delta/phi' 0.67; while the ground shakes EN 1998-5 Annex E "
            "with kh 0.15, kv -0.075, berm 2 m high, top 3 m wide, side slope 1.5");
  EXPECT_EQ(DesignChoicesText(Sample(), "m").rfind("design approach DA1-2, free earth", 0), 0u);
}

}  // namespace
}  // namespace terraq::ui
