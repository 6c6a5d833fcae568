#include "mainwindow/TSettings.h"

#include <QDir>
#include <QSettings>
#include <filesystem>

#include "mainwindow/CommandRules.h"
#include "widgets/FileNames.h"

namespace terraq::ui {

namespace {

constexpr const char* kOrganisation = "Orvane";
constexpr const char* kApplication = "TERRAQ";
constexpr const char* kEditorValue = "Word Processor";
constexpr const char* kGeometryValue = "Window Geometry";

const char* folderValue(TDialogFolder kind) {
  switch (kind) {
    case TDialogFolder::Open: return "Open Folder";
    case TDialogFolder::Save: return "Save Folder";
    case TDialogFolder::Picture: return "Picture Folder";
  }
  return "Open Folder";
}

QString fileValue(int number) { return QStringLiteral("File%1").arg(number); }

void writeRecent(QSettings& settings, const TRecentFiles::Entries& files) {
  for (int k = 1; k <= TRecentFiles::kSize; ++k)
    settings.setValue(fileValue(k), FileNameText(files[static_cast<size_t>(k - 1)]));
}

}  // namespace

QString DefaultEditorPath() {
#if defined(_WIN32)
  QString windows = qEnvironmentVariable("WINDIR");
  if (windows.isEmpty()) windows = QStringLiteral("C:\\Windows");
  return QDir::toNativeSeparators(windows + QStringLiteral("\\notepad.exe"));
#else
  return QStringLiteral("xdg-open");
#endif
}

TProgramSettings ReadProgramSettings() {
  TProgramSettings result;
  QSettings settings(kOrganisation, kApplication);
  if (settings.status() == QSettings::NoError) {
    settings.beginGroup(kVersionText);
    result.editorPath = settings.value(kEditorValue).toString();
    result.windowGeometry = settings.value(kGeometryValue).toByteArray();
    for (int k = 1; k <= TRecentFiles::kSize; ++k)
      result.recentFiles[static_cast<size_t>(k - 1)] = FileNameBytes(settings.value(fileValue(k)).toString());
    settings.endGroup();
  }
  if (settings.status() != QSettings::NoError) result = TProgramSettings();
  if (result.editorPath.trimmed().isEmpty()) result.editorPath = DefaultEditorPath();
  return result;
}

void WriteProgramSettings(const TProgramSettings& values) {
  QSettings settings(kOrganisation, kApplication);
  settings.beginGroup(kVersionText);
  settings.setValue(kEditorValue, values.editorPath);
  writeRecent(settings, values.recentFiles);
  if (!values.windowGeometry.isEmpty()) settings.setValue(kGeometryValue, values.windowGeometry);
  settings.endGroup();
}

void WriteRecentFiles(const TRecentFiles::Entries& files) {
  QSettings settings(kOrganisation, kApplication);
  settings.beginGroup(kVersionText);
  writeRecent(settings, files);
  settings.endGroup();
}

QString ReadDialogFolder(TDialogFolder kind) {
  QSettings settings(kOrganisation, kApplication);
  settings.beginGroup(kVersionText);
  const QString folder = settings.value(folderValue(kind)).toString();
  std::error_code ec;
  return !folder.isEmpty() && std::filesystem::is_directory(FileNameBytes(folder), ec) ? folder : QString();
}

void WriteDialogFolder(TDialogFolder kind, const QString& chosenFile) {
  if (chosenFile.isEmpty()) return;
  QSettings settings(kOrganisation, kApplication);
  settings.beginGroup(kVersionText);
  const std::filesystem::path file = std::filesystem::absolute(FileNameBytes(chosenFile));
  settings.setValue(folderValue(kind), FileNameText(file.parent_path().string()));
}

QString DialogStartPath(TDialogFolder kind, const QString& suggested) {
  if (!suggested.isEmpty() && std::filesystem::path(FileNameBytes(suggested)).is_absolute()) return suggested;
  const QString folder = ReadDialogFolder(kind);
  if (folder.isEmpty()) return suggested;
  return suggested.isEmpty() ? folder : folder + QLatin1Char('/') + suggested;
}

}  // namespace terraq::ui
