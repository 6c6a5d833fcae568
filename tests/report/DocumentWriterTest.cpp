// The package's two forms read back: the PDF through poppler's tools (its
// text, fonts, page size and ink), the HTML as text. One test document has
// what is hard to lay out: a table over several pages, a table far wider
// than the page, a figure, a warning and text that needs escaping.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <map>

#include "Document.h"
#include "DocumentHtml.h"
#include "DocumentOutline.h"
#include "DocumentPdf.h"

namespace terraq::report {
namespace {

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The long table's cells are unique ("1.234"...), so that each one read
// back proves its row was set; the wide one has twelve columns of long
// numbers and headings.
Document TestDocument() {
  Document document;
  document.titlePage.title = "Quay wall <B&C> \"north\"";
  document.titlePage.subtitle = "Calculation package";
  document.titlePage.facts.entries = {{"Data file", "", "quay.dat", ""},
                                      {"Wall length", "L", "12.50", "m"}};
  document.runningHeader = "Quay wall \"north\" </style>" + std::string(300, '-');
  auto& blocks = document.blocks;
  blocks.push_back(Heading{1, "Inputs", ""});
  blocks.push_back(Paragraph{"Ground & water as surveyed.", Paragraph::Style::Body});
  Table aligned;
  aligned.caption = "Alignment";
  aligned.columns = {{"Name", "", "", Align::Left}, {"Value", "v", "kN", Align::Decimal}};
  for (const char* value : {"1.5", "2.25", "30.125", "400.5", "7"})
    aligned.rows.push_back({std::string("row ") + char('a' + aligned.rows.size()), value});
  blocks.push_back(aligned);
  blocks.push_back(Heading{1, "Results", ""});
  blocks.push_back(Heading{2, "Along the wall", ""});
  Table along;
  along.caption = "Results along the wall";
  along.columns = {{"Depth", "z", "m", Align::Decimal},
                   {"Bending\nmoment", "M", "kN-m/m", Align::Decimal},
                   {"Remark", "", "", Align::Left}};
  for (int i = 0; i < 200; ++i) {
    along.rows.push_back({Fixed(0.1 * i, 2), Fixed(-1.234 - 7.0 * i, 3), "r" + std::to_string(i)});
    along.groupRows.push_back(false);
  }
  along.rows[0] = {"Stage 1", "", ""};
  along.groupRows[0] = true;
  blocks.push_back(along);
  blocks.push_back(Heading{2, "Wide", ""});
  Table wide;
  wide.caption = "Twelve columns";
  for (int c = 0; c < 12; ++c) {
    wide.columns.push_back({"Quantity number " + std::to_string(c), "q", "kN/m", Align::Decimal});
  }
  for (int r = 0; r < 6; ++r) {
    wide.rows.emplace_back();
    for (int c = 0; c < 12; ++c) wide.rows.back().push_back(Fixed(-12345.678 - 100 * r - c, 4));
  }
  blocks.push_back(wide);
  Table widest;  // too wide even at the smallest size and broken between words
  for (int c = 0; c < 24; ++c) widest.columns.push_back({"Q", "", "", Align::Decimal});
  widest.rows.push_back(std::vector<std::string>(24, "-12345.678"));
  blocks.push_back(widest);
  blocks.push_back(
      Figure{"Deflection <envelope>", 0.7, [](QPainter& painter, const QRectF& area, double) {
               painter.drawLine(area.topLeft(), area.bottomRight());
             }});
  blocks.push_back(Figure{"Not drawn", 0.5, {}});
  blocks.push_back(Paragraph{"W12 the wall did not converge", Paragraph::Style::Warning});
  blocks.push_back(Paragraph{"path " + std::string(150, 'x'), Paragraph::Style::Body});
  blocks.push_back(Paragraph{"  output " + std::string(200, '='), Paragraph::Style::Mono});
  return document;
}

// What a poppler tool makes of `pdf` (given as a file), or nullopt without
// the tool: what it prints, or with `output` what it writes to the file of
// that name (given as "-" when it is empty).
std::optional<QByteArray> Poppler(const QString& tool, QStringList arguments,
                                  const std::string& pdf, const char* output = nullptr) {
  if (QStandardPaths::findExecutable(tool).isEmpty()) return std::nullopt;
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("doc.pdf"));
  if (FILE* out = std::fopen(file.toLocal8Bit().constData(), "wb")) {
    std::fwrite(pdf.data(), 1, pdf.size(), out);
    std::fclose(out);
  }
  arguments << file;
  if (output) arguments << (*output ? dir.filePath(QStringLiteral("out")) : QStringLiteral("-"));
  QProcess process;
  process.start(tool, arguments);
  process.waitForFinished(30000);
  if (!output || !*output) return process.readAllStandardOutput();
  QFile written(dir.filePath(QStringLiteral("out") + QLatin1String(output)));
  return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

#define POPPLER_OR_SKIP(var, tool, args, pdf, output)                     \
  const auto var##Out = Poppler(QStringLiteral(tool), args, pdf, output); \
  if (!var##Out) {                                                        \
    GTEST_SKIP() << tool " is not installed";                             \
  }                                                                       \
  const QString var = QString::fromUtf8(*var##Out)

class DocumentPdfTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { pdf_ = new std::string(PdfBytes(TestDocument(), Paper::A4)); }
  static void TearDownTestSuite() { delete pdf_; }
  static const std::string& Pdf() { return *pdf_; }
  static std::string* pdf_;
};
std::string* DocumentPdfTest::pdf_ = nullptr;

TEST_F(DocumentPdfTest, TextReadsBackWithHeadersAndRepeatedTableHeading) {
  POPPLER_OR_SKIP(text, "pdftotext", {}, Pdf(), "");
  QStringList pages = text.split(QLatin1Char('\f'));
  pages.removeAll(QString());
  const int count = int(pages.size());
  ASSERT_GT(count, 4);
  EXPECT_TRUE(pages[0].contains(QStringLiteral("Quay wall <B&C> \"north\"")));
  EXPECT_FALSE(pages[0].contains(QStringLiteral("Page 1 of")));
  for (int p = 1; p < count; ++p)
    EXPECT_TRUE(pages[p].contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(count))) << p;
  EXPECT_TRUE(text.contains(QStringLiteral("2 Results")));
  EXPECT_TRUE(text.contains(QStringLiteral("2.2 Wide")));
  EXPECT_TRUE(text.contains(QStringLiteral("Table 2 Results along the wall")));
  EXPECT_TRUE(text.contains(QStringLiteral("Figure 1 Deflection <envelope>")));
  EXPECT_TRUE(text.contains(QStringLiteral("W12 the wall did not converge")));

  // Every cell, and the heading on every page the long table runs over.
  const Document document = TestDocument();
  const Table& along = std::get<Table>(document.blocks[5]);
  int spanned = 0;
  for (const QString& page : pages) {
    if (!page.contains(QRegularExpression(QStringLiteral("\\br\\d+\\b")))) continue;
    ++spanned;
    EXPECT_TRUE(page.contains(QStringLiteral("Bending")) &&
                page.contains(QStringLiteral("kN-m/m")));
  }
  EXPECT_GE(spanned, 3);
  for (std::size_t r = 1; r < along.rows.size(); ++r)
    for (const std::string& cell : along.rows[r])
      ASSERT_TRUE(text.contains(
          QRegularExpression(QStringLiteral("(^|\\s)%1(\\s|$)")
                                 .arg(QRegularExpression::escape(QString::fromStdString(cell))))))
          << cell;
  for (const auto& row : std::get<Table>(document.blocks[7]).rows)
    for (const std::string& cell : row)
      EXPECT_TRUE(text.contains(QString::fromStdString(cell))) << cell;
}

TEST_F(DocumentPdfTest, DecimalColumnsAlignOnThePoint) {
  POPPLER_OR_SKIP(boxes, "pdftotext", {QStringLiteral("-bbox")}, Pdf(), "");
  std::map<std::string, std::pair<double, double>> span;  // word: xMin, xMax
  const QRegularExpression word(QStringLiteral(
      "<word xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\"[^>]*>([^<]+)</word>"));
  for (auto match = word.globalMatch(boxes); match.hasNext();) {
    const auto m = match.next();
    span.emplace(m.captured(3).toStdString(),
                 std::pair(m.captured(1).toDouble(), m.captured(2).toDouble()));
  }
  // Digits are of one width: "1.5" and "2.25" start together when the
  // points line up, "1.5" and "400.5" end together, "7" ends at the point.
  ASSERT_TRUE(span.count("1.5") && span.count("2.25") && span.count("400.5") && span.count("7"));
  EXPECT_NEAR(span["1.5"].first, span["2.25"].first, 0.05);
  EXPECT_NEAR(span["1.5"].second, span["400.5"].second, 0.05);
  EXPECT_LT(span["7"].second, span["1.5"].second - 0.5);
  EXPECT_NEAR(span["7"].first, span["1.5"].first, 0.05);
}

TEST_F(DocumentPdfTest, FontsEmbeddedAndPaperSized) {
  POPPLER_OR_SKIP(fonts, "pdffonts", {}, Pdf(), nullptr);
  const QStringList lines = fonts.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
  ASSERT_FALSE(lines.isEmpty());
  for (const QString& line : lines) {
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_GE(fields.size(), 5) << line.toStdString();
    EXPECT_EQ(fields[fields.size() - 5], QStringLiteral("yes")) << line.toStdString();  // emb
  }
  POPPLER_OR_SKIP(a4, "pdfinfo", {}, Pdf(), nullptr);
  EXPECT_TRUE(a4.contains(
      QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d*)? x 84[12](\\.\\d*)? pts"))))
      << a4.toStdString();
  POPPLER_OR_SKIP(letter, "pdfinfo", {}, PdfBytes(TestDocument(), Paper::Letter), nullptr);
  EXPECT_TRUE(letter.contains(QRegularExpression(QStringLiteral("Page size:\\s+612 x 792 pts"))));
}

// Nothing is set past the text column: the wide table is set smaller, an
// unbreakable word and a long line of program output wrap, a long running
// header is shortened. No page has ink in its right margin.
TEST_F(DocumentPdfTest, NothingPastTheRightMargin) {
  POPPLER_OR_SKIP(text, "pdftotext", {}, Pdf(), "");
  const int pages = int(text.count(QLatin1Char('\f')));
  ASSERT_GT(pages, 4);
  const int margin = int(20 / 25.4 * 72) - 2;
  for (int page = 1; page <= pages; ++page) {
    const QString number = QString::number(page);
    const auto pgm =
        Poppler(QStringLiteral("pdftoppm"),
                {"-r", "72", "-gray", "-f", number, "-l", number, "-singlefile"}, Pdf(), ".pgm");
    const QImage image = QImage::fromData(pgm.value_or(QByteArray()), "PGM");
    ASSERT_EQ(image.width(), 595);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = image.width() - margin; x < image.width(); ++x)
        ink += qGray(image.pixel(x, y)) < 200;
    EXPECT_EQ(ink, 0) << "page " << page;
  }
}

// Nothing to set makes the title page alone; breaks at the end add no
// empty page; a figure of any aspect gets an area inside the page.
TEST(DocumentPdfLayoutTest, DegenerateDocuments) {
  const auto pages = [](const Document& document) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    return PaintDocument(document, writer, Paper::A4);
  };
  EXPECT_EQ(pages(Document{}), 1);
  Document ending;
  ending.blocks = {Paragraph{"Text", Paragraph::Style::Body}, PageBreak{}, Heading{1, "End", ""}};
  ending.blocks.push_back(PageBreak{});
  EXPECT_EQ(pages(ending), 3);

  Document figures;
  std::vector<QRectF> areas;
  const auto record = [&areas](QPainter&, const QRectF& area, double) { areas.push_back(area); };
  for (double aspect : {std::nan(""), 1e9, 1e-9, -1.0})
    figures.blocks.push_back(Figure{"", aspect, record});
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  PaintDocument(figures, writer, Paper::Letter);
  ASSERT_EQ(areas.size(), 4u);
  for (const QRectF& area : areas) {
    EXPECT_GT(area.width(), 0);
    EXPECT_GT(area.height(), 0);
    EXPECT_TRUE(QRectF(0, 0, writer.width(), writer.height()).contains(area));
  }
}

// A heading never ends a page alone: moved down line by line over a page
// end, it always shares its page with what it heads.
TEST(DocumentPdfLayoutTest, HeadingKeptWithWhatFollows) {
  for (int filler = 34; filler <= 52; filler += 2) {
    Document document;
    document.blocks.push_back(Heading{1, "Start", ""});
    for (int i = 0; i < filler; ++i)
      document.blocks.push_back(Paragraph{"filler " + std::to_string(i), Paragraph::Style::Body});
    document.blocks.push_back(Heading{2, "Kept heading", ""});
    document.blocks.push_back(Heading{3, "Kept subheading", ""});
    document.blocks.push_back(Paragraph{"Follows the heading", Paragraph::Style::Body});
    POPPLER_OR_SKIP(text, "pdftotext", {}, PdfBytes(document, Paper::A4), "");
    for (const QString& page : text.split(QLatin1Char('\f'))) {
      if (page.contains(QStringLiteral("Kept heading"))) {
        EXPECT_TRUE(page.contains(QStringLiteral("Follows the heading"))) << filler;
      }
    }
  }
}

// Chapters and sections numbered, sections restarting in each chapter;
// anchors unique; only captioned tables and figures counted.
TEST(DocumentOutlineTest, NumbersAnchorsAndCaptions) {
  Document document;
  document.blocks = {Heading{1, "Soil & water", ""},
                     Heading{2, "Layers", ""},
                     Heading{2, "Layers", ""},
                     Heading{3, "Detail", ""},
                     Heading{1, "Results", "res"},
                     Heading{2, "Maxima", ""},
                     Table{},
                     Table{"Caption", {}, {}, {}, ""},
                     Figure{"Drawn", 0.6, {}}};
  const auto labels = LabelBlocks(document);
  const char* numbers[] = {"1", "1.1", "1.2", "", "2", "2.1"};
  const char* anchors[] = {"soil-water", "layers", "layers-2", "detail", "res", "maxima"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(labels[i].number, numbers[i]) << i;
    EXPECT_EQ(labels[i].anchor, anchors[i]) << i;
  }
  EXPECT_EQ(labels[6].caption, "");
  EXPECT_EQ(labels[7].caption, "Table 1");
  EXPECT_EQ(labels[8].caption, "Figure 1");
}

// Escaped, self-contained (no script, no outside resource), every link
// landing on a heading, one SVG per figure, and well-formed as XML.
TEST(DocumentHtmlTest, SelfContainedEscapedAndWellFormed) {
  const QString html = QString::fromStdString(HtmlText(TestDocument()));
  EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
  EXPECT_TRUE(html.contains(QStringLiteral("Quay wall &lt;B&amp;C&gt; &quot;north&quot;")));
  EXPECT_TRUE(html.contains(QStringLiteral("Deflection &lt;envelope&gt;")));
  EXPECT_FALSE(html.contains(QStringLiteral("<B&C>")));
  EXPECT_EQ(html.count(QStringLiteral("</style>")), 1);
  EXPECT_EQ(html.count(QStringLiteral("<svg")), 2);
  EXPECT_EQ(html.count(QStringLiteral("</svg>")), 2);
  for (const char* outside : {"http", "src=", "<script", "<link", "@import", "<?xml"})
    EXPECT_FALSE(html.contains(QLatin1String(outside))) << outside;
  int links = 0;
  for (auto match = QRegularExpression(QStringLiteral("href=\"([^\"]*)\"")).globalMatch(html);
       match.hasNext(); ++links) {
    const QString target = match.next().captured(1);
    ASSERT_TRUE(target.startsWith(QLatin1Char('#'))) << target.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("id=\"%1\"").arg(target.mid(1))))
        << target.toStdString();
  }
  EXPECT_EQ(links, 4);  // the chapters and sections
  EXPECT_TRUE(
      html.contains(QStringLiteral("<span class=\"i\">-8</span><span class=\"f\">.234</span>")));

  if (QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty()) return;
  QProcess xmllint;
  xmllint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), QStringLiteral("-")});
  xmllint.write(html.toUtf8());
  xmllint.closeWriteChannel();
  ASSERT_TRUE(xmllint.waitForFinished(30000));
  EXPECT_EQ(xmllint.exitCode(), 0) << xmllint.readAllStandardError().toStdString();
}

}  // namespace
}  // namespace terraq::report
