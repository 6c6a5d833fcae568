#include "plotwindow/GraphSaveCommand.h"

#include <QFileInfo>
#include <QPrinter>

#include "plotwindow/GraphSaveChoice.h"
#include "plotwindow/TdlgFormat.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

bool SaveGraphCommand(QWidget* parent, const std::string& caption, const TGraphFileWriter& write) {
  TUserPrompts& prompts = TUserPrompts::Current();
  int filterIndex = kDefaultGraphFilterIndex;
  const QString typed = prompts.saveFileNameOfType(
      parent, QObject::tr("Save Graph As"),
      SuggestedGraphFileName(caption) + QStringLiteral(".png"), GraphSaveFilter(), filterIndex);
  if (typed.isEmpty()) return false;
  const TGraphSaveChoice choice = ChooseGraphFile(QFileInfo(typed).absoluteFilePath(), filterIndex);
  // The extension may have been added here: the question is about the file
  // really written.
  if (QFileInfo::exists(choice.File) &&
      !prompts.askYesNo(
          parent, QObject::tr("%1 already exists.\nDo you want to replace it?").arg(choice.File)))
    return false;

  const bool bitmap =
      choice.Format == TGraphFileFormat::Bmp || choice.Format == TGraphFileFormat::Png;
  TdlgFormat dialog(bitmap, parent);
  const int result = prompts.runDialog(dialog);
  if (result == TdlgFormat::kOutOfMemory) {
    prompts.showError(parent, QObject::tr(TdlgFormat::kOutOfMemoryMessage));
    return false;
  }
  if (result != QDialog::Accepted) return false;
  const std::string error =
      write(std::filesystem::path(choice.File.toStdU16String()), choice.Format, dialog.ImageSize());
  if (!error.empty()) prompts.showError(parent, QString::fromStdString(error));
  return error.empty();
}

bool PrintGraphCommand(QWidget* parent, QPrinter& printer,
                       const std::function<bool(QPrinter&)>& print) {
  if (!TUserPrompts::Current().printDialog(parent, printer)) return false;
  printer.setFullPage(true);
  printer.setPageMargins(QMarginsF(), QPageLayout::Inch);
  if (print(printer)) return true;
  TUserPrompts::Current().showError(parent, QObject::tr("The graph could not be printed."));
  return false;
}

}  // namespace terraq::ui
