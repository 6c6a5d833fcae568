// TerraqUI: the interactive program. One optional argument names the data
// file to open.

#include <QApplication>
#include <QDirIterator>
#include <QIcon>

#include "mainwindow/CommandRules.h"
#include "mainwindow/TMainForm.h"
#include "project/EngineRun.h"

namespace {

// The program's icon, every size that is built in (":/icons/<n>x<n>/apps/").
QIcon ProgramIcon() {
  QIcon icon;
  QDirIterator sizes(QStringLiteral(":/icons"), QDir::Dirs | QDir::NoDotAndDotDot);
  while (sizes.hasNext()) icon.addFile(sizes.next() + QStringLiteral("/apps/terraq.png"));
  return icon;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("TerraqUI"));
  QApplication::setApplicationVersion(QString::fromLatin1(terraq::ui::kVersionText));
  QApplication::setWindowIcon(ProgramIcon());
  // Ties the windows to the menu entry terraq.desktop (its icon and name in
  // the desktop's task switcher).
  QGuiApplication::setDesktopFileName(QStringLiteral("terraq"));

  // Designs, studies and the package analyse with the engine library that
  // every run loads: one engine in the program.
  terraq::ui::AnalyseWithTheLoadedEngine();
  terraq::ui::TMainForm form;
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  form.show();
  form.StartUp(arguments);
  return QApplication::exec();
}
