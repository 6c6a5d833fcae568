// The package's tables as HTML: columns measured in the table face so that
// a table wider than the text column is set smaller, as on paper, and
// decimal columns aligned on the point whatever the browser's text size.
#include "HtmlTable.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "Document.h"
#include "DocumentOutline.h"
#include "GraphPainter.h"

namespace terraq::report::html {

namespace {

// The table size: a table wider than the text column is set smaller, down
// to the floor.
constexpr double kTablePoints = 9.0, kFloorPoints = 6.5;
constexpr double kCellPadEm = 0.9;  // left and right padding of a cell together

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string Em(double em) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2fem", std::ceil(em * 100) / 100);
  return text;
}

const char* AlignClass(Align align) {
  switch (align) {
    case Align::Left: return "l";
    case Align::Right: return "r";
    default: return "c";
  }
}

bool IsGroup(const Table& table, std::size_t row) {
  return row < table.groupRows.size() && table.groupRows[row];
}

// The width the table takes in em, its cells' padding included. Cells of a
// column aligned on the point are two spans of the column's widths: the
// part before the point right-aligned, the rest left-aligned, their widths
// the style rules appended to `style`.
double MeasureTable(const Table& table, const std::string& id, const EmMeter& meter,
                    std::string& style) {
  const std::size_t n = table.columns.size();
  std::vector<double> before(n, 0), after(n, 0), natural(n, 0);
  for (std::size_t c = 0; c < n; ++c) {
    const TableColumn& column = table.columns[c];
    for (const QString& line : Q(column.heading).split(QLatin1Char('\n')))
      natural[c] = std::max(natural[c], meter.LongestWord(line.toStdString()));
    natural[c] = std::max(natural[c], meter(column.symbol + " (" + column.unit + ")"));
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
      if (IsGroup(table, r) || c >= table.rows[r].size()) continue;
      const std::string& cell = table.rows[r][c];
      if (column.align == Align::Decimal) {
        const std::size_t split = DecimalSplit(cell);
        before[c] = std::max(before[c], meter(cell.substr(0, split)));
        after[c] = std::max(after[c], meter(cell.substr(split)));
      } else {
        natural[c] = std::max(natural[c], meter.LongestWord(cell));
      }
    }
    // A little over the measure: a browser's face may be a shade wider.
    if (column.align == Align::Decimal) {
      natural[c] = std::max(natural[c], before[c] + after[c]);
      style += "#" + id + " td:nth-child(" + std::to_string(c + 1) +
               ") .i { width: " + Em(before[c] * 1.04 + 0.02) + "; } #" + id + " td:nth-child(" +
               std::to_string(c + 1) + ") .f { width: " + Em(after[c] * 1.04 + 0.02) + "; }\n";
    }
  }
  double width = kCellPadEm * double(n);
  for (double w : natural) width += w;
  return width;
}

void HeadHtml(const Table& table, std::string& out) {
  out += "<thead><tr>";
  for (const TableColumn& column : table.columns) {
    out += std::string("<th class=\"") + AlignClass(column.align) + "\">" +
           Escape(column.heading, true);
    if (!column.symbol.empty() || !column.unit.empty()) {
      if (!column.heading.empty()) out += "<br/>";
      if (!column.symbol.empty()) out += "<i>" + Escape(column.symbol) + "</i>";
      if (!column.unit.empty())
        out += (column.symbol.empty() ? "(" : " (") + Escape(column.unit) + ")";
    }
    out += "</th>";
  }
  out += "</tr></thead>\n";
}

void RowsHtml(const Table& table, std::string& out) {
  const std::size_t n = table.columns.size();
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const auto& cells = table.rows[r];
    const auto cell = [&cells](std::size_t c) -> std::string {
      return c < cells.size() ? cells[c] : std::string();
    };
    if (IsGroup(table, r)) {
      out += "<tr class=\"group\"><th colspan=\"" + std::to_string(n) + "\" scope=\"rowgroup\">" +
             Escape(cell(0), true) + "</th></tr>\n";
      continue;
    }
    out += "<tr>";
    for (std::size_t c = 0; c < n; ++c) {
      const std::string text = cell(c);
      if (table.columns[c].align == Align::Decimal) {
        const std::size_t split = DecimalSplit(text);
        out += "<td class=\"d\"><span class=\"i\">" + Escape(text.substr(0, split)) +
               "</span><span class=\"f\">" + Escape(text.substr(split)) + "</span></td>";
      } else {
        out += std::string("<td class=\"") + AlignClass(table.columns[c].align) + "\">" +
               Escape(text, true) + "</td>";
      }
    }
    out += "</tr>\n";
  }
}

}  // namespace

std::string Escape(const std::string& text, bool lines) {
  std::string out;
  out.reserve(text.size() + 16);
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      case '\n': out += lines ? "<br/>" : "\n"; break;
      default: out += c;
    }
  }
  return out;
}

EmMeter::EmMeter() : font_(QString::fromLatin1(ui::kGraphFontFamily)) {
  font_.setPixelSize(100);
  font_.setHintingPreference(QFont::PreferNoHinting);
  metrics_.emplace(font_);
}

double EmMeter::operator()(const std::string& text) const {
  return metrics_->horizontalAdvance(Q(text)) / 100.0;
}

double EmMeter::LongestWord(const std::string& text) const {
  double longest = 0;
  for (const QString& word : Q(text).split(QRegularExpression(QStringLiteral("\\s+"))))
    longest = std::max(longest, metrics_->horizontalAdvance(word) / 100.0);
  return longest;
}

void TableHtml(const Table& table, const std::string& label, const std::string& id,
               const EmMeter& meter, std::string& style, std::string& out) {
  if (table.columns.empty()) return;
  const double width = MeasureTable(table, id, meter, style);
  const double textColumn = kColumnMm / 25.4 * 72 / kTablePoints;  // in em
  out += "<table class=\"data\" id=\"" + id + "\"";
  if (width > textColumn) {
    char size[48];
    std::snprintf(size, sizeof size, " style=\"font-size: %.2fpt\"",
                  std::max(kFloorPoints, kTablePoints * textColumn / width));
    out += size;
  }
  out += ">\n";
  if (!label.empty())
    out += "<caption><span class=\"label\">" + label + "</span> " + Escape(table.caption) +
           "</caption>\n";
  HeadHtml(table, out);
  out += "<tbody>\n";
  RowsHtml(table, out);
  out += "</tbody>\n</table>\n";
  if (!table.note.empty()) out += "<p class=\"note\">" + Escape(table.note, true) + "</p>\n";
}

}  // namespace terraq::report::html
