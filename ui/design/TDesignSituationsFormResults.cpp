// TDesignSituationsForm: the run of the chosen sets and its results table,
// per stage each set's design effects and then the envelope with the set
// that governs each value, and the figures of the design effects of each
// set.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

#include "PackageFigures.h"
#include "design/FigureView.h"
#include "design/StudyFormCells.h"
#include "design/TDesignSituationsForm.h"
#include "project/ProjectDesignSituations.h"
#include "project/RunSummary.h"
#include "project/SectionLibraryFiles.h"
#include "project/UltimateSectionCheck.h"

namespace terraq::ui {

using study::Number;
using study::Q;
using study::SetCell;

namespace {

QString At(const design::Governed& g, const std::string& length) {
  return QObject::tr("%1 at %2 %3").arg(Number(g.value), Number(g.depth), Q(length));
}

std::string Listed(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
  return out;
}

QString Supports(const std::vector<design::SupportEffect>& supports, bool withSet) {
  QStringList forces;
  for (const design::SupportEffect& s : supports)
    forces << Number(s.force) + (withSet ? QStringLiteral(" (%1)").arg(Q(s.set)) : QString());
  return forces.join(QStringLiteral(", "));
}

// "DA1-1 0.537, DA1-2 0.412; largest 0.537 (stage 3, DA1-1, bending at
// 7.5 m; M 248.9 kN-m, V 80 kN, N 0 kN): holds, 0.463 below 1."
QString UltimateCheckSummary(const UltimateSectionCheck& check, const SectionInUse& used,
                             int units) {
  const ResultUnits u = ResultUnitsFor(units);
  QStringList sets;
  for (const SetSectionCheck& set : check.sets) {
    double largest = -1;
    for (const design::WallCheck& c : set.problems)
      if (c.error.empty()) largest = std::max(largest, c.utilisation);
    sets << Q(set.set) + QLatin1Char(' ') +
                (largest < 0 ? QObject::tr("not checked") : Q(UtilisationText(largest)));
  }
  QString text =
      QObject::tr(
          "Section %1 in %2 at the ultimate limit state, utilisation with "
          "each set's design effects: %3.")
          .arg(Q(used.section.name), Q(used.grade.name), sets.join(QStringLiteral(", ")));
  const int k = GoverningEnvelopeProblem(check);
  if (k < 0) return text + QLatin1Char(' ') + QObject::tr("No ultimate set has valid results.");
  const EnvelopeSectionCheck& e = check.envelope[static_cast<size_t>(k)];
  const double value = e.check.utilisation;
  const std::optional<design::StationEffect> d = GoverningEffect(e.check, units);
  text += QLatin1Char(' ') +
          QObject::tr("Largest %1 (stage %2, %3, %4 at %5 %6; M %7 %8, V %9 %10, N %11 %12): %13.")
              .arg(Q(UtilisationText(value)))
              .arg(k + 1)
              .arg(Q(e.set), Q(std::string(design::CheckWord(e.check.governing))),
                   Number(e.check.utilisationDepth), Q(u.length),
                   d ? Number(std::fabs(d->moment)) : QStringLiteral("—"), Q(u.moment),
                   d ? Number(std::fabs(d->shear)) : QStringLiteral("—"))
              .arg(Q(u.force), d ? Number(d->axial) : QStringLiteral("—"), Q(u.force),
                   e.check.exceeded()
                       ? QObject::tr("fails, %1 above 1").arg(Q(UtilisationText(value - 1)))
                       : QObject::tr("holds, %1 below 1").arg(Q(UtilisationText(1 - value))));
  if (!e.valid)
    text += QLatin1Char(' ') + QObject::tr("Not an envelope: an ultimate set is left out.");
  return text;
}

}  // namespace

// The section checked against the data text as the sets analysed it (the
// data file's EI): the same check the calculation package makes.
void TDesignSituationsForm::showSectionCheck(const std::string& text) {
  const std::optional<WallSection> wanted = section_ ? section_() : std::nullopt;
  sectionCheck_->setVisible(wanted.has_value());
  sectionCheck_->clear();
  if (!wanted) return;
  std::string error;
  std::optional<SectionInUse> used;
  std::optional<SectionedData> sectioned;
  if (const std::optional<design::SectionLibrary> library = LoadProgramSectionLibrary(error))
    used = ResolveWallSection(*wanted, *library, error);
  if (used) sectioned = CheckedData(text, *used, error);
  if (!sectioned) {
    sectionCheck_->setText(tr("The section %1 is not checked: %2").arg(Q(wanted->name), Q(error)));
    return;
  }
  sectionCheck_->setText(UltimateCheckSummary(
      CheckDesignSituations(results_, envelope_, *sectioned, *used), *used, units_));
}

QString TDesignSituationsForm::SectionCheckText() const { return sectionCheck_->text(); }

bool TDesignSituationsForm::Run() {
  const std::vector<design::FactorSet> sets = ChosenSets(choice_);
  if (sets.empty()) {
    setStatus(tr("Check at least one set to run."));
    return false;
  }
  QString unreadable;
  const std::optional<std::string> text = projectText(unreadable);
  if (!text) {
    setStatus(tr("The project cannot be read: %1").arg(unreadable));
    return false;
  }
  design::SituationOptions options = choice_.options;
  if (soilModel_) {
    std::string error;
    const std::optional<design::SoilModel> soil = soilModel_(*text, error);
    if (!soil) {
      setStatus(tr("The project's soil model cannot be used: %1").arg(Q(error)));
      return false;
    }
    options.soil = *soil;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  units_ = DataTextUnits(*text);
  const std::optional<design::SequentialPlan> sequence =
      sequence_ ? sequence_() : std::optional<design::SequentialPlan>();
  results_ = design::RunDesignSituations(*text, sets, options, sequence ? &*sequence : nullptr);
  envelope_ = design::EnvelopeOf(results_);
  showSectionCheck(*text);
  QApplication::restoreOverrideCursor();
  showResults();
  QStringList failed;
  for (const design::SituationResult& r : results_)
    if (!r.error.empty()) failed << Q(r.error);
  if (failed.size() == static_cast<qsizetype>(results_.size())) {
    setStatus(tr("Nothing was analysed: %1").arg(failed.join(QStringLiteral("; "))));
    return false;
  }
  QString status =
      failed.isEmpty()
          ? (sets.size() == 1 ? tr("1 set analysed on every stage.")
                              : tr("%1 sets analysed on every stage.").arg(sets.size()))
          : tr("Not analysed: %1").arg(failed.join(QStringLiteral("; ")));
  if (options.soil.subgrade)
    status +=
        QLatin1Char(' ') + tr("The soil is modelled by subgrade-reaction springs from at rest.");
  if (!design::EnvelopeValid(envelope_))
    status += QLatin1Char(' ') + tr("The envelope is not valid: %1 left out.")
                                     .arg(Q(Listed(design::SetsLeftOut(envelope_))));
  setStatus(status);
  return true;
}

void TDesignSituationsForm::addResultRow(const QStringList& cells, const QString& tip) {
  const int row = resultsTable_->rowCount();
  resultsTable_->insertRow(row);
  for (int column = 0; column < resultsTable_->columnCount(); ++column) {
    SetCell(resultsTable_, row, column, column < cells.size() ? cells[column] : QString());
    if (!tip.isEmpty()) resultsTable_->item(row, column)->setToolTip(tip);
  }
}

// A row that is a sentence rather than numbers spans the value columns.
void TDesignSituationsForm::addSentenceRow(const QString& stage, const QString& set,
                                           const QString& text) {
  addResultRow({stage, set, text});
  resultsTable_->setSpan(resultsTable_->rowCount() - 1, 2, 1, resultsTable_->columnCount() - 2);
}

// The envelope of a stage, in bold under its sets' rows.
void TDesignSituationsForm::addEnvelopeRow(const QString& stage, const design::EnvelopeProblem& e) {
  const ResultUnits u = ResultUnitsFor(units_);
  const QString invalid =
      e.invalid.empty() ? QString()
                        : tr("Not in the envelope: %1")
                              .arg(Q(e.invalid.front()) +
                                   (e.invalid.size() > 1 ? QStringLiteral(", ...") : QString()));
  if (!e.checked) {
    addSentenceRow(stage, tr("Envelope"), tr("no ultimate set has valid results"));
  } else if (!e.valid) {
    // The largest of the other sets is not the envelope: the row says so
    // in place of the numbers an engineer would take for it.
    addSentenceRow(stage, tr("Envelope"),
                   tr("NOT VALID: %1 left out, its results not valid; the largest of the other "
                      "sets is not the envelope")
                       .arg(Q(Listed(e.leftOut))));
    resultsTable_->item(resultsTable_->rowCount() - 1, 2)->setForeground(Qt::red);
    resultsTable_->item(resultsTable_->rowCount() - 1, 2)->setToolTip(invalid);
  } else {
    const QString top =
        e.topDeflection
            ? QStringLiteral("%1 (%2)").arg(Number(e.topDeflection->value), Q(e.topDeflection->set))
            : QString();
    addResultRow({stage, tr("Envelope"),
                  QStringLiteral("%1 (%2)").arg(At(e.moment, u.length), Q(e.moment.set)),
                  QStringLiteral("%1 (%2)").arg(At(e.shear, u.length), Q(e.shear.set)),
                  Supports(e.supports, true), top},
                 invalid);
  }
  const int row = resultsTable_->rowCount() - 1;
  for (int column = 0; column < resultsTable_->columnCount(); ++column) {
    QTableWidgetItem* item = resultsTable_->item(row, column);
    QFont font = item->font();
    font.setBold(true);
    item->setFont(font);
  }
}

void TDesignSituationsForm::showResults() {
  resultsTable_->setRowCount(0);
  resultsTable_->clearSpans();
  const ResultUnits u = ResultUnitsFor(units_);
  for (const design::SituationResult& r : results_)
    if (!r.error.empty())
      addSentenceRow(QString(), Q(r.set.name), tr("not analysed: %1").arg(Q(r.error)));
  for (size_t k = 0; k < envelope_.size(); ++k) {
    const QString stage = QString::number(k + 1);
    for (const design::SituationResult& r : results_) {
      if (!r.error.empty() || k >= r.problems.size()) continue;
      const design::SituationProblem& p = r.problems[k];
      if (!p.valid) {
        addSentenceRow(stage, Q(r.set.name), tr("results not valid: %1").arg(Q(p.fault)));
        continue;
      }
      QString tip;
      if (k < r.data.excavationAdded.size() && r.data.excavationAdded[k] > 0)
        tip = tr("The excavation is %1 %2 deeper (unplanned excavation).")
                  .arg(Number(r.data.excavationAdded[k]), Q(u.length));
      addResultRow({stage, Q(r.set.name), At(p.moment, u.length), At(p.shear, u.length),
                    Supports(p.supports, false), Number(p.topDeflection.value)},
                   tip);
    }
    addEnvelopeRow(stage, envelope_[k]);
  }
  // A construction sequence's supports: the largest design force along each.
  QStringList forces;
  for (const design::NamedSupportEffect& s : design::SupportEnvelopeOf(results_))
    forces << tr("%1 %2 %3 (%4, stage %5)")
                  .arg(Q(s.name), Number(s.force), Q(u.force), Q(s.set))
                  .arg(s.stage);
  if (!forces.isEmpty())
    addSentenceRow(
        QString(), tr("Envelope"),
        tr("Design force along each support: %1").arg(forces.join(QStringLiteral("; "))));
  resultsTable_->resizeColumnsToContents();
  {
    // One entry per stage; the choice kept where the stages are the same.
    const QSignalBlocker block(figureStage_);
    const int chosen = figureStage_->currentIndex();
    while (figureStage_->count() > 1) figureStage_->removeItem(1);
    if (envelope_.size() > 1)
      for (size_t k = 0; k < envelope_.size(); ++k)
        figureStage_->addItem(tr("Stage %1").arg(k + 1));
    figureStage_->setCurrentIndex(chosen < figureStage_->count() ? chosen : 0);
    figureStage_->setVisible(envelope_.size() > 1);
  }
  showFigures();
}

void TDesignSituationsForm::showFigures() {
  const design::DesignEffect effects[] = {design::DesignEffect::Moment, design::DesignEffect::Shear,
                                          design::DesignEffect::Deflection};
  const QString captions[] = {tr("Design bending moment of each set"),
                              tr("Design shear of each set"), tr("Deflection of each set")};
  const int chosen = figureStage_->currentIndex();
  for (int i = 0; i < 3; ++i) {
    const std::optional<size_t> k = chosen > 0
                                        ? std::optional<size_t>(chosen - 1)
                                        : design::GoverningProblem(envelope_, results_, effects[i]);
    if (!k || *k >= envelope_.size()) {
      figures_[i]->SetFigure(std::nullopt, results_.empty()
                                               ? tr("Run to see the design effects of each set.")
                                               : tr("No set has valid results."));
      continue;
    }
    const QString where = envelope_.size() > 1 ? tr("stage %1").arg(*k + 1) : tr("the wall");
    figures_[i]->SetFigure(report::DesignEffectFigure(
        effects[i], results_, *k, units_, tr("%1, %2").arg(captions[i], where).toStdString()));
  }
}

const FigureView* TDesignSituationsForm::EffectFigure(design::DesignEffect effect) const {
  return figures_[static_cast<int>(effect)];
}

void TDesignSituationsForm::ShowStage(int stage) {
  figureStage_->setCurrentIndex(stage >= 0 && stage < figureStage_->count() ? stage : 0);
}

}  // namespace terraq::ui
