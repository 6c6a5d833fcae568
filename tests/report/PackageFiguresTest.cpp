// The figures of the calculation package painted for sample projects: what
// a fault would break (ink outside the area, an envelope that does not bound
// the curves, a legend or dimension missing from the picture), not how
// each line is drawn.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <fstream>
#include <sstream>

#include "DepthGraph.h"
#include "PackageFigures.h"
#include "PackageGraphs.h"
#include "ProfileDrawing.h"
#include "api/Analysis.h"
#include "project/StageFiles.h"
#include "project/TProgramData.h"

namespace terraq::report {
namespace {

namespace api = engine::api;
using ui::TFloatPoint;

std::string ReadSample(const std::string& relative) {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A staged excavation made from a sample: the cut deepened from 2 m to
// 3 m and 4 m, the last stage propped at 1 m.
std::string StagedRockWall() {
  ui::TProjectTables tables;
  ui::TProgramData d(tables);
  d.LoadStageBlockText(ReadSample("examples/wall-socketed-weak-rock.tq4d"));
  d.StageCount = 3;
  std::string text;
  for (int k = 1; k <= 3; ++k) {
    d.CurrentStage = k;
    d.FreeHeight = 1.0 + k;
    if (k == 3) {
      d.UseSprings = true;
      tables.Springs.SetRowCount(1);
      tables.Springs.Cell(0, 0).SetInteger(1);
      tables.Springs.Cell(1, 0).SetInteger(4);
      tables.Springs.Cell(2, 0).SetInteger(4);
      tables.Springs.Cell(3, 0).SetFloat(50000);
      tables.Springs.Cell(4, 0).SetFloat(0);
    }
    text += d.StageBlockText(k);
  }
  return text;
}

struct Sample {
  std::string text;
  std::vector<api::ProblemResult> problems;
  std::vector<std::string> names;
  int units = 1;
};

Sample Analysed(const std::string& relative) {
  Sample s;
  s.text = relative == "staged" ? StagedRockWall() : ReadSample(relative);
  api::AnalysisResult r = api::Analyse(s.text);
  EXPECT_FALSE(r.error) << relative;
  s.problems = std::move(r.problems);
  for (size_t i = 0; i < s.problems.size(); ++i)
    s.names.push_back("Stage " + std::to_string(i + 1));
  if (!s.problems.empty()) s.units = s.problems.front().units;
  return s;
}

// The figure painted at `dpi` into an area of the given size in mm, inset
// by a border in a larger white image.
struct Painted {
  QImage image;
  QRect area;
};

Painted Paint(const Figure& figure, double widthMm, double heightMm, double dpi = 150) {
  const int w = static_cast<int>(widthMm / 25.4 * dpi), h = static_cast<int>(heightMm / 25.4 * dpi);
  const int border = 40;
  Painted p{QImage(w + 2 * border, h + 2 * border, QImage::Format_RGB32),
            QRect(border, border, w, h)};
  p.image.fill(Qt::white);
  QPainter painter(&p.image);
  figure.paint(painter, QRectF(p.area), dpi);
  return p;
}

int InkOutside(const Painted& p) {
  int ink = 0;
  for (int y = 0; y < p.image.height(); ++y)
    for (int x = 0; x < p.image.width(); ++x)
      if (!p.area.contains(x, y) && p.image.pixel(x, y) != qRgb(255, 255, 255)) ++ink;
  return ink;
}

int InkInside(const Painted& p) {
  int ink = 0;
  for (int y = p.area.top(); y <= p.area.bottom(); ++y)
    for (int x = p.area.left(); x <= p.area.right(); ++x)
      if (p.image.pixel(x, y) != qRgb(255, 255, 255)) ++ink;
  return ink;
}

QString Svg(const Figure& figure) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(605, 454));
  svg.setViewBox(QRect(0, 0, 605, 454));
  svg.setResolution(96);
  QPainter painter(&svg);
  figure.paint(painter, QRectF(0, 0, 605, 454), 96);
  painter.end();
  return QString::fromUtf8(bytes);
}

const Quantity kQuantities[] = {Quantity::Deflection, Quantity::Slope, Quantity::Moment,
                                Quantity::Shear, Quantity::SoilReaction};

TEST(PackageFigures, StagedResultsShowEveryStageAndTheEnvelopeInsideTheArea) {
  const Sample s = Analysed("tests/data/fuzz-seeds/five-full-stages.tq4d");
  ASSERT_EQ(s.problems.size(), 5u);
  for (const Quantity q : kQuantities) {
    const Figure f = ResultFigure(q, s.problems, s.names, s.units, "caption");
    for (const auto& [w, h] :
         {std::pair{90.0, 60.0}, std::pair{260.0, 180.0}, std::pair{160.0, 160.0}}) {
      const Painted p = Paint(f, w, h);
      EXPECT_EQ(InkOutside(p), 0) << static_cast<int>(q) << " at " << w << " x " << h << " x " << h
                                  << " mm";
      EXPECT_GT(InkInside(p), 1000) << w << " x " << h;
    }
    const QString svg = Svg(f);
    for (const std::string& name : s.names)
      EXPECT_TRUE(svg.contains(QString::fromStdString(name))) << name;
    EXPECT_TRUE(svg.contains("Envelope (max)") && svg.contains("Envelope (min)"));
    EXPECT_TRUE(svg.contains("Depth (ft)"));
  }
  // The axes name their units in the program's graph units.
  EXPECT_TRUE(Svg(ResultFigure(Quantity::Moment, s.problems, s.names, 1, ""))
                  .contains(QString::fromUtf8("kip·in")));
}

TEST(PackageFigures, ResultsAreDrawnInTheUnitsOfTheProgramsGraphs) {
  // English results are held in pounds and inches; the graphs show feet,
  // kips and kip·in, and the reaction per inch of wall.
  const Sample s = Analysed("examples/cantilever-sand-generated.tq4d");
  ASSERT_EQ(s.units, 1);
  const std::vector<api::StationResult>& st = s.problems[0].stations;
  const double h = s.problems[0].incrementLength;
  const size_t j = st.size() / 2;
  auto at = [&](Quantity q) {
    return ResultGraph(q, s.problems, s.names, 1).curves.at(0).points.at(j);
  };
  EXPECT_DOUBLE_EQ(static_cast<double>(at(Quantity::Moment).X), st[j].moment / 1000);
  EXPECT_DOUBLE_EQ(static_cast<double>(at(Quantity::Shear).X), st[j].shear / 1000);
  EXPECT_DOUBLE_EQ(static_cast<double>(at(Quantity::Deflection).X), st[j].deflection);
  EXPECT_DOUBLE_EQ(static_cast<double>(at(Quantity::SoilReaction).X), st[j].soilReaction / h);
  EXPECT_DOUBLE_EQ(static_cast<double>(at(Quantity::Slope).Y), st[j].depth / 12);
  EXPECT_EQ(ResultGraph(Quantity::Shear, s.problems, s.names, 1).xCaption, "Shear (kips)");
  // SI values are drawn as they are.
  const Sample si = Analysed("examples/anchored-wall-tieback.tq4d");
  const DepthGraph moment = ResultGraph(Quantity::Moment, si.problems, si.names, 2);
  EXPECT_DOUBLE_EQ(static_cast<double>(moment.curves[0].points[j].X),
                   si.problems[0].stations[j].moment);
  EXPECT_EQ(moment.xCaption, "Bending Moment (kN·m)");
  EXPECT_TRUE(moment.resultsMark.empty());
}

TEST(PackageFigures, ResultsThatMustNotBeUsedAreMarkedOnTheGraph) {
  Sample s = Analysed("staged");
  ASSERT_EQ(s.problems.size(), 3u);
  s.problems[1].closed = false;
  const DepthGraph graph = ResultGraph(Quantity::Deflection, s.problems, s.names, s.units);
  // The envelope lies under the three stages, in the grey of a bound.
  ASSERT_EQ(graph.curves.size(), 5u);
  EXPECT_EQ(graph.curves[3].underlay, 1);
  EXPECT_EQ(graph.curves[3].colourNumber, -1);
  EXPECT_NE(graph.resultsMark.find("NOT VALID"), std::string::npos);
  EXPECT_NE(graph.resultsMark.find("Stage 2"), std::string::npos);
  EXPECT_EQ(graph.resultsMark.find("Stage 1"), std::string::npos);
  EXPECT_TRUE(Svg(ResultFigure(Quantity::Deflection, s.problems, s.names, s.units, ""))
                  .contains("RESULTS NOT VALID"));
}

TEST(PackageFigures, EnvelopeBoundsEveryStageAtEveryStation) {
  const Sample s = Analysed("tests/data/fuzz-seeds/five-full-stages.tq4d");
  std::vector<std::vector<TFloatPoint>> curves;
  for (const api::ProblemResult& p : s.problems) {
    std::vector<TFloatPoint> c;
    for (const api::StationResult& st : p.stations) c.push_back({st.moment, st.depth});
    curves.push_back(c);
  }
  const Envelope e = EnvelopeOf(curves);
  ASSERT_EQ(e.max.size(), curves[0].size());
  bool stagesDiffer = false;
  for (size_t j = 0; j < e.max.size(); ++j) {
    bool maxIsOne = false, minIsOne = false;
    for (const auto& c : curves) {
      EXPECT_LE(c[j].X, e.max[j].X);
      EXPECT_GE(c[j].X, e.min[j].X);
      maxIsOne = maxIsOne || c[j].X == e.max[j].X;
      minIsOne = minIsOne || c[j].X == e.min[j].X;
      stagesDiffer = stagesDiffer || c[j].X != curves[0][j].X;
    }
    EXPECT_TRUE(maxIsOne && minIsOne) << j;
  }
  EXPECT_TRUE(stagesDiffer);
}

TEST(PackageFigures, EnvelopeOfCurvesOnDifferentDepthsInterpolatesWithinEachCurve) {
  // The second curve has its own stations; the third ends halfway.
  const Envelope e = EnvelopeOf(
      {{{0, 0}, {2, 1}, {4, 2}}, {{1, 0}, {1, 0.5}, {1, 1.5}, {1, 2}}, {{-1, 0}, {3, 1}}});
  const std::vector<long double> depths{0, 0.5, 1, 1.5, 2};
  ASSERT_EQ(e.max.size(), depths.size());
  const std::vector<long double> max{1, 1, 3, 3, 4}, min{-1, 1, 1, 1, 1};
  for (size_t j = 0; j < depths.size(); ++j) {
    EXPECT_EQ(e.max[j].Y, depths[j]);
    EXPECT_DOUBLE_EQ(static_cast<double>(e.max[j].X), static_cast<double>(max[j])) << j;
    EXPECT_DOUBLE_EQ(static_cast<double>(e.min[j].X), static_cast<double>(min[j])) << j;
  }
  EXPECT_TRUE(EnvelopeOf({{{0, 0}, {1, 1}}}).max.empty());  // one curve: no envelope
}

TEST(PackageFigures, PressureOfEachProblemWithItsPartsWhereGenerated) {
  const Sample s = Analysed("examples/cantilever-triangular-strip-load.tq4d");
  const QString svg = Svg(PressureFigure(s.problems, s.names, s.units, ""));
  EXPECT_TRUE(svg.contains("Total") && svg.contains("Soil") && svg.contains("Surcharge"));
  EXPECT_TRUE(svg.contains("(lbs/in)") && svg.contains("Depth (ft)"));
  const Painted p = Paint(PressureFigure(s.problems, s.names, s.units, ""), 90, 60);
  EXPECT_EQ(InkOutside(p), 0);
  // A project without earth pressure says so rather than drawing an empty frame.
  const Sample none = Analysed("examples/cantilever-point-load.tq4d");
  EXPECT_TRUE(
      Svg(PressureFigure(none.problems, none.names, none.units, "")).contains("No earth pressure"));
}

// The stage blocks of a data file, each read as its own project.
struct Stage {
  ui::TProjectTables tables;
  ui::TProgramData data{tables};
};

std::vector<std::unique_ptr<Stage>> Stages(const std::string& text) {
  std::vector<std::unique_ptr<Stage>> stages;
  for (const std::string& block : ui::SplitStageBlocks(text)) {
    stages.push_back(std::make_unique<Stage>());
    stages.back()->data.LoadStageBlockText(block);
  }
  return stages;
}

TEST(PackageFigures, ProfileShowsTheWallItsSupportsAndDimensionsInsideTheArea) {
  const auto anchored = Stages(ReadSample("examples/anchored-wall-tieback.tq4d"));
  ASSERT_EQ(anchored.size(), 1u);
  const Figure f = ProfileFigure(anchored[0]->data, "");
  const QString svg = Svg(f);
  for (const char* text :
       {"H = 7.00 m", "D = 5.00 m", "L = 12.00 m", "Anchor k = 5000 kN/m at 1.50 m"})
    EXPECT_TRUE(svg.contains(QString::fromUtf8(text))) << text;

  // Layers, water and surcharge; a stage crowded with loads and springs
  // keeps its labels apart and inside the area.
  const auto rock = Stages(ReadSample("examples/wall-socketed-weak-rock.tq4d"));
  const QString rockSvg = Svg(ProfileFigure(rock[0]->data, ""));
  EXPECT_TRUE(rockSvg.contains("Weak Rock") && rockSvg.contains(QString::fromUtf8("q = 10 kN/m²")));
  // The SVG writer drops pattern fills: the hatching goes in as pictures.
  EXPECT_TRUE(rockSvg.contains("<image"));
  auto crowded = Stages(ReadSample("examples/wall-socketed-weak-rock.tq4d"));
  ui::TProgramData& many = crowded[0]->data;
  many.UseConcentratedLoads = many.UseSprings = true;
  for (ui::TGridTable* t : {&many.Tables().ConcentratedLoads, &many.Tables().Springs}) {
    t->SetRowCount(18);
    for (int r = 0; r < 18; ++r) {
      t->Cell(0, r).SetInteger(1);
      t->Cell(1, r).SetInteger(r + 1);
      t->Cell(2, r).SetInteger(r + 1);
      t->Cell(3, r).SetFloat(100 + r);
    }
  }
  for (const auto* stage : {anchored[0].get(), rock[0].get(), crowded[0].get()})
    for (const auto& [w, h] : {std::pair{90.0, 60.0}, std::pair{260.0, 180.0}}) {
      const Painted p = Paint(ProfileFigure(stage->data, ""), w, h);
      EXPECT_EQ(InkOutside(p), 0) << stage->data.ProjectTitle << " at " << w << " mm";
      EXPECT_GT(InkInside(p), 1000);
    }
  EXPECT_TRUE(Svg(ProfileFigure(crowded[0]->data, "")).contains("left out for room"));
}

TEST(PackageFigures, SupportsAndLoadsAreReadAsTheEngineReadsThem) {
  // Springs confined to a station: anchors above the excavation, props below.
  auto stages = Stages(ReadSample("examples/wall-socketed-weak-rock.tq4d"));
  ui::TProgramData& d = stages[0]->data;  // 4 m cut, stations 0.25 m apart
  d.UseSprings = true;
  ui::TGridTable& springs = d.Tables().Springs;
  const int rows[][3] = {{4, 4, 900}, {16, 16, 800}, {24, 28, 700}};
  springs.SetRowCount(3);
  for (int r = 0; r < 3; ++r) {
    springs.Cell(0, r).SetInteger(1);
    springs.Cell(1, r).SetInteger(rows[r][0]);
    springs.Cell(2, r).SetInteger(rows[r][1]);
    springs.Cell(3, r).SetFloat(rows[r][2]);
  }
  d.Tables().Restraints.SetRowCount(1);  // a table switched off is not drawn
  const profile::Drawing drawing = profile::ReadStage(d);
  ASSERT_EQ(drawing.marks.size(), 3u);
  using Kind = profile::Mark::Kind;
  EXPECT_EQ(drawing.marks[0].kind, Kind::Tieback);
  EXPECT_EQ(drawing.marks[1].kind, Kind::Prop);  // at the excavation level
  EXPECT_EQ(drawing.marks[2].kind, Kind::Springs);
  EXPECT_DOUBLE_EQ(drawing.marks[2].depthTo, 7.0);
  EXPECT_EQ(drawing.marks[0].text, "k = 900 kN/m");

  // The restraint and surcharge codes as the engine reads them: a foot held
  // in deflection and slope (case 3), a strip load (type 3).
  const auto fixed = Stages(ReadSample("examples/cantilever-point-load.tq4d"));
  const profile::Drawing foot = profile::ReadStage(fixed[0]->data);
  ASSERT_EQ(foot.marks.size(), 2u);
  EXPECT_EQ(foot.marks[0].kind, Kind::Deflection);
  EXPECT_EQ(foot.marks[0].text, "y = 0 in, slope = 0");
  EXPECT_EQ(foot.marks[1].text, "P = 1000 lbs");
  const auto strip = Stages(ReadSample("examples/cantilever-triangular-strip-load.tq4d"));
  const profile::Drawing loaded = profile::ReadStage(strip[0]->data);
  ASSERT_EQ(loaded.surchargeLoads.size(), 1u);
  EXPECT_EQ(loaded.surchargeLoads[0].rfind("Strip load", 0), 0u) << loaded.surchargeLoads[0];
  strip[0]->data.Tables().SurchargeTable.Cell(0, 0).SetInteger(1);
  EXPECT_EQ(profile::ReadStage(strip[0]->data).surchargeLoads[0].rfind("Point load", 0), 0u);
}

// How long they take is measured by bench_report, not asserted here.
TEST(PackageFigures, FiveStagePackageFiguresPaintAtPrintResolution) {
  const Sample s = Analysed("tests/data/fuzz-seeds/five-full-stages.tq4d");
  const auto stages = Stages(StagedRockWall());
  std::vector<Figure> figures;
  for (int k = 0; k < 5; ++k) figures.push_back(ProfileFigure(stages[k % stages.size()]->data, ""));
  figures.push_back(PressureFigure(s.problems, s.names, s.units, ""));
  for (const Quantity q : kQuantities)
    figures.push_back(ResultFigure(q, s.problems, s.names, s.units, ""));
  // A page each in a PDF at the resolution of print, as the package has them.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&buffer);
  pdf.setResolution(1200);
  QPainter painter(&pdf);
  for (size_t i = 0; i < figures.size(); ++i) {
    if (i > 0) pdf.newPage();
    figures[i].paint(painter, QRectF(0, 0, 7000, 7000 * figures[i].aspect), 1200);
  }
  painter.end();
  EXPECT_GT(bytes.size(), 10000);
}

// Setting TERRAQ_FIGURE_SHOTS to a folder saves every figure of three
// samples as PNG, 160 mm wide at 150 dpi, to look at.
TEST(PackageFigures, Screenshots) {
  const QString folder = qEnvironmentVariable("TERRAQ_FIGURE_SHOTS");
  if (folder.isEmpty()) GTEST_SKIP();
  for (const char* sample :
       {"examples/anchored-wall-tieback.tq4d", "examples/cantilever-triangular-strip-load.tq4d",
        "staged", "tests/data/fuzz-seeds/five-full-stages.tq4d"}) {
    const Sample s = Analysed(sample);
    // The five-stage seed's tables are beyond what the program takes: results only.
    const auto stages = std::string(sample).find("five") == std::string::npos
                            ? Stages(s.text)
                            : decltype(Stages(""))();
    std::vector<std::pair<std::string, Figure>> figures;
    for (size_t k = 0; k < stages.size(); ++k)
      figures.push_back({"profile" + std::to_string(k + 1), ProfileFigure(stages[k]->data, "")});
    figures.push_back({"pressure", PressureFigure(s.problems, s.names, s.units, "")});
    for (const Quantity q : kQuantities)
      figures.push_back({"result" + std::to_string(static_cast<int>(q)),
                         ResultFigure(q, s.problems, s.names, s.units, "")});
    const std::string stem = QFileInfo(QString::fromLatin1(sample)).baseName().toStdString();
    for (const auto& [name, f] : figures)
      Paint(f, 160, 160 * f.aspect)
          .image.save(folder + "/" + QString::fromStdString(stem + "-" + name + ".png"));
  }
}

}  // namespace
}  // namespace terraq::report
