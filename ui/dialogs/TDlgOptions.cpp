#include "dialogs/TDlgOptions.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ProgramBasics.h"
#include "project/EditorCommand.h"

namespace terraq::ui {

namespace {

// Programs are the files to choose from. Outside Windows they carry no
// extension, so every file is offered.
#if defined(_WIN32)
constexpr const char* kProgramFilter = "Programs|*.exe;*.com|All Files (*.*)|*.*";
#else
constexpr const char* kProgramFilter = "All Files (*.*)|*.*";
#endif

}  // namespace

TDlgOptions::TDlgOptions(std::function<QString()> editorPath, std::function<void(const QString&)> setEditorPath,
                         QWidget* parent)
    : QWidget(parent), editorPath_(std::move(editorPath)), setEditorPath_(std::move(setEditorPath)) {
  setObjectName(QStringLiteral("DlgOptions"));
  setWindowTitle(tr("Control Options"));
  auto* label = new QLabel(tr("&Text Editor:"), this);
  editorField_ = new QLineEdit(this);
  editorField_->setObjectName(QStringLiteral("EdtWord"));
  editorField_->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
  editorField_->setToolTip(tr(
      "A program, or a command with arguments (quoted as in a shell); the file to show is added last."));
  label->setBuddy(editorField_);
  auto* browse = new QPushButton(tr("&Browse..."), this);
  browse->setObjectName(QStringLiteral("btnBrowse"));
  browse->setAutoDefault(false);

  auto* row = new QHBoxLayout;
  row->addWidget(editorField_, 1);
  row->addWidget(browse);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addLayout(row);
  layout->addStretch(1);

  connect(editorField_, &QLineEdit::editingFinished, this, &TDlgOptions::Store);
  connect(browse, &QPushButton::clicked, this, &TDlgOptions::BrowseClick);
  Reload();
}

void TDlgOptions::Reload() { editorField_->setText(editorPath_()); }

void TDlgOptions::Store() {
  // No editor at all is the desktop's default one.
  QString path = editorField_->text().trimmed();
  if (path.isEmpty()) {
    path = QString::fromStdString(DefaultEditorCommand());
    editorField_->setText(path);
  }
  setEditorPath_(path);
}

void TDlgOptions::BrowseClick() {
  const QString file =
      QFileDialog::getOpenFileName(this, tr("Text Editor"), editorField_->text(),
                                   QString::fromStdString(DialogFilter(kProgramFilter)));
  if (file.isEmpty()) return;
  // The setting is a command: a path with blanks must stay one word.
  editorField_->setText(
      QString::fromStdString(QuotedProgram(QDir::toNativeSeparators(file).toStdString())));
  Store();
}

bool TDlgOptions::event(QEvent* event) {
  // The window stores when it loses the focus to another window.
  if (event->type() == QEvent::WindowDeactivate) Store();
  return QWidget::event(event);
}

void TDlgOptions::closeEvent(QCloseEvent* event) {
  Store();
  QWidget::closeEvent(event);
}

}  // namespace terraq::ui
