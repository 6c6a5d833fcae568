// Graphs on paper and in files: the bitmaps at each colour depth read back,
// the vector pictures, the printed page, the legend box of an export, and
// saves that fail without harm.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "GraphOutput.h"
#include "GraphPainter.h"
#include "graphs/GraphRanges.h"

using namespace terraq::ui;

namespace {

// Two straight, wide curves across a depth graph 0..10 × 0..10: curve 0
// black along depth 2, curve 1 blue along depth 5, curve 2 red along
// depth 8. No markers, so that the points asked about lie on plain lines.
TGraphPlot StraightCurves() {
  TGraphPlot g;
  g.Caption = "Test Curves";
  g.XCaption = "Deflection";
  g.YCaption = "Depth";
  g.Markers = 0;
  g.WidthLine = 6;
  SetLineCount(g.Lines, 3);
  for (int k = 0; k < 3; ++k) g.Lines[k].Points = {{0, 2.0L + 3 * k}, {10, 2.0L + 3 * k}};
  return g;
}

const std::array<TWorldRect, 3> kWorld{TWorldRect{0, 10, 0, 10}, {}, {}};

// Where world point (x, y) of the first panel lies in an exported image.
QPoint ExportPixel(const TGraphPlot& g, const TGraphImageSize& size, long double x, long double y) {
  const int ppi = size.PixelsPerInch;
  const TGraphLayout layout =
      LayoutGraph(GraphLayoutInput(g, size.PixelWidth(), size.PixelHeight(), ppi, ppi, TLayoutTarget::Export));
  const TPanelMap map(kWorld[0], layout.Panels[0], g.XOnTop);
  return {map.ToPixelX(x), map.ToPixelY(y)};
}

QColor Colour(int k) {
  const TRgb c = LineColour(k);
  return QColor(c.r, c.g, c.b);
}

std::string ReadAll(const QString& file) {
  std::ifstream in(file.toStdString(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

unsigned Little(const std::string& bytes, size_t at, int count) {
  unsigned v = 0;
  for (int k = count - 1; k >= 0; --k) v = v * 256 + static_cast<unsigned char>(bytes.at(at + k));
  return v;
}

bool HaveProgram(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// The first page of a PDF as an image at `dpi`, through pdftoppm.
QImage RenderPdf(const QString& pdf, int dpi) {
  const QString stem = pdf + QStringLiteral("-page");
  const std::string command = "pdftoppm -r " + std::to_string(dpi) + " -png -singlefile '" + pdf.toStdString() +
                              "' '" + stem.toStdString() + "'";
  if (std::system(command.c_str()) != 0) return {};
  return QImage(stem + QStringLiteral(".png"));
}

bool Near(const QColor& a, const QColor& b, int tolerance = 40) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

TEST(GraphOutput, FormatsByExtensionAndPixelSize) {
  EXPECT_EQ(GraphFileFormatFor("a/b.BMP"), TGraphFileFormat::Bmp);
  EXPECT_EQ(GraphFileFormatFor("b.png"), TGraphFileFormat::Png);
  EXPECT_EQ(GraphFileFormatFor("b.Svg"), TGraphFileFormat::Svg);
  EXPECT_EQ(GraphFileFormatFor("b.pdf"), TGraphFileFormat::Pdf);
  EXPECT_FALSE(GraphFileFormatFor("b.jpg"));
  EXPECT_FALSE(GraphFileFormatFor("bmp"));
  const TGraphImageSize odd{2.5, 2.25, 11};
  EXPECT_EQ(odd.PixelWidth(), 28);   // 27.5 rounds up
  EXPECT_EQ(odd.PixelHeight(), 25);  // 24.75
}

// Every colour choice gives a BMP of its depth, 432 × 288 at the defaults,
// that a reader takes back; the curves keep their colours down to 16.
TEST(GraphOutput, BitmapsHaveTheChosenDepthAndKeepCurveColours) {
  QTemporaryDir dir;
  const TGraphPlot g = StraightCurves();
  const struct {
    TBitmapColors colors;
    unsigned bits;
    bool exactColours;
  } choices[] = {{TBitmapColors::BlackWhite, 1, false},
                 {TBitmapColors::Colors16, 4, true},
                 {TBitmapColors::Colors256, 8, true},
                 {TBitmapColors::HighColor16Bit, 16, false},
                 {TBitmapColors::TrueColor24Bit, 24, true}};
  for (const auto& choice : choices) {
    SCOPED_TRACE(choice.bits);
    TGraphImageSize size;
    size.Colors = choice.colors;
    const QString file = dir.filePath(QStringLiteral("graph-%1.bmp").arg(choice.bits));
    ASSERT_EQ(SaveGraph(g, kWorld, file.toStdString(), TGraphFileFormat::Bmp, size), "");
    const std::string bytes = ReadAll(file);
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Little(bytes, 2, 4), bytes.size());
    EXPECT_EQ(Little(bytes, 18, 4), 432u);
    EXPECT_EQ(Little(bytes, 22, 4), 288u);
    EXPECT_EQ(Little(bytes, 28, 2), choice.bits);
    EXPECT_EQ(Little(bytes, 38, 4), 2835u);  // 72 per inch in pixels per metre

    const QImage back(file);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(432, 288));
    const QPoint red = ExportPixel(g, size, 5, 8);
    const QPoint blue = ExportPixel(g, size, 5, 5);
    if (choice.exactColours) {
      EXPECT_EQ(back.pixelColor(red), Colour(2));
      EXPECT_EQ(back.pixelColor(blue), Colour(1));
    } else if (choice.bits == 1) {
      EXPECT_EQ(back.pixelColor(red), QColor(Qt::black));
    } else {
      EXPECT_TRUE(Near(back.pixelColor(red), Colour(2), 8));
    }
    EXPECT_TRUE(Near(back.pixelColor(431, 287), Qt::white, 8));  // 5 bits a channel: 248
  }
}

TEST(GraphOutput, PngShowsTheCurvesInTheirColours) {
  QTemporaryDir dir;
  const TGraphPlot g = StraightCurves();
  TGraphImageSize size{6, 4, 96, TBitmapColors::Colors256};
  const QString file = dir.filePath(QStringLiteral("graph.png"));
  ASSERT_EQ(SaveGraph(g, kWorld, file.toStdString(), TGraphFileFormat::Png, size), "");
  const QImage back(file);
  ASSERT_EQ(back.size(), QSize(576, 384));
  EXPECT_EQ(back.pixelColor(ExportPixel(g, size, 3, 5)), Colour(1));
  EXPECT_EQ(back.pixelColor(ExportPixel(g, size, 3, 8)), Colour(2));
  EXPECT_EQ(back.pixelColor(ExportPixel(g, size, 3, 6.5L)), QColor(Qt::white));
}

// A graph with a limit (the utilisation of a section) shows 0 to at least
// 1.2 times the limit, and its curves red beyond the limit only.
TEST(GraphOutput, CurvesBeyondTheLimitAreRed) {
  QTemporaryDir dir;
  TGraphPlot g = StraightCurves();
  g.XLimit = 1;
  g.Lines.resize(1);
  g.Lines[0].Points = {{0.25L, 2}, {0.5L, 2}};
  EXPECT_EQ(FullWorld(g)[0].XMin, 0);
  EXPECT_NEAR(static_cast<double>(FullWorld(g)[0].XMax), 1.2, 1e-12);
  g.Lines[0].Points = {{0.5L, 2}, {1.3L, 2}, {1.3L, 8}, {1.5L, 8}};
  const std::array<TWorldRect, 3> world = FullWorld(g);
  EXPECT_NEAR(static_cast<double>(world[0].XMax), 1.5, 1e-12);
  const TGraphImageSize size{6, 4, 96, TBitmapColors::TrueColor24Bit};
  const QString file = dir.filePath(QStringLiteral("limit.png"));
  ASSERT_EQ(SaveGraph(g, world, file.toStdString(), TGraphFileFormat::Png, size), "");
  const QImage back(file);
  const TGraphLayout layout =
      LayoutGraph(GraphLayoutInput(g, 576, 384, 96, 96, TLayoutTarget::Export));
  const TPanelMap map(world[0], layout.Panels[0], g.XOnTop);
  const auto at = [&](long double x, long double y) {
    return back.pixelColor(map.ToPixelX(x), map.ToPixelY(y));
  };
  EXPECT_EQ(at(0.8L, 2), Colour(0));
  EXPECT_EQ(at(1.2L, 2), QColor(Qt::red));
  EXPECT_EQ(at(1.3L, 5), QColor(Qt::red));
}

// Results that are not valid are marked in red across the top of the plot,
// over the curves; valid ones draw nothing there.
TEST(GraphOutput, ResultsThatAreNotValidAreMarkedOnThePicture) {
  QTemporaryDir dir;
  TGraphPlot g = StraightCurves();
  const TGraphImageSize size{6, 4, 96, TBitmapColors::TrueColor24Bit};
  const auto redPixels = [&](const QString& name) {
    const QString file = dir.filePath(name);
    EXPECT_EQ(SaveGraph(g, kWorld, file.toStdString(), TGraphFileFormat::Png, size), "");
    const QImage back(file);
    const QPoint top = ExportPixel(g, size, 0, 0), below = ExportPixel(g, size, 10, 2);
    int red = 0;
    for (int y = top.y(); y < below.y(); ++y)
      for (int x = top.x(); x < below.x(); ++x) red += back.pixelColor(x, y) == QColor(200, 0, 0);
    return red;
  };
  EXPECT_EQ(redPixels(QStringLiteral("valid.png")), 0);
  g.ResultsMark = "RESULTS NOT VALID: allowable deflection exceeded";
  EXPECT_GT(redPixels(QStringLiteral("marked.png")), 200);
}

// The box sits in the plot's bottom-right corner over the curves, one row
// per visible curve of the legend, each in its legend position's colour.
TEST(GraphOutput, ExportedImageCarriesTheLegendBox) {
  QTemporaryDir dir;
  TGraphPlot g = StraightCurves();
  g.Lines[0].Visible = false;  // keeps its place (and colour number), no row
  g.Lines[1].Points = {{0, 0}, {10, 10}};  // runs into the box's corner
  g.onGetCaption = [](int index, std::string& label) { label = "Curve " + std::string(1, char('A' + index)); };
  const int ppi = 192;
  const TGraphImageSize size{6, 4, ppi, TBitmapColors::TrueColor24Bit};
  const QString file = dir.filePath(QStringLiteral("legend.png"));
  ASSERT_EQ(SaveGraph(g, kWorld, file.toStdString(), TGraphFileFormat::Png, size), "");
  const QImage image(file);
  const TGraphLayout layout = LayoutGraph(GraphLayoutInput(g, 1152, 768, ppi, ppi, TLayoutTarget::Export));

  // Up the box's right padding to its top edge, then left along the inside
  // of the top edge to its left edge.
  const int x0 = layout.Plot.Right - 3;
  int top = layout.Plot.Bottom - 3;
  while (top > layout.Plot.Top && image.pixelColor(x0, top) != QColor(Qt::black)) --top;
  int left = x0;
  while (left > layout.Plot.Left && image.pixelColor(left, top + 2) != QColor(Qt::black)) --left;

  QFont font(QString::fromLatin1(kGraphFontFamily));
  font.setPixelSize(GraphTextHeight(g.SizeFont, ppi));
  const QFontMetrics metrics(font);
  EXPECT_EQ(layout.Plot.Bottom - top, 2 * (metrics.height() + ppi / 32) + ppi / 32);
  const int widest =
      std::max(metrics.horizontalAdvance(QStringLiteral("Curve B")), metrics.horizontalAdvance(QStringLiteral("Curve C")));
  EXPECT_EQ(layout.Plot.Right - left, widest + 3 * ppi / 16);

  // The diagonal runs under the white box (here in its right padding); the
  // rows hold blue and red (the second and third legend entries) and
  // nothing black: no grid line shows through.
  const TPixelRect& plot = layout.Plot;
  const int beforeCorner = 6;
  EXPECT_EQ(image.pixelColor(plot.Right - beforeCorner, plot.Bottom - beforeCorner * plot.Height() / plot.Width()),
            QColor(Qt::white));
  int blue = 0, red = 0, black = 0;
  for (int y = top + 2; y < layout.Plot.Bottom - 1; ++y)
    for (int x = left + 2; x < layout.Plot.Right - 1; ++x) {
      const QColor c = image.pixelColor(x, y);
      blue += c == Colour(1);
      red += c == Colour(2);
      black += c == QColor(Qt::black);
    }
  EXPECT_GT(blue, 20);
  EXPECT_GT(red, 20);
  EXPECT_EQ(black, 0);
}

TEST(GraphOutput, SvgIsAVectorPicture) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("graph.svg"));
  ASSERT_EQ(SaveGraph(StraightCurves(), kWorld, file.toStdString(), TGraphFileFormat::Svg, {}), "");
  const std::string text = ReadAll(file);
  EXPECT_NE(text.find("<svg"), std::string::npos);
  EXPECT_NE(text.find("viewBox=\"0 0 432 288\""), std::string::npos);
  EXPECT_NE(text.find("<path"), std::string::npos);
  EXPECT_NE(text.find("<title>Test Curves</title>"), std::string::npos);
}

TEST(GraphOutput, PdfPageHasThePictureSizeAndTheCurves) {
  if (!HaveProgram("pdftoppm")) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  QTemporaryDir dir;
  const TGraphPlot g = StraightCurves();
  const TGraphImageSize size;  // 6 × 4 in at 72
  const QString file = dir.filePath(QStringLiteral("graph.pdf"));
  ASSERT_EQ(SaveGraph(g, kWorld, file.toStdString(), TGraphFileFormat::Pdf, size), "");
  const QImage page = RenderPdf(file, 72);
  ASSERT_EQ(page.size(), QSize(432, 288));
  EXPECT_TRUE(Near(page.pixelColor(ExportPixel(g, size, 3, 8)), Colour(2)));
  EXPECT_TRUE(Near(page.pixelColor(ExportPixel(g, size, 3, 5)), Colour(1)));
}

// A letter page with inch margins: nothing in the margins, the plot's right
// edge on the right margin (the print layout), the job named after the graph.
TEST(GraphOutput, PrintsOnAPdfPrinterWithinTheMargins) {
  if (!HaveProgram("pdftoppm") || !HaveProgram("pdfinfo")) GTEST_SKIP() << "poppler-utils is not installed";
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("printed.pdf"));
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  printer.setPageSize(QPageSize(QPageSize::Letter));
  printer.setPageOrientation(QPageLayout::Landscape);
  const TGraphPlot g = StraightCurves();
  ASSERT_TRUE(PrintGraph(printer, g, kWorld, TPageMargins{}));

  FILE* info = popen(("pdfinfo '" + file.toStdString() + "'").c_str(), "r");
  std::string text;
  char buffer[512];
  while (info && fgets(buffer, sizeof buffer, info)) text += buffer;
  if (info) pclose(info);
  const size_t title = text.find("Title:");
  ASSERT_NE(title, std::string::npos) << text;
  EXPECT_TRUE(text.substr(title, text.find('\n', title) - title).ends_with(" Test Curves")) << text;
  // TERRAQ_PLOT_SHOTS: a folder to keep the page in, to look at.
  if (const QString shots = qEnvironmentVariable("TERRAQ_PLOT_SHOTS"); !shots.isEmpty())
    QFile::copy(file, QDir(shots).filePath(QStringLiteral("printed.pdf")));

  const QImage page = RenderPdf(file, 72);
  ASSERT_EQ(page.size(), QSize(792, 612));
  auto blankColumns = [&](int from, int to) {
    for (int x = from; x < to; ++x)
      for (int y = 0; y < page.height(); ++y)
        if (!Near(page.pixelColor(x, y), Qt::white, 10)) return false;
    return true;
  };
  EXPECT_TRUE(blankColumns(0, 70));
  // (the last X label may stand half over the right edge)
  EXPECT_TRUE(blankColumns(792 - 60, 792));
  // The frame's right edge stands on the right margin, mid-height.
  bool frame = false;
  for (int x = 792 - 74; x <= 792 - 71; ++x) frame |= Near(page.pixelColor(x, 306), Qt::black, 90);
  EXPECT_TRUE(frame);
  // A curve drawn on the page.
  bool red = false;
  for (int x = 100; x < 700 && !red; ++x)
    for (int y = 72; y < 540 && !red; ++y) red = Near(page.pixelColor(x, y), Colour(2), 30);
  EXPECT_TRUE(red);
}

TEST(GraphOutput, PrintAreaNeverReachesIntoThePrintersOffsets) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setResolution(600);
  QPageLayout layout = printer.pageLayout();
  layout.setUnits(QPageLayout::Inch);
  layout.setMinimumMargins(QMarginsF(0.25, 0.5, 0.25, 0.5));
  layout.setMargins(QMarginsF(0.25, 0.5, 0.25, 0.5));
  printer.setPageLayout(layout);
  QPageLayout back = printer.pageLayout();
  back.setUnits(QPageLayout::Inch);
  if (back.minimumMargins().top() < 0.49) GTEST_SKIP() << "this printer has no offsets to test with";
  const TPixelRect area = PrintArea(printer, TPageMargins{100, 100, 1000, 2000});
  const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
  EXPECT_EQ(area.Left, 150);   // the offset, not 0.1 in
  EXPECT_EQ(area.Top, 300);
  EXPECT_EQ(area.Right, paper.width() - 600);
  EXPECT_EQ(area.Bottom, paper.height() - 1200);
}

TEST(GraphOutput, FailedSavesLeaveNothingAndSayWhy) {
  QTemporaryDir dir;
  const TGraphPlot g = StraightCurves();
  const std::string missing = dir.filePath(QStringLiteral("no-such-folder/graph.png")).toStdString();
  const std::string error = SaveGraph(g, kWorld, missing, TGraphFileFormat::Png, {});
  EXPECT_NE(error.find(missing), std::string::npos) << error;
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

  // Far beyond what a bitmap can hold: refused before anything is written.
  const std::string huge = dir.filePath(QStringLiteral("huge.bmp")).toStdString();
  EXPECT_EQ(SaveGraph(g, kWorld, huge, TGraphFileFormat::Bmp, {100, 100, 10000}),
            "There is not enough memory to complete this task.");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(huge)));
}

TEST(GraphOutput, ReadOnlyPictureIsKept) {
  QTemporaryDir dir;
  const TGraphPlot g = StraightCurves();
  const QString readOnly = dir.filePath(QStringLiteral("kept.pdf"));
  {
    std::ofstream(readOnly.toStdString()) << "old picture";
  }
  ::chmod(readOnly.toLocal8Bit().constData(), 0444);
  if (::access(readOnly.toLocal8Bit().constData(), W_OK) == 0) GTEST_SKIP() << "permissions are bypassed for this user";
  const std::string refused = SaveGraph(g, kWorld, readOnly.toStdString(), TGraphFileFormat::Pdf, {});
  EXPECT_NE(refused.find(readOnly.toStdString()), std::string::npos) << refused;
  EXPECT_EQ(ReadAll(readOnly), "old picture");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

}  // namespace
