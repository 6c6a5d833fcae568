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

// The anchor name of a heading in the help pages, so that a link
// "page.md#part" can point at it: the heading's text in lower case, letters,
// digits, '-' and '_' kept, every space a '-', everything else dropped
// ("Soft clay (model 1)" becomes "soft-clay-model-1"), the rule links on
// code-hosting sites follow, so that the same links work there.
QString HeadingAnchor(const QString& heading);

// The first level-one heading of a page ("# Title"), or `fallback`.
QString PageTitle(const QString& markdown, const QString& fallback);

}  // namespace terraq::docs
