// The design chapter's section on the ground around the wall: the shipped
// anchored sequence with soft clay below 4 m and the cut's plan kept with
// the project gets the heave factors worked by hand here and the deep slip
// plane's numbers terraq design prints for the same project, with their
// figures; without the plan there is no such section.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "PackageContents.h"
#include "PackageFile.h"

namespace terraq::report {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The sequence example, its sand below 4 m replaced by a clay of su = 45 kPa
// and γ = 18 kN/m³, with `excavation` (a JSON member led by a comma) beside
// its construction sequence.
Document ClayPackage(const std::string& excavation) {
  const fs::path examples = fs::path(TERRAQ_SOURCE_DIR) / "examples";
  std::string text = Read(examples / "sequential-excavation-anchor.tq4d");
  std::erase(text, '\r');  // its lines end in CR LF
  const std::string sand = "1\n4 20 \n19 0.0  32 0.0  20000 0.0  \n19 0.0  32 0.0  20000 0.0  \n";
  const size_t at = text.find(sand);
  EXPECT_NE(at, std::string::npos);
  if (at == std::string::npos) return {};
  text.replace(at, sand.size(),
               "2\n4 4 \n19 0.0  32 0.0  20000 0.0  \n19 0.0  32 0.0  20000 0.0  \n"
               "1 20 \n18 45  0.0  0.01 0 0.0  \n18 45  0.0  0.01 0 0.0  \n");
  std::string project = Read(examples / "sequential-excavation-anchor.terraq.json");
  project.insert(project.rfind('}'), excavation);
  const fs::path folder = fs::temp_directory_path() / ("terraq-ground-" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "wall.terraq.json") << project;
  const PackageInput input = AnalysedPackageInput(folder / "wall.tq4d", text);
  fs::remove_all(folder);
  return BuildPackage(input);
}

const Table* FindTable(const Document& d, const std::string& caption) {
  for (const Block& b : d.blocks)
    if (const Table* t = std::get_if<Table>(&b); t && t->caption == caption) return t;
  return nullptr;
}

int FiguresNaming(const Document& d, const std::string& words) {
  int n = 0;
  for (const Block& b : d.blocks)
    if (const Figure* f = std::get_if<Figure>(&b); f && f->caption.find(words) != std::string::npos)
      ++n;
  return n;
}

std::string Four(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

TEST(PackageGround, HeaveAndDeepSlipPlaneAsTheCommandGivesThem) {
  const Document d = ClayPackage(
      R"(, "excavation": {"units": {"length": "m"}, "width": 12, "length": 30,
            "anchorFree": [8], "anchorBond": [6]})");
  // Heave at the sequence's deepest level H = 6 m: 4 m of sand (19 kN/m³)
  // over clay (18), q = 10 kPa, cs = 45·2/6, B1 = 0.7·12; Bjerrum and Eide's
  // Nc at H/B = 0.5 (7.1) for B/L = 0.4.
  const double load = 19 * 4 + 18 * 2 + 10, side = 15.0 * 6 / 8.4;
  const double terzaghi = 5.7 * 45, bjerrum = (0.84 + 0.16 * 0.4) * 7.1 * 45;
  const Table* heave = FindTable(d, "Basal heave: factors of safety");
  ASSERT_NE(heave, nullptr);
  ASSERT_EQ(heave->rows.size(), 2u);
  EXPECT_EQ(heave->rows[0][5], Four(terzaghi / (load - side)));  // 2.305
  EXPECT_EQ(heave->rows[0][6], Four(terzaghi / load));           // 2.102
  EXPECT_EQ(heave->rows[1][1], Four(bjerrum / 45));
  EXPECT_EQ(heave->rows[1][5], Four(bjerrum / (load - side)));  // 2.595
  EXPECT_EQ(heave->rows[1][6], Four(bjerrum / load));           // 2.367
  // terraq design on the same project: "plane carrying anchor 1: A = 53.43
  // kN/m, A_poss = 325.6 kN/m, eta = 6.095", from the foot at 6.603 m.
  const Table* planes = FindTable(d, "Deep slip plane: the planes");
  ASSERT_NE(planes, nullptr);
  ASSERT_EQ(planes->rows.size(), 1u);
  const std::vector<std::string> expected{"plane carrying anchor 1 (governing)", "53.43", "325.6",
                                          "6.095"};
  EXPECT_EQ((std::vector<std::string>{planes->rows[0][0], planes->rows[0][4], planes->rows[0][5],
                                      planes->rows[0][6]}),
            expected);
  const Table* anchors = FindTable(d, "Deep slip plane: the anchors");
  ASSERT_NE(anchors, nullptr);
  EXPECT_EQ(anchors->rows[0][0], "The wall, foot F at 6.603 m");
  EXPECT_EQ(FiguresNaming(d, "basal heave"), 1);
  EXPECT_EQ(FiguresNaming(d, "deep slip plane"), 1);

  const Document without = ClayPackage("");
  for (const Block& b : without.blocks)
    if (const Heading* h = std::get_if<Heading>(&b)) {
      EXPECT_NE(h->text, "Ground around the wall");
    }
}

}  // namespace
}  // namespace terraq::report
