#include "widgets/TUserPrompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

namespace terraq::ui {

namespace {

// Message boxes carry the application's title, as every box of the program.
const QString& boxTitle() {
  static const QString title = QStringLiteral("TERRAQ 2013");
  return title;
}

}  // namespace

TUserPrompts TUserPrompts::Standard() {
  TUserPrompts p;
  p.askYesNoCancel = [](QWidget* parent, const QString& text) {
    const auto button = QMessageBox::question(parent, boxTitle(), text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Yes);
    if (button == QMessageBox::Yes) return Answer::Yes;
    if (button == QMessageBox::No) return Answer::No;
    return Answer::Cancel;
  };
  p.askYesNo = [](QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, boxTitle(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
  };
  p.showError = [](QWidget* parent, const QString& text) { QMessageBox::critical(parent, boxTitle(), text); };
  p.showInformation = [](QWidget* parent, const QString& text) {
    QMessageBox::information(parent, boxTitle(), text);
  };
  p.openFileName = [](QWidget* parent, const QString& title, const QString& filter, int& filterIndex) {
    const QStringList filters = filter.split(QStringLiteral(";;"));
    QString selected = filters.value(filterIndex, filters.value(0));
    const QString file = QFileDialog::getOpenFileName(parent, title, QString(), filter, &selected);
    filterIndex = std::max(0, static_cast<int>(filters.indexOf(selected)));
    return file;
  };
  p.saveFileName = [](QWidget* parent, const QString& title, const QString& suggested, const QString& filter) {
    // The caller adds the extension and then asks before replacing a file;
    // the dialog asking as well would ask twice, or about the wrong name.
    return QFileDialog::getSaveFileName(parent, title, suggested, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
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
