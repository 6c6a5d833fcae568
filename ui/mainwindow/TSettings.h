#pragma once
// The program's own settings, kept per user: the text editor that shows the
// data, report and run-notes files, and the recent-file list. They live
// under organisation "Orvane", application "TERRAQ", group "2013.4.7" (on
// Windows the registry key of that name under the current user, elsewhere
// an INI file in the user's configuration folder), with the value names
// "Word Processor" and "File1" .. "File10". Beside them: "Window Geometry"
// (the main window's size and place, as Qt saves it) and the folders the
// file dialogs last chose a file in, "Open Folder", "Save Folder" and
// "Picture Folder".

#include <QByteArray>
#include <QString>

#include "mainwindow/TRecentFiles.h"

namespace terraq::ui {

struct TProgramSettings {
  QString editorPath;
  TRecentFiles::Entries recentFiles{};
  QByteArray windowGeometry;  // empty: none kept yet
};

// The editor used when none is set: notepad in the Windows folder on
// Windows, xdg-open (the desktop's handler of text files) elsewhere.
QString DefaultEditorPath();

// Reads the settings. When they cannot be read the values are cleared; an
// empty editor path becomes DefaultEditorPath().
TProgramSettings ReadProgramSettings();
// Writes the editor, the recent files and the window geometry; failures
// are ignored (the settings are a convenience, not project data).
void WriteProgramSettings(const TProgramSettings& settings);
// Writes the ten recent-file values only.
void WriteRecentFiles(const TRecentFiles::Entries& files);

// The file dialogs whose folder is remembered: Open, Save As, and saving a
// graph to disk.
enum class TDialogFolder { Open, Save, Picture };
// The folder that kind of dialog last chose a file in ("" when none is kept
// or it no longer exists).
QString ReadDialogFolder(TDialogFolder kind);
// Keeps the folder of a file that kind of dialog chose.
void WriteDialogFolder(TDialogFolder kind, const QString& chosenFile);
// Where such a dialog starts: a suggested name with a folder of its own
// keeps it; a bare name goes into the remembered folder.
QString DialogStartPath(TDialogFolder kind, const QString& suggested);

}  // namespace terraq::ui
