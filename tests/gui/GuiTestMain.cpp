// The window tests run without a display (Qt's offscreen platform) and with
// settings in a scratch folder, never the user's.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir settingsFolder;
  qputenv("XDG_CONFIG_HOME", settingsFolder.path().toLocal8Bit());
  QStandardPaths::setTestModeEnabled(true);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
