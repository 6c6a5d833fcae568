#include "sideview/TDlgSideView.h"

#include <QComboBox>
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
#include <algorithm>

#include "graphs/StageProfile.h"
#include "project/TProgramData.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace {

// How often the window compares the project with what it shows.
constexpr int kFollowMilliseconds = 250;

}  // namespace

TDlgSideView::TDlgSideView(std::function<const TProgramData&()> project,
                           std::function<bool()> plotHeldEarthPressure, QWidget* parent)
    : TDlgSideView(std::move(project), std::move(plotHeldEarthPressure), {}, {}, parent) {}

TDlgSideView::TDlgSideView(std::function<const TProgramData&()> project,
                           std::function<bool()> plotHeldEarthPressure, Sequence sequence,
                           StageForces stageForces, QWidget* parent)
    : QWidget(parent),
      project_(std::move(project)),
      plotHeldEarthPressure_(std::move(plotHeldEarthPressure)),
      sequence_(std::move(sequence)),
      stageForces_(std::move(stageForces)),
      heading_(new QLabel(tr("Wall Profile"), this)),
      resultsNote_(new QLabel(this)),
      stages_(new QComboBox(this)),
      printButton_(new QPushButton(tr("Print"), this)),
      paintBox_(new QWidget(this)),
      follow_(new QTimer(this)) {
  setObjectName(QStringLiteral("DlgSideView"));
  setWindowTitle(tr("Side View"));
  heading_->setObjectName(QStringLiteral("Label1"));
  resultsNote_->setObjectName(QStringLiteral("lblResultsNote"));
  resultsNote_->setStyleSheet(QStringLiteral("color: rgb(0, 70, 170);"));
  resultsNote_->setVisible(false);
  printButton_->setObjectName(QStringLiteral("Button1"));
  stages_->setObjectName(QStringLiteral("cbSideViewStage"));
  stages_->setToolTip(tr("The stage of the construction sequence drawn"));
  stages_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  stages_->setVisible(false);
  paintBox_->setObjectName(QStringLiteral("PaintBox"));
  paintBox_->setMouseTracking(true);
  paintBox_->setAttribute(Qt::WA_OpaquePaintEvent);
  paintBox_->installEventFilter(this);
  paintBox_->setMinimumSize(120, 160);

  auto* top = new QHBoxLayout;
  top->addWidget(heading_);
  top->addWidget(stages_);
  top->addWidget(resultsNote_);
  top->addStretch(1);
  top->addWidget(printButton_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(top);
  layout->addWidget(paintBox_, 1);
  resize(sizeHint());

  connect(printButton_, &QPushButton::clicked, this, &TDlgSideView::PrintClick);
  connect(stages_, &QComboBox::currentIndexChanged, this, &TDlgSideView::FormActivate);
  connect(follow_, &QTimer::timeout, this, &TDlgSideView::FormActivate);
  follow_->start(kFollowMilliseconds);
  FormActivate();
}

void TDlgSideView::SetResultsNote(const QString& note) {
  resultsNote_->setText(note);
  resultsNote_->setVisible(!note.isEmpty());
}

QString TDlgSideView::ResultsNote() const { return resultsNote_->text(); }

int TDlgSideView::Stage() const {
  return choices_.empty() ? 0 : std::max(0, stages_->currentIndex());
}

void TDlgSideView::SetStage(int stage) {
  updateChooser();
  if (!choices_.empty())
    stages_->setCurrentIndex(std::clamp(stage, 0, static_cast<int>(choices_.size()) - 1));
}

void TDlgSideView::updateChooser() {
  const std::optional<design::SequentialPlan>* plan = sequence_ ? &sequence_() : nullptr;
  std::vector<std::string> choices;
  if (plan && *plan && !(*plan)->stages.empty()) choices = ui::StageChoices(**plan);
  if (choices == choices_) return;
  // The stage shown stays, as far as the sequence still has it.
  const int stage = Stage();
  choices_ = std::move(choices);
  const QSignalBlocker quiet(stages_);
  stages_->clear();
  for (const std::string& choice : choices_) stages_->addItem(QString::fromStdString(choice));
  if (!choices_.empty())
    stages_->setCurrentIndex(std::min(stage, static_cast<int>(choices_.size()) - 1));
  stages_->setVisible(!choices_.empty());
}

void TDlgSideView::FormActivate() {
  updateChooser();
  const bool plotHeld = plotHeldEarthPressure_ && plotHeldEarthPressure_();
  const int stage = Stage();
  TWallProfile profile =
      choices_.empty()
          ? BuildWallProfile(project_(), plotHeld)
          : BuildStageProfile(project_(), *sequence_(), stage, plotHeld,
                              stage > 0 && stageForces_ ? stageForces_(stage)
                                                        : std::vector<SequentialSupportSummary>{});
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
  FormActivate();
  // With a sequence, the stage drawn is named in the title.
  // The note on the results goes on paper too.
  QString title =
      choices_.empty() ? QString() : QString::fromStdString(choices_[static_cast<size_t>(Stage())]);
  if (const QString note = resultsNote_->text(); !note.isEmpty())
    title = title.isEmpty() ? note : title + QStringLiteral(" (") + note + QLatin1Char(')');
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(title.isEmpty() ? QStringLiteral("Soil-Pile Profile")
                                     : QStringLiteral("Soil-Pile Profile - ") + title);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  TProfileCanvas canvas;
  canvas.area = QRect(QPoint(0, 0), printer.pageRect(QPrinter::DevicePixel).size().toSize());
  if (!title.isEmpty()) {
    // The title above the sketch, which takes the page below it.
    painter.setFont(heading_->font());
    const QFontMetrics metrics(painter.font(), &printer);
    const QRect band(canvas.area.topLeft(), QSize(canvas.area.width(), 2 * metrics.height()));
    painter.drawText(band, Qt::AlignCenter, printer.docName());
    canvas.area.setTop(band.bottom() + 1);
  }
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
