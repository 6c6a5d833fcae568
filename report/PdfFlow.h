#pragma once
// The page flow of the paper form (DocumentPdf.cpp, PdfTable.cpp,
// PdfFigure.cpp): blocks are laid out once, top to bottom, into pages of
// drawing operations; the pages are painted afterwards, when their count is
// known ("Page 3 of 17"). All lengths are in the device's pixels; Pt() and
// Mm() convert. Internal to the report library.

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

class QPainter;
class QPaintDevice;

namespace terraq::report {

struct Table;

// The type faces and sizes of the paper form: the graphs' serif family for
// text and tables, so that figures and text match.
struct PdfFonts {
  QFont body, bold, italic, note, noteBold, mono;
  QFont header, title, subtitle, h1, h2, h3;
};

class PdfFlow {
 public:
  using Op = std::function<void(QPainter&)>;

  // `body` is the text area of a page after the first (under the running
  // header), in the device's pixels. The flow starts on the title page.
  PdfFlow(const QPaintDevice& device, const QRectF& body);

  const QPaintDevice& Device() const { return device_; }
  double Dpi() const { return dpi_; }
  double Pt(double points) const { return points * dpi_ / 72.0; }
  double Mm(double mm) const { return mm * dpi_ / 25.4; }
  // The metrics of `font` on the device (kept: a package measures
  // thousands of cells in a dozen fonts).
  const QFontMetricsF& Metrics(const QFont& font) const;
  // The height of a line of running text in `font`.
  double Line(const QFont& font) const { return Metrics(font).lineSpacing() * 1.04; }
  // The width of `text` in `font`.
  double Width(const QFont& font, const QString& text) const;
  // `text` broken into lines no wider than `width` (the first one no wider
  // than `width - firstIndent`): at each "\n" and between words, and within
  // a word longer than the line.
  QStringList Wrap(const QString& text, const QFont& font, double width,
                   double firstIndent = 0) const;

  const PdfFonts& Fonts() const { return fonts_; }
  const QRectF& Body() const { return body_; }
  double Y() const { return y_; }
  double Remaining() const { return body_.bottom() - y_; }
  bool AtPageTop() const { return atTop_; }

  // Ends the page; the next one is a body page.
  void NewPage();
  // Starts a new page unless `height` fits below the current position (or
  // the page is still empty: what does not fit on an empty page is set
  // there anyway, so the flow always moves on).
  void Ensure(double height);
  // Vertical space, dropped at the top of a page.
  void Space(double height);
  // Moves the position down past what was drawn.
  void Advance(double height);
  // Draws on the current page (the position is the caller's business).
  void Draw(Op op);
  // A line of text with its top at `top`.
  void Text(const QFont& font, double x, double top, const QString& text);

  const std::vector<std::vector<Op>>& Pages() const { return pages_; }

 private:
  const QPaintDevice& device_;
  double dpi_;
  QRectF body_;
  PdfFonts fonts_;
  double y_;
  bool atTop_ = true;
  std::vector<std::vector<Op>> pages_;
  mutable std::deque<std::pair<QFont, QFontMetricsF>> metrics_;  // references stay valid
};

// Sets `table` (with its label, "Table 4", or none) at the flow's position:
// the caption, the heading between rules, the rows, breaking across pages
// with the heading repeated, a smaller size when it is too wide.
void FlowTable(PdfFlow& flow, const Table& table, const QString& label);

// The least height a table needs to start at the flow's position: the
// caption, the heading and its first rows (for keep-with-next).
double TableStartHeight(PdfFlow& flow, const Table& table, const QString& label);

struct Figure;

// Sets `figure` (with its label, "Figure 4", or none) at the flow's
// position: as wide as the text column and as high as its aspect, narrower
// where that would not fit on a page, its caption under it.
void FlowFigure(PdfFlow& flow, const Figure& figure, const QString& label);

// The height a figure takes with its caption (for keep-with-next).
double FigureStartHeight(const PdfFlow& flow, const Figure& figure, const QString& label);

}  // namespace terraq::report
