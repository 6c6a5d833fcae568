#include "PdfFlow.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include "GraphPainter.h"

namespace terraq::report {
namespace {

QFont Face(const char* family, double points, bool bold = false, bool italic = false) {
  QFont font(QString::fromLatin1(family));
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setItalic(italic);
  // Unhinted outlines: the widths measured here are those the PDF sets,
  // whatever the device's resolution.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

PdfFonts MakeFonts() {
  const char* serif = ui::kGraphFontFamily;
  PdfFonts fonts;
  fonts.body = Face(serif, 10);
  fonts.bold = Face(serif, 10, true);
  fonts.italic = Face(serif, 10, false, true);
  fonts.note = Face(serif, 8.5);
  fonts.noteBold = Face(serif, 8.5, true);
  fonts.mono = Face("Courier New", 8.5);
  fonts.mono.setStyleHint(QFont::Monospace);
  fonts.header = Face(serif, 8.5);
  fonts.title = Face(serif, 24, true);
  fonts.subtitle = Face(serif, 15);
  fonts.h1 = Face(serif, 16, true);
  fonts.h2 = Face(serif, 12.5, true);
  fonts.h3 = Face(serif, 10.5, true, true);
  return fonts;
}

}  // namespace

PdfFlow::PdfFlow(const QPaintDevice& device, const QRectF& body)
    : device_(device),
      dpi_(device.logicalDpiY()),
      body_(body),
      fonts_(MakeFonts()),
      y_(body.top()) {
  pages_.emplace_back();
}

const QFontMetricsF& PdfFlow::Metrics(const QFont& font) const {
  for (const auto& [known, metrics] : metrics_)
    if (known == font) return metrics;
  metrics_.emplace_back(font, QFontMetricsF(font, &device_));
  return metrics_.back().second;
}

double PdfFlow::Width(const QFont& font, const QString& text) const {
  return Metrics(font).horizontalAdvance(text);
}

QStringList PdfFlow::Wrap(const QString& text, const QFont& font, double width,
                          double firstIndent) const {
  // Most cells and lines fit as they are.
  if (!text.contains(QLatin1Char('\n')) && Width(font, text) <= width - firstIndent) return {text};
  QStringList lines;
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
    QTextLayout layout(paragraph, font, &device_);
    layout.setTextOption(option);
    layout.beginLayout();
    const qsizetype before = lines.size();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      const bool first = lines.isEmpty() && line.textStart() == 0;
      line.setLineWidth(std::max(1.0, width - (first ? firstIndent : 0.0)));
      // Spaces at a break belong to neither line; leading ones (an indent
      // of preformatted text) stay.
      QString part = paragraph.mid(line.textStart(), line.textLength());
      while (!part.isEmpty() && part.back().isSpace()) part.chop(1);
      lines << part;
    }
    layout.endLayout();
    if (lines.size() == before) lines << QString();
  }
  return lines;
}

void PdfFlow::NewPage() {
  pages_.emplace_back();
  y_ = body_.top();
  atTop_ = true;
}

void PdfFlow::Ensure(double height) {
  if (!atTop_ && height > Remaining()) NewPage();
}

void PdfFlow::Space(double height) {
  if (!atTop_) y_ = std::min(y_ + height, body_.bottom());
}

void PdfFlow::Advance(double height) {
  y_ += height;
  atTop_ = false;
}

void PdfFlow::Draw(Op op) { pages_.back().push_back(std::move(op)); }

void PdfFlow::Text(const QFont& font, double x, double top, const QString& text) {
  if (text.isEmpty()) return;
  const QPointF baseline(x, top + Metrics(font).ascent());
  Draw([font, baseline, text](QPainter& painter) {
    painter.setFont(font);
    painter.drawText(baseline, text);
  });
}

}  // namespace terraq::report
