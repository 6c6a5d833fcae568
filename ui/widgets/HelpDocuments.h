#pragma once
// The documents that ship beside the program (the manuals and the help
// pages, in the doc folder) and F1, which opens a window's own help page.
// Every window the main window holds gets its page from the main window's
// F1; a dialog of its own (modal, outside the main window) holds its F1
// itself: the main window's shortcut does not reach it.

#include <QString>

class QAction;
class QWidget;

namespace terraq::ui {

// Where the document `fileName` ("help/graphs.html", a manual's PDF) is, or
// would be if it were installed: TERRAQ_DOC_DIR when set, else beside the
// program in a build tree or in the data folder once installed.
QString HelpDocumentPath(const QString& fileName);

// Opens `document` ("help/page.html#anchor" or a manual) in the desktop's
// viewer through TUserPrompts; a document not installed or no viewer is
// said to the user, with the path, over `parent`.
void ShowHelpDocument(QWidget* parent, const QString& document);

// F1 in `window` (a dialog) opens `document`. The action (object name
// "HelpKey") is owned by `window`.
QAction* AddHelpKey(QWidget* window, const QString& document);

}  // namespace terraq::ui
