#pragma once
// The program's own settings, kept per user: the text editor that shows the
// data, report and run-notes files, and the recent-file list. They live
// under organisation "Orvane", application "TERRAQ", group "2013.4.7" (on
// Windows the registry key of that name under the current user, elsewhere
// an INI file in the user's configuration folder), with the value names
// "Word Processor" and "File1" .. "File10". Beside them: "Window Geometry"
// (the main window's size and place, as Qt saves it) and the folders the
// file dialogs last chose a file in (widgets/DialogFolders.h).

#include <QByteArray>
#include <QString>

#include "mainwindow/TRecentFiles.h"

namespace terraq::ui {

struct TProgramSettings {
  QString editorPath;
  TRecentFiles::Entries recentFiles{};
  QByteArray windowGeometry;  // empty: none kept yet
  bool liveAnalysis = true;   // "Live Analysis": analyse in memory after each entry
};

// Reads the settings. When they cannot be read the values are cleared; an
// empty editor path becomes DefaultEditorCommand() (platform/ProgramBasics.h).
TProgramSettings ReadProgramSettings();
// Writes the editor, the recent files and the window geometry; failures
// are ignored (the settings are a convenience, not project data).
void WriteProgramSettings(const TProgramSettings& settings);
// Writes the ten recent-file values only.
void WriteRecentFiles(const TRecentFiles::Entries& files);
// Writes the live-analysis option only, as it is switched.
void WriteLiveAnalysisSetting(bool on);

}  // namespace terraq::ui
