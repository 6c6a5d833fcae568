// TerraqUI: the interactive program. One optional argument names the data
// file to open.

#include <QApplication>

#include "mainwindow/CommandRules.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/ToolIcons.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("TerraqUI"));
  QApplication::setApplicationVersion(QString::fromLatin1(terraq::ui::kVersionText));
  QApplication::setWindowIcon(terraq::ui::ToolIcon(terraq::ui::ToolIconKind::SoilProfile));

  terraq::ui::TMainForm form;
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();
  form.show();
  form.StartUp(arguments);
  return QApplication::exec();
}
