#include "widgets/HelpDocuments.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>
#include <filesystem>

#include "platform/InstallPaths.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

QString HelpDocumentPath(const QString& fileName) {
  namespace fs = std::filesystem;
  // TERRAQ_DOC_DIR names another folder (an installation that keeps the
  // documents apart from the programs, or a test).
  const QString configured = qEnvironmentVariable("TERRAQ_DOC_DIR");
  if (!configured.isEmpty()) return QDir::toNativeSeparators(QDir(configured).filePath(fileName));
  // Beside the program in a build tree, in the data folder once installed;
  // a missing document is named where the build tree keeps it.
  const fs::path relative = fs::path("doc") / fileName.toStdString();
  fs::path found = FindProgramFile(relative);
  if (found.empty()) found = ExecutableFolder() / relative;
  return QDir::toNativeSeparators(QString::fromStdString(found.string()));
}

void ShowHelpDocument(QWidget* parent, const QString& document) {
  const QString fileName = document.section(QLatin1Char('#'), 0, 0);
  const QString heading = document.section(QLatin1Char('#'), 1);
  const QString path = HelpDocumentPath(fileName);
  if (!QFileInfo(path).isFile()) {
    TUserPrompts::Current().showError(
        parent, QWidget::tr("The document \"%1\" is not installed: it is looked for as %2.")
                    .arg(fileName, path));
    return;
  }
  QUrl address = QUrl::fromLocalFile(path);
  if (!heading.isEmpty()) address.setFragment(heading);
  if (!TUserPrompts::Current().openUrl(address))
    TUserPrompts::Current().showError(
        parent, QWidget::tr("No viewer could be started for the document %1. Open it with a web "
                            "browser or a PDF viewer.")
                    .arg(path));
}

QAction* AddHelpKey(QWidget* window, const QString& document) {
  auto* action = new QAction(QWidget::tr("Help"), window);
  action->setObjectName(QStringLiteral("HelpKey"));
  action->setShortcut(QKeySequence::HelpContents);
  action->setShortcutContext(Qt::WindowShortcut);
  window->addAction(action);
  QObject::connect(action, &QAction::triggered, window,
                   [window, document] { ShowHelpDocument(window, document); });
  return action;
}

}  // namespace terraq::ui
