#pragma once
// The folders the program's file dialogs last chose a file in, kept per user
// beside the program's other settings as "Open Folder", "Save Folder" and
// "Picture Folder", so that each dialog opens where the user last worked.

#include <QString>

namespace terraq::ui {

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
