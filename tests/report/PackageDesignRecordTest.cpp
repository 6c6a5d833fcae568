// The design chapter of a project that keeps its design record: designed
// with the record's factor, the submitted wall set against the tip the
// design asks for with the verdict, design values under an approach, and
// who made the design on the title page.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "PackageContents.h"

namespace terraq::report {
namespace {

namespace fs = std::filesystem;

PackageInput Cantilever(const ui::DesignRecord& record,
                        std::optional<design::FactorSet> approach = std::nullopt,
                        const char* sample = "cantilever-sand-generated.tq4d") {
  const fs::path data = fs::path(TERRAQ_SOURCE_DIR) / "examples" / sample;
  std::ifstream in(data, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  PackageInput input;
  input.dataFile = data.filename();
  input.dataText = text.str();
  engine::api::AnalysisOptions options;
  options.reportText = true;
  input.analysis = engine::api::Analyse(input.dataText, options);
  input.design = PackageInput::DesignChoice{record, std::move(approach), {}};
  return input;
}

// The design table's value of the first row whose label starts with `label`.
std::string Value(const Document& d, const std::string& label) {
  for (const Block& b : d.blocks)
    if (const Table* t = std::get_if<Table>(&b); t && t->caption.rfind("Design by", 0) == 0)
      for (const auto& row : t->rows)
        if (row[0].rfind(label, 0) == 0) return row[2];
  ADD_FAILURE() << "no row " << label;
  return "0";
}

std::string Notes(const Document& d) {
  std::string text;
  for (const Block& b : d.blocks)
    if (const Paragraph* p = std::get_if<Paragraph>(&b)) text += p->text + "\n";
  return text;
}

TEST(PackageDesignRecord, TheSubmittedWallAgainstTheTipTheRecordsFactorAsksFor) {
  ui::DesignRecord record;
  record.request.fs = 1.5;
  record.appliedTip = 300;  // since changed: the data file's wall is 60 x 6 in
  record.appliedOn = "2026-12-09";
  record.projectNumber = "P-118";
  record.revision = "C";
  const Document d = BuildPackage(Cantilever(record));
  const auto& facts = d.titlePage.facts.entries;
  ASSERT_GE(facts.size(), 3u);
  EXPECT_EQ(facts[0].label + "=" + facts[0].value, "Project number=P-118");
  EXPECT_EQ(facts[1].label + "=" + facts[1].value, "Revision=C");
  EXPECT_NE(Notes(d).find("factor of safety F = 1.5 on the soil's strength"), std::string::npos);

  const double asked = std::stod(Value(d, "Tip depth of the designed wall"));
  EXPECT_EQ(Value(d, "Tip depth the design asks for"), Value(d, "Tip depth of the designed wall"));
  EXPECT_EQ(Value(d, "Tip depth of the submitted wall"), "360");
  const std::string verdict = Value(d, "Verdict");
  const double margin = std::stod(verdict.substr(verdict.find(' ') + 1));
  EXPECT_EQ(verdict.substr(0, 6), 360 >= asked ? "holds:" : "fails:") << verdict;
  EXPECT_NEAR(margin, std::fabs(360 - asked), 0.06) << verdict;
  EXPECT_NE(Notes(d).find("(300 in, 2026-12-09) is not the submitted wall's"), std::string::npos);
  // The shortest wall with how far it moves.
  EXPECT_NE(Value(d, "Tip depth of the shortest wall the analysis holds (largest deflection "),
            "0");
}

TEST(PackageDesignRecord, AnApproachGivesDesignValuesBesideTheCharacteristicOnes) {
  ui::DesignRecord record;
  record.approach = "DA1-1";
  const Document d = BuildPackage(Cantilever(record, design::StandardFactorSet("DA1-1")));
  EXPECT_NE(Notes(d).find("design approach DA1-1"), std::string::npos) << Notes(d);
  const double characteristic = std::stod(Value(d, "Largest moment at"));
  std::string designRow;
  for (const Block& b : d.blocks)
    if (const Table* t = std::get_if<Table>(&b))
      for (const auto& row : t->rows)
        if (row[0].find("(design, γG = 1.35)") != std::string::npos) designRow = row[2];
  ASSERT_FALSE(designRow.empty());
  EXPECT_NEAR(std::stod(designRow), 1.35 * characteristic, 1e-3 * std::fabs(characteristic));
}

// A record of the apparent-pressure design: the chapter gives the choices,
// the envelope's published source, its figure and the support loads (the
// top support's tributary share of the anchored sample by hand, as
// DesignCommandTest checks it), and no limit-equilibrium table.
TEST(PackageDesignRecord, ApparentPressureDesignGivesTheEnvelopeAndSupportLoads) {
  ui::DesignRecord record;
  record.apparent = design::ApparentRequest{};
  record.apparent->supports = std::vector<double>{1.5, 4};
  record.apparent->layout.spacing = 2;
  const Document d = BuildPackage(Cantilever(record, std::nullopt, "anchored-trapezoid.tq4d"));
  EXPECT_NE(Notes(d).find("apparent-pressure envelope of FHWA, the soil as the data file's"),
            std::string::npos);
  EXPECT_NE(Notes(d).find("FHWA-IF-99-015"), std::string::npos) << Notes(d);
  const double Ka = 1.0 / 3, p = 0.65 * Ka * 18 * 36 / (6 - 1.5 / 3 - 2.0 / 3);
  const double T1 = p * 1 / 2 + p * (2.75 - 1) + Ka * 10 * 2.75;
  bool loads = false, figure = false;
  for (const Block& b : d.blocks) {
    if (const Table* t = std::get_if<Table>(&b)) {
      EXPECT_NE(t->caption.rfind("Design by", 0), 0u);
      if (t->caption.find("support loads") == std::string::npos) continue;
      loads = true;
      ASSERT_EQ(t->rows.size(), 3u);  // two supports and the excavation level
      EXPECT_NEAR(std::stod(t->rows[0][2]), T1, 5e-4 * T1);
      EXPECT_NEAR(std::stod(t->rows[0][4]), 2 * T1, 1e-3 * T1);  // along a level tendon
    }
    if (const Figure* f = std::get_if<Figure>(&b))
      figure = figure || f->caption.find("apparent-pressure envelope") != std::string::npos;
  }
  EXPECT_TRUE(loads && figure);
}

}  // namespace
}  // namespace terraq::report
