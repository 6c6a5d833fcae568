#pragma once
// The calculation package as a document, apart from its forms: a title page
// and a flow of headings, paragraphs, ruled tables and figures. The content
// (PackageContents.h) builds it once from the project and the analysis in
// memory; the writers (DocumentPdf.h, DocumentHtml.h) lay it out, so the PDF
// and the HTML of one package say the same thing.
//
// Text is UTF-8. Numbers in tables are already formatted by the content
// (the writers never re-format a number); a column aligned on the decimal
// point lines its cells up on their first '.' (or, without one, on their
// end), which also aligns exponent forms.
//
// A figure is a paint routine, not a picture: the PDF calls it on its own
// page (vector graphics, the PDF's fonts) and the HTML on an SVG generator,
// so every figure is drawn by one routine for every form.

#include <functional>
#include <string>
#include <variant>
#include <vector>

class QPainter;
class QRectF;

namespace terraq::report {

// A heading of level 1 (a chapter: starts a new page in the PDF, numbered
// "3" by the writer) or 2 (a section within it, "3.2"), or 3 (unnumbered).
struct Heading {
  int level = 1;
  std::string text;
  // An identifier for links and the HTML anchor; made from the text when
  // empty.
  std::string anchor;
};

struct Paragraph {
  enum class Style {
    Body,
    Note,     // smaller, for explanations under a table or figure
    Warning,  // a warning of the run: set off so that it is not missed
    Mono,     // preformatted (a message quoted as the program printed it)
  };
  std::string text;  // "\n" breaks a line
  Style style = Style::Body;
};

// A row of label and value pairs set as two aligned columns without rules:
// the title page's facts and a problem's scalar inputs ("Wall length  L
// 12.00 m").
struct KeyValues {
  struct Entry {
    std::string label;   // "Increment length"
    std::string symbol;  // "h" (may be empty)
    std::string value;   // "0.1000"
    std::string unit;    // "m" (may be empty)
  };
  std::vector<Entry> entries;
};

enum class Align { Left, Center, Right, Decimal };

struct TableColumn {
  std::string heading;  // "\n" breaks it; "Depth"
  std::string symbol;   // "z" (may be empty)
  std::string unit;     // "m" (set under the heading in brackets; may be empty)
  Align align = Align::Decimal;
};

// A ruled table: a rule above and below the heading and at the end, the
// heading repeated on every page a long table runs over. A table too wide
// for the page is set in a smaller size, never cut.
struct Table {
  std::string caption;  // "Table 3.1 Soil layers" is numbered by the writer; may be empty
  std::vector<TableColumn> columns;
  std::vector<std::vector<std::string>> rows;  // each row has columns.size() cells
  // Rows that head a group of the rows after them (a stage, a layer): the
  // cell of the first column spans the row, set in bold.
  std::vector<bool> groupRows;  // empty, or rows.size() entries
  std::string note;             // under the table, in the note style
};

// A figure drawn in `area` (in the painter's device coordinates) by
// `paint`, with `dpi` the device's dots per inch (text and pen sizes keep
// their physical size). The writer gives it the width of the text column
// and the height that keeps `aspect` (height / width), limited to what fits
// on a page.
struct Figure {
  std::string caption;  // numbered by the writer ("Figure 2 ...")
  double aspect = 0.6;
  std::function<void(QPainter& painter, const QRectF& area, double dpi)> paint;
};

// Forces a new page in the PDF (nothing in the HTML).
struct PageBreak {};

using Block = std::variant<Heading, Paragraph, KeyValues, Table, Figure, PageBreak>;

struct TitlePage {
  std::string title;     // the project's title
  std::string subtitle;  // "Calculation package"
  KeyValues facts;       // data file, date, program version, units system, ...
};

struct Document {
  TitlePage titlePage;
  // The running header of every page after the title page, with the page
  // number beside it ("Page 3 of 17" in the PDF).
  std::string runningHeader;
  std::vector<Block> blocks;
};

}  // namespace terraq::report
