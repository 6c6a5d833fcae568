#pragma once
// The tables of the package's HTML form (DocumentHtml.cpp), and the markup
// escape both write with. Internal to the report library; Qt Gui (fonts
// measure the columns).

#include <QFont>
#include <QFontMetricsF>
#include <optional>
#include <string>

namespace terraq::report {
struct Table;
}

namespace terraq::report::html {

// The text column of the PDF (A4 less its margins), mm: the width a table
// and a figure are set to.
constexpr double kColumnMm = 170;

// Text as HTML: the five characters of markup escaped; with `lines`, each
// "\n" a line break.
std::string Escape(const std::string& text, bool lines = false);

// Widths of text in the table face, in em (measured at 100 pixels to the em).
class EmMeter {
 public:
  EmMeter();
  double operator()(const std::string& text) const;
  double LongestWord(const std::string& text) const;

 private:
  QFont font_;
  std::optional<QFontMetricsF> metrics_;
};

// The table as HTML with its caption label ("Table 3.1"; may be empty) and
// element id; the style rules of its decimal columns appended to `style`.
void TableHtml(const Table& table, const std::string& label, const std::string& id,
               const EmMeter& meter, std::string& style, std::string& out);

}  // namespace terraq::report::html
