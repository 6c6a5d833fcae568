// The package's chapter of the earth-pressure theories: the coefficients the
// analysis used, checked against Coulomb's formula worked by hand, the
// refusal of a wall friction the soil cannot take, and no chapter at all
// for a project that keeps Rankine's smooth wall.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "PackageContents.h"
#include "PackageFile.h"

namespace terraq::report {
namespace {

namespace fs = std::filesystem;

// The example's package with `member` (empty: none) as the project file's
// "earthPressure".
Document PackageWith(const std::string& member) {
  const fs::path examples = fs::path(TERRAQ_SOURCE_DIR) / "examples";
  const fs::path folder =
      fs::temp_directory_path() / ("terraq-package-ep-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::string texts[2];
  for (int k = 0; k < 2; ++k) {
    std::ifstream in(examples / (k ? "sequential-excavation-anchor.terraq.json"
                                   : "sequential-excavation-anchor.tq4d"),
                     std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    texts[k] = text.str();
  }
  if (!member.empty()) texts[1].insert(texts[1].rfind('}'), R"(, "earthPressure": )" + member);
  std::ofstream(folder / "wall.terraq.json") << texts[1];
  const PackageInput input = AnalysedPackageInput(folder / "wall.tq4d", texts[0]);
  fs::remove_all(folder);
  return BuildPackage(input);
}

// The blocks of the chapter "Earth-pressure theories"; empty without it.
std::vector<const Block*> TheoriesChapter(const Document& d) {
  std::vector<const Block*> out;
  bool in = false;
  for (const Block& b : d.blocks) {
    if (const Heading* h = std::get_if<Heading>(&b); h && h->level == 1)
      in = h->text == "Earth-pressure theories";
    else if (in) out.push_back(&b);
  }
  return out;
}

const Table* TableCaptioned(const std::vector<const Block*>& blocks, const std::string& caption) {
  for (const Block* b : blocks)
    if (const Table* t = std::get_if<Table>(b); t && t->caption == caption) return t;
  return nullptr;
}

TEST(PackageEarthPressure, ListsTheCoefficientsTheAnalysisUsed) {
  EXPECT_TRUE(TheoriesChapter(PackageWith("")).empty());

  const Document d = PackageWith(R"({"backfill": {"theory": "coulomb", "wallFriction": 0.75}})");
  const std::vector<const Block*> chapter = TheoriesChapter(d);
  const Table* faces = TableCaptioned(chapter, "Earth-pressure theories of the faces");
  ASSERT_NE(faces, nullptr);
  EXPECT_EQ(faces->rows.at(0).at(1), "Coulomb");
  EXPECT_NE(faces->rows[0][3].find("1776"), std::string::npos) << faces->rows[0][3];
  EXPECT_EQ(faces->rows.at(1).at(1), "Rankine");

  // Coulomb's active coefficient of a vertical wall under level ground,
  // φ′ = 32°, δ = 0.75 φ′ = 24°, horizontal component Ka cos δ.
  const double pi = std::acos(-1.0), phi = 32 * pi / 180, delta = 24 * pi / 180;
  const double root = std::sqrt(std::sin(phi + delta) * std::sin(phi) / std::cos(delta));
  const double Ka = std::pow(std::cos(phi), 2) / (std::cos(delta) * std::pow(1 + root, 2));
  const Table* layers = TableCaptioned(chapter, "Earth-pressure coefficients of the layers");
  ASSERT_NE(layers, nullptr);
  ASSERT_FALSE(layers->rows.empty());
  for (const std::vector<std::string>& row : layers->rows) {
    EXPECT_EQ(row.at(1), "Backfill");  // the smooth excavation face is the generator's own
    EXPECT_EQ(std::stod(row.at(3)), 32);
    EXPECT_EQ(std::stod(row.at(4)), 24);
    EXPECT_NEAR(std::stod(row.at(5)), Ka * std::cos(delta), 1e-3);
  }
}

TEST(PackageEarthPressure, SaysWhyTheAnalysisRefusedTheTheories) {
  const Document d = PackageWith(
      R"({"backfill": {"theory": "coulomb", "wallFriction": 0.5}, "layers": [{"backfillDelta": 40}]})");
  const std::vector<const Block*> chapter = TheoriesChapter(d);
  ASSERT_FALSE(chapter.empty());
  EXPECT_EQ(TableCaptioned(chapter, "Earth-pressure coefficients of the layers"), nullptr);
  bool refused = false;
  for (const Block* b : chapter)
    if (const Paragraph* p = std::get_if<Paragraph>(b))
      refused |=
          p->text.find("refused") != std::string::npos && p->text.find("40") != std::string::npos;
  EXPECT_TRUE(refused);
}

}  // namespace
}  // namespace terraq::report
