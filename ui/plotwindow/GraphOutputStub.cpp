// Temporary stand-in for the graph output routines (GraphOutput.h), so that
// the plot window's Print, Save To Disk and Copy commands link and can be
// tried before the real output is merged: a plain rendering of the paint
// routine, without the print and export layouts or the legend box. To be
// replaced by GraphOutput.cpp.

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "plotwindow/GraphOutput.h"
#include "plotwindow/GraphPainter.h"

namespace terraq::ui {

namespace {

void Paint(QPainter& painter, const TGraphPlot& graph, const std::array<TWorldRect, 3>& world, int width, int height,
           int dpi) {
  TPaintOutput output;
  output.DpiX = output.DpiY = dpi;
  output.ToImage = true;
  PaintGraph(painter, graph, world, LayoutGraph(GraphLayoutInput(graph, width, height, dpi, dpi)), output);
}

QImage::Format ImageFormat(TBitmapColors colors) {
  switch (colors) {
    case TBitmapColors::BlackWhite: return QImage::Format_Mono;
    case TBitmapColors::Colors16:
    case TBitmapColors::Colors256: return QImage::Format_Indexed8;
    case TBitmapColors::HighColor16Bit: return QImage::Format_RGB16;
    case TBitmapColors::TrueColor24Bit: break;
  }
  return QImage::Format_RGB888;
}

}  // namespace

std::optional<TGraphFileFormat> GraphFileFormatFor(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ext == ".bmp") return TGraphFileFormat::Bmp;
  if (ext == ".png") return TGraphFileFormat::Png;
  if (ext == ".svg") return TGraphFileFormat::Svg;
  if (ext == ".pdf") return TGraphFileFormat::Pdf;
  return std::nullopt;
}

int TGraphImageSize::PixelWidth() const { return static_cast<int>(std::lround(PixelsPerInch * WidthInches)); }
int TGraphImageSize::PixelHeight() const { return static_cast<int>(std::lround(PixelsPerInch * HeightInches)); }

std::array<TWorldRect, 3> FullWorld(const TGraphPlot& graph) {
  return {PanelWorldRect(graph.Lines), PanelWorldRect(graph.Lines2), PanelWorldRect(graph.Lines3)};
}

std::string SaveGraph(const TGraphPlot& graph, const std::array<TWorldRect, 3>& world,
                      const std::filesystem::path& file, TGraphFileFormat format, const TGraphImageSize& size) {
  const QString name = QString::fromStdU16String(file.u16string());
  const int w = size.PixelWidth(), h = size.PixelHeight();
  if (format == TGraphFileFormat::Pdf) {
    QPdfWriter writer(name);
    writer.setResolution(size.PixelsPerInch);
    writer.setPageSize(QPageSize(QSizeF(size.WidthInches, size.HeightInches), QPageSize::Inch));
    writer.setPageMargins(QMarginsF());
    QPainter painter;
    if (!painter.begin(&writer)) return "The file could not be written: " + file.string();
    Paint(painter, graph, world, w, h, size.PixelsPerInch);
    return {};
  }
  QImage image(w, h, QImage::Format_RGB32);
  if (image.isNull()) return "There is not enough memory to complete this task.";
  image.setDotsPerMeterX(static_cast<int>(std::lround(size.PixelsPerInch / 0.0254)));
  image.setDotsPerMeterY(image.dotsPerMeterX());
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    Paint(painter, graph, world, w, h, size.PixelsPerInch);
  }
  bool written = false;
  if (format == TGraphFileFormat::Svg) {
    // A picture of the bitmap, wrapped as SVG.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QSaveFile out(name);
    if (out.open(QIODevice::WriteOnly)) {
      out.write(QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\">"
                               "<image width=\"%1\" height=\"%2\" href=\"data:image/png;base64,")
                    .arg(w)
                    .arg(h)
                    .toUtf8());
      out.write(png.toBase64());
      out.write("\"/></svg>\n");
      written = out.commit();
    }
  } else {
    written = image.convertToFormat(ImageFormat(size.Colors))
                  .save(name, format == TGraphFileFormat::Bmp ? "BMP" : "PNG");
  }
  return written ? std::string() : "The file could not be written: " + file.string();
}

bool PrintGraph(QPrinter& printer, const TGraphPlot& graph, const std::array<TWorldRect, 3>& world,
                const TPageMargins& margins) {
  printer.setDocName(QString::fromStdString(graph.Caption));
  printer.setFullPage(true);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const int dpi = printer.resolution();
  const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
  const auto px = [dpi](int thousandths) { return static_cast<int>(std::lround(thousandths * dpi / 1000.0)); };
  const int width = static_cast<int>(paper.width()) - px(margins.Left) - px(margins.Right);
  const int height = static_cast<int>(paper.height()) - px(margins.Top) - px(margins.Bottom);
  painter.translate(px(margins.Left), px(margins.Top));
  Paint(painter, graph, world, std::max(width, 1), std::max(height, 1), dpi);
  return painter.end();
}

}  // namespace terraq::ui
