#include "widgets/DialogFolders.h"

#include <QSettings>
#include <filesystem>

#include "platform/ProgramBasics.h"
#include "widgets/FileNames.h"

namespace terraq::ui {

namespace {

const char* folderValue(TDialogFolder kind) {
  switch (kind) {
    case TDialogFolder::Open: return "Open Folder";
    case TDialogFolder::Save: return "Save Folder";
    case TDialogFolder::Picture: return "Picture Folder";
  }
  return "Open Folder";
}

}  // namespace

QString ReadDialogFolder(TDialogFolder kind) {
  QSettings settings(kSettingsOrganisation, kSettingsApplication);
  settings.beginGroup(kVersionText);
  const QString folder = settings.value(folderValue(kind)).toString();
  std::error_code ec;
  return !folder.isEmpty() && std::filesystem::is_directory(FileNameBytes(folder), ec) ? folder
                                                                                       : QString();
}

void WriteDialogFolder(TDialogFolder kind, const QString& chosenFile) {
  if (chosenFile.isEmpty()) return;
  QSettings settings(kSettingsOrganisation, kSettingsApplication);
  settings.beginGroup(kVersionText);
  const std::filesystem::path file = std::filesystem::absolute(FileNameBytes(chosenFile));
  settings.setValue(folderValue(kind), FileNameText(file.parent_path().string()));
}

QString DialogStartPath(TDialogFolder kind, const QString& suggested) {
  if (!suggested.isEmpty() && std::filesystem::path(FileNameBytes(suggested)).is_absolute())
    return suggested;
  const QString folder = ReadDialogFolder(kind);
  if (folder.isEmpty()) return suggested;
  return suggested.isEmpty() ? folder : folder + QLatin1Char('/') + suggested;
}

}  // namespace terraq::ui
