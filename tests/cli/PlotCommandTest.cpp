// terraq plot, run as users run it: every graph of an analysed sample drawn
// into each picture type, and the refusals with their exit statuses.

#include <gtest/gtest.h>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

unsigned BigEndian(const std::string& bytes, size_t at) {
  unsigned v = 0;
  for (size_t k = 0; k < 4; ++k) v = v * 256 + static_cast<unsigned char>(bytes.at(at + k));
  return v;
}

// A copy of a layered-clay sample with its earth pressure, analysed.
fs::path AnalysedSample(const ScratchFolder& work) {
  const fs::path data = work.path() / "wall.tq4d";
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "layered-clay-stiff-below-water.tq4d", data);
  const Outcome run = runTerraq("run wall.tq4d", work.path());
  if (run.status != 0) ADD_FAILURE() << run.err;
  return data;
}

TEST(PlotCommand, EveryGraphOfAnAnalysedSampleInEachPictureType) {
  ScratchFolder work;
  AnalysedSample(work);
  const char* const graphs[] = {"p-y",      "deflection", "moment",   "shear",
                                "reaction", "combined",   "pressure", "combined-pressure"};
  const char* const types[] = {"png", "bmp", "svg", "pdf"};
  for (int k = 0; k < 8; ++k) {
    const std::string out = std::string(graphs[k]) + "." + types[k % 4];
    SCOPED_TRACE(out);
    const Outcome o = runTerraq("plot --graph " + std::string(graphs[k]) + " --out " + out + " wall.tq4d", work.path());
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err, "");
    EXPECT_TRUE(contains(o.out, "Plotted " + out + " (576 x 384 pixels)"));
    const std::string bytes = ReadFile(work.path() / out);
    ASSERT_GT(bytes.size(), 100u);
    switch (k % 4) {
      case 0:  // PNG: the IHDR chunk's width and height
        EXPECT_EQ(bytes.substr(1, 3), "PNG");
        EXPECT_EQ(BigEndian(bytes, 16), 576u);
        EXPECT_EQ(BigEndian(bytes, 20), 384u);
        break;
      case 1: EXPECT_EQ(bytes.substr(0, 2), "BM"); break;
      case 2: EXPECT_TRUE(contains(bytes, "<svg")); break;
      case 3: EXPECT_EQ(bytes.substr(0, 5), "%PDF-"); break;
    }
  }
  // Size, density and colours as asked: 3 × 2 in at 50 ppi, 256 colours.
  const Outcome sized =
      runTerraq("plot --graph moment --width 3 --height 2 --ppi 50 --colors 256 --out m.bmp wall.tq4d", work.path());
  ASSERT_EQ(sized.status, 0) << sized.err;
  const std::string bmp = ReadFile(work.path() / "m.bmp");
  EXPECT_EQ(static_cast<unsigned char>(bmp.at(18)) + 256 * static_cast<unsigned char>(bmp.at(19)), 150);
  EXPECT_EQ(static_cast<unsigned char>(bmp.at(28)), 8);
}

// The utilisation graph checks the section the project remembers, along
// the wall analysed in memory; without one there is nothing to draw.
TEST(PlotCommand, UtilisationOfTheProjectsSection) {
  ScratchFolder work;
  AnalysedSample(work);
  Outcome o = runTerraq("plot --graph utilisation --out u.png wall.tq4d", work.path());
  EXPECT_EQ(o.status, 1);
  EXPECT_TRUE(contains(o.err, "its project has no wall section")) << o.err;
  std::ofstream(work.path() / "wall.terraq.json")
      << R"({"format": "terraq-project", "version": 1, "section": {"name": "AZ99"}})";
  o = runTerraq("plot --graph utilisation --out u.png wall.tq4d", work.path());
  EXPECT_EQ(o.status, 1);
  EXPECT_TRUE(contains(o.err, "no section AZ99; nearest: ")) << o.err;
  EXPECT_FALSE(fs::exists(work.path() / "u.png"));
  std::ofstream(work.path() / "wall.terraq.json")
      << R"({"format": "terraq-project", "version": 1, "section": {"name": "AZ18"}})";
  o = runTerraq("plot --graph utilisation --out u.png wall.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(contains(o.out, "Plotted u.png (576 x 384 pixels)"));
}

// A project on subgrade-reaction springs is checked along the wall its
// springs hold, as its run checks it, not along a p-y analysis.
TEST(PlotCommand, UtilisationOnTheProjectsSoilModel) {
  ScratchFolder work;
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "sequential-excavation-anchor.tq4d",
                work.path() / "wall.tq4d");
  ASSERT_EQ(runTerraq("run wall.tq4d", work.path()).status, 0);
  const std::string project = R"({"format": "terraq-project", "version": 1,
      "section": {"name": "AZ18"})";
  std::ofstream(work.path() / "wall.terraq.json") << project + "}";
  const std::string plot = "plot --graph utilisation --out u.svg wall.tq4d";
  ASSERT_EQ(runTerraq(plot, work.path()).status, 0);
  const std::string onCurves = ReadFile(work.path() / "u.svg");
  std::ofstream(work.path() / "wall.terraq.json")
      << project + R"(, "soilModel": {"model": "subgrade", "layers": [{"khTop": 12000,
      "khBottom": 36000, "k0": 0, "ocr": 1, "reloadRatio": 2}]}})";
  const Outcome o = runTerraq(plot, work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(ReadFile(work.path() / "u.svg"), onCurves);
}

// The mobilised earth pressure of a project on subgrade-reaction springs,
// analysed in memory; a project on the p-y model has none.
TEST(PlotCommand, MobilisedPressureOfTheProjectsSprings) {
  ScratchFolder work;
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "sequential-excavation-anchor.tq4d",
                work.path() / "wall.tq4d");
  ASSERT_EQ(runTerraq("run wall.tq4d", work.path()).status, 0);
  const std::string plot = "plot --graph mobilised-pressure --out m.svg wall.tq4d";
  Outcome o = runTerraq(plot, work.path());
  EXPECT_EQ(o.status, 1);
  EXPECT_TRUE(contains(o.err, "analysed on the p-y model: it has no mobilised earth pressure"))
      << o.err;
  EXPECT_FALSE(fs::exists(work.path() / "m.svg"));
  std::ofstream(work.path() / "wall.terraq.json")
      << R"({"format": "terraq-project", "version": 1, "soilModel": {"model": "subgrade",
      "units": {"subgradeModulus": "kN/m3"}, "layers": [{"khTop": 12000, "khBottom": 36000,
      "k0": 0, "ocr": 1, "reloadRatio": 2}]}})";
  o = runTerraq(plot, work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  const std::string svg = ReadFile(work.path() / "m.svg");
  for (const char* name : {"Retained: mobilised", "Retained: passive", "Front: active",
                           "Front: at rest", "Retained Face Left, Front Face Right"})
    EXPECT_TRUE(contains(svg, name)) << name;
}

TEST(PlotCommand, RefusalsSayWhyAndWriteNothing) {
  ScratchFolder work;
  AnalysedSample(work);

  Outcome o = runTerraq("plot --graph torque --out t.png wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "--graph torque is refused for plot")) << o.err;
  o = runTerraq("plot --graph moment --out t.jpg wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, ".bmp, .png, .svg or .pdf")) << o.err;

  // A page no printer or screen can use is refused at once.
  for (const char* size :
       {"--width 1e6", "--height 300", "--ppi 100000", "--width 100 --ppi 600"}) {
    o = runTerraq(std::string("plot --graph moment --out t.png ") + size + " wall.tq4d",
                  work.path());
    EXPECT_EQ(o.status, 2) << size;
    EXPECT_TRUE(contains(o.err, "terraq: the picture of ")) << o.err;
  }

  // No plot file: the project was never analysed.
  fs::copy_file(work.path() / "wall.tq4d", work.path() / "fresh.tq4d");
  o = runTerraq("plot --graph moment --out t.png fresh.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "cannot find the plot file fresh.tq4p")) << o.err;

  o = runTerraq("plot --graph moment --out missing/t.png wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "Cannot write missing/t.png: ")) << o.err;
  EXPECT_TRUE(contains(o.err, "No such file or directory")) << o.err;

  // A plot file cut short is not usable.
  const std::string plot = ReadFile(work.path() / "wall.tq4p");
  std::ofstream(work.path() / "wall.tq4p", std::ios::binary) << plot.substr(0, plot.size() / 2);
  o = runTerraq("plot --graph moment --out t.png wall.tq4d", work.path());
  EXPECT_EQ(o.status, 1);
  EXPECT_TRUE(contains(o.err, "is not a usable plot file")) << o.err;

  // A wall without earth pressure has nothing to draw in that graph.
  work.copy("cli-cantilever.tq4d", "cantilever.tq4d");
  work.copy("cli-cantilever.tq4p", "cantilever.tq4p");
  o = runTerraq("plot --graph pressure --out t.png cantilever.tq4d", work.path());
  EXPECT_EQ(o.status, 1);
  EXPECT_TRUE(contains(o.err, "the pressure graph of cantilever.tq4p has no points to draw")) << o.err;

  EXPECT_FALSE(fs::exists(work.path() / "t.png"));
  EXPECT_FALSE(fs::exists(work.path() / "t.jpg"));
}

}  // namespace
