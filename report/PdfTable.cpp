// The ruled tables of the paper form: measured once at the table size,
// set smaller when too wide for the text column (down to a floor, then the
// columns' text wraps, and only then smaller still: a table is never cut
// off), broken across pages with the heading repeated.
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>
#include <numeric>

#include "Document.h"
#include "DocumentOutline.h"
#include "PdfFlow.h"

namespace terraq::report {
namespace {

constexpr double kTablePoints = 9.0;
constexpr double kFloorPoints = 6.5;  // the smallest size that reads well printed
constexpr double kGapEm = 0.9;        // between columns, in the table's em
constexpr double kMaxExtraGapEm = 1.5;

QString Q(const std::string& text) { return QString::fromStdString(text); }

const std::string& CellOf(const Table& table, std::size_t row, std::size_t column) {
  static const std::string empty;
  const auto& cells = table.rows[row];
  return column < cells.size() ? cells[column] : empty;
}

bool IsGroup(const Table& table, std::size_t row) {
  return row < table.groupRows.size() && table.groupRows[row];
}

// The longest word of `text` (where a line may break at the least).
double LongestWord(const PdfFlow& flow, const QFont& font, const QString& text) {
  double longest = 0;
  for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+"))))
    longest = std::max(longest, flow.Width(font, word));
  return longest;
}

// The table set in one size.
struct Setting {
  double points = kTablePoints;
  QFont font, italic, bold;
  double lineHeight = 0, em = 0, gap = 0;
  // Per column: the natural width (no line broken), the least width (lines
  // broken between words; numbers never), and the widths of the parts of
  // decimal-aligned cells before and from their point.
  std::vector<double> natural, least, before, after, width;
  std::vector<bool> decimal;  // set aligned on the point (the numbers fit the column)
};

double SymbolLineWidth(const PdfFlow& flow, const Setting& s, const TableColumn& column);

Setting Measure(const PdfFlow& flow, const Table& table, double points) {
  Setting s;
  s.points = points;
  s.font = flow.Fonts().body;
  s.font.setPointSizeF(points);
  s.italic = s.font;
  s.italic.setItalic(true);
  s.bold = s.font;
  s.bold.setBold(true);
  const QFontMetricsF metrics = flow.Metrics(s.font);
  s.lineHeight = metrics.lineSpacing() + flow.Pt(points * 0.12);
  s.em = flow.Pt(points);
  s.gap = kGapEm * s.em;
  const std::size_t n = table.columns.size();
  s.natural.assign(n, 0);
  s.least.assign(n, 0);
  s.before.assign(n, 0);
  s.after.assign(n, 0);
  s.decimal.assign(n, false);
  for (std::size_t c = 0; c < n; ++c) {
    const TableColumn& column = table.columns[c];
    for (const QString& line : Q(column.heading).split(QLatin1Char('\n')))
      s.natural[c] = std::max(s.natural[c], metrics.horizontalAdvance(line));
    s.least[c] =
        std::max(LongestWord(flow, s.font, Q(column.heading)), SymbolLineWidth(flow, s, column));
    s.natural[c] = std::max(s.natural[c], s.least[c]);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
      if (IsGroup(table, r)) continue;
      const std::string& cell = CellOf(table, r, c);
      if (column.align == Align::Decimal) {
        const std::size_t split = DecimalSplit(cell);
        s.before[c] = std::max(s.before[c], metrics.horizontalAdvance(Q(cell.substr(0, split))));
        s.after[c] = std::max(s.after[c], metrics.horizontalAdvance(Q(cell.substr(split))));
      } else {
        for (const QString& line : Q(cell).split(QLatin1Char('\n')))
          s.natural[c] = std::max(s.natural[c], metrics.horizontalAdvance(line));
        s.least[c] = std::max(s.least[c], LongestWord(flow, s.font, Q(cell)));
      }
    }
    if (column.align == Align::Decimal) {
      s.natural[c] = std::max(s.natural[c], s.before[c] + s.after[c]);
      s.least[c] = std::max(s.least[c], s.before[c] + s.after[c]);
    }
  }
  return s;
}

double SymbolLineWidth(const PdfFlow& flow, const Setting& s, const TableColumn& column) {
  double width = 0;
  if (!column.symbol.empty()) width += flow.Width(s.italic, Q(column.symbol));
  if (!column.unit.empty())
    width +=
        flow.Width(s.font, (column.symbol.empty() ? QStringLiteral("(") : QStringLiteral(" (")) +
                               Q(column.unit) + QLatin1Char(')'));
  return width;
}

double Sum(const std::vector<double>& values) {
  return std::accumulate(values.begin(), values.end(), 0.0);
}

// The size and column widths that fit `available`.
Setting Fit(const PdfFlow& flow, const Table& table, double available) {
  const std::size_t n = table.columns.size();
  const auto gaps = [n](const Setting& s) { return s.gap * double(n - 1); };
  Setting s = Measure(flow, table, kTablePoints);
  if (n == 0) return s;
  if (Sum(s.natural) + gaps(s) > available) {
    // Widths go with the size (unhinted faces): one guess, then measured.
    const double scale = available / (Sum(s.natural) + gaps(s));
    const double points = std::max(kFloorPoints, std::floor(kTablePoints * scale * 0.99 * 4) / 4);
    s = Measure(flow, table, points);
  }
  if (Sum(s.least) + gaps(s) > available) {
    // Even broken between words the columns do not fit: smaller than the
    // floor rather than cut off.
    const double scale = available / (Sum(s.least) + gaps(s));
    s = Measure(flow, table, std::max(2.0, s.points * scale * 0.98));
  }
  const double room = available - gaps(s);
  const double natural = Sum(s.natural), least = Sum(s.least);
  s.width = s.natural;
  if (natural > room) {
    // Share out the room above the least widths in proportion to what each
    // column would like more.
    const double share = natural > least ? std::max(0.0, room - least) / (natural - least) : 0.0;
    for (std::size_t c = 0; c < n; ++c)
      s.width[c] = s.least[c] + (s.natural[c] - s.least[c]) * share;
    if (least > room)
      for (double& w : s.width) w *= room / least;
  } else if (n > 1) {
    s.gap += std::min((room - natural) / double(n - 1), kMaxExtraGapEm * s.em);
  }
  for (std::size_t c = 0; c < n; ++c)
    s.decimal[c] =
        table.columns[c].align == Align::Decimal && s.before[c] + s.after[c] <= s.width[c] * 1.0001;
  return s;
}

double AlignedX(Align align, double left, double width, double textWidth) {
  switch (align) {
    case Align::Left: return left;
    case Align::Right: return left + width - textWidth;
    default: return left + (width - textWidth) / 2;
  }
}

// The table at one size with its columns placed, drawing itself into a flow.
class TableSetter {
 public:
  TableSetter(PdfFlow& flow, const Table& table, const QString& label)
      : flow_(flow), table_(table), label_(label) {
    s_ = Fit(flow, table, flow.Body().width());
    double x = flow.Body().left();
    for (double w : s_.width) {
      left_.push_back(x);
      x += w + s_.gap;
    }
    right_ = table.columns.empty() ? flow.Body().left() : x - s_.gap;
    heavy_ = flow.Pt(0.8);
    light_ = flow.Pt(0.5);
    rulePad_ = flow.Pt(2.5);
    LayOutHeading();
    for (std::size_t r = 0; r < table.rows.size(); ++r) rowLines_.push_back(RowLines(r));
  }

  // The caption, the heading and the first rows, kept together.
  double StartHeight() const {
    double start = CaptionHeight(label_) + HeadingHeight() + rulePad_;
    for (std::size_t r = 0; r < std::min<std::size_t>(table_.rows.size(), 2); ++r)
      start += RowHeight(r);
    return start;
  }

  void Set() {
    const std::size_t rows = table_.rows.size();
    flow_.Ensure(StartHeight());
    SetCaptionAndHeading(label_);
    bool first = true;
    for (std::size_t r = 0; r < rows; ++r) {
      const double space = IsGroup(table_, r) && !first ? flow_.Pt(3) : 0.0;
      double need = space + RowHeight(r) + (r + 1 == rows ? rulePad_ : 0.0);
      // A group's heading goes over with its first row, and the last row
      // never goes over alone.
      if (IsGroup(table_, r) && r + 1 < rows) need += RowHeight(r + 1);
      if (r + 2 == rows && r > 0) need += RowHeight(r + 1) + rulePad_;
      if (!first && need > flow_.Remaining()) {
        Rule(flow_.Y() + rulePad_ / 2, light_);
        flow_.NewPage();
        SetCaptionAndHeading(label_.isEmpty() ? QString()
                                              : label_ + QStringLiteral(" (continued)"));
        first = true;
      } else {
        flow_.Advance(space);
      }
      SetRow(r);
      first = false;
    }
    Rule(flow_.Y() + rulePad_, heavy_);
    flow_.Advance(rulePad_ + heavy_);
    if (!table_.note.empty()) {
      const QFont& note = flow_.Fonts().note;
      const double line = flow_.Metrics(note).lineSpacing();
      flow_.Advance(flow_.Pt(3));
      for (const QString& text : flow_.Wrap(Q(table_.note), note, flow_.Body().width())) {
        flow_.Ensure(line);
        flow_.Text(note, flow_.Body().left(), flow_.Y(), text);
        flow_.Advance(line);
      }
    }
  }

 private:
  double CaptionHeight(const QString& label) const {
    if (label.isEmpty()) return 0;
    return double(CaptionLines(label).size()) * flow_.Metrics(flow_.Fonts().body).lineSpacing() +
           flow_.Pt(3);
  }

  QStringList CaptionLines(const QString& label) const {
    const bool continued = label != label_;
    const QString text = continued ? QString() : Q(table_.caption);
    const double indent = flow_.Width(flow_.Fonts().bold, label + QLatin1Char(' '));
    return flow_.Wrap(text, flow_.Fonts().body, flow_.Body().width(), indent);
  }

  void SetCaptionAndHeading(const QString& label) {
    if (!label.isEmpty()) {
      const PdfFonts& fonts = flow_.Fonts();
      const double line = flow_.Metrics(fonts.body).lineSpacing();
      const double indent = flow_.Width(fonts.bold, label + QLatin1Char(' '));
      flow_.Text(fonts.bold, flow_.Body().left(), flow_.Y(), label);
      double x = flow_.Body().left() + indent;
      for (const QString& text : CaptionLines(label)) {
        flow_.Text(fonts.body, x, flow_.Y(), text);
        flow_.Advance(line);
        x = flow_.Body().left();
      }
      flow_.Advance(flow_.Pt(3));
    }
    Rule(flow_.Y() + heavy_ / 2, heavy_);
    flow_.Advance(heavy_ + rulePad_);
    const double top = flow_.Y();
    for (std::size_t c = 0; c < heading_.size(); ++c) {
      const auto& lines = heading_[c];
      double y = top + double(headingRows_ - std::size_t(lines.size())) * s_.lineHeight;
      const Align align =
          table_.columns[c].align == Align::Decimal ? Align::Center : table_.columns[c].align;
      for (qsizetype i = 0; i < lines.size(); ++i, y += s_.lineHeight) {
        if (i + 1 == lines.size() && hasSymbolLine_[c]) {
          SetSymbolLine(c, y, align);
        } else {
          const double w = flow_.Width(s_.font, lines[i]);
          flow_.Text(s_.font, AlignedX(align, left_[c], s_.width[c], w), y, lines[i]);
        }
      }
    }
    flow_.Advance(double(headingRows_) * s_.lineHeight + rulePad_ * 0.6);
    Rule(flow_.Y() + light_ / 2, light_);
    flow_.Advance(light_ + rulePad_);
  }

  // The symbol in italics and the unit in brackets after it.
  void SetSymbolLine(std::size_t c, double y, Align align) {
    const TableColumn& column = table_.columns[c];
    const QString symbol = Q(column.symbol);
    const QString unit = column.unit.empty()
                             ? QString()
                             : (symbol.isEmpty() ? QStringLiteral("(") : QStringLiteral(" (")) +
                                   Q(column.unit) + QLatin1Char(')');
    const double symbolWidth = flow_.Width(s_.italic, symbol);
    const double x =
        AlignedX(align, left_[c], s_.width[c], symbolWidth + flow_.Width(s_.font, unit));
    flow_.Text(s_.italic, x, y, symbol);
    flow_.Text(s_.font, x + symbolWidth, y, unit);
  }

  void LayOutHeading() {
    for (std::size_t c = 0; c < table_.columns.size(); ++c) {
      const TableColumn& column = table_.columns[c];
      QStringList lines;
      if (!column.heading.empty()) lines = flow_.Wrap(Q(column.heading), s_.font, s_.width[c]);
      const bool symbolLine = !column.symbol.empty() || !column.unit.empty();
      if (symbolLine) lines << QString();
      hasSymbolLine_.push_back(symbolLine);
      headingRows_ = std::max<std::size_t>(headingRows_, lines.size());
      heading_.push_back(lines);
    }
  }

  double HeadingHeight() const {
    return heavy_ + rulePad_ * 2.6 + light_ + double(headingRows_) * s_.lineHeight;
  }

  // The lines of each cell of a row (one cell, spanning, for a group row).
  std::vector<QStringList> RowLines(std::size_t r) const {
    std::vector<QStringList> cells;
    if (IsGroup(table_, r)) {
      cells.push_back(flow_.Wrap(Q(CellOf(table_, r, 0)), s_.bold, right_ - left_.front()));
      return cells;
    }
    for (std::size_t c = 0; c < table_.columns.size(); ++c) {
      const QString text = Q(CellOf(table_, r, c));
      cells.push_back(s_.decimal[c] ? QStringList{text} : flow_.Wrap(text, s_.font, s_.width[c]));
    }
    return cells;
  }

  double RowHeight(std::size_t r) const {
    std::size_t lines = 1;
    for (const QStringList& cell : rowLines_[r]) lines = std::max<std::size_t>(lines, cell.size());
    return double(lines) * s_.lineHeight;
  }

  void SetRow(std::size_t r) {
    const double top = flow_.Y();
    const auto& cells = rowLines_[r];
    if (IsGroup(table_, r)) {
      double y = top;
      for (const QString& line : cells.front()) {
        flow_.Text(s_.bold, left_.front(), y, line);
        y += s_.lineHeight;
      }
    } else {
      for (std::size_t c = 0; c < cells.size(); ++c) {
        double y = top;
        if (s_.decimal[c]) {
          const std::string& cell = CellOf(table_, r, c);
          const double block = s_.before[c] + s_.after[c];
          const double before = flow_.Width(s_.font, Q(cell.substr(0, DecimalSplit(cell))));
          const double x = left_[c] + (s_.width[c] - block) / 2 + s_.before[c] - before;
          flow_.Text(s_.font, x, y, cells[c].front());
          continue;
        }
        const Align align =
            table_.columns[c].align == Align::Decimal ? Align::Right : table_.columns[c].align;
        for (const QString& line : cells[c]) {
          const double w = flow_.Width(s_.font, line);
          flow_.Text(s_.font, AlignedX(align, left_[c], s_.width[c], w), y, line);
          y += s_.lineHeight;
        }
      }
    }
    flow_.Advance(RowHeight(r));
  }

  void Rule(double y, double width) {
    const double x0 = flow_.Body().left(), x1 = std::max(right_, x0);
    flow_.Draw([=](QPainter& painter) {
      painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap));
      painter.drawLine(QPointF(x0, y), QPointF(x1, y));
    });
  }

  PdfFlow& flow_;
  const Table& table_;
  QString label_;
  Setting s_;
  std::vector<double> left_;
  double right_ = 0, heavy_ = 0, light_ = 0, rulePad_ = 0;
  std::vector<QStringList> heading_;
  std::vector<bool> hasSymbolLine_;
  std::size_t headingRows_ = 0;
  std::vector<std::vector<QStringList>> rowLines_;
};

}  // namespace

void FlowTable(PdfFlow& flow, const Table& table, const QString& label) {
  if (table.columns.empty()) return;
  TableSetter(flow, table, label).Set();
}

double TableStartHeight(PdfFlow& flow, const Table& table, const QString& label) {
  return table.columns.empty() ? 0.0 : TableSetter(flow, table, label).StartHeight();
}

}  // namespace terraq::report
