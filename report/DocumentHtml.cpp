// The HTML form: one file with its style sheet and its figures as inline
// SVG, written well-formed (every element closed, no named entities) so
// that XML tools read it as well as browsers. Sizes follow the PDF's.
#include "DocumentHtml.h"

#include <QBuffer>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "Document.h"
#include "DocumentOutline.h"
#include "HtmlTable.h"

namespace terraq::report {
namespace {

using html::Escape;
using html::kColumnMm;

constexpr const char* kStyle = R"(
body { font-family: "Times New Roman", "Liberation Serif", Times, serif; font-size: 10pt;
  line-height: 1.3; color: #000; background: #fff; max-width: 170mm; margin: 2em auto; padding: 0 1em; }
header.title { margin: 18vh 0 3em; border-top: 1.5pt solid #000; padding-top: 5mm; }
header.title h1 { font-size: 24pt; margin: 0 0 2mm; padding: 0; border: none; }
header.title .subtitle { font-size: 15pt; margin: 0; padding-bottom: 3mm; border-bottom: 0.5pt solid #000; }
header.title table { margin-top: 12mm; }
h1 { font-size: 16pt; margin: 2.5em 0 12pt; padding-bottom: 2pt; border-bottom: 0.5pt solid #000; }
h2 { font-size: 12.5pt; margin: 14pt 0 5pt; }
h3 { font-size: 10.5pt; font-style: italic; margin: 10pt 0 3pt; }
.num { margin-right: 0.6em; }
.label { font-weight: bold; }
p { margin: 6pt 0; }
p.note { font-size: 8.5pt; }
p.warning { background: #f2f2f2; border-left: 2pt solid #404040; padding: 4pt 3mm 4pt 4mm; margin: 8pt 0; }
pre { font-family: "Courier New", "Liberation Mono", monospace; font-size: 8.5pt; margin: 6pt 0 6pt 3mm;
  white-space: pre-wrap; }
table.facts td { padding: 1pt 4mm 1pt 0; vertical-align: top; }
table.data { border-collapse: collapse; margin: 10pt 0 3pt; font-size: 9pt; }
table.data caption { caption-side: top; text-align: left; font-size: 10pt; margin-bottom: 3pt; }
table.data th, table.data td { padding: 0.5pt 0.45em; vertical-align: top; }
table.data thead th { font-weight: normal; vertical-align: bottom; border-top: 0.8pt solid #000;
  border-bottom: 0.5pt solid #000; padding-top: 2.5pt; padding-bottom: 2.5pt; }
table.data tbody tr:last-child > * { border-bottom: 0.8pt solid #000; padding-bottom: 2.5pt; }
table.data tbody tr:first-child > * { padding-top: 2.5pt; }
table.data tr.group th { font-weight: bold; text-align: left; padding-top: 3pt; }
table.data tr.group:first-child th { padding-top: 2.5pt; }
.l { text-align: left; } .c { text-align: center; } .r { text-align: right; }
td.d { text-align: center; white-space: nowrap; }
td.d span { display: inline-block; }
td.d .i { text-align: right; } td.d .f { text-align: left; }
table.data + p.note { margin-top: 3pt; }
figure { margin: 10pt 0 12pt; break-inside: avoid; }
figure svg { display: block; width: 100%; height: auto; }
figcaption { margin-top: 5pt; }
nav.toc ul { list-style: none; padding-left: 0; margin: 0; }
nav.toc ul ul { padding-left: 2.2em; }
nav.toc li { margin: 2pt 0; }
nav.toc a { color: #000; text-decoration: none; }
@page { margin: 20mm; }
@media print {
  body { max-width: none; margin: 0; padding: 0; }
  header.title, nav.toc { break-after: page; }
  main h1 { break-before: page; margin-top: 0; }
  h1, h2, h3, caption { break-after: avoid; }
  thead { display: table-header-group; }
  tr { break-inside: avoid; }
}
)";

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Text as a CSS string: quotes, backslashes and line breaks escaped, and
// '<' too, so that no text can close the style element.
std::string CssString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\22 "; break;
      case '<': out += "\\3C "; break;
      case '&': out += "\\26 "; break;
      case '\n': out += "\\A "; break;
      default: out += c;
    }
  }
  return out + "\"";
}

class HtmlWriter {
 public:
  explicit HtmlWriter(const Document& document)
      : document_(document), labels_(LabelBlocks(document)) {}

  std::string Text() {
    std::string body;
    TitlePage(body);
    Contents(body);
    body += "<main>\n";
    for (std::size_t i = 0; i < document_.blocks.size(); ++i) BlockHtml(i, body);
    body += "</main>\n";
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n";
    html += "<title>" + Escape(document_.titlePage.title) + "</title>\n<style>";
    html += kStyle;
    html += PageStyle();
    html += tableStyle_;
    html += "</style>\n</head>\n<body>\n" + body + "</body>\n</html>\n";
    return html;
  }

 private:
  // The running header of the printed pages after the first, where the
  // browser sets page margin boxes.
  std::string PageStyle() const {
    const std::string font =
        "font-family: \"Times New Roman\", \"Liberation Serif\", Times, serif; font-size: 8.5pt; ";
    return "@page { @top-left { content: " + CssString(document_.runningHeader) + "; " + font +
           "vertical-align: bottom; border-bottom: 0.4pt solid #000; }\n"
           "  @top-right { content: \"Page \" counter(page) \" of \" counter(pages); " +
           font + "vertical-align: bottom; border-bottom: 0.4pt solid #000; } }\n" +
           "@page :first { @top-left { content: none; } @top-right { content: none; } }\n";
  }

  void TitlePage(std::string& out) const {
    const auto& title = document_.titlePage;
    out += "<header class=\"title\">\n<h1>" + Escape(title.title) + "</h1>\n";
    if (!title.subtitle.empty())
      out += "<p class=\"subtitle\">" + Escape(title.subtitle) + "</p>\n";
    FactsHtml(title.facts, out);
    out += "</header>\n";
  }

  // Links to the chapters and their sections.
  void Contents(std::string& out) const {
    std::string list;
    bool inChapter = false, inSections = false;
    for (std::size_t i = 0; i < document_.blocks.size(); ++i) {
      const auto* heading = std::get_if<Heading>(&document_.blocks[i]);
      if (!heading || heading->level > 2) continue;
      const std::string link = "<a href=\"#" + Escape(labels_[i].anchor) +
                               "\"><span class=\"num\">" + labels_[i].number + "</span> " +
                               Escape(heading->text) + "</a>";
      if (heading->level <= 1 || !inChapter) {
        if (inSections) list += "</ul>";
        if (inChapter) list += "</li>\n";
        list += "<li>" + link;
        inChapter = true;
        inSections = false;
      } else {
        if (!inSections) list += "\n<ul>";
        list += "<li>" + link + "</li>";
        inSections = true;
      }
    }
    if (list.empty()) return;
    if (inSections) list += "</ul>";
    list += "</li>\n";
    out += "<nav class=\"toc\">\n<h2>Contents</h2>\n<ul>\n" + list + "</ul>\n</nav>\n";
  }

  void BlockHtml(std::size_t i, std::string& out) {
    const Block& block = document_.blocks[i];
    const BlockLabel& label = labels_[i];
    if (const auto* heading = std::get_if<Heading>(&block)) {
      const std::string tag = "h" + std::to_string(std::clamp(heading->level, 1, 3));
      out += "<" + tag + " id=\"" + Escape(label.anchor) + "\">";
      if (!label.number.empty()) out += "<span class=\"num\">" + label.number + "</span> ";
      out += Escape(heading->text) + "</" + tag + ">\n";
    } else if (const auto* paragraph = std::get_if<Paragraph>(&block)) {
      switch (paragraph->style) {
        case Paragraph::Style::Mono: out += "<pre>" + Escape(paragraph->text) + "</pre>\n"; break;
        case Paragraph::Style::Note:
          out += "<p class=\"note\">" + Escape(paragraph->text, true) + "</p>\n";
          break;
        case Paragraph::Style::Warning:
          out += "<p class=\"warning\">" + Escape(paragraph->text, true) + "</p>\n";
          break;
        default: out += "<p>" + Escape(paragraph->text, true) + "</p>\n";
      }
    } else if (const auto* values = std::get_if<KeyValues>(&block)) {
      FactsHtml(*values, out);
    } else if (const auto* table = std::get_if<Table>(&block)) {
      // The underscore keeps the table's id apart from the headings'
      // anchors made from text.
      html::TableHtml(*table, label.caption, "table_" + std::to_string(i + 1), meter_, tableStyle_,
                      out);
    } else if (const auto* figure = std::get_if<Figure>(&block)) {
      FigureHtml(*figure, label.caption, out);
    }
  }

  static void FactsHtml(const KeyValues& values, std::string& out) {
    if (values.entries.empty()) return;
    out += "<table class=\"facts\">\n";
    for (const auto& entry : values.entries)
      out += "<tr><td>" + Escape(entry.label) + "</td><td><i>" + Escape(entry.symbol) +
             "</i></td><td>" + Escape(entry.value) + "</td><td>" + Escape(entry.unit) +
             "</td></tr>\n";
    out += "</table>\n";
  }

  static void FigureHtml(const Figure& figure, const std::string& label, std::string& out) {
    out += "<figure>\n" + Svg(figure) + "\n";
    if (!figure.caption.empty()) {
      out += "<figcaption>";
      if (!label.empty()) out += "<span class=\"label\">" + label + "</span> ";
      out += Escape(figure.caption) + "</figcaption>\n";
    }
    out += "</figure>\n";
  }

  // The figure painted on an SVG generator as wide as the PDF's text
  // column (at 96 dpi, so text keeps its size), made an inline element: no
  // XML declaration, a view box and the page's width instead of a fixed
  // size, plain href for images (no namespace declarations needed inline).
  static std::string Svg(const Figure& figure) {
    const double dpi = 96;
    const int width = int(std::lround(kColumnMm / 25.4 * dpi));
    const double aspect = std::isfinite(figure.aspect) && figure.aspect > 0
                              ? std::clamp(figure.aspect, 0.05, 20.0)
                              : 0.6;
    const int height = std::max(1, int(std::lround(width * aspect)));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(width, height));
    generator.setViewBox(QRect(0, 0, width, height));
    generator.setResolution(int(dpi));
    {
      QPainter painter(&generator);
      const QRectF area(0, 0, width, height);
      painter.setClipRect(area);
      if (figure.paint) {
        figure.paint(painter, area, dpi);
      } else {
        painter.setPen(QPen(Qt::black, 0.7));
        painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
      }
    }
    QString svg = QString::fromUtf8(buffer.data());
    const qsizetype start = svg.indexOf(QLatin1String("<svg"));
    const qsizetype end = svg.indexOf(QLatin1Char('>'), start);
    if (start < 0 || end < 0) return {};
    const QString open = QStringLiteral("<svg viewBox=\"0 0 %1 %2\" width=\"100%\" role=\"img\">")
                             .arg(width)
                             .arg(height);
    // The generator writes its title and description unescaped: they are
    // replaced by the caption, escaped.
    QString rest = svg.mid(end + 1);
    static const QRegularExpression meta(QStringLiteral("<(title|desc)>.*</\\1>"),
                                         QRegularExpression::DotMatchesEverythingOption |
                                             QRegularExpression::InvertedGreedinessOption);
    rest.remove(meta);
    svg = open + QStringLiteral("<title>") + Q(Escape(figure.caption)) +
          QStringLiteral("</title>") + rest;
    svg.replace(QLatin1String("xlink:href="), QLatin1String("href="));
    return svg.trimmed().toStdString();
  }

  const Document& document_;
  std::vector<BlockLabel> labels_;
  html::EmMeter meter_;
  std::string tableStyle_;
};

}  // namespace

std::string HtmlText(const Document& document) { return HtmlWriter(document).Text(); }

}  // namespace terraq::report
