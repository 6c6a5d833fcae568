#include "design/DesignGroundPanel.h"

#include <QCheckBox>
#include <QColor>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <cmath>

#include "DesignedGround.h"
#include "DesignedGroundText.h"

namespace terraq::ui {

namespace {

const QString kFaultColour = QStringLiteral("#b00000");  // as the other windows' refusals

QDoubleSpinBox* LengthBox(QWidget* parent, const char* name) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setRange(0.0, 1.0e5);
  box->setDecimals(4);
  // The plan goes into the project when the value is entered, not at
  // every key.
  box->setKeyboardTracking(false);
  return box;
}

QString ListText(const std::vector<double>& values) {
  QStringList items;
  for (double v : values) items << QString::number(v, 'g', 10);
  return items.join(QStringLiteral(", "));
}

// "6, 5.5": the numbers, nullopt when one is not a number.
std::optional<std::vector<double>> ListOf(const QString& text) {
  std::vector<double> values;
  if (text.trimmed().isEmpty()) return values;
  for (const QString& item : text.split(QLatin1Char(','))) {
    bool number = false;
    const double v = item.trimmed().toDouble(&number);  // "." whatever the locale
    if (!number || !std::isfinite(v)) return std::nullopt;
    values.push_back(v);
  }
  return values;
}

}  // namespace

TDesignGroundPanel::TDesignGroundPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("GroundPanel"));
  auto* planBox = new QGroupBox(tr("The cut's plan"), this);
  auto* form = new QFormLayout(planBox);
  width_ = LengthBox(planBox, "edExcavationWidth");
  width_->setToolTip(tr("Between the walls; 0: basal heave is not checked"));
  length_ = LengthBox(planBox, "edExcavationLength");
  length_->setToolTip(tr("At least the width; 0: a long cut"));
  widthLabel_ = new QLabel(planBox);
  lengthLabel_ = new QLabel(planBox);
  form->addRow(widthLabel_, width_);
  form->addRow(lengthLabel_, length_);
  firm_ = new QCheckBox(planBox);
  firm_->setObjectName(QStringLiteral("cbFirmStratum"));
  firm_->setToolTip(
      tr("Unchecked: the first rock layer of the data file, if any, stops the heave"));
  firmDepth_ = LengthBox(planBox, "edFirmStratum");
  firmDepth_->setEnabled(false);
  form->addRow(firm_, firmDepth_);
  anchorFree_ = new QLineEdit(planBox);
  anchorFree_->setObjectName(QStringLiteral("edAnchorFree"));
  anchorFree_->setPlaceholderText(tr("the anchor design's, else the sequence's"));
  anchorBond_ = new QLineEdit(planBox);
  anchorBond_->setObjectName(QStringLiteral("edAnchorBond"));
  anchorBond_->setPlaceholderText(QStringLiteral("6, 5"));
  anchorBond_->setToolTip(tr("With a bond length for each anchor the deep slip plane is checked"));
  freeLabel_ = new QLabel(planBox);
  bondLabel_ = new QLabel(planBox);
  form->addRow(freeLabel_, anchorFree_);
  form->addRow(bondLabel_, anchorBond_);

  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("GroundNote"));
  note_->setWordWrap(true);
  results_ = new QPlainTextEdit(this);
  results_->setObjectName(QStringLiteral("GroundResults"));
  results_->setReadOnly(true);
  results_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  results_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(planBox);
  layout->addWidget(note_);
  layout->addWidget(results_, 1);

  for (QDoubleSpinBox* box : {width_, length_, firmDepth_})
    connect(box, &QDoubleSpinBox::valueChanged, this, &TDesignGroundPanel::planEdited);
  connect(firm_, &QCheckBox::toggled, this, [this](bool on) {
    firmDepth_->setEnabled(on);
    planEdited();
  });
  for (QLineEdit* list : {anchorFree_, anchorBond_})
    connect(list, &QLineEdit::editingFinished, this, &TDesignGroundPanel::planEdited);
  Show(std::nullopt, 0, tr("Press Design."));
}

void TDesignGroundPanel::Show(const std::optional<Designed>& designed, int units,
                              const QString& why) {
  designed_ = designed;
  why_ = why;
  units_ = units;
  const QString length = QString::fromStdString(design::DesignUnitsOf(units).length);
  widthLabel_->setText(tr("Width B, %1").arg(length));
  lengthLabel_->setText(tr("Length L, %1").arg(length));
  firm_->setText(tr("Firm stratum below the base, %1").arg(length));
  freeLabel_->setText(tr("Anchors' free lengths, %1").arg(length));
  bondLabel_->setText(tr("Anchors' bond lengths, %1").arg(length));
  showPlan(project_.excavation ? project_.excavation() : std::nullopt);
  showChecks();
}

void TDesignGroundPanel::showPlan(const std::optional<design::ExcavationPlan>& plan) {
  const design::ExcavationPlan p = plan.value_or(design::ExcavationPlan{});
  const QSignalBlocker blockWidth(width_), blockLength(length_), blockFirm(firm_),
      blockDepth(firmDepth_);
  width_->setValue(p.width);
  length_->setValue(p.length);
  firm_->setChecked(p.firmStratumDepth.has_value());
  firmDepth_->setEnabled(p.firmStratumDepth.has_value());
  firmDepth_->setValue(p.firmStratumDepth.value_or(0.0));
  anchorFree_->setText(ListText(p.anchorFree));
  anchorBond_->setText(ListText(p.anchorBond));
}

std::optional<design::ExcavationPlan> TDesignGroundPanel::planOfFields(QString& fault) const {
  design::ExcavationPlan plan;
  plan.width = width_->value();
  plan.length = length_->value();
  if (firm_->isChecked()) plan.firmStratumDepth = firmDepth_->value();
  const std::optional<std::vector<double>> free = ListOf(anchorFree_->text());
  const std::optional<std::vector<double>> bond = ListOf(anchorBond_->text());
  if (!free || !bond) {
    fault = tr("The anchors' lengths are numbers, top down, separated by commas.");
    return std::nullopt;
  }
  plan.anchorFree = *free;
  plan.anchorBond = *bond;
  if (const std::string why = design::ExcavationPlanFault(plan); !why.empty()) {
    fault = QString::fromStdString(why);
    return std::nullopt;
  }
  return plan;
}

void TDesignGroundPanel::planEdited() {
  QString fault;
  const std::optional<design::ExcavationPlan> plan = planOfFields(fault);
  if (!plan) return setNote(tr("Not kept: %1").arg(fault), true);
  // A plan with nothing in it checks nothing: the project keeps no member.
  const std::optional<design::ExcavationPlan> kept =
      *plan == design::ExcavationPlan{} ? std::nullopt : plan;
  const std::optional<design::ExcavationPlan> now =
      project_.excavation ? project_.excavation() : std::nullopt;
  if (kept != now && project_.keepExcavation) project_.keepExcavation(kept);
  showChecks();
}

void TDesignGroundPanel::setNote(const QString& text, bool fault) {
  note_->setText(text);
  note_->setStyleSheet(fault ? QStringLiteral("color: %1").arg(kFaultColour) : QString());
}

void TDesignGroundPanel::showChecks() {
  const std::optional<design::ExcavationPlan> plan =
      project_.excavation ? project_.excavation() : std::nullopt;
  const std::optional<design::AnchorInputs> anchors =
      project_.anchors ? project_.anchors() : std::nullopt;
  QString note = tr("Factors below %1 are shown in red.").arg(design::kRequiredGroundFactor);
  if (!plan)
    note =
        tr("The project has no plan of the cut: give its width to check basal heave, and the "
           "anchors' bond lengths to check the deep slip plane. The plan is kept with the "
           "project.");
  std::vector<design::CheckLine> lines;
  if (!designed_) {
    note += QLatin1Char(' ') + why_;
  } else {
    const Designed& d = *designed_;
    // The anchors designed first: the ground checks take their lengths and
    // pull-out where the plan gives none, as the command does.
    std::optional<design::AnchorChecks> designedAnchors;
    if (anchors) {
      const design::SequentialPlan* sequence = d.designedSequence ? &*d.designedSequence : nullptr;
      designedAnchors = design::CheckDesignAnchors(d.problem, &d.soil, sequence, *anchors);
      lines = design::AnchorChecksLines(*designedAnchors);
    }
    if (plan) {
      const design::DesignedGround ground = design::CheckDesignedGround(
          d.problem, d.soil, d.request, *plan, d.sequence ? &*d.sequence : nullptr,
          designedAnchors ? &*designedAnchors : nullptr);
      for (design::CheckLine& line : design::DesignedGroundLines(ground, d.problem.units))
        lines.push_back(std::move(line));
    }
  }
  setNote(note, false);
  QStringList text;
  failing_.clear();
  for (size_t k = 0; k < lines.size(); ++k) {
    text << QString::fromStdString(lines[k].text);
    if (lines[k].fails) failing_.push_back(static_cast<int>(k));
  }
  results_->setPlainText(text.join(QLatin1Char('\n')));
  QTextCharFormat red;
  red.setForeground(QColor(kFaultColour));
  for (int k : failing_) {
    QTextCursor cursor(results_->document()->findBlockByNumber(k));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(red);
  }
}

QString TDesignGroundPanel::ResultsText() const { return results_->toPlainText(); }
QString TDesignGroundPanel::NoteText() const { return note_->text(); }

QStringList TDesignGroundPanel::FailingLines() const {
  QStringList out;
  for (int k : failing_) out << results_->document()->findBlockByNumber(k).text();
  return out;
}

}  // namespace terraq::ui
