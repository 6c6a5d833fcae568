// terraq_doc: turns the Markdown sources of the manuals into the documents
// that ship beside the program, with Qt's own Markdown reader and PDF writer
// (no display: the offscreen platform), so that the build needs nothing
// beyond Qt.
//
//   terraq_doc pdf  OUT.pdf  TITLE BASE [--include DIR]... PAGE.md...
//       one printed manual: a title page, a contents list, then the pages,
//       each starting on a new sheet.
//   terraq_doc html OUTDIR BASE [--include DIR]... --manual TITLE PDF PAGE.md... [--manual ...]
//       the help pages: one HTML page per Markdown page, each with links to
//       the contents, the previous and the next page, and index.html, the
//       contents of every manual with a link to its PDF.
//
// BASE is the folder that the pictures' paths ("pictures/x.png",
// "sketches/x.svg") start from. SVG sketches are drawn at three times the
// layout's resolution for print; the help pages show the SVG file itself,
// which the build copies beside them. Every heading of a help page carries
// an anchor (HeadingAnchor), so that links "page.html#part" land on it. The exit status is 0 on success, 1 when a source, an include or a
// picture is missing or an output cannot be written, 2 for a usage error.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSet>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextStream>
#include <QTextTable>
#include <cstdio>

#include "MarkdownSource.h"

using namespace terraq::docs;

namespace {

// Margins of the PDF writer. QTextDocument::print adds 2 cm inside them, so
// the printed A4 sheet has 25 mm margins and a text width of 160 mm.
constexpr double kWriterMarginMm = 5;
// Widest picture, in pixels of the layout (96 per inch): the text width of
// the printed page, 160 mm or about 600 pixels; a wider picture would be cut
// off at the right margin.
constexpr int kMaxPictureWidth = 590;
// Program text (report excerpts, data files, commands) is set small enough
// that a line of the 90-column report fits the text width unbroken.
constexpr double kCodePointSize = 8;
// Pixels per layout pixel of a drawn sketch: 288 per inch, sharp in print.
constexpr int kSketchOversampling = 3;

struct Manual {
  QString title;
  QString pdfName;
  QStringList pages;
};

int Fail(const QString& message) {
  std::fprintf(stderr, "terraq_doc: %s\n", qPrintable(message));
  return 1;
}

QFont BodyFont() {
  QFont font(QStringLiteral("Liberation Serif"));
  font.setPointSizeF(11);
  return font;
}

// A picture file as an image for the document, and its size in layout
// pixels; a null image when the file cannot be read. An SVG sketch is drawn
// on white at kSketchOversampling times its layout size.
QImage ReadPicture(const QString& path, QSizeF& layoutSize) {
  if (!path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
    QImage picture(path);
    layoutSize = picture.size();
    return picture;
  }
  QSvgRenderer renderer(path);
  if (!renderer.isValid() || renderer.defaultSize().isEmpty()) return {};
  const QSize size = renderer.defaultSize();
  layoutSize = size;
  QImage picture(size * kSketchOversampling, QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  return picture;
}

// Tables as ruled grids: thin grey lines and a little room inside the cells
// (the reader's default is a wide double frame around each cell). A cell
// that the reader starts with an empty paragraph (the first cell of a table
// that follows a code block) loses it, so that its text lines up.
void RuleTables(QTextDocument& doc) {
  for (QTextFrame* frame : doc.rootFrame()->childFrames()) {
    auto* table = qobject_cast<QTextTable*>(frame);
    if (!table) continue;
    QTextTableFormat format = table->format();
    format.setBorder(0.5);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(QColor(0x90, 0x90, 0x90));
    format.setCellSpacing(0);
    format.setCellPadding(3);
    table->setFormat(format);
    for (int row = 0; row < table->rows(); ++row)
      for (int column = 0; column < table->columns(); ++column) {
        const QTextTableCell cell = table->cellAt(row, column);
        QTextCursor cursor = cell.firstCursorPosition();
        const QTextBlock first = cursor.block(), next = first.next();
        if (first.length() > 1 || next.position() > cell.lastPosition()) continue;
        cursor.setBlockFormat(next.blockFormat());
        cursor.setBlockCharFormat(next.charFormat());
        cursor.deleteChar();
        if (row > 0) continue;
        // The heading row's emphasis went with the empty paragraph.
        cursor.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.mergeCharFormat(bold);
      }
  }
}

// Markdown into a document whose pictures are read from `base`, scaled down
// to the text width; false (with the missing file in `error`) when a picture
// cannot be read.
bool Load(QTextDocument& doc, const QString& markdown, const QString& base, QString& error) {
  doc.setDefaultFont(BodyFont());
  doc.setBaseUrl(QUrl::fromLocalFile(base + QLatin1Char('/')));
  doc.setMarkdown(markdown);
  RuleTables(doc);
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat image = fragment.charFormat().toImageFormat();
      const QString path = QDir(base).filePath(image.name());
      QSizeF size;
      const QImage picture = ReadPicture(path, size);
      if (picture.isNull()) {
        error = QStringLiteral("the picture %1 cannot be read").arg(path);
        return false;
      }
      // Handed to the document itself: its own lookup of a relative name
      // against the base does not reach the file when the page is printed.
      doc.addResource(QTextDocument::ImageResource, QUrl(image.name()), QVariant(picture));
      if (size.width() > kMaxPictureWidth) size = QSizeF(kMaxPictureWidth, kMaxPictureWidth * size.height() / size.width());
      // An image drawn larger than its layout size (a sketch) is given that
      // size explicitly; a plain picture within the text width keeps its own.
      if (size == QSizeF(picture.size())) continue;
      image.setWidth(size.width());
      image.setHeight(size.height());
      QTextCursor cursor(&doc);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(image);
    }
  }
  return true;
}

// Gives every heading of the document an anchor named after its text, on
// its first character; a name that a page uses twice gets "-1", "-2", ...
void AnchorHeadings(QTextDocument& doc) {
  QSet<QString> used;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() == 0 || block.length() < 2) continue;
    const QString base = HeadingAnchor(block.text());
    QString name = base;
    for (int k = 1; used.contains(name); ++k) name = base + QLatin1Char('-') + QString::number(k);
    used.insert(name);
    QTextCursor cursor(&doc);
    cursor.setPosition(block.position());
    cursor.setPosition(block.position() + 1, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setAnchor(true);
    format.setAnchorNames({name});
    cursor.mergeCharFormat(format);
  }
}

bool ReadPages(const QStringList& paths, const QStringList& includes, QStringList& texts, QString& error) {
  for (const QString& path : paths) {
    QString text;
    if (!ReadMarkdown(path, includes, text, error)) return false;
    texts << text;
  }
  return true;
}

int BuildPdf(const QString& out, const QString& title, const QString& base, const QStringList& includes,
             const QStringList& pages) {
  QStringList texts;
  QString error;
  if (!ReadPages(pages, includes, texts, error)) return Fail(error);

  QString markdown = QStringLiteral("# %1\n\nTERRAQ %2\n\n## Contents\n\n").arg(title, QStringLiteral(TERRAQ_VERSION));
  for (int k = 0; k < texts.size(); ++k)
    markdown += QStringLiteral("%1. %2\n").arg(k + 1).arg(PageTitle(texts[k], QFileInfo(pages[k]).baseName()));
  for (const QString& text : texts) markdown += QStringLiteral("\n\n") + LinksToPlainText(text);

  QTextDocument doc;
  if (!Load(doc, markdown, base, error)) return Fail(error);
  // Every chapter (a level-one heading) starts a new sheet.
  bool first = true;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() != 1) continue;
    if (first) {
      first = false;
      continue;
    }
    QTextCursor cursor(block);
    QTextBlockFormat format = block.blockFormat();
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.setBlockFormat(format);
  }

  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    // Both fenced and indented code blocks carry a code language (empty
    // for most).
    if (!block.blockFormat().hasProperty(QTextFormat::BlockCodeLanguage)) continue;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat small;
    small.setFontPointSize(kCodePointSize);
    cursor.mergeCharFormat(small);
  }

  QPdfWriter writer(out);
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("TERRAQ documentation"));
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(kWriterMarginMm, kWriterMarginMm, kWriterMarginMm, kWriterMarginMm),
                                   QPageLayout::Millimeter));
  doc.print(&writer);
  if (!QFileInfo(out).isFile() || QFileInfo(out).size() == 0)
    return Fail(QStringLiteral("cannot write %1").arg(out));
  return 0;
}

QString PageFile(const QString& source) { return QFileInfo(source).completeBaseName() + QStringLiteral(".html"); }

bool WriteHtml(const QString& path, const QString& title, const QString& markdown, const QString& base,
               QString& error) {
  QTextDocument doc;
  if (!Load(doc, markdown, base, error)) return false;
  AnchorHeadings(doc);
  doc.setMetaInformation(QTextDocument::DocumentTitle, title);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    error = QStringLiteral("cannot write %1").arg(path);
    return false;
  }
  file.write(doc.toHtml().toUtf8());
  if (!file.flush()) {
    error = QStringLiteral("cannot write %1").arg(path);
    return false;
  }
  return true;
}

int BuildHtml(const QString& outDir, const QString& base, const QStringList& includes,
              const QList<Manual>& manuals) {
  if (!QDir().mkpath(outDir)) return Fail(QStringLiteral("cannot create %1").arg(outDir));
  QStringList sources;
  for (const Manual& m : manuals) sources << m.pages;
  QStringList texts;
  QString error;
  if (!ReadPages(sources, includes, texts, error)) return Fail(error);

  QString contents = QStringLiteral("# TERRAQ Help\n\nTERRAQ %1: the analysis of flexible retaining structures.\n")
                         .arg(QStringLiteral(TERRAQ_VERSION));
  int page = 0;
  for (const Manual& m : manuals) {
    contents += QStringLiteral("\n## %1\n\nThe whole manual to print: [%2](../%2).\n\n").arg(m.title, m.pdfName);
    for (int k = 0; k < m.pages.size(); ++k, ++page)
      contents += QStringLiteral("%1. [%2](%3)\n")
                      .arg(k + 1)
                      .arg(PageTitle(texts[page], QFileInfo(m.pages[k]).baseName()), PageFile(m.pages[k]));
  }
  if (!WriteHtml(QDir(outDir).filePath(QStringLiteral("index.html")), QStringLiteral("TERRAQ Help"), contents,
                 base, error))
    return Fail(error);

  for (int k = 0; k < sources.size(); ++k) {
    QString navigation = QStringLiteral("[Contents](index.html)");
    if (k > 0) navigation += QStringLiteral(" | [Previous](%1)").arg(PageFile(sources[k - 1]));
    if (k + 1 < sources.size()) navigation += QStringLiteral(" | [Next](%1)").arg(PageFile(sources[k + 1]));
    const QString markdown = navigation + QStringLiteral("\n\n") + LinksToHtmlPages(texts[k]) +
                             QStringLiteral("\n\n") + navigation + QLatin1Char('\n');
    if (!WriteHtml(QDir(outDir).filePath(PageFile(sources[k])), PageTitle(texts[k], QStringLiteral("TERRAQ")),
                   markdown, base, error))
      return Fail(error);
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: terraq_doc pdf OUT.pdf TITLE BASE [--include DIR]... PAGE.md...\n"
               "       terraq_doc html OUTDIR BASE [--include DIR]... --manual TITLE PDF PAGE.md... [--manual ...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // The documents are drawn without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  if (args.size() < 3) return Usage();
  const QString mode = args.takeFirst();
  QStringList includes;
  const auto takeIncludes = [&] {
    while (args.size() >= 2 && args.front() == QLatin1String("--include")) {
      args.removeFirst();
      includes << args.takeFirst();
    }
  };
  if (mode == QLatin1String("pdf")) {
    if (args.size() < 4) return Usage();
    const QString out = args.takeFirst(), title = args.takeFirst(), base = args.takeFirst();
    takeIncludes();
    if (args.isEmpty()) return Usage();
    return BuildPdf(out, title, base, includes, args);
  }
  if (mode == QLatin1String("html")) {
    const QString outDir = args.takeFirst(), base = args.takeFirst();
    takeIncludes();
    QList<Manual> manuals;
    while (!args.isEmpty()) {
      if (args.front() != QLatin1String("--manual") || args.size() < 4) return Usage();
      args.removeFirst();
      Manual m;
      m.title = args.takeFirst();
      m.pdfName = args.takeFirst();
      while (!args.isEmpty() && args.front() != QLatin1String("--manual")) m.pages << args.takeFirst();
      if (m.pages.isEmpty()) return Usage();
      manuals << m;
    }
    if (manuals.isEmpty()) return Usage();
    return BuildHtml(outDir, base, includes, manuals);
  }
  return Usage();
}
