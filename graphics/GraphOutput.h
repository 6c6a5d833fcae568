#pragma once
// A graph on paper and in files: the printout of a plot window and the
// images it saves, drawn by the one paint routine with the device's own dots
// per inch, the printed legend box, and the print and export layouts.
// Qt Gui only (no widgets), so that the terraq command renders graphs
// without a display.

#include <QPageLayout>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "graphs/GraphLayout.h"
#include "graphs/TGraphPlot.h"

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace terraq::ui {

// The file types a graph is saved as, told by the file name's extension.
enum class TGraphFileFormat { Bmp, Png, Svg, Pdf };
std::optional<TGraphFileFormat> GraphFileFormatFor(const std::filesystem::path& file);

// The colour depth of a saved bitmap (BMP and PNG).
enum class TBitmapColors { BlackWhite, Colors16, Colors256, HighColor16Bit, TrueColor24Bit };

struct TGraphImageSize {
  double WidthInches = 6;   // at least 2
  double HeightInches = 4;  // at least 2
  int PixelsPerInch = 72;   // at least 10
  TBitmapColors Colors = TBitmapColors::Colors16;
  // round(ppi × width) by round(ppi × height) pixels.
  int PixelWidth() const;
  int PixelHeight() const;
};

// Page margins in thousandths of an inch, 1000 on each side to start.
struct TPageMargins {
  int Left = 1000, Top = 1000, Right = 1000, Bottom = 1000;
};

// Draws a picture of `width` by `height` device pixels at `ppi` dots per
// inch on `painter` (an image, an SVG or PDF writer, a printer): the one
// paint routine of a graph, whatever it is drawn on.
using TPicturePainter = std::function<void(QPainter& painter, int width, int height, int ppi)>;

// Writes a picture to a file of the given format at the given size: BMP and
// PNG rendered at the size's resolution and reduced to its colour depth,
// SVG and PDF as vector pictures painted by the same routine; `title` names
// the SVG and PDF document. Errors and atomicity as SaveGraph below.
std::string SavePicture(const TPicturePainter& paint, const std::string& title,
                        const std::filesystem::path& file, TGraphFileFormat format,
                        const TGraphImageSize& size);

// Prints a picture on a page less the margins (never less than the
// printer's own offsets), the job titled `title`; false when the printer
// cannot be drawn on.
bool PrintPicture(QPrinter& printer, const TPicturePainter& paint, const std::string& title,
                  const TPageMargins& margins);

// Writes the graph to a file of the given format at the given size, drawn as
// the plot window shows it (`world`: the panels' current world rectangles)
// with the export layout and the legend box. Bitmaps get the requested
// colour depth; SVG and PDF are vector pictures of the same size. Returns
// an empty string, or the reason nothing (or nothing whole) was written:
// "There is not enough memory to complete this task." when the bitmap
// cannot be made (beyond 1 GB it is not tried), else "Cannot write FILE:
// reason". The file is replaced whole or left as it was. Needs a
// QGuiApplication (fonts).
std::string SaveGraph(const TGraphPlot& graph, const std::array<TWorldRect, 3>& world,
                      const std::filesystem::path& file, TGraphFileFormat format, const TGraphImageSize& size);

// The panels' full world rectangles of a graph, as a new plot window takes
// them (and output without a window: the terraq command); the first panel
// cut to the curves' shape where the graph asks for it (XRangeOfShape).
std::array<TWorldRect, 3> FullWorld(const TGraphPlot& graph);

// The drawing area of a printed page in the printer's pixels, measured from
// the paper's top-left corner: the paper less the margins, each margin
// converted with the printer's dots per inch and never less than the
// printer's own unprintable offset on that side.
TPixelRect PrintArea(QPrinter& printer, const TPageMargins& margins);

// Prints the graph on a printer (or a PDF printer) with the print layout:
// the page less the margins (never less than the printer's own offsets),
// the print versions of the hatch tiles and the legend box; the job is
// titled with the graph's Caption. False when the printer cannot be drawn
// on.
bool PrintGraph(QPrinter& printer, const TGraphPlot& graph, const std::array<TWorldRect, 3>& world,
                const TPageMargins& margins);

}  // namespace terraq::ui
