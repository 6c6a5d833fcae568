// The design chapter's ground anchors: the staged tie-back sample, whose
// stages 2 to 5 are designed by free earth about the tie-back, gets one
// anchor per anchored stage (the cantilever stage none) with the design load
// along it from the stage's force, at the spacing and inclination the
// project keeps; without the project's anchors there is no such section.

#include <gtest/gtest.h>

#include <cmath>

#include "PackageContents.h"
#include "PackageFile.h"
#include "StagedExamplePackage.h"

namespace terraq::report {
namespace {

Document PackageWith(const std::string& members) {
  return StagedExamplePackage(members, "anchors");
}

const Table* AnchorTable(const Document& d) {
  for (const Block& b : d.blocks)
    if (const Table* t = std::get_if<Table>(&b); t && t->caption == "Ground anchors") return t;
  return nullptr;
}

TEST(PackageAnchors, OneAnchorPerAnchoredStageWithItsDesignLoad) {
  const Document d =
      PackageWith(R"(, "anchors": {"transferRates": [100], "spacing": 2, "inclination": 20})");
  const Table* table = AnchorTable(d);
  ASSERT_NE(table, nullptr);
  int anchors = 0;
  for (size_t k = 0; k < table->rows.size(); ++k) {
    if (table->groupRows[k]) continue;
    const std::vector<std::string>& row = table->rows[k];
    ++anchors;
    EXPECT_EQ(row[1], "1.5");  // the tie-back's depth, m
    const double F = std::stod(row[4]), T = std::stod(row[5]);
    const double expected = F * 2 / std::cos(20 * std::acos(-1.0) / 180);
    EXPECT_NEAR(T, expected, 1e-3 * expected) << row[0];
  }
  EXPECT_EQ(anchors, 4);  // stage 1 is a cantilever
  for (const Block& b : d.blocks) {
    if (const Paragraph* p = std::get_if<Paragraph>(&b)) {
      EXPECT_EQ(p->text.find("not designed"), std::string::npos) << p->text;
    }
  }

  EXPECT_EQ(AnchorTable(PackageWith("")), nullptr);
}

}  // namespace
}  // namespace terraq::report
