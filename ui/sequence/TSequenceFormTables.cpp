// TSequenceForm: the supports and stages tables, each cell read into the
// plan when it is edited (or refused there) and the tables made again from
// the plan after a row is added, deleted or moved.

#include <QComboBox>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

#include "project/ProjectSequence.h"
#include "project/SequenceEntries.h"
#include "sequence/TSequenceForm.h"

namespace terraq::ui {

namespace {

enum SupportColumn {
  kName,
  kKind,
  kDepth,
  kModulus,
  kArea,
  kFreeLength,
  kInclination,
  kSpacing,
  kPrestress,
  kYield
};
enum StageColumn {
  kStageName,
  kExcavation,
  kWaterBack,
  kWaterFront,
  kSurcharge,
  kInstall,
  kRemove,
  kLoads
};
// The study name each level column sets.
constexpr const char* kLevelNames[] = {"", "excavation", "water.back", "water.front", "surcharge"};

QString Text(double value) { return QString::fromStdString(SequenceNumberText(value)); }

// In place: the cell may be the one whose edit is being taken.
void SetText(QTableWidget* table, int row, int column, const QString& text) {
  if (QTableWidgetItem* item = table->item(row, column)) item->setText(text);
  else table->setItem(row, column, new QTableWidgetItem(text));
}

// The cell's text as a number; blank gives nullopt with `blank` set.
std::optional<double> CellNumber(const QTableWidgetItem* item, bool& blank) {
  const QString text = item->text().trimmed();
  blank = text.isEmpty();
  bool ok = false;
  const double value = text.toDouble(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> StageValue(const design::ConstructionStage& stage, const std::string& name) {
  for (const auto& [n, v] : stage.values)
    if (n == name) return v;
  return std::nullopt;
}

void SetStageValue(design::ConstructionStage& stage, const std::string& name,
                   std::optional<double> value) {
  std::erase_if(stage.values, [&](const auto& v) { return v.first == name; });
  if (value) stage.values.emplace_back(name, *value);
}

double* SupportNumber(design::StagedSupport& s, int column) {
  switch (column) {
    case kDepth: return &s.depth;
    case kModulus: return &s.modulus;
    case kArea: return &s.area;
    case kFreeLength: return &s.freeLength;
    case kInclination: return &s.inclination;
    case kSpacing: return &s.spacing;
    case kPrestress: return &s.prestress;
    default: return nullptr;
  }
}

}  // namespace

void TSequenceForm::fillSupports() {
  const QSignalBlocker block(supports_);
  const int current = supports_->currentRow();
  supports_->setRowCount(static_cast<int>(plan_.supports.size()));
  for (int row = 0; row < supports_->rowCount(); ++row) {
    design::StagedSupport& s = plan_.supports[static_cast<size_t>(row)];
    SetText(supports_, row, kName, QString::fromStdString(s.name));
    for (int column = kDepth; column <= kPrestress; ++column)
      SetText(supports_, row, column, Text(*SupportNumber(s, column)));
    SetText(supports_, row, kYield, s.yieldForce ? Text(*s.yieldForce) : QString());
    // The kind is chosen, not typed; a row keeps its box (row by position).
    auto* kind = qobject_cast<QComboBox*>(supports_->cellWidget(row, kKind));
    if (!kind) {
      kind = new QComboBox(supports_);
      kind->setObjectName(QStringLiteral("cbKind%1").arg(row + 1));
      kind->addItems({tr("anchor"), tr("strut")});
      connect(kind, &QComboBox::currentIndexChanged, this, [this, row](int index) {
        plan_.supports[static_cast<size_t>(row)].strut = index == 1;
        planChanged();
      });
      supports_->setCellWidget(row, kKind, kind);
    }
    const QSignalBlocker blockKind(kind);
    kind->setCurrentIndex(s.strut ? 1 : 0);
  }
  supports_->resizeColumnsToContents();
  if (current >= 0 && current < supports_->rowCount()) supports_->selectRow(current);
}

void TSequenceForm::fillStages() {
  const QSignalBlocker block(stages_);
  stages_->setRowCount(static_cast<int>(plan_.stages.size()));
  for (int row = 0; row < stages_->rowCount(); ++row) {
    const design::ConstructionStage& stage = plan_.stages[static_cast<size_t>(row)];
    SetText(stages_, row, kStageName, QString::fromStdString(stage.name));
    for (int column = kExcavation; column <= kSurcharge; ++column) {
      const std::optional<double> value = StageValue(stage, kLevelNames[column]);
      SetText(stages_, row, column, value ? Text(*value) : QString());
    }
    SetText(stages_, row, kInstall, QString::fromStdString(SupportNamesText(stage.install)));
    SetText(stages_, row, kRemove, QString::fromStdString(SupportNamesText(stage.remove)));
    SetText(stages_, row, kLoads, QString::fromStdString(StageLoadsText(stage.values)));
  }
  stages_->resizeColumnsToContents();
}

void TSequenceForm::supportEdited(QTableWidgetItem* item) {
  const int row = item->row(), column = item->column();
  design::StagedSupport& s = plan_.supports[static_cast<size_t>(row)];
  const QString typed = item->text().trimmed();
  if (column == kName) {
    const std::string name = typed.toStdString();
    const bool taken =
        std::any_of(plan_.supports.begin(), plan_.supports.end(),
                    [&](const design::StagedSupport& o) { return &o != &s && o.name == name; });
    if (name.empty() || taken || typed.contains(QLatin1Char(',')) ||
        typed.contains(QLatin1Char(';'))) {
      refuse(name.empty() ? tr("a support needs a name")
             : taken      ? tr("a support is named %1 already").arg(typed)
                          : tr("a support's name has no comma or semicolon"));
      fillSupports();
      return;
    }
    // The stages keep installing and removing it under its new name.
    for (design::ConstructionStage& stage : plan_.stages)
      for (auto* list : {&stage.install, &stage.remove})
        std::replace(list->begin(), list->end(), s.name, name);
    s.name = name;
    fillSupports();
    fillStages();
    planChanged();
    return;
  }
  bool blank = false;
  const std::optional<double> value = CellNumber(item, blank);
  if (column == kYield && blank) {
    s.yieldForce.reset();
  } else if (!value) {
    refuse(
        tr("%1 of support %2 must be a number, not \"%3\"")
            .arg(supports_->horizontalHeaderItem(column)->text().section(QLatin1Char('\n'), 0, 0),
                 QString::fromStdString(s.name), item->text()));
    fillSupports();
    return;
  } else if (column == kYield) {
    s.yieldForce = *value;
  } else if (double* field = SupportNumber(s, column)) {
    *field = *value;
  }
  planChanged();
}

void TSequenceForm::stageEdited(QTableWidgetItem* item) {
  const int row = item->row(), column = item->column();
  design::ConstructionStage& stage = plan_.stages[static_cast<size_t>(row)];
  const QString typed = item->text().trimmed();
  const QString header =
      stages_->horizontalHeaderItem(column)->text().section(QLatin1Char('\n'), 0, 0);
  std::string error;
  if (column == kStageName) {
    stage.name = typed.toStdString();
  } else if (column <= kSurcharge) {
    bool blank = false;
    const std::optional<double> value = CellNumber(item, blank);
    if (!value && !blank) {
      refuse(tr("%1 of stage %2 must be a number, or blank for the level the stage before left, "
                "not \"%3\"")
                 .arg(header)
                 .arg(row + 1)
                 .arg(item->text()));
      fillStages();
      return;
    }
    SetStageValue(stage, kLevelNames[column], value);
  } else if (column == kInstall || column == kRemove) {
    const auto names = ReadSupportNames(typed.toStdString(), plan_.supports, error);
    if (!names) {
      refuse(tr("%1 of stage %2: %3").arg(header).arg(row + 1).arg(QString::fromStdString(error)));
      fillStages();
      return;
    }
    (column == kInstall ? stage.install : stage.remove) = *names;
  } else if (column == kLoads) {
    std::string text;
    try {
      text = dataText_();
    } catch (const std::exception&) {}
    const auto loads = ReadStageLoads(typed.toStdString(), text, error);
    if (!loads) {
      refuse(tr("Loads of stage %1: %2").arg(row + 1).arg(QString::fromStdString(error)));
      fillStages();
      return;
    }
    std::erase_if(stage.values, [](const auto& v) { return v.first.rfind("load.", 0) == 0; });
    stage.values.insert(stage.values.end(), loads->begin(), loads->end());
  }
  // The cell shows what was taken, as the stage holds it.
  fillStages();
  planChanged();
}

void TSequenceForm::addSupport() {
  // A grouted anchor of common proportions, in SI and then in the data
  // file's units: a start to edit, with the stiffness the check asks for.
  design::StagedSupport s{.name = {},
                          .strut = false,
                          .depth = 1,
                          .modulus = 2.0e8,
                          .area = 1e-3,
                          .freeLength = 8,
                          .inclination = 15,
                          .spacing = 2.5,
                          .prestress = 0,
                          .yieldForce = {}};
  s = PlanInUnits({.supports = {s}, .stages = {}}, 2, units_).supports.front();
  for (int n = static_cast<int>(plan_.supports.size()) + 1;; ++n) {
    s.name = "A" + std::to_string(n);
    if (std::none_of(plan_.supports.begin(), plan_.supports.end(),
                     [&](const design::StagedSupport& o) { return o.name == s.name; }))
      break;
  }
  plan_.supports.push_back(s);
  fillSupports();
  supports_->selectRow(supports_->rowCount() - 1);
  planChanged();
}

void TSequenceForm::deleteSupport() {
  const int row = supports_->currentRow();
  if (row < 0) return;
  const std::string name = plan_.supports[static_cast<size_t>(row)].name;
  plan_.supports.erase(plan_.supports.begin() + row);
  for (design::ConstructionStage& stage : plan_.stages) {
    std::erase(stage.install, name);
    std::erase(stage.remove, name);
  }
  fillSupports();
  fillStages();
  planChanged();
}

void TSequenceForm::addStage(bool insert) {
  if (plan_.stages.size() >= static_cast<size_t>(design::kMaxSequentialStages)) return;
  const int current = stages_->currentRow();
  const int at = insert && current >= 0 ? current : static_cast<int>(plan_.stages.size());
  plan_.stages.insert(plan_.stages.begin() + at,
                      {.name = tr("Stage %1").arg(plan_.stages.size() + 1).toStdString()});
  fillStages();
  stages_->selectRow(at);
  planChanged();
}

void TSequenceForm::deleteStage() {
  const int row = stages_->currentRow();
  if (row < 0) return;
  plan_.stages.erase(plan_.stages.begin() + row);
  fillStages();
  if (stages_->rowCount() > 0) stages_->selectRow(std::min(row, stages_->rowCount() - 1));
  planChanged();
}

void TSequenceForm::moveStage(int step) {
  const int row = stages_->currentRow(), to = row + step;
  if (row < 0 || to < 0 || to >= static_cast<int>(plan_.stages.size())) return;
  std::swap(plan_.stages[static_cast<size_t>(row)], plan_.stages[static_cast<size_t>(to)]);
  fillStages();
  stages_->selectRow(to);
  planChanged();
}

}  // namespace terraq::ui
