#pragma once
// The preview of a calculation package (File > Export Calculation Report):
// its pages as they will be printed, the paper they are laid out on, and
// Save, which writes the package as PDF or HTML. The package is made by the
// windowless report library before the window opens; the window only shows
// and saves it.

#include <QDialog>
#include <QString>

#include "Document.h"
#include "DocumentPdf.h"

class QComboBox;
class QPrintPreviewWidget;
class QPrinter;

namespace terraq::ui {

class TReportPreview : public QDialog {
  Q_OBJECT

 public:
  // `suggested`: the file the save dialog offers first (NAME.pdf beside the
  // data file).
  TReportPreview(report::Document document, QString suggested, QWidget* parent = nullptr);
  ~TReportPreview() override;

  report::Paper paper() const;
  // Asks for the file and its form, and writes the package there; says why
  // when it cannot. True when a package was written.
  bool SaveClick();
  // The file last written; empty before.
  QString savedFile() const { return saved_; }

 private:
  void paintPages(QPrinter* printer);

  report::Document document_;
  QString suggested_, saved_;
  QComboBox* paperBox_ = nullptr;
  QPrintPreviewWidget* preview_ = nullptr;
  QPrinter* printer_ = nullptr;
};

}  // namespace terraq::ui
