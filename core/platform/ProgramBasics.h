#pragma once
// What every window of the program shows alike, below the main window and
// the dialogs that both use it: the program's title in message boxes, the
// filters of the file dialogs, and the text editor used when the user has
// chosen none. Windowless: the widgets convert to Qt's strings themselves.

#include <string>
#include <string_view>

namespace terraq::ui {

inline constexpr const char* kApplicationTitle = "TERRAQ 2013";
inline constexpr const char* kVersionText = "2013.4.7";

// Where the program keeps its per-user settings (QSettings): organisation,
// application and the group of this version.
inline constexpr const char* kSettingsOrganisation = "Orvane";
inline constexpr const char* kSettingsApplication = "TERRAQ";

// A stored filter ("A|*.x;*.y|B|*.z") as a file dialog takes it
// ("A (*.x *.y);;B (*.z)"). A description that already shows its patterns
// in parentheses keeps them. Outside Windows the pattern "*.*" becomes "*",
// because file names there need no dot (programs have none).
std::string DialogFilter(std::string_view storedFilter);

// The editor used when none is set: notepad in the Windows folder on
// Windows, xdg-open (the desktop's handler of text files) elsewhere.
std::string DefaultEditorCommand();

}  // namespace terraq::ui
