#include "mainwindow/TSettings.h"

#include <QSettings>
#include <filesystem>

#include "mainwindow/CommandRules.h"
#include "platform/ProgramBasics.h"
#include "widgets/FileNames.h"

namespace terraq::ui {

namespace {

constexpr const char* kOrganisation = kSettingsOrganisation;
constexpr const char* kApplication = kSettingsApplication;
constexpr const char* kEditorValue = "Word Processor";
constexpr const char* kGeometryValue = "Window Geometry";
constexpr const char* kLiveValue = "Live Analysis";

QString fileValue(int number) { return QStringLiteral("File%1").arg(number); }

void writeRecent(QSettings& settings, const TRecentFiles::Entries& files) {
  for (int k = 1; k <= TRecentFiles::kSize; ++k)
    settings.setValue(fileValue(k), FileNameText(files[static_cast<size_t>(k - 1)]));
}

}  // namespace

TProgramSettings ReadProgramSettings() {
  TProgramSettings result;
  QSettings settings(kOrganisation, kApplication);
  if (settings.status() == QSettings::NoError) {
    settings.beginGroup(kVersionText);
    result.editorPath = settings.value(kEditorValue).toString();
    result.windowGeometry = settings.value(kGeometryValue).toByteArray();
    result.liveAnalysis = settings.value(kLiveValue, true).toBool();
    for (int k = 1; k <= TRecentFiles::kSize; ++k)
      result.recentFiles[static_cast<size_t>(k - 1)] = FileNameBytes(settings.value(fileValue(k)).toString());
    settings.endGroup();
  }
  if (settings.status() != QSettings::NoError) result = TProgramSettings();
  if (result.editorPath.trimmed().isEmpty())
    result.editorPath = QString::fromStdString(DefaultEditorCommand());
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

void WriteLiveAnalysisSetting(bool on) {
  QSettings settings(kOrganisation, kApplication);
  settings.beginGroup(kVersionText);
  settings.setValue(kLiveValue, on);
  settings.endGroup();
}

void WriteRecentFiles(const TRecentFiles::Entries& files) {
  QSettings settings(kOrganisation, kApplication);
  settings.beginGroup(kVersionText);
  writeRecent(settings, files);
  settings.endGroup();
}

}  // namespace terraq::ui
