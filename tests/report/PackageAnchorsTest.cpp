// The design chapter's ground anchors: the staged tie-back sample, whose
// stages 2 to 5 are designed by free earth about the tie-back, gets one
// anchor per anchored stage (the cantilever stage none) with the design load
// along it from the stage's force, at the spacing and inclination the
// project keeps; without the project's anchors there is no such section.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "PackageContents.h"
#include "PackageFile.h"

namespace terraq::report {
namespace {

namespace fs = std::filesystem;

Document PackageWith(const std::string& members) {
  const fs::path folder =
      fs::temp_directory_path() / ("terraq-package-anchors-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ifstream in(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "staged-excavation-tieback.tq4d",
                   std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::ofstream(folder / "wall.terraq.json")
      << R"({"format": "terraq-project", "version": 1)" + members + "}";
  const PackageInput input = AnalysedPackageInput(folder / "wall.tq4d", text.str());
  fs::remove_all(folder);
  return BuildPackage(input);
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
