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
  TitleMemo = new QLineEdit(this);
  TitleMemo->setObjectName(QStringLiteral("TitleMemo"));
  TitleMemo->setMaxLength(kMaxTitleLength);
  TitleMemo->setMinimumWidth(TitleMemo->fontMetrics().averageCharWidth() * kMaxTitleLength + 12);
  label->setBuddy(TitleMemo);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(TitleMemo);
  layout->addStretch(1);
  Reload();
}

void TdlgTitle::LoadOther(const TProgramData& data) {
  // A longer title read from a file is shown cut to the line's length, but
  // it is only replaced when the user edits it.
  TitleMemo->setText(QString::fromStdString(data.ProjectTitle));
}

void TdlgTitle::StoreOther(TProgramData& data) {
  if (!TitleMemo->isModified()) return;
  const std::string title = TitleMemo->text().toStdString();
  if (title != data.ProjectTitle) {
    data.ProjectTitle = title;
    data.Modified = true;
  }
  TitleMemo->setModified(false);
}

}  // namespace terraq::ui
