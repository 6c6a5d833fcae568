#include "design/TDesignSituationsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "SeismicFace.h"
#include "design/StudyFormCells.h"
#include "project/ProjectDesignSituations.h"
#include "project/RunSummary.h"
#include "project/StudyUnits.h"
#include "widgets/ScrollingPanel.h"

namespace terraq::ui {

using study::Number;
using study::Q;
using study::SetCell;

namespace {

constexpr int kNameRole = Qt::UserRole;

QString KindText(const design::FactorSet& set) {
  if (set.serviceability) return QObject::tr("serviceability: its deflections are the wall's");
  QString kind = set.unplannedExcavation ? QObject::tr("ultimate, with the unplanned excavation")
                                         : QObject::tr("ultimate");
  if (set.seismic)
    kind += QObject::tr("; seismic: %1")
                .arg(QString::fromStdString(design::SeismicWords(*set.seismic)));
  return kind;
}

}  // namespace

TDesignSituationsForm::TDesignSituationsForm(
    std::function<std::string()> dataText, DesignSituationsChoice choice,
    std::function<void(const DesignSituationsChoice&)> changed, QWidget* parent)
    : QWidget(parent),
      dataText_(std::move(dataText)),
      changed_(std::move(changed)),
      choice_(std::move(choice)) {
  setObjectName(QStringLiteral("frmDesignSituations"));
  setWindowTitle(tr("Design Situations"));
  QString unreadable;
  units_ = DataTextUnits(projectText(unreadable).value_or(""));

  QWidget* top = makeSetsPart();
  QWidget* bottom = makeResultsPart();
  auto* splitter = new QSplitter(Qt::Vertical, this);
  // The sets scroll on a small screen, above the Run button and the results.
  splitter->addWidget(new TScrollingPanel(top, splitter));
  splitter->addWidget(bottom);
  splitter->setCollapsible(1, false);
  splitter->setStretchFactor(1, 1);  // the results take what the window gains
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);

  fillSets();
  connectControls();
  sets_->setCurrentRow(0);
  setStatus(tr("Check the sets to design with, then Run."));
}

void TDesignSituationsForm::connectControls() {
  connect(sets_, &QListWidget::currentItemChanged, this, [this] { showSet(); });
  connect(sets_, &QListWidget::itemChanged, this, &TDesignSituationsForm::setItemChanged);
  connect(factors_, &QTableWidget::itemChanged, this, &TDesignSituationsForm::factorEdited);
  connect(serviceability_, &QCheckBox::toggled, this, [this](bool on) {
    design::FactorSet set = selected();
    set.serviceability = on;
    keepEdited(set);
  });
  connect(setUnplanned_, &QCheckBox::toggled, this, [this](bool on) {
    design::FactorSet set = selected();
    set.unplannedExcavation = on;
    keepEdited(set);
  });
  connectSeismic();
  connect(figureStage_, &QComboBox::currentIndexChanged, this, [this] { showFigures(); });
  connect(newButton_, &QPushButton::clicked, this, &TDesignSituationsForm::newSet);
  connect(deleteButton_, &QPushButton::clicked, this, &TDesignSituationsForm::deleteSet);
  connect(unplanned_, &QCheckBox::toggled, this, [this](bool on) {
    choice_.options.unplannedExcavation = on;
    showDesignValues();
    setChanged();
  });
  connect(surcharge_, &QDoubleSpinBox::valueChanged, this, [this](double q) {
    choice_.options.minimumSurcharge = q > 0 ? std::optional<double>(q) : std::nullopt;
    showDesignValues();
    setChanged();
  });
  connect(runButton_, &QPushButton::clicked, this, [this] { Run(); });
}

std::optional<std::string> TDesignSituationsForm::projectText(QString& error) const {
  try {
    return dataText_();
  } catch (const std::exception& e) {
    error = Q(e.what());
    return std::nullopt;
  }
}

bool TDesignSituationsForm::isProjectSet(const std::string& name) const {
  // The project's set stands in the list under its own spelling.
  return std::any_of(choice_.sets.begin(), choice_.sets.end(),
                     [&](const design::FactorSet& s) { return s.name == name; });
}

void TDesignSituationsForm::fillSets() {
  const QString current = SelectedSet();
  const QSignalBlocker block(sets_);
  sets_->clear();
  for (const design::FactorSet& set : OfferedFactorSets(choice_.sets)) {
    auto* item = new QListWidgetItem(Q(set.name), sets_);
    item->setData(kNameRole, Q(set.name));
    const bool own = isProjectSet(set.name);
    Qt::ItemFlags flags = item->flags() | Qt::ItemIsUserCheckable;
    if (own && !IsShippedSetName(set.name)) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    QFont font = item->font();
    font.setItalic(own);
    item->setFont(font);
    item->setToolTip(
        Q(set.description) + (own ? tr(" (the project's values)") : QString()) +
        (set.seismic ? QStringLiteral("\n") + Q(design::SeismicWords(*set.seismic)) : QString()));
    const bool chosen = std::any_of(
        choice_.chosen.begin(), choice_.chosen.end(),
        [&](const std::string& c) { return Q(c).compare(Q(set.name), Qt::CaseInsensitive) == 0; });
    item->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
  }
  if (!current.isEmpty()) SelectSet(current);
}

void TDesignSituationsForm::SelectSet(const QString& name) {
  for (int row = 0; row < sets_->count(); ++row)
    if (sets_->item(row)->data(kNameRole).toString().compare(name, Qt::CaseInsensitive) == 0) {
      sets_->setCurrentRow(row);
      return;
    }
}

QString TDesignSituationsForm::SelectedSet() const {
  const QListWidgetItem* item = sets_->currentItem();
  return item ? item->data(kNameRole).toString() : QString();
}

design::FactorSet TDesignSituationsForm::selected() const {
  return FindFactorSet(choice_.sets, SelectedSet().toStdString())
      .value_or(design::StandardFactorSets().front());
}

void TDesignSituationsForm::showSet() {
  const design::FactorSet set = selected();
  const bool own = isProjectSet(set.name);
  description_->setText(Q(set.description.empty() ? set.name : set.description) +
                        QStringLiteral(" — ") + KindText(set));
  {
    const QSignalBlocker block(factors_);
    // In place: a cell may be the one whose edit is being taken.
    for (int row = 0; row < factors_->rowCount(); ++row) {
      const QString value =
          Number(design::FactorOf(set, design::FactorSymbols()[static_cast<size_t>(row)]));
      if (QTableWidgetItem* item = factors_->item(row, 1)) item->setText(value);
      else factors_->setItem(row, 1, new QTableWidgetItem(value));
    }
  }
  {
    const QSignalBlocker blockService(serviceability_), blockUnplanned(setUnplanned_);
    serviceability_->setChecked(set.serviceability);
    setUnplanned_->setChecked(set.unplannedExcavation);
  }
  showSeismic(set);
  deleteButton_->setEnabled(own);
  deleteButton_->setText(own && IsShippedSetName(set.name) ? tr("&Shipped values") : tr("&Delete"));
  showDesignValues();
}

void TDesignSituationsForm::showDesignValues() {
  designValues_->setRowCount(0);
  QString unreadable;
  const std::optional<std::string> text = projectText(unreadable);
  if (!text) {
    notes_->setText(tr("The project cannot be read: %1").arg(unreadable));
    return;
  }
  std::string error;
  const std::optional<design::FactoredData> factored =
      design::ApplyFactorSet(*text, selected(), choice_.options, error);
  if (!factored) {
    notes_->setText(tr("This set cannot be applied: %1").arg(Q(error)));
    return;
  }
  // The first stage's soil: the stages of a project share their soil.
  for (const design::DesignSoilValue& v : factored->soil) {
    if (v.problem != 1) continue;
    const int row = designValues_->rowCount();
    designValues_->insertRow(row);
    const std::string unit = ParameterUnit("layer.1." + v.name, units_);
    SetCell(designValues_, row, 0, QString::number(v.layer));
    SetCell(designValues_, row, 1, Q(v.name + (unit.empty() ? "" : ", " + unit)));
    SetCell(designValues_, row, 2, Number(v.characteristic));
    SetCell(designValues_, row, 3, Number(v.design));
  }
  designValues_->resizeColumnsToContents();
  QStringList notes;
  for (const std::string& note : factored->notes) notes << Q(note);
  for (size_t k = 0; k < factored->excavationAdded.size(); ++k)
    if (factored->excavationAdded[k] > 0)
      notes << tr("Stage %1: the excavation is %2 %3 deeper (unplanned excavation).")
                   .arg(k + 1)
                   .arg(Number(factored->excavationAdded[k]), Q(ResultUnitsFor(units_).length));
  notes_->setText(notes.join(QLatin1Char('\n')));
}

void TDesignSituationsForm::setChanged() {
  if (changed_) changed_(choice_);
  if (!results_.empty()) setStatus(tr("The results shown are of the sets before the change: Run."));
}

void TDesignSituationsForm::setStatus(const QString& text) { status_->setText(text); }
QString TDesignSituationsForm::StatusText() const { return status_->text(); }

void TDesignSituationsForm::factorEdited(QTableWidgetItem* item) {
  if (item->column() != 1) return;
  design::FactorSet set = selected();
  const std::string_view symbol = design::FactorSymbols()[static_cast<size_t>(item->row())];
  bool number = false;
  const double value = item->text().trimmed().toDouble(&number);
  *design::FactorOf(set, symbol) = number ? value : std::nan("");
  std::string error = design::FactorSetError(set);
  if (!number)
    error = set.name + ": " + std::string(symbol) + " must be a number above 0, not " +
            item->text().toStdString();
  if (!error.empty()) {
    // Refused where it was typed: the cell shows the set's value again.
    const QSignalBlocker block(factors_);
    item->setText(Number(design::FactorOf(selected(), symbol)));
    setStatus(tr("Not taken: %1").arg(Q(error)));
    return;
  }
  keepEdited(set);
}

void TDesignSituationsForm::keepEdited(const design::FactorSet& set) {
  KeepProjectSet(choice_.sets, set);
  fillSets();
  showSet();
  setStatus(tr("%1 is the project's own set now.").arg(Q(set.name)));
  setChanged();
}

void TDesignSituationsForm::setItemChanged(QListWidgetItem* item) {
  const std::string name = item->data(kNameRole).toString().toStdString();
  const std::string typed = item->text().trimmed().toStdString();
  if (typed != name) {  // an own set renamed
    const bool taken = FindFactorSet(choice_.sets, typed).has_value();
    if (typed.empty() || taken) {
      setStatus(typed.empty() ? tr("A set needs a name.")
                              : tr("Not renamed: a set is named %1 already.").arg(Q(typed)));
    } else {
      for (design::FactorSet& set : choice_.sets)
        if (set.name == name) set.name = typed;
      for (std::string& chosen : choice_.chosen)
        if (chosen == name) chosen = typed;
      setChanged();
    }
    // The list is made anew once the item that changed is done with.
    const QString shown = Q(taken || typed.empty() ? name : typed);
    QMetaObject::invokeMethod(
        this,
        [this, shown] {
          fillSets();
          SelectSet(shown);
          showSet();
        },
        Qt::QueuedConnection);
    return;
  }
  // The chosen sets in the order the window lists them.
  choice_.chosen.clear();
  for (int row = 0; row < sets_->count(); ++row)
    if (sets_->item(row)->checkState() == Qt::Checked)
      choice_.chosen.push_back(sets_->item(row)->data(kNameRole).toString().toStdString());
  setChanged();
}

void TDesignSituationsForm::newSet() {
  design::FactorSet set = selected();
  set.name = NewSetName(choice_.sets);
  set.description = tr("from %1").arg(SelectedSet()).toStdString();
  choice_.sets.push_back(set);
  fillSets();
  SelectSet(Q(set.name));
  showSet();
  setStatus(tr("%1 made from the selected set's factors; double-click it to rename it.")
                .arg(Q(set.name)));
  setChanged();
}

void TDesignSituationsForm::deleteSet() {
  const QString name = SelectedSet();
  RemoveProjectSet(choice_, name.toStdString());
  fillSets();
  if (SelectedSet().isEmpty()) sets_->setCurrentRow(0);
  showSet();
  setStatus(IsShippedSetName(name.toStdString()) ? tr("%1 has its shipped values again.").arg(name)
                                                 : tr("%1 is deleted.").arg(name));
  setChanged();
}

}  // namespace terraq::ui
