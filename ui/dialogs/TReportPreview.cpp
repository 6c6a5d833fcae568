#include "dialogs/TReportPreview.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "PackageFile.h"
#include "widgets/HelpDocuments.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace {

// The save dialog's types, in the order of report::PackageForm.
const char* const kPackageFilter = "PDF document (*.pdf);;HTML page (*.html)";

}  // namespace

TReportPreview::TReportPreview(report::Document document, QString suggested, QWidget* parent)
    : QDialog(parent), document_(std::move(document)), suggested_(std::move(suggested)) {
  setObjectName(QStringLiteral("ReportPreview"));
  setWindowTitle(tr("Calculation Report"));
  AddHelpKey(this, QStringLiteral("help/calculation-package.html#from-the-program"));
  printer_ = new QPrinter(QPrinter::HighResolution);
  preview_ = new QPrintPreviewWidget(printer_, this);
  preview_->setObjectName(QStringLiteral("ReportPages"));
  connect(preview_, &QPrintPreviewWidget::paintRequested, this, &TReportPreview::paintPages);

  paperBox_ = new QComboBox(this);
  paperBox_->setObjectName(QStringLiteral("ReportPaper"));
  paperBox_->addItem(tr("A4"));
  paperBox_->addItem(tr("Letter"));
  paperBox_->setCurrentIndex(report::PaperOfLocale() == report::Paper::Letter ? 1 : 0);
  connect(paperBox_, &QComboBox::currentIndexChanged, preview_,
          &QPrintPreviewWidget::updatePreview);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* save = buttons->addButton(tr("&Save..."), QDialogButtonBox::ActionRole);
  save->setObjectName(QStringLiteral("ReportSave"));
  save->setDefault(true);
  connect(save, &QPushButton::clicked, this, [this] { SaveClick(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(tr("Paper:"), this));
  top->addWidget(paperBox_);
  top->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(preview_, 1);
  layout->addWidget(buttons);
  resize(760, 900);
}

TReportPreview::~TReportPreview() { delete printer_; }

report::Paper TReportPreview::paper() const {
  return paperBox_->currentIndex() == 1 ? report::Paper::Letter : report::Paper::A4;
}

void TReportPreview::paintPages(QPrinter* printer) {
  report::PaintDocument(document_, *printer, paper());
}

bool TReportPreview::SaveClick() {
  TUserPrompts& prompts = TUserPrompts::Current();
  int filterIndex = 0;
  QString file = prompts.saveFileNameOfType(this, tr("Export Calculation Report"), suggested_,
                                            QString::fromLatin1(kPackageFilter), filterIndex);
  if (file.isEmpty()) return false;
  // A name without a known extension gets the one of the type chosen.
  if (!report::PackageFormFor(file.toStdU16String()))
    file += filterIndex == 1 ? QStringLiteral(".html") : QStringLiteral(".pdf");
  file = QFileInfo(file).absoluteFilePath();
  if (QFileInfo::exists(file) &&
      !prompts.askYesNo(this, tr("%1 already exists.\nDo you want to replace it?").arg(file)))
    return false;
  const std::filesystem::path path(file.toStdU16String());
  const std::string bytes = report::PackageBytes(document_, *report::PackageFormFor(path), paper());
  if (const std::string failed = report::WritePackageFile(path, bytes); !failed.empty()) {
    prompts.showError(this, QString::fromStdString(failed));
    return false;
  }
  saved_ = file;
  suggested_ = file;
  return true;
}

}  // namespace terraq::ui
