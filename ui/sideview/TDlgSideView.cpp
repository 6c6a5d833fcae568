#include "sideview/TDlgSideView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "project/TProgramData.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace {

// How often the window compares the project with what it shows.
constexpr int kFollowMilliseconds = 250;

}  // namespace

TDlgSideView::TDlgSideView(std::function<const TProgramData&()> project,
                           std::function<bool()> plotHeldEarthPressure, QWidget* parent)
    : QWidget(parent),
      project_(std::move(project)),
      plotHeldEarthPressure_(std::move(plotHeldEarthPressure)),
      heading_(new QLabel(tr("Wall Profile"), this)),
      printButton_(new QPushButton(tr("Print"), this)),
      paintBox_(new QWidget(this)),
      follow_(new QTimer(this)) {
  setObjectName(QStringLiteral("DlgSideView"));
  setWindowTitle(tr("Side View"));
  heading_->setObjectName(QStringLiteral("Label1"));
  printButton_->setObjectName(QStringLiteral("Button1"));
  paintBox_->setObjectName(QStringLiteral("PaintBox"));
  paintBox_->setMouseTracking(true);
  paintBox_->setAttribute(Qt::WA_OpaquePaintEvent);
  paintBox_->installEventFilter(this);
  paintBox_->setMinimumSize(120, 160);

  auto* top = new QHBoxLayout;
  top->addWidget(heading_);
  top->addStretch(1);
  top->addWidget(printButton_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(top);
  layout->addWidget(paintBox_, 1);
  resize(sizeHint());

  connect(printButton_, &QPushButton::clicked, this, &TDlgSideView::PrintClick);
  connect(follow_, &QTimer::timeout, this, &TDlgSideView::FormActivate);
  follow_->start(kFollowMilliseconds);
  FormActivate();
}

void TDlgSideView::FormActivate() {
  TWallProfile profile = BuildWallProfile(project_(), plotHeldEarthPressure_ && plotHeldEarthPressure_());
  if (profile == profile_) return;
  profile_ = std::move(profile);
  paintBox_->update();
}

TProfileCanvas TDlgSideView::Canvas() const {
  TProfileCanvas canvas;
  canvas.area = paintBox_->rect();
  canvas.view = ViewRectangle(profile_.data, canvas.area.width(), canvas.area.height());
  canvas.dpi = paintBox_->logicalDpiX();
  canvas.background = palette().color(QPalette::Window);
  canvas.ink = palette().color(QPalette::WindowText);
  canvas.font = font();
  return canvas;
}

bool TDlgSideView::eventFilter(QObject* watched, QEvent* event) {
  if (watched != paintBox_) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::Paint) {
    QPainter painter(paintBox_);
    PaintWallProfile(painter, profile_, Canvas());
    return true;
  }
  if (event->type() == QEvent::MouseMove) {
    const TProfileCanvas canvas = Canvas();
    if (!canvas.view.Degenerate()) {
      const int y = static_cast<QMouseEvent*>(event)->position().toPoint().y();
      emit captionChanged(QString::fromStdString(DepthReadout(ProfileWorldY(canvas, y), profile_)));
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool TDlgSideView::PrintTo(QPrinter& printer) {
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(QStringLiteral("Soil-Pile Profile"));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  TProfileCanvas canvas;
  canvas.area = QRect(QPoint(0, 0), printer.pageRect(QPrinter::DevicePixel).size().toSize());
  // The page's own shape: depths fill the central 80 % of its height.
  canvas.view = ViewRectangle(profile_.data, canvas.area.width(), 0.8 * canvas.area.height());
  canvas.print = true;
  canvas.dpi = printer.resolution();
  canvas.font = heading_->font();
  PaintWallProfile(painter, profile_, canvas);
  return painter.end();
}

void TDlgSideView::PrintClick() {
  FormActivate();
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(QStringLiteral("Soil-Pile Profile"));
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!PrintTo(printer)) {
    const QString where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    TUserPrompts::Current().showError(this, tr("The wall profile could not be printed on %1.").arg(where));
  }
}

}  // namespace terraq::ui
