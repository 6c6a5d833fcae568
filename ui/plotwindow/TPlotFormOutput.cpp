// The output commands of a plot window: printing with the window's page
// margins, saving the graph to a bitmap or a vector picture, and copying it
// to the clipboard. The drawing itself is GraphOutput's; these handlers ask
// the user (through TUserPrompts) and report what went wrong.

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <cmath>
#include <filesystem>

#include "plotwindow/GraphSaveCommand.h"
#include "plotwindow/TPlotForm.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace {

std::filesystem::path FilePath(const QString& file) { return std::filesystem::path(file.toStdU16String()); }

int Thousandths(double inches) { return static_cast<int>(std::lround(inches * 1000)); }

}  // namespace

QPrinter& TPlotForm::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void TPlotForm::PlotPageClick() {
  QPrinter& printer = Printer();
  printer.setPageMargins(QMarginsF(margins_.Left, margins_.Top, margins_.Right, margins_.Bottom) / 1000.0,
                         QPageLayout::Inch);
  if (!TUserPrompts::Current().pageSetupDialog(this, printer)) return;
  const QMarginsF m = printer.pageLayout().margins(QPageLayout::Inch);
  margins_ = {Thousandths(m.left()), Thousandths(m.top()), Thousandths(m.right()), Thousandths(m.bottom())};
}

void TPlotForm::PlotPrintClick() {
  PrintGraphCommand(this, Printer(), [this](QPrinter& printer) {
    return PrintGraph(printer, graph_, world_, margins_);
  });
  update();
}

void TPlotForm::PlotSaveClick() {
  SaveGraphCommand(this, graph_.Caption,
                   [this](const std::filesystem::path& file, TGraphFileFormat format,
                          const TGraphImageSize& size) {
                     return SaveGraph(graph_, world_, file, format, size);
                   });
  update();
}

void TPlotForm::CopyClick() {
  // The graph as the window shows it, at the screen's resolution, with the
  // legend box of an exported picture (the legend widget is not part of
  // the drawing). It goes through a scratch file so that the clipboard gets
  // exactly what Save To Disk would write at this size.
  QTemporaryDir scratch;
  if (!scratch.isValid()) {
    TUserPrompts::Current().showError(this, tr("The graph could not be copied: no scratch folder."));
    return;
  }
  TGraphImageSize size;
  size.PixelsPerInch = logicalDpiX() > 0 ? logicalDpiX() : 96;
  size.WidthInches = static_cast<double>(width()) / size.PixelsPerInch;
  size.HeightInches = static_cast<double>(height()) / size.PixelsPerInch;
  size.Colors = TBitmapColors::TrueColor24Bit;
  const QString file = scratch.filePath(QStringLiteral("graph.png"));
  const std::string error = SaveGraph(graph_, world_, FilePath(file), TGraphFileFormat::Png, size);
  QImage image;
  if (!error.empty() || !image.load(file)) {
    TUserPrompts::Current().showError(
        this, error.empty() ? tr("The graph could not be copied.") : QString::fromStdString(error));
    return;
  }
  QApplication::clipboard()->setImage(image);
}

}  // namespace terraq::ui
