// The paper form: the title page, then the blocks flowed into pages under
// a running header (PdfFlow.h), tables by PdfTable.cpp, figures by
// PdfFigure.cpp.
#include "DocumentPdf.h"

#include <QBuffer>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "Document.h"
#include "DocumentOutline.h"
#include "PdfFlow.h"

namespace terraq::report {
namespace {

// The page's margins (mm): the running header sits inside the top one's
// text area, so the text starts about 25 mm from the top of the sheet.
constexpr double kSideMm = 20, kTopMm = 13, kBottomMm = 16;
constexpr double kHeaderBandMm = 12;
// The resolution of the PDF's coordinates: lengths and text positions are
// rounded to 1/600 in, far below what print or screen shows.
constexpr int kPdfDpi = 600;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// A value that reads as one number ("12.50", "-3", "1.2e-05"): set aligned
// on its point in a list of facts; any other value is text.
bool IsNumber(const QString& value) {
  static const QRegularExpression number(
      QStringLiteral("^[-+\u2212]?(\\d[\\d,]*\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?$"));
  return number.match(value).hasMatch();
}

class DocumentSetter {
 public:
  DocumentSetter(PdfFlow& flow, const Document& document)
      : flow_(flow), document_(document), labels_(LabelBlocks(document)) {}

  void Set() {
    SetTitlePage();
    flow_.NewPage();
    for (std::size_t i = 0; i < document_.blocks.size(); ++i) SetBlock(i);
  }

 private:
  const PdfFonts& Fonts() const { return flow_.Fonts(); }
  double Left() const { return flow_.Body().left(); }
  double Width() const { return flow_.Body().width(); }
  double LineOf(const QFont& font) const { return flow_.Line(font); }

  // Space before a block, the larger of its own and what the block before
  // asked for after it; none straight after a heading.
  void Gap(double before) {
    if (!afterHeading_) flow_.Space(std::max(before, pendingAfter_));
    afterHeading_ = false;
    pendingAfter_ = 0;
  }

  void SetTitlePage() {
    const TitlePage& title = document_.titlePage;
    flow_.Advance(flow_.Body().height() * 0.22);
    Rule(flow_.Y(), flow_.Pt(1.5));
    flow_.Advance(flow_.Mm(5));
    for (const QString& line : flow_.Wrap(Q(title.title), Fonts().title, Width())) {
      flow_.Text(Fonts().title, Left(), flow_.Y(), line);
      flow_.Advance(LineOf(Fonts().title));
    }
    if (!title.subtitle.empty()) {
      flow_.Advance(flow_.Mm(2));
      for (const QString& line : flow_.Wrap(Q(title.subtitle), Fonts().subtitle, Width())) {
        flow_.Text(Fonts().subtitle, Left(), flow_.Y(), line);
        flow_.Advance(LineOf(Fonts().subtitle));
      }
    }
    flow_.Advance(flow_.Mm(3));
    Rule(flow_.Y(), flow_.Pt(0.5));
    flow_.Advance(flow_.Mm(12));
    SetKeyValues(title.facts);
  }

  void SetBlock(std::size_t i) {
    const Block& block = document_.blocks[i];
    if (const auto* heading = std::get_if<Heading>(&block)) {
      SetHeading(*heading, labels_[i].number, StartHeight(i + 1));
    } else if (const auto* paragraph = std::get_if<Paragraph>(&block)) {
      SetParagraph(*paragraph);
    } else if (const auto* values = std::get_if<KeyValues>(&block)) {
      Gap(flow_.Pt(6));
      SetKeyValues(*values);
      pendingAfter_ = flow_.Pt(6);
    } else if (const auto* table = std::get_if<Table>(&block)) {
      Gap(flow_.Pt(10));
      FlowTable(flow_, *table, Q(labels_[i].caption));
      pendingAfter_ = flow_.Pt(12);
    } else if (const auto* figure = std::get_if<Figure>(&block)) {
      Gap(flow_.Pt(10));
      FlowFigure(flow_, *figure, Q(labels_[i].caption));
      pendingAfter_ = flow_.Pt(12);
    } else if (!flow_.AtPageTop()) {
      flow_.NewPage();
    }
  }

  // The least height block `i` needs to start where it is placed: what a
  // heading before it keeps on its page.
  double StartHeight(std::size_t i) const {
    if (i >= document_.blocks.size()) return 0;
    const Block& block = document_.blocks[i];
    if (const auto* heading = std::get_if<Heading>(&block))
      return heading->level <= 1 ? 0
                                 : HeadingHeight(*heading, labels_[i].number) + StartHeight(i + 1);
    if (const auto* paragraph = std::get_if<Paragraph>(&block))
      return 2 * LineOf(ParagraphFont(paragraph->style)) + flow_.Pt(8);
    if (std::holds_alternative<KeyValues>(block)) return 2 * LineOf(Fonts().body) + flow_.Pt(6);
    if (const auto* table = std::get_if<Table>(&block))
      return TableStartHeight(flow_, *table, Q(labels_[i].caption));
    if (const auto* figure = std::get_if<Figure>(&block))
      return FigureStartHeight(flow_, *figure, Q(labels_[i].caption));
    return 0;
  }

  const QFont& HeadingFont(int level) const {
    return level <= 1 ? Fonts().h1 : level == 2 ? Fonts().h2 : Fonts().h3;
  }

  double NumberIndent(const QFont& font, const QString& number) const {
    return number.isEmpty() ? 0.0 : flow_.Width(font, number) + flow_.Pt(font.pointSizeF() * 0.7);
  }

  QStringList HeadingLines(const Heading& heading, const QString& number) const {
    const QFont& font = HeadingFont(heading.level);
    return flow_.Wrap(Q(heading.text), font, Width() - NumberIndent(font, number));
  }

  double HeadingHeight(const Heading& heading, const std::string& number) const {
    const double before = heading.level == 2 ? flow_.Pt(14) : flow_.Pt(10);
    const double after = heading.level == 2 ? flow_.Pt(5) : flow_.Pt(3);
    return before + after +
           double(HeadingLines(heading, Q(number)).size()) * LineOf(HeadingFont(heading.level));
  }

  void SetHeading(const Heading& heading, const std::string& label, double keepWithNext) {
    const QFont& font = HeadingFont(heading.level);
    const QString number = Q(label);
    const QStringList lines = HeadingLines(heading, number);
    const double line = LineOf(font);
    if (heading.level <= 1) {
      if (!flow_.AtPageTop()) flow_.NewPage();
    } else {
      // A heading never ends a page alone: it goes over with the start of
      // what it heads.
      const double before = heading.level == 2 ? flow_.Pt(14) : flow_.Pt(10);
      flow_.Space(afterHeading_ ? flow_.Pt(4) : std::max(before, pendingAfter_));
      flow_.Ensure(double(lines.size()) * line + keepWithNext);
    }
    flow_.Text(font, Left(), flow_.Y(), number);
    const double indent = NumberIndent(font, number);
    for (const QString& text : lines) {
      flow_.Text(font, Left() + indent, flow_.Y(), text);
      flow_.Advance(line);
    }
    if (heading.level <= 1) {
      flow_.Advance(flow_.Pt(2));
      Rule(flow_.Y(), flow_.Pt(0.5));
      flow_.Advance(flow_.Pt(12));
    } else {
      flow_.Advance(heading.level == 2 ? flow_.Pt(5) : flow_.Pt(3));
    }
    afterHeading_ = true;
    pendingAfter_ = 0;
  }

  const QFont& ParagraphFont(Paragraph::Style style) const {
    switch (style) {
      case Paragraph::Style::Note: return Fonts().note;
      case Paragraph::Style::Mono: return Fonts().mono;
      default: return Fonts().body;
    }
  }

  void SetParagraph(const Paragraph& paragraph) {
    const QFont& font = ParagraphFont(paragraph.style);
    const bool warning = paragraph.style == Paragraph::Style::Warning;
    const bool mono = paragraph.style == Paragraph::Style::Mono;
    // A warning is set off in a shaded band with a bar at its left; quoted
    // output is indented.
    const double indent = warning ? flow_.Mm(4) : mono ? flow_.Mm(3) : 0.0;
    const double pad = warning ? flow_.Pt(4) : 0.0;
    const double line = LineOf(font);
    const QStringList lines =
        flow_.Wrap(Q(paragraph.text), font, Width() - indent - (warning ? flow_.Mm(3) : 0.0));
    Gap(flow_.Pt(warning ? 8 : 6));
    flow_.Ensure(double(std::min<qsizetype>(lines.size(), 2)) * line + 2 * pad);
    for (qsizetype i = 0; i < lines.size(); ++i) {
      const bool first = i == 0, last = i + 1 == lines.size();
      flow_.Ensure(line + (last ? pad : 0.0));
      if (first) flow_.Advance(pad);
      if (warning) {
        const QRectF band(Left(), flow_.Y() - (first ? pad : 0.0), Width(),
                          line + (first ? pad : 0.0) + (last ? pad : 0.0));
        const double bar = flow_.Pt(2);
        flow_.Draw([band, bar](QPainter& painter) {
          painter.fillRect(band, QColor(0xf2, 0xf2, 0xf2));
          painter.fillRect(QRectF(band.left(), band.top(), bar, band.height()),
                           QColor(0x40, 0x40, 0x40));
        });
      }
      flow_.Text(font, Left() + indent, flow_.Y(), lines[i]);
      flow_.Advance(line + (last ? pad : 0.0));
    }
    pendingAfter_ = flow_.Pt(warning ? 8 : 0);
  }

  // Label, symbol, value and unit in aligned columns; numbers aligned on
  // their point, other values from the column's left; long labels and
  // values wrap.
  void SetKeyValues(const KeyValues& values) {
    const QFont &font = Fonts().body, &italic = Fonts().italic;
    const double gap = flow_.Mm(4), space = flow_.Pt(3.5);
    double labelWidth = 0, symbolWidth = 0, before = 0, after = 0;
    for (const auto& entry : values.entries) {
      labelWidth = std::max(labelWidth, flow_.Width(font, Q(entry.label)));
      symbolWidth = std::max(symbolWidth, flow_.Width(italic, Q(entry.symbol)));
      const QString value = Q(entry.value);
      if (IsNumber(value)) {
        const std::size_t split = DecimalSplit(entry.value);
        before = std::max(before, flow_.Width(font, Q(entry.value.substr(0, split))));
        after = std::max(after, flow_.Width(font, Q(entry.value.substr(split))));
      }
    }
    labelWidth = std::min(labelWidth, Width() * 0.45);
    const double symbolX = Left() + labelWidth + gap;
    const double valueX = symbolX + (symbolWidth > 0 ? symbolWidth + gap : 0.0);
    const double line = LineOf(font) * 1.06;
    for (const auto& entry : values.entries) {
      const QString value = Q(entry.value), unit = Q(entry.unit);
      const bool number = IsNumber(value);
      const QStringList labelLines = flow_.Wrap(Q(entry.label), font, labelWidth);
      const QStringList valueLines =
          number ? QStringList{value}
                 : flow_.Wrap(value, font,
                              Left() + Width() - valueX -
                                  (unit.isEmpty() ? 0.0 : flow_.Width(font, unit) + space));
      const double height = double(std::max(labelLines.size(), valueLines.size())) * line;
      flow_.Ensure(height);
      const double top = flow_.Y();
      for (qsizetype i = 0; i < labelLines.size(); ++i)
        flow_.Text(font, Left(), top + double(i) * line, labelLines[i]);
      flow_.Text(italic, symbolX, top, Q(entry.symbol));
      double end = valueX;
      if (number) {
        const double x = valueX + before -
                         flow_.Width(font, Q(entry.value.substr(0, DecimalSplit(entry.value))));
        flow_.Text(font, x, top, value);
        end = valueX + before + after;
      } else {
        for (qsizetype i = 0; i < valueLines.size(); ++i)
          flow_.Text(font, valueX, top + double(i) * line, valueLines[i]);
        if (!valueLines.isEmpty()) end = valueX + flow_.Width(font, valueLines.back());
      }
      flow_.Text(font, end + space, top + double(valueLines.size() - 1) * line, unit);
      flow_.Advance(height);
    }
  }

  void Rule(double y, double width) {
    const double x0 = Left(), x1 = Left() + Width();
    flow_.Draw([=](QPainter& painter) {
      painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap));
      painter.drawLine(QPointF(x0, y + width / 2), QPointF(x1, y + width / 2));
    });
  }

  PdfFlow& flow_;
  const Document& document_;
  std::vector<BlockLabel> labels_;
  bool afterHeading_ = false;
  double pendingAfter_ = 0;
};

// The running header: the document's header at the left, the page and the
// count at the right, a thin rule under them.
void PaintHeader(QPainter& painter, const PdfFlow& flow, const QString& text, int page, int pages,
                 double width) {
  const QFont& font = flow.Fonts().header;
  const QFontMetricsF metrics = flow.Metrics(font);
  const QString number = QStringLiteral("Page %1 of %2").arg(page).arg(pages);
  const double numberWidth = metrics.horizontalAdvance(number);
  const QString left = metrics.elidedText(text, Qt::ElideRight, width - numberWidth - flow.Mm(8));
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QPointF(0, metrics.ascent()), left);
  painter.drawText(QPointF(width - numberWidth, metrics.ascent()), number);
  const double rule = flow.Pt(0.4), y = metrics.height() + flow.Mm(1.2);
  painter.setPen(QPen(Qt::black, rule, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(QPointF(0, y), QPointF(width, y));
}

}  // namespace

Paper PaperOfLocale() {
  // The territories whose custom is the Letter size.
  static const QLocale::Territory letter[] = {
      QLocale::UnitedStates, QLocale::Canada,     QLocale::Mexico,           QLocale::Belize,
      QLocale::Chile,        QLocale::Colombia,   QLocale::CostaRica,        QLocale::ElSalvador,
      QLocale::Guatemala,    QLocale::Nicaragua,  QLocale::Panama,           QLocale::Venezuela,
      QLocale::Philippines,  QLocale::PuertoRico, QLocale::DominicanRepublic};
  const QLocale::Territory here = QLocale::system().territory();
  return std::find(std::begin(letter), std::end(letter), here) != std::end(letter) ? Paper::Letter
                                                                                   : Paper::A4;
}

int PaintDocument(const Document& document, QPagedPaintDevice& device, Paper paper) {
  device.setPageLayout(QPageLayout(
      QPageSize(paper == Paper::A4 ? QPageSize::A4 : QPageSize::Letter), QPageLayout::Portrait,
      QMarginsF(kSideMm, kTopMm, kSideMm, kBottomMm), QPageLayout::Millimeter));
  const double width = device.width(), height = device.height();
  const double headerBand = kHeaderBandMm * device.logicalDpiY() / 25.4;
  PdfFlow flow(device, QRectF(0, headerBand, width, height - headerBand));
  DocumentSetter(flow, document).Set();

  // A page break or a chapter at the end leaves an empty page: not printed.
  auto pages = flow.Pages();
  while (pages.size() > 1 && pages.back().empty()) pages.pop_back();
  QPainter painter;
  if (!painter.begin(&device)) return 0;
  const QString header = QString::fromStdString(document.runningHeader);
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (i > 0) {
      device.newPage();
      PaintHeader(painter, flow, header, int(i) + 1, int(pages.size()), width);
    }
    painter.setPen(Qt::black);
    for (const auto& op : pages[i]) op(painter);
  }
  painter.end();
  return int(pages.size());
}

std::string PdfBytes(const Document& document, Paper paper) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDpi);
    writer.setTitle(QString::fromStdString(document.titlePage.title));
    writer.setCreator(QStringLiteral("TERRAQ"));
    if (PaintDocument(document, writer, paper) == 0) return {};
  }
  return buffer.data().toStdString();
}

}  // namespace terraq::report
