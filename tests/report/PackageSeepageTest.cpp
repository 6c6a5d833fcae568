// The package's chapter of the seepage: the flow net drawn, the pore
// pressures of both faces in their own columns (the upward flow in front
// raises the front's above its hydrostatic pressure and lowers the retained
// side's), every check with its source; and no chapter for hydrostatic
// water.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "DocumentPdf.h"
#include "PackageContents.h"
#include "api/EngineRoute.h"

namespace terraq::report {
namespace {

namespace api = engine::api;

std::string Example(const char* name) {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<const Block*> Chapter(const Document& d, const std::string& title) {
  std::vector<const Block*> out;
  bool in = false;
  for (const Block& b : d.blocks) {
    if (const Heading* h = std::get_if<Heading>(&b); h && h->level == 1) in = h->text == title;
    else if (in) out.push_back(&b);
  }
  return out;
}

TEST(PackageSeepage, DrawsTheFlowNetAndGivesEachFacesPorePressureAndEveryCheck) {
  PackageInput input;
  input.dataFile = "wall.tq4d";
  // The 14 m sheet pile in sand dug to 5 m, the water 1 m below its top
  // behind and at the excavation level in front.
  input.dataText = Example("sequential-excavation-anchor.tq4d");
  const std::string still = "2\t1\t1\t4\t4\t1\t1\t0";
  ASSERT_NE(input.dataText.find(still), std::string::npos);
  input.dataText.replace(input.dataText.find(still), still.size(), "5\t1\t1\t1\t5\t1\t1\t0");
  input.includeDesign = false;
  api::AnalysisOptions run;
  run.reportText = true;
  input.analysis = engine::Analyse(input.dataText, run);
  const api::SoilDescriptions soils = engine::ReadSoilDescriptions(input.dataText);
  ASSERT_FALSE(soils.problems.empty());
  const api::SoilDescription& soil = soils.problems.front();
  api::SeepageOptions seepage;
  seepage.method = api::SeepageMethod::FlowNet;
  seepage.base = 2.5 * soil.wallLength;
  seepage.retainedWidth = seepage.frontWidth = 3 * soil.wallLength;
  seepage.layers.assign(soil.layers.size(), {2e-5, 1e-5});
  input.seepage = seepage;
  const Document document = BuildPackage(input);
  if (const char* shots = std::getenv("TERRAQ_DIALOG_SHOTS"))  // for a look at the page
    std::ofstream(std::string(shots) + "/seepage-package.pdf", std::ios::binary)
        << PdfBytes(document, Paper::A4);
  const std::vector<const Block*> chapter = Chapter(document, "Seepage");
  ASSERT_FALSE(chapter.empty());

  const Figure* net = nullptr;
  const Table *pressures = nullptr, *checks = nullptr;
  for (const Block* b : chapter) {
    if (const Figure* f = std::get_if<Figure>(b); f && f->caption.starts_with("Flow net")) net = f;
    if (const Table* t = std::get_if<Table>(b)) {
      if (t->caption == "Pore pressures on the faces") pressures = t;
      if (t->caption == "Hydraulic checks of the soil in front") checks = t;
    }
  }
  ASSERT_TRUE(net && net->paint);
  ASSERT_TRUE(pressures && checks);
  ASSERT_EQ(checks->rows.size(), 4u);  // heave, HYD twice, piping: no uplift layer named
  EXPECT_EQ(checks->rows[0][5], "Terzaghi (1943)");
  EXPECT_EQ(checks->rows[1][5], "EN 1997-1:2004, 2.4.7.5 (2.9a)");

  // Between the deeper table and the tip, water flows down behind and up in
  // front: the retained face below its hydrostatic pressure, the front above.
  const double gw = 9.81, deeper = std::max(soil.waterBackfill, soil.waterExcavation);
  int compared = 0;
  for (const std::vector<std::string>& row : pressures->rows) {
    const double z = std::stod(row[0]);
    if (z <= deeper + 0.5 || z >= soil.wallLength - 0.5) continue;
    EXPECT_LT(std::stod(row[1]), gw * (z - soil.waterBackfill)) << "retained, z = " << z;
    EXPECT_GT(std::stod(row[2]), gw * (z - soil.waterExcavation)) << "front, z = " << z;
    ++compared;
  }
  EXPECT_GE(compared, 2);

  input.seepage->method = api::SeepageMethod::Hydrostatic;
  EXPECT_TRUE(Chapter(BuildPackage(input), "Seepage").empty());
}

}  // namespace
}  // namespace terraq::report
