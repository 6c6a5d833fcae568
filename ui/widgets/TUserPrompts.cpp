#include "widgets/TUserPrompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <algorithm>

#include "platform/ProgramBasics.h"
#include "widgets/DialogFolders.h"

namespace terraq::ui {

namespace {

// Message boxes carry the application's title, as every box of the program.
QString boxTitle() { return QLatin1String(kApplicationTitle); }

// Runs a file dialog at a size where its list shows whole names, sizes,
// types and dates (Qt's own dialog opens much smaller): nine tenths of the
// screen up to 1000 x 680, the name column taking what the others leave.
QString runFileDialog(QFileDialog& dialog, QWidget* parent) {
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const QSize available = screen ? screen->availableGeometry().size() : QSize(1024, 768);
  dialog.resize(std::min(1000, available.width() * 9 / 10), std::min(680, available.height() * 9 / 10));
  dialog.setViewMode(QFileDialog::Detail);
  if (auto* list = dialog.findChild<QTreeView*>()) list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

// Questions and messages in the program's message boxes.
void SetMessageBoxes(TUserPrompts& p) {
  p.askYesNoCancel = [](QWidget* parent, const QString& text) {
    const auto button = QMessageBox::question(parent, boxTitle(), text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Yes);
    if (button == QMessageBox::Yes) return TUserPrompts::Answer::Yes;
    if (button == QMessageBox::No) return TUserPrompts::Answer::No;
    return TUserPrompts::Answer::Cancel;
  };
  p.askYesNo = [](QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, boxTitle(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
  };
  p.askChoice = [](QWidget* parent, const QString& text, const QStringList& buttons,
                   int preferred) {
    QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> made;
    for (const QString& caption : buttons) made << box.addButton(caption, QMessageBox::AcceptRole);
    if (made.isEmpty()) return 0;
    box.setDefaultButton(qobject_cast<QPushButton*>(made.value(preferred, made.front())));
    box.setEscapeButton(made.back());
    box.exec();
    const int chosen = static_cast<int>(made.indexOf(box.clickedButton()));
    return chosen >= 0 ? chosen : static_cast<int>(made.size()) - 1;
  };
  p.showError = [](QWidget* parent, const QString& text) { QMessageBox::critical(parent, boxTitle(), text); };
  p.showInformation = [](QWidget* parent, const QString& text) {
    QMessageBox::information(parent, boxTitle(), text);
  };
  p.showWarning = [](QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, boxTitle(), text);
  };
}

// The file dialogs, each opening in the folder the last of its kind ended in.
void SetFileDialogs(TUserPrompts& p) {
  p.openFileName = [](QWidget* parent, const QString& title, const QString& filter, int& filterIndex) {
    const QStringList filters = filter.split(QStringLiteral(";;"));
    QFileDialog dialog(parent, title, ReadDialogFolder(TDialogFolder::Open), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.selectNameFilter(filters.value(filterIndex, filters.value(0)));
    const QString file = runFileDialog(dialog, parent);
    WriteDialogFolder(TDialogFolder::Open, file);
    filterIndex = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return file;
  };
  p.saveFileName = [](QWidget* parent, const QString& title, const QString& suggested, const QString& filter) {
    // The caller adds the extension and then asks before replacing a file;
    // the dialog asking as well would ask twice, or about the wrong name.
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(DialogStartPath(TDialogFolder::Save, suggested));
    const QString file = runFileDialog(dialog, parent);
    WriteDialogFolder(TDialogFolder::Save, file);
    return file;
  };
  p.saveFileNameOfType = [](QWidget* parent, const QString& title, const QString& suggested, const QString& filter,
                           int& filterIndex) {
    const QStringList filters = filter.split(QStringLiteral(";;"));
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectNameFilter(filters.value(filterIndex, filters.value(0)));
    dialog.selectFile(DialogStartPath(TDialogFolder::Picture, suggested));
    const QString file = runFileDialog(dialog, parent);
    WriteDialogFolder(TDialogFolder::Picture, file);
    filterIndex = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return file;
  };
}

}  // namespace

TUserPrompts TUserPrompts::Standard() {
  TUserPrompts p;
  SetMessageBoxes(p);
  SetFileDialogs(p);
  p.runDialog = [](QDialog& dialog) { return dialog.exec(); };
  p.printDialog = [](QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
  };
  p.pageSetupDialog = [](QWidget* parent, QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
  };
  p.startProcess = [](const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
  };
  p.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return p;
}

TUserPrompts& TUserPrompts::Current() {
  static TUserPrompts current = Standard();
  return current;
}

}  // namespace terraq::ui
