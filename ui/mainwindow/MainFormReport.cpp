// File > Export Calculation Report: the package of the project's data file,
// previewed and saved from the preview.

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "PackageFile.h"
#include "dialogs/TReportPreview.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/TMainForm.h"
#include "project/TWordReader.h"
#include "widgets/FileNames.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

void TMainForm::FileExportReport() {
  TUserPrompts& prompts = TUserPrompts::Current();
  // The package is the data file's, as a run analyses it (all the stages of
  // a staged project): the project goes to its file first.
  if (!FileSave()) return;
  if (Data().DataFileName == kNewFileName) return;
  const std::filesystem::path dataFile(Data().DataFileName);
  std::string text;
  try {
    text = ReadWholeFile(dataFile);
  } catch (const EInOutError& e) {
    prompts.showError(this, QString::fromStdString(e.what()));
    return;
  }
  report::Document document;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  document = report::BuildPackage(report::AnalysedPackageInput(dataFile, std::move(text)));
  QGuiApplication::restoreOverrideCursor();
  const QFileInfo saved(FileNameText(Data().DataFileName));
  TReportPreview preview(std::move(document),
                         saved.dir().filePath(saved.completeBaseName() + QStringLiteral(".pdf")),
                         this);
  prompts.runDialog(preview);
}

}  // namespace terraq::ui
