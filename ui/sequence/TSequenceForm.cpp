#include "sequence/TSequenceForm.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "api/Units.h"
#include "project/ProjectDesignSituations.h"
#include "sequence/TSequencePicture.h"

namespace terraq::ui {

namespace {

QPushButton* MakeButton(const QString& text, const char* name, const QString& tip,
                        QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QLatin1String(name));
  button->setToolTip(tip);
  return button;
}

QTableWidget* MakeTable(const char* name, const QStringList& headers, QWidget* parent) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  table->setObjectName(QLatin1String(name));
  table->setHorizontalHeaderLabels(headers);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
  table->horizontalHeader()->setStretchLastSection(true);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  return table;
}

// The unit of a quantity as the table headings print it.
QString HeadingUnit(engine::api::Quantity quantity, int units) {
  return QString::fromStdString(engine::api::PrintedLabel(quantity, units));
}

}  // namespace

using engine::api::Quantity;

TSequenceForm::TSequenceForm(std::function<std::string()> dataText, const QString& unavailable,
                             design::SequentialPlan plan,
                             std::function<void(const design::SequentialPlan&)> changed,
                             QWidget* parent)
    : QWidget(parent),
      dataText_(std::move(dataText)),
      changed_(std::move(changed)),
      plan_(std::move(plan)) {
  setObjectName(QStringLiteral("frmSequence"));
  setWindowTitle(tr("Construction Sequence"));
  auto* layout = new QVBoxLayout(this);
  check_ = new QLabel(this);
  check_->setObjectName(QStringLiteral("lblCheck"));
  check_->setWordWrap(true);
  check_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  if (!unavailable.isEmpty()) {
    // Nothing to edit: the sequence is of one problem's wall and soil.
    check_->setText(unavailable);
    layout->addWidget(check_);
    layout->addStretch(1);
    return;
  }
  try {
    units_ = DataTextUnits(dataText_());
  } catch (const std::exception&) {
    units_ = 0;  // the check line says what is wrong with the project
  }
  auto* intro = new QLabel(
      tr("Each stage starts from the wall and soil the stage before left; what a stage leaves "
         "blank stays as it was. A support installed in a stage carries its prestress in that "
         "stage and is locked off at its end."),
      this);
  intro->setObjectName(QStringLiteral("lblIntro"));
  intro->setWordWrap(true);

  QGroupBox* supportsBox = makeSupportsBox();
  QGroupBox* stagesBox = makeStagesBox();

  refused_ = new QLabel(this);
  refused_->setObjectName(QStringLiteral("lblRefused"));
  refused_->setWordWrap(true);
  refused_->setStyleSheet(QStringLiteral("color: #b00000"));

  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(supportsBox);
  splitter->addWidget(stagesBox);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 2);
  layout->addWidget(intro);
  layout->addWidget(splitter, 1);
  layout->addWidget(refused_);
  layout->addWidget(check_);

  fillSupports();
  fillStages();
  connectControls();
  check();
  updateButtons();
  showPicture();
}

// The anchors and struts as built.
QGroupBox* TSequenceForm::makeSupportsBox() {
  const QString length = HeadingUnit(Quantity::Length, units_);
  const QString force = HeadingUnit(Quantity::Force, units_);
  const QString modulus = HeadingUnit(Quantity::Pressure, units_);
  const QString area = HeadingUnit(Quantity::Area, units_);
  auto* supportsBox = new QGroupBox(tr("Supports"), this);
  supports_ =
      MakeTable("tblSupports",
                {tr("Name"), tr("Kind"), tr("Depth\n%1").arg(length), tr("E\n%1").arg(modulus),
                 tr("A\n%1").arg(area), tr("Free length\n%1").arg(length), tr("Inclination\ndeg"),
                 tr("Spacing\n%1").arg(length), tr("Prestress\n%1").arg(force),
                 tr("Yield force\n%1").arg(force)},
                supportsBox);
  supports_->horizontalHeader()->setStretchLastSection(false);  // a number, not a list
  supports_->setToolTip(
      tr("Each anchor or strut as built, one of a row at a horizontal spacing: depth below the "
         "top of the wall, inclination below the horizontal, prestress and yield force along it "
         "(a blank yield force: no limit)"));
  addSupport_ = MakeButton(tr("&Add"), "btnAddSupport", tr("A new anchor"), supportsBox);
  deleteSupport_ = MakeButton(tr("De&lete"), "btnDeleteSupport",
                              tr("The selected support, and its place in the stages"), supportsBox);
  auto* supportButtons = new QVBoxLayout;
  supportButtons->addWidget(addSupport_);
  supportButtons->addWidget(deleteSupport_);
  supportButtons->addStretch(1);
  auto* supportsLayout = new QHBoxLayout(supportsBox);
  supportsLayout->addWidget(supports_, 1);
  supportsLayout->addLayout(supportButtons);
  return supportsBox;
}

// The stages, with a picture of the selected one.
QGroupBox* TSequenceForm::makeStagesBox() {
  const QString length = HeadingUnit(Quantity::Length, units_);
  const QString force = HeadingUnit(Quantity::Force, units_);
  const QString modulus = HeadingUnit(Quantity::Pressure, units_);
  auto* stagesBox = new QGroupBox(tr("Stages"), this);
  stages_ =
      MakeTable("tblStages",
                {tr("Name"), tr("Excavation\n%1").arg(length), tr("Water behind\n%1").arg(length),
                 tr("Water in front\n%1").arg(length), tr("Surcharge\n%1").arg(modulus),
                 tr("Installs"), tr("Removes"), tr("Loads\n%1").arg(force)},
                stagesBox);
  stages_->setToolTip(
      tr("Levels are depths below the top of the wall; blank: as the stage before left it. "
         "Installs and Removes: support names separated by commas. Loads: load.N = value, N a "
         "row of the concentrated loads (0 removes the load)."));
  addStage_ = MakeButton(tr("A&dd"), "btnAddStage", tr("A stage after the last"), stagesBox);
  insertStage_ =
      MakeButton(tr("&Insert"), "btnInsertStage", tr("A stage before the selected one"), stagesBox);
  deleteStage_ = MakeButton(tr("Dele&te"), "btnDeleteStage", tr("The selected stage"), stagesBox);
  stageUp_ =
      MakeButton(tr("Move &up"), "btnStageUp", tr("The selected stage one earlier"), stagesBox);
  stageDown_ =
      MakeButton(tr("Move do&wn"), "btnStageDown", tr("The selected stage one later"), stagesBox);
  auto* stageButtons = new QVBoxLayout;
  for (QPushButton* b : {addStage_, insertStage_, deleteStage_, stageUp_, stageDown_})
    stageButtons->addWidget(b);
  stageButtons->addStretch(1);
  picture_ = new TSequencePicture(stagesBox);
  picture_->setToolTip(
      tr("The selected stage: the wall, the excavation, the water levels and the supports in "
         "place (dashed: installed in this stage, carrying its prestress)"));
  auto* stagesLayout = new QHBoxLayout(stagesBox);
  stagesLayout->addWidget(stages_, 1);
  stagesLayout->addLayout(stageButtons);
  stagesLayout->addWidget(picture_);
  return stagesBox;
}

void TSequenceForm::connectControls() {
  connect(supports_, &QTableWidget::itemChanged, this, &TSequenceForm::supportEdited);
  connect(stages_, &QTableWidget::itemChanged, this, &TSequenceForm::stageEdited);
  connect(stages_, &QTableWidget::itemSelectionChanged, this, [this] {
    updateButtons();
    showPicture();
  });
  connect(supports_, &QTableWidget::itemSelectionChanged, this, &TSequenceForm::updateButtons);
  connect(addSupport_, &QPushButton::clicked, this, &TSequenceForm::addSupport);
  connect(deleteSupport_, &QPushButton::clicked, this, &TSequenceForm::deleteSupport);
  connect(addStage_, &QPushButton::clicked, this, [this] { addStage(false); });
  connect(insertStage_, &QPushButton::clicked, this, [this] { addStage(true); });
  connect(deleteStage_, &QPushButton::clicked, this, &TSequenceForm::deleteStage);
  connect(stageUp_, &QPushButton::clicked, this, [this] { moveStage(-1); });
  connect(stageDown_, &QPushButton::clicked, this, [this] { moveStage(1); });
}

QString TSequenceForm::CheckText() const { return check_->text(); }

void TSequenceForm::planChanged() {
  refused_->clear();
  if (changed_) changed_(plan_);
  check();
  updateButtons();
  showPicture();
}

void TSequenceForm::showPicture() {
  int stage = stages_->currentRow();
  if (stage < 0) stage = static_cast<int>(plan_.stages.size()) - 1;
  if (stage < 0) {
    picture_->SetView(std::nullopt, tr("No stages"));
    return;
  }
  std::string text;
  try {
    text = dataText_();
  } catch (const std::exception&) {}
  const std::string& name = plan_.stages[static_cast<size_t>(stage)].name;
  picture_->SetView(
      ViewOfStage(text, plan_, stage),
      tr("Stage %1").arg(stage + 1) +
          (name.empty() ? QString() : QStringLiteral("\n") + QString::fromStdString(name)));
}

void TSequenceForm::check() {
  check_->setStyleSheet(QString());
  if (plan_.stages.empty()) {
    check_->setText(plan_.supports.empty()
                        ? tr("Add the supports and the stages of the construction sequence.")
                        : tr("Add the stages of the construction sequence."));
    return;
  }
  std::string text, error;
  try {
    text = dataText_();
  } catch (const std::exception& e) {
    check_->setText(tr("The project cannot be read: %1").arg(QString::fromUtf8(e.what())));
    return;
  }
  const bool ready = design::BuildSequence(text, plan_, error).has_value();
  check_->setStyleSheet(ready ? QStringLiteral("color: #006400")
                              : QStringLiteral("color: #b00000"));
  if (ready)
    check_->setText(plan_.stages.size() == 1
                        ? tr("The sequence of 1 stage is ready: Run analyses it.")
                        : tr("The sequence of %1 stages is ready: Run analyses it stage after "
                             "stage.")
                              .arg(plan_.stages.size()));
  else check_->setText(tr("Not ready: %1").arg(QString::fromStdString(error)));
}

void TSequenceForm::refuse(const QString& why) { refused_->setText(tr("Not taken: %1").arg(why)); }

void TSequenceForm::updateButtons() {
  const int stage = stages_->currentRow();
  const int count = static_cast<int>(plan_.stages.size());
  const bool room = count < design::kMaxSequentialStages;
  addStage_->setEnabled(room);
  insertStage_->setEnabled(room && stage >= 0);
  deleteStage_->setEnabled(stage >= 0);
  stageUp_->setEnabled(stage > 0);
  stageDown_->setEnabled(stage >= 0 && stage + 1 < count);
  deleteSupport_->setEnabled(supports_->currentRow() >= 0);
}

}  // namespace terraq::ui
