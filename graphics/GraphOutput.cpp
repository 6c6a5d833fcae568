#include "GraphOutput.h"

#include <QBuffer>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>
#include <algorithm>
#include <climits>
#include <cmath>

#include "BmpFile.h"
#include "GraphPainter.h"
#include "graphs/GraphRanges.h"
#include "project/AsciiLower.h"
#include "project/AtomicFile.h"

namespace terraq::ui {

namespace {

constexpr const char* kNoMemory = "There is not enough memory to complete this task.";

int RoundedPixels(int ppi, double inches) {
  const double pixels = std::round(ppi * inches);
  if (!(pixels >= 0)) return 0;  // negative or not a number
  return pixels > INT_MAX ? INT_MAX : static_cast<int>(pixels);
}

// The graph on any paint device with the export layout: `size` pixels at
// `ppi` dots per inch, the screen tiles of the layer strip and the legend
// box.
void PaintExport(QPainter& painter, const TGraphPlot& graph, const std::array<TWorldRect, 3>& world, int width,
                 int height, int ppi) {
  const TGraphLayout layout = LayoutGraph(GraphLayoutInput(graph, width, height, ppi, ppi, TLayoutTarget::Export));
  TPaintOutput output;
  output.DpiX = output.DpiY = ppi;
  output.ToImage = true;
  PaintGraph(painter, graph, world, layout, output);
}

// The sixteen colours of a small palette: white and every curve colour, so
// that each curve keeps its own colour exactly.
QList<QRgb> CurvePalette() {
  QList<QRgb> table{qRgb(255, 255, 255)};
  for (const TRgb& c : kLineColours) {
    const QRgb rgb = qRgb(c.r, c.g, c.b);
    if (!table.contains(rgb)) table.push_back(rgb);
  }
  return table;
}

// 256 colours: the curve colours first, then a 6 × 6 × 6 colour cube and
// a ramp of greys for the soft edges of the text.
QList<QRgb> WidePalette() {
  QList<QRgb> table = CurvePalette();
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) table.push_back(qRgb(51 * r, 51 * g, 51 * b));
  for (int k = 1; table.size() < 256; ++k) {
    const int level = std::min(255, k * 255 / 25);
    table.push_back(qRgb(level, level, level));
  }
  return table;
}

// Black and white: everything that is not (nearly) white is drawn, so
// that a yellow or silver curve stays as visible as a black one, and the
// soft edges of light text keep its strokes.
QImage ToBlackAndWhite(const QImage& rgb) {
  QImage mono(rgb.size(), QImage::Format_Mono);
  if (mono.isNull()) return mono;
  mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  mono.setDotsPerMeterX(rgb.dotsPerMeterX());
  mono.setDotsPerMeterY(rgb.dotsPerMeterY());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* out = mono.scanLine(y);
    std::fill(out, out + mono.bytesPerLine(), 0);
    for (int x = 0; x < rgb.width(); ++x) {
      const bool white = std::min({qRed(in[x]), qGreen(in[x]), qBlue(in[x])}) >= 240;
      if (white) out[x / 8] = static_cast<uchar>(out[x / 8] | (0x80 >> (x % 8)));
    }
  }
  return mono;
}

// The rendered picture reduced to the chosen colours; null when memory
// runs out.
QImage ReduceColours(const QImage& rgb, TBitmapColors colors) {
  switch (colors) {
    case TBitmapColors::BlackWhite: return ToBlackAndWhite(rgb);
    case TBitmapColors::Colors16: return rgb.convertToFormat(QImage::Format_Indexed8, CurvePalette(), Qt::ThresholdDither);
    case TBitmapColors::Colors256: return rgb.convertToFormat(QImage::Format_Indexed8, WidePalette(), Qt::ThresholdDither);
    case TBitmapColors::HighColor16Bit: return rgb.convertToFormat(QImage::Format_RGB555);
    case TBitmapColors::TrueColor24Bit: return rgb;
  }
  return rgb;
}

int BitsPerPixel(TBitmapColors colors) {
  switch (colors) {
    case TBitmapColors::BlackWhite: return 1;
    case TBitmapColors::Colors16: return 4;
    case TBitmapColors::Colors256: return 8;
    case TBitmapColors::HighColor16Bit: return 16;
    case TBitmapColors::TrueColor24Bit: return 24;
  }
  return 24;
}

// The bytes of a BMP or PNG file; empty (with `error` set) on failure.
QByteArray EncodeBitmap(const TPicturePainter& paint, TGraphFileFormat format,
                        const TGraphImageSize& size, std::string& error) {
  const int ppi = size.PixelsPerInch;
  // A bitmap beyond a gigabyte is refused rather than left to the system's
  // overcommitment, which would grant it and then thrash while painting.
  constexpr double kMostBitmapBytes = 1024.0 * 1024 * 1024;
  const bool tooLarge = 4.0 * size.PixelWidth() * size.PixelHeight() > kMostBitmapBytes;
  QImage picture = tooLarge ? QImage() : QImage(size.PixelWidth(), size.PixelHeight(), QImage::Format_RGB32);
  if (picture.isNull()) {
    error = kNoMemory;
    return {};
  }
  const int perMetre = static_cast<int>(std::lround(ppi / 0.0254));
  picture.setDotsPerMeterX(perMetre);
  picture.setDotsPerMeterY(perMetre);
  {
    picture.fill(Qt::white);
    QPainter painter(&picture);
    paint(painter, picture.width(), picture.height(), ppi);
  }
  const QImage reduced = ReduceColours(picture, size.Colors);
  if (reduced.isNull()) {
    error = kNoMemory;
    return {};
  }
  QByteArray bytes;
  if (format == TGraphFileFormat::Bmp) {
    bytes = EncodeBmp(reduced, BitsPerPixel(size.Colors), ppi);
  } else {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!reduced.save(&buffer, "PNG")) bytes.clear();
  }
  if (bytes.isEmpty()) error = kNoMemory;
  return bytes;
}

QByteArray EncodeSvg(const TPicturePainter& paint, const std::string& title,
                     const TGraphImageSize& size, std::string& error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const int width = size.PixelWidth(), height = size.PixelHeight();
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(QSize(width, height));
  svg.setViewBox(QRect(0, 0, width, height));
  svg.setResolution(size.PixelsPerInch);
  svg.setTitle(QString::fromStdString(title));
  QPainter painter;
  if (!painter.begin(&svg)) {
    error = "The SVG picture could not be drawn.";
    return {};
  }
  paint(painter, width, height, size.PixelsPerInch);
  painter.end();
  return bytes;
}

QByteArray EncodePdf(const TPicturePainter& paint, const std::string& title,
                     const TGraphImageSize& size, std::string& error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter pdf(&buffer);
  pdf.setTitle(QString::fromStdString(title));
  pdf.setCreator(QStringLiteral("TERRAQ"));
  pdf.setResolution(size.PixelsPerInch);
  // The page is the picture: no margins, exactly the size asked for.
  const QPageSize page(QSizeF(size.WidthInches, size.HeightInches), QPageSize::Inch, QString(),
                       QPageSize::ExactMatch);
  if (!pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)))) {
    error = "The PDF page could not be set to the picture's size.";
    return {};
  }
  QPainter painter;
  if (!painter.begin(&pdf)) {
    error = "The PDF picture could not be drawn.";
    return {};
  }
  paint(painter, size.PixelWidth(), size.PixelHeight(), size.PixelsPerInch);
  painter.end();
  return bytes;
}

}  // namespace

std::optional<TGraphFileFormat> GraphFileFormatFor(const std::filesystem::path& file) {
  const std::string extension = AsciiLower(file.extension().string());
  if (extension == ".bmp") return TGraphFileFormat::Bmp;
  if (extension == ".png") return TGraphFileFormat::Png;
  if (extension == ".svg") return TGraphFileFormat::Svg;
  if (extension == ".pdf") return TGraphFileFormat::Pdf;
  return std::nullopt;
}

int TGraphImageSize::PixelWidth() const { return RoundedPixels(PixelsPerInch, WidthInches); }
int TGraphImageSize::PixelHeight() const { return RoundedPixels(PixelsPerInch, HeightInches); }

std::array<TWorldRect, 3> FullWorld(const TGraphPlot& graph) { return GraphWorldRects(graph); }

std::string SavePicture(const TPicturePainter& paint, const std::string& title,
                        const std::filesystem::path& file, TGraphFileFormat format,
                        const TGraphImageSize& size) {
  if (size.PixelsPerInch < 1 || size.PixelWidth() < 1 || size.PixelHeight() < 1)
    return "Cannot write " + file.string() + ": the picture would have no pixels.";
  std::string error;
  QByteArray bytes;
  switch (format) {
    case TGraphFileFormat::Bmp:
    case TGraphFileFormat::Png: bytes = EncodeBitmap(paint, format, size, error); break;
    case TGraphFileFormat::Svg: bytes = EncodeSvg(paint, title, size, error); break;
    case TGraphFileFormat::Pdf: bytes = EncodePdf(paint, title, size, error); break;
  }
  if (!error.empty()) return error;
  try {
    WriteFileAtomically(file, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  } catch (const EInOutError& e) {
    return e.what();
  }
  return {};
}

std::string SaveGraph(const TGraphPlot& graph, const std::array<TWorldRect, 3>& world,
                      const std::filesystem::path& file, TGraphFileFormat format,
                      const TGraphImageSize& size) {
  return SavePicture([&](QPainter& painter, int width, int height,
                         int ppi) { PaintExport(painter, graph, world, width, height, ppi); },
                     graph.Caption, file, format, size);
}

TPixelRect PrintArea(QPrinter& printer, const TPageMargins& margins) {
  const int dpiX = printer.logicalDpiX(), dpiY = printer.logicalDpiY();
  // The printer's physical offsets: what it cannot print on at each side.
  QPageLayout page = printer.pageLayout();
  page.setUnits(QPageLayout::Point);
  const QMarginsF offsets = page.minimumMargins();
  auto edge = [](int thousandths, double offsetPoints, int dpi) {
    const long margin = std::lround(thousandths / 1000.0 * dpi);
    const long offset = std::lround(offsetPoints / 72.0 * dpi);
    return static_cast<int>(std::max({margin, offset, 0L}));
  };
  const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
  const int left = edge(margins.Left, offsets.left(), dpiX);
  const int top = edge(margins.Top, offsets.top(), dpiY);
  const int right = edge(margins.Right, offsets.right(), dpiX);
  const int bottom = edge(margins.Bottom, offsets.bottom(), dpiY);
  return {left, top, std::max(left, paper.width() - right), std::max(top, paper.height() - bottom)};
}

bool PrintPicture(QPrinter& printer, const TPicturePainter& paint, const std::string& title,
                  const TPageMargins& margins) {
  printer.setDocName(QString::fromStdString(title));
  // Coordinates from the paper's corner: the margins are measured from it.
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const TPixelRect area = PrintArea(printer, margins);
  painter.translate(area.Left, area.Top);
  paint(painter, area.Width(), area.Height(), printer.logicalDpiX());
  return painter.end();
}

bool PrintGraph(QPrinter& printer, const TGraphPlot& graph, const std::array<TWorldRect, 3>& world,
                const TPageMargins& margins) {
  return PrintPicture(
      printer,
      [&](QPainter& painter, int width, int height, int) {
        const int dpiX = printer.logicalDpiX(), dpiY = printer.logicalDpiY();
        const TGraphLayout layout =
            LayoutGraph(GraphLayoutInput(graph, width, height, dpiX, dpiY, TLayoutTarget::Print));
        TPaintOutput output;
        output.DpiX = dpiX;
        output.DpiY = dpiY;
        output.Printing = true;
        PaintGraph(painter, graph, world, layout, output);
      },
      graph.Caption, margins);
}

}  // namespace terraq::ui
