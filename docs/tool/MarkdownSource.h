#pragma once
// Reading the Markdown sources of the manuals: include lines resolved, links
// between pages rewritten for the output at hand. Windowless (Qt Core only),
// so that the tests can reach it.

#include <QString>
#include <QStringList>

namespace terraq::docs {

// The text of a Markdown file with every line of the form
//   @include name.md
// replaced by the text of that file, looked for first beside the source and
// then in each of `includeFolders` (generated pages live in the build tree).
// Returns false and sets `error` when a file or an include cannot be read.
bool ReadMarkdown(const QString& path, const QStringList& includeFolders, QString& text, QString& error);

// Links to other pages, "(name.md)" or "(name.md#part)", pointed at
// "name.html" for the help pages.
QString LinksToHtmlPages(const QString& markdown);

// The same links reduced to their text for a printed manual, where the pages
// follow each other: "[the sand model](py-sand.md)" becomes "the sand model".
QString LinksToPlainText(const QString& markdown);

// The first level-one heading of a page ("# Title"), or `fallback`.
QString PageTitle(const QString& markdown, const QString& fallback);

}  // namespace terraq::docs
