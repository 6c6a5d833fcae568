#include "design/TDesignForm.h"

#include <QComboBox>
#include <QDate>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "SeepageSoil.h"
#include "SequenceDesign.h"
#include "WallText.h"
#include "api/EngineRoute.h"
#include "design/DesignGraph.h"
#include "design/FigureView.h"
#include "project/FactorSetsMember.h"
#include "project/ProjectDesignSituations.h"

namespace terraq::ui {

using design::Method;

TDesignForm::TDesignForm(std::function<std::string()> dataText,
                         std::function<std::string(int, double)> apply, QWidget* parent)
    : QWidget(parent), dataText_(std::move(dataText)), apply_(std::move(apply)) {
  setWindowTitle(tr("Design"));
  setObjectName(QStringLiteral("DesignForm"));

  QGroupBox* inputs = makeCriteriaBox();
  applyBox_ = makeApplyBox();
  auto* left = new QVBoxLayout;
  left->addWidget(inputs);
  left->addWidget(makeApparentBox());
  left->addWidget(applyBox_);
  left->addWidget(makeRecordBox());
  left->addStretch(1);

  results_ = new QPlainTextEdit(this);
  results_->setReadOnly(true);
  // Long lines (the method and what its factor of safety is on) wrap
  // rather than run out of sight on a laptop's screen.
  results_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  results_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  pressureGraph_ = new DesignGraph(this);
  factorGraph_ = new DesignGraph(this);
  auto* graphs = new QHBoxLayout;
  graphs->addWidget(pressureGraph_);
  graphs->addWidget(factorGraph_);
  graphs->addWidget(envelopeFigure_);
  // The wall's results and the ground's checks share the room on the
  // right, each in a tab: a laptop's screen has no height for both.
  auto* wall = new QWidget(this);
  auto* wallLayout = new QVBoxLayout(wall);
  wallLayout->setContentsMargins(0, 0, 0, 0);
  wallLayout->addWidget(results_, 1);
  wallLayout->addLayout(graphs, 1);
  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("DesignTabs"));
  tabs_->addTab(wall, tr("Wall"));
  ground_ = new TDesignGroundPanel(tabs_);
  tabs_->addTab(ground_, tr("Ground"));
  auto* right = new QVBoxLayout;
  right->addWidget(tabs_, 1);
  right->addWidget(status_);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);

  SetFactorSets({});
  connect(approach_, &QComboBox::currentIndexChanged, this, &TDesignForm::approachChanged);
  connect(designButton_, &QPushButton::clicked, this, &TDesignForm::Design);
  connect(applyButton_, &QPushButton::clicked, this, &TDesignForm::Apply);
  for (QDoubleSpinBox* limit : {topLimit_, maxLimit_})
    connect(limit, &QDoubleSpinBox::valueChanged, this, [this] {
      if (!tipChosen_)
        tip_->setCurrentIndex(topLimit_->value() > 0 || maxLimit_->value() > 0 ? 0 : 1);
    });
  connect(undoButton_, &QPushButton::clicked, this, &TDesignForm::UndoApply);
  connect(method_, &QComboBox::currentIndexChanged, this, &TDesignForm::methodChanged);
  methodChanged();
  pressureGraph_->SetCurve({}, tr("net pressure"), tr("depth"), true, tr("Press Design"));
  factorGraph_->SetCurve({}, tr("embedment"), tr("factor of safety"), false, tr("Press Design"));
}

// The tip to apply and how the wall's increments change.
QGroupBox* TDesignForm::makeApplyBox() {
  auto* applyBox = new QGroupBox(tr("Wall length"), this);
  auto* applyForm = new QFormLayout(applyBox);
  tip_ = new QComboBox(applyBox);
  tip_->addItems({tr("Shortest wall (spring model)"), tr("Recommended tip (limit equilibrium)")});
  // The limit-equilibrium tip unless a deflection limit is set: without one
  // the spring model's shortest wall only just stands (a tip that holds with
  // a deflection of any size). The engineer's own choice is kept.
  tip_->setCurrentIndex(1);
  connect(tip_, &QComboBox::activated, this, [this] { tipChosen_ = true; });
  applyForm->addRow(tr("Tip"), tip_);
  keep_ = new QComboBox(applyBox);
  keep_->addItems(
      {tr("As the search did"), tr("Keep the increments"), tr("Keep the increment length")});
  applyForm->addRow(tr("Change"), keep_);
  applyButton_ = new QPushButton(tr("&Apply"), applyBox);
  applyButton_->setObjectName(QStringLiteral("ApplyButton"));
  applyButton_->setEnabled(false);
  undoButton_ = new QPushButton(tr("&Undo Apply"), applyBox);
  undoButton_->setObjectName(QStringLiteral("UndoApplyButton"));
  undoButton_->setEnabled(false);
  auto* applyButtons = new QHBoxLayout;
  applyButtons->addWidget(applyButton_);
  applyButtons->addWidget(undoButton_);
  applyForm->addRow(applyButtons);
  return applyBox;
}

void TDesignForm::SetFactorSets(std::vector<design::FactorSet> projectSets) {
  projectSets_ = std::move(projectSets);
  const QString chosen = approach_->currentIndex() > 0 ? approach_->currentText() : QString();
  {
    const QSignalBlocker block(approach_);
    approach_->clear();
    approach_->addItem(tr("None: a factor of safety"));
    for (const design::FactorSet& set : OfferedFactorSets(projectSets_))
      if (!set.serviceability) approach_->addItem(QString::fromStdString(set.name));
    const int again = chosen.isEmpty() ? 0 : approach_->findText(chosen);
    approach_->setCurrentIndex(std::max(0, again));
  }
  approachChanged();
}

std::optional<design::FactorSet> TDesignForm::approach() const {
  if (approach_->currentIndex() <= 0) return std::nullopt;
  return FindFactorSet(projectSets_, approach_->currentText().toStdString());
}

void TDesignForm::approachChanged() {
  const std::optional<design::FactorSet> set = approach();
  const bool own = fsMethod_->isEnabled();
  if (set && own) {
    ownFsMethod_ = fsMethod_->currentIndex();
    ownFs_ = fs_->value();
  }
  // The approach sets the factor on the passive pressure; the boxes show it.
  fsMethod_->setEnabled(!set);
  fs_->setEnabled(!set);
  if (set) {
    fsMethod_->setCurrentIndex(1);
    fs_->setValue(set->gammaG * set->gammaRe);
  } else if (!own) {
    fsMethod_->setCurrentIndex(ownFsMethod_);
    fs_->setValue(ownFs_);
  }
}

void TDesignForm::SetGround(TDesignGroundPanel::Project project) {
  ground_->SetProject(std::move(project));
  std::string text;
  try {
    text = dataText_();
  } catch (const std::exception&) {
    // Design says why the project cannot be read.
  }
  ground_->Show(std::nullopt, unitsOf(text), tr("Press Design."));
}

QString TDesignForm::HelpSection() const {
  return tabs_->currentWidget() == ground_ ? QStringLiteral("the-ground-checks")
                                           : QStringLiteral("the-design-window");
}

int TDesignForm::unitsOf(const std::string& text) { return DataTextUnits(text); }

void TDesignForm::setStatus(const QString& text) { status_->setText(text); }
QString TDesignForm::ResultsText() const { return results_->toPlainText(); }
QString TDesignForm::StatusText() const { return status_->text(); }

void TDesignForm::Design() {
  design_.reset();
  applyButton_->setEnabled(false);
  int units = 0;
  auto refuse = [&](const QString& status) { refuseDesign(status, units); };
  std::string text;
  try {
    text = dataText_();
  } catch (const std::exception& e) {
    return refuse(tr("The project cannot be read: %1").arg(QString::fromUtf8(e.what())));
  }
  units = unitsOf(text);
  if (apparentChosen()) return designApparent(text);
  // The wall's length as the project has it, for Apply.
  std::string error;
  if (const auto wall = design::WallText::Parse(text, 0, error)) {
    increments_ = wall->increments();
    incrementLength_ = wall->incrementLength();
  }
  design::DesignRequest designRequest = request();
  if (soilModel_) {
    const std::optional<design::SoilModel> soil = soilModel_(text, error);
    if (!soil)
      return refuse(
          tr("The project's soil model cannot be used: %1").arg(QString::fromStdString(error)));
    designRequest.soil = *soil;
  }
  std::string note = std::string(design::SoilModelLine(designRequest.soil)) +
                     design::FaceTheoryLine(designRequest);
  // A construction sequence: its stages' soil, the graphs of the governing
  // stage.
  std::optional<design::SequentialPlan> plan = sequence_ ? sequence_() : std::nullopt;
  if (plan && plan->stages.empty()) plan.reset();
  // The ground is checked with the project's sequence, the anchors with
  // the one designed, as terraq design does.
  const std::optional<design::SequentialPlan> projectPlan = plan;
  if (const std::optional<design::FactorSet> set = approach()) {
    const std::optional<design::ApproachDesign> prepared =
        design::PrepareApproachDesign(text, *set, designRequest, error, plan ? &*plan : nullptr);
    if (!prepared)
      return refuse(
          tr("The design approach cannot be applied: %1").arg(QString::fromStdString(error)));
    text = prepared->text;
    designRequest = prepared->request;
    note += prepared->note;
    if (plan) plan = prepared->plan;
  }
  std::optional<design::SequenceData> sequence;
  if (plan) {
    sequence = design::BuildSequence(text, *plan, error);
    if (!sequence)
      return refuse(tr("The construction sequence cannot be designed: %1")
                        .arg(QString::fromStdString(error)));
  }
  const std::string_view designedText = sequence ? std::string_view(sequence->text) : text;
  engine::api::SoilDescriptions soils = engine::ReadSoilDescriptions(designedText);
  if (soils.problems.empty())
    return refuse(
        tr("The project cannot be designed: %1")
            .arg(QString::fromStdString(soils.error ? soils.error->message
                                                    : std::string("it holds no problem"))));
  // The limit equilibrium takes the project's seepage, as the analysis does.
  if (const std::string fault =
          design::TakeSeepage(designedText, designRequest.soil, soils,
                              plan ? design::StageSeepage(*plan, designRequest.soil.seepage)
                                   : std::vector<std::optional<engine::api::SeepageOptions>>{});
      !fault.empty())
    return refuse(tr("The seepage cannot be taken: %1").arg(QString::fromStdString(fault)));
  size_t shown = 0;
  if (plan) {
    design_ = design::DesignSequence(text, *plan, designRequest);
    shown = design_->governingStage;
    results_->setPlainText(QString::fromStdString(note + design::DesignText(*design_, 1)));
  } else {
    shown = designEachProblem(text, soils, designRequest, note);
  }
  const std::string message = design_->errorMessage();
  setStatus(message.empty() ? tr("Designed.") : QString::fromStdString(message));
  showGraphs(soils.problems[std::min(shown, soils.problems.size() - 1)], designRequest);
  // A sequence's ground is that of its first stage, as the command's.
  const size_t groundSoil = plan ? 0 : std::min(shown, soils.problems.size() - 1);
  ground_->Show(TDesignGroundPanel::Designed{*design_, soils.problems[groundSoil], designRequest,
                                             projectPlan, plan},
                units, {});
  applyButton_->setEnabled(increments_ > 0 && incrementLength_ > 0);
  governingStage_.reset();
  if (plan || soils.problems.size() > 1) governingStage_ = static_cast<int>(shown) + 1;
  keepRecord();
}

void TDesignForm::refuseDesign(const QString& status, int units) {
  results_->setPlainText({});
  setStatus(status);
  ground_->Show(std::nullopt, units, tr("No design: %1").arg(status));
  pressureGraph_->SetCurve({}, tr("net pressure"), tr("depth"), true, tr("No design"));
  factorGraph_->SetCurve({}, tr("embedment"), tr("factor of safety"), false, tr("No design"));
}

// Every problem: the stages of a staged project are each a wall of their
// own, and the deepest tip governs; the graphs and Apply are its. The
// governing problem's index.
size_t TDesignForm::designEachProblem(const std::string& text,
                                      const engine::api::SoilDescriptions& soils,
                                      const design::DesignRequest& designRequest,
                                      const std::string& note) {
  size_t shown = 0;
  std::string all = note;
  std::vector<design::ProblemDesign> designs;
  for (size_t k = 0; k < soils.problems.size(); ++k) {
    designs.push_back(
        design::DesignProblem(text, static_cast<int>(k), soils.problems[k], designRequest));
    all += design::DesignText(designs.back(), static_cast<int>(k) + 1);
    const auto& governing = designs[shown].le;
    const auto& le = designs.back().le;
    if (!le.error && (governing.error || le.tipDepth > governing.tipDepth)) shown = k;
  }
  if (designs.size() > 1)
    all += tr("governing of all %1 stages: stage %2, the deepest tip\n")
               .arg(designs.size())
               .arg(shown + 1)
               .toStdString();
  design_ = std::move(designs[shown]);
  results_->setPlainText(QString::fromStdString(all));
  return shown;
}

void TDesignForm::showGraphs(const engine::api::SoilDescription& soil,
                             const design::DesignRequest& designRequest) {
  const design::DesignResult& r = design_->le;
  const design::DesignUnits u = design::DesignUnitsOf(design_->units);
  const QString length = QString::fromStdString(u.length);
  std::vector<DesignGraph::Point> pressure;
  for (const design::PressureRow& row : r.diagram) pressure.push_back({row.net, row.depth});
  pressureGraph_->SetCurve(pressure, tr("net pressure, %1").arg(QString::fromStdString(u.pressure)),
                           tr("depth, %1").arg(length), true, tr("No pressure diagram"));
  pressureGraph_->SetMark(r.excavationDepth, tr("excavation"));

  // The factor of the wall against its embedment, in the chosen form, from
  // a tenth of D0 down to the bottom of the profile.
  std::vector<DesignGraph::Point> factor;
  if (r.D0 > 0) {
    design::DesignOptions options = design::LimitEquilibriumOptions(designRequest);
    options.method = r.method;
    options.fsMethod = r.fsMethod;
    options.fs = r.fs;
    options.embedmentFactor = r.embedmentFactor;
    // A stage of a sequence is designed about its uppermost support.
    options.anchorDepth =
        r.method == Method::FreeEarth ? std::optional<double>(r.anchorDepth) : soil.anchorDepth;
    const double deepest = soil.profileBottom() - r.excavationDepth;
    constexpr int kPoints = 40;
    for (int k = 1; k <= kPoints; ++k) {
      const double d = 0.1 * r.D0 + (deepest - 0.1 * r.D0) * k / kPoints;
      if (const auto f = design::FactorOfSafety(soil, options, d)) factor.push_back({d, *f});
    }
  }
  factorGraph_->SetCurve(
      factor, tr("embedment, %1").arg(length),
      tr("factor of safety (%1)").arg(QString::fromUtf8(design::FsMethodName(r.fsMethod))), false,
      tr("No factor of safety to draw"));
  factorGraph_->SetMark(r.fs, tr("target"));
}

bool TDesignForm::Apply() {
  if (!design_) return false;
  double tip = 0;
  bool keptIncrements = false;
  if (tip_->currentIndex() == 0) {
    if (!design_->shortestRun || !design_->shortest.tipDepth) {
      setStatus(tr("There is no shortest wall to apply."));
      return false;
    }
    tip = *design_->shortest.tipDepth;
    keptIncrements = design_->shortest.incrementsKept;
  } else {
    if (design_->le.error) {
      setStatus(tr("There is no recommended tip to apply."));
      return false;
    }
    tip = design_->le.tipDepth;
    keptIncrements = design_->shortest.incrementsKept;
  }
  if (keep_->currentIndex() == 1) keptIncrements = true;
  if (keep_->currentIndex() == 2) keptIncrements = false;
  int increments = increments_;
  double length = incrementLength_;
  if (tip_->currentIndex() == 0 && keep_->currentIndex() == 0 && !keptIncrements &&
      design_->shortest.incrementLength > 1.5 * incrementLength_) {
    // The wall the search analysed on longer increments, where the
    // project's would have been more than the engine holds.
    increments = design_->shortest.increments;
    length = design_->shortest.incrementLength;
  } else if (keptIncrements) {
    length = tip / increments_;
  } else {
    // Whole increments, the wall at least as long as the tip chosen.
    increments = static_cast<int>(std::ceil(tip / incrementLength_ - 1e-9));
  }
  const std::string refused = apply_(increments, length);
  if (!refused.empty()) {
    setStatus(QString::fromStdString(refused));
    return false;
  }
  appliedTip_ = increments * length;
  appliedOn_ = QDate::currentDate().toString(Qt::ISODate).toStdString();
  keepRecord();
  setStatus(tr("The wall now has %1 increments of %2 (tip at %3).")
                .arg(increments)
                .arg(lengthText(length))
                .arg(lengthText(increments * length)));
  undoButton_->setEnabled(static_cast<bool>(undo_));
  return true;
}

bool TDesignForm::UndoApply() {
  if (!undo_) return false;
  const std::string refused = undo_();
  undoButton_->setEnabled(false);
  if (!refused.empty()) {
    setStatus(QString::fromStdString(refused));
    return false;
  }
  setStatus(tr("The wall is again %1 increments of %2, as before Apply.")
                .arg(increments_)
                .arg(lengthText(incrementLength_)));
  return true;
}

// A length of the data file, in its units (in, m, L): the wall's increments
// and tip as the project holds them.
QString TDesignForm::lengthText(double length) const {
  const QString number = QString::number(length, 'g', 6);
  if (!design_) return number;
  return number + QLatin1Char(' ') +
         QString::fromStdString(design::DesignUnitsOf(design_->units).length);
}

}  // namespace terraq::ui
