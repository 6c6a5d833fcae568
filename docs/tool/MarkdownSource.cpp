#include "MarkdownSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace terraq::docs {

namespace {

bool ReadFile(const QString& path, QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  text = QString::fromUtf8(file.readAll());
  return true;
}

// A page link: text in brackets and a target ending in ".md", with an
// optional fragment. Web addresses and pictures are left alone.
const QRegularExpression& PageLink() {
  static const QRegularExpression link(QStringLiteral(R"((?<!!)\[([^\]]+)\]\(([A-Za-z0-9_.-]+)\.md(#[^)]*)?\))"));
  return link;
}

}  // namespace

bool ReadMarkdown(const QString& path, const QStringList& includeFolders, QString& text, QString& error) {
  QString raw;
  if (!ReadFile(path, raw)) {
    error = QStringLiteral("cannot read %1").arg(path);
    return false;
  }
  QStringList folders{QFileInfo(path).absolutePath()};
  folders << includeFolders;
  QStringList out;
  for (const QString& line : raw.split(QLatin1Char('\n'))) {
    if (!line.startsWith(QLatin1String("@include "))) {
      out << line;
      continue;
    }
    const QString name = line.mid(9).trimmed();
    QString included;
    bool found = false;
    for (const QString& folder : folders)
      if (ReadFile(QDir(folder).filePath(name), included)) {
        found = true;
        break;
      }
    if (!found) {
      error = QStringLiteral("%1: the included page %2 is not in %3").arg(path, name, folders.join(", "));
      return false;
    }
    out << included;
  }
  text = out.join(QLatin1Char('\n'));
  return true;
}

QString LinksToHtmlPages(const QString& markdown) {
  QString out = markdown;
  return out.replace(PageLink(), QStringLiteral("[\\1](\\2.html\\3)"));
}

QString LinksToPlainText(const QString& markdown) {
  QString out = markdown;
  return out.replace(PageLink(), QStringLiteral("\\1"));
}

QString HeadingAnchor(const QString& heading) {
  QString anchor;
  for (const QChar ch : heading.trimmed()) {
    if (ch.isLetterOrNumber() || ch == QLatin1Char('-') || ch == QLatin1Char('_')) anchor += ch.toLower();
    else if (ch == QLatin1Char(' ')) anchor += QLatin1Char('-');
  }
  return anchor;
}

QString PageTitle(const QString& markdown, const QString& fallback) {
  for (const QString& line : markdown.split(QLatin1Char('\n')))
    if (line.startsWith(QLatin1String("# "))) return line.mid(2).trimmed();
  return fallback;
}

}  // namespace terraq::docs
