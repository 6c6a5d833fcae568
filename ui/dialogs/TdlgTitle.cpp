#include "dialogs/TdlgTitle.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace terraq::ui {

TdlgTitle::TdlgTitle(TDialogContext context, QWidget* parent) : TDataDialog(std::move(context), parent) {
  setObjectName(QStringLiteral("dlgTitle"));
  setWindowTitle(tr("Project Title"));
  auto* label = new QLabel(tr("Enter text line for project description:"), this);
  label->setObjectName(QStringLiteral("lblTitle"));
  // One line: Enter does not break it (a line edit has no second line).
  title_ = new QLineEdit(this);
  title_->setObjectName(QStringLiteral("TitleMemo"));
  title_->setMaxLength(kMaxTitleLength);
  title_->setMinimumWidth(title_->fontMetrics().averageCharWidth() * kMaxTitleLength + 12);
  label->setBuddy(title_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(title_);
  layout->addStretch(1);
  Reload();
}

void TdlgTitle::LoadOther(const TProgramData& values) {
  // A longer title read from a file is shown cut to the line's length, but
  // it is only replaced when the user edits it.
  title_->setText(QString::fromStdString(values.ProjectTitle));
}

void TdlgTitle::StoreOther(TProgramData& values) {
  if (!title_->isModified()) return;
  const std::string title = title_->text().toStdString();
  if (title != values.ProjectTitle) {
    values.ProjectTitle = title;
    values.Modified = true;
  }
  title_->setModified(false);
}

}  // namespace terraq::ui
