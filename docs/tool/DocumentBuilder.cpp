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
// BASE is the folder that the pictures' paths ("pictures/x.png") start
// from. The exit status is 0 on success, 1 when a source, an include or a
// picture is missing or an output cannot be written, 2 for a usage error.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextStream>
#include <cstdio>

#include "MarkdownSource.h"

using namespace terraq::docs;

namespace {

// Widest picture, in pixels of the layout (96 per inch): the text width of
// an A4 sheet with 20 mm margins is about 6.4 inches.
constexpr int kMaxPictureWidth = 600;

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

// Markdown into a document whose pictures are read from `base`, scaled down
// to the text width; false (with the missing file in `error`) when a picture
// cannot be read.
bool Load(QTextDocument& doc, const QString& markdown, const QString& base, QString& error) {
  doc.setDefaultFont(BodyFont());
  doc.setBaseUrl(QUrl::fromLocalFile(base + QLatin1Char('/')));
  doc.setMarkdown(markdown);
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat image = fragment.charFormat().toImageFormat();
      const QString path = QDir(base).filePath(image.name());
      const QImage picture(path);
      if (picture.isNull()) {
        error = QStringLiteral("the picture %1 cannot be read").arg(path);
        return false;
      }
      // Handed to the document itself: its own lookup of a relative name
      // against the base does not reach the file when the page is printed.
      doc.addResource(QTextDocument::ImageResource, QUrl(image.name()), QVariant(picture));
      if (picture.width() <= kMaxPictureWidth) continue;
      image.setWidth(kMaxPictureWidth);
      image.setHeight(double(kMaxPictureWidth) * picture.height() / picture.width());
      QTextCursor cursor(&doc);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(image);
    }
  }
  return true;
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

  QPdfWriter writer(out);
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("TERRAQ documentation"));
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
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
