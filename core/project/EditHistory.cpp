#include "project/EditHistory.h"

#include <algorithm>
#include <cstdint>
#include <exception>

#include "project/JsonText.h"
#include "project/ProjectFile.h"
#include "project/SequentialMember.h"

namespace terraq::ui {

namespace {

const TTableLibrary& libraryOf(TProject& project) {
  const TTableLibrary* library = project.Tables().PileSect.Library();
  return library ? *library : TTableLibrary::Program();
}

// The option switches the data text cannot carry: a table switched on
// without rows, and the earth-pressure choice it writes only with soil
// records to generate from.
std::string optionSwitches(const TProgramData& d) {
  std::string line = "options";
  for (bool on : {d.UseConcentratedLoads, d.UseRestraints, d.UseSprings, d.UseSurcharge, d.UsePYMod,
                  d.UseExternalPY, d.UseMEICurves, d.UserPressure, d.GeneratePY,
                  d.PressureGenerated, d.LongTerm})
    line += on ? " 1" : " 0";
  return line + " " + std::to_string(d.EarthPressureOption) + "\n";
}

// The members as the project file would keep them.
std::string membersText(const ProjectMembers& m, int units) {
  ProjectFile file;
  SetWallSection(file, m.section);
  if (m.designSituations) SetDesignSituations(file, *m.designSituations);
  if (m.sequence) SetSequentialPlan(file, *m.sequence, units);
  SetDesignRecord(file, m.designRecord);
  if (m.soilModel) SetSoilModel(file, *m.soilModel, units);
  if (m.earthPressure) SetEarthPressure(file, *m.earthPressure);
  if (m.seepage) SetSeepage(file, *m.seepage, units);
  if (m.seismic) SetSeismic(file, *m.seismic);
  if (m.measurements) SetMeasurements(file, *m.measurements, units);
  if (m.anchors) SetAnchors(file, *m.anchors, units);
  if (m.excavation) SetExcavation(file, *m.excavation, units);
  return FormatJson(file.root);
}

}  // namespace

// A project's tables, values and members of its own, outside any project.
struct ProjectState::Copy {
  explicit Copy(const TTableLibrary& library) : tables(library), data(tables) {}
  void take(TProjectTables& fromTables, const TProgramData& fromData) {
    tables.TakeContent(fromTables);
    data.TakeValues(fromData);
  }
  TProjectTables tables;
  TProgramData data;
  ProjectMembers members;
};

ProjectState::ProjectState(TProject& project) {
  const TTableLibrary& library = libraryOf(project);
  auto copy = std::make_shared<Copy>(library);
  copy->take(project.Tables(), project.Data());
  copy->members = project.Members();
  // The text is written from a scratch copy: writing tidies the tables it
  // writes (those of options that are off are emptied), and the state kept
  // must be the project as it stands.
  Copy scratch(library);
  scratch.take(copy->tables, copy->data);
  try {
    stored_ = scratch.data.DataFileText() + optionSwitches(copy->data) +
              membersText(copy->members, copy->data.Units);
  } catch (const std::exception& e) {
    // A value the file cannot keep: a state of its own, equal to no other.
    stored_ = std::string("not writable: ") + e.what() + " " +
              std::to_string(reinterpret_cast<uintptr_t>(copy.get()));
  }
  copy_ = std::move(copy);
}

void ProjectState::RestoreInto(TProject& project) const {
  TProgramData& d = project.Data();
  const std::string dataFileName = d.DataFileName;
  const int stageCount = d.StageCount, currentStage = d.CurrentStage;
  project.Tables().TakeContent(copy_->tables);
  d.TakeValues(copy_->data);
  d.DataFileName = dataFileName;
  d.StageCount = stageCount;
  d.CurrentStage = currentStage;
  project.Members() = copy_->members;
}

EditHistory::EditHistory(size_t maxSteps, size_t maxBytes)
    : maxSteps_(std::max<size_t>(1, maxSteps)), maxBytes_(maxBytes) {}

void EditHistory::Reset(TProject& project) {
  entries_.clear();
  entries_.push_back({"", ProjectState(project)});
  current_ = 0;
  saved_ = 0;
}

bool EditHistory::Record(const std::string& name, TProject& project) {
  if (entries_.empty()) {
    Reset(project);
    return false;
  }
  ProjectState state(project);
  if (state.StoredText() == entries_[current_].state.StoredText()) return false;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(current_) + 1, entries_.end());
  if (saved_ && *saved_ > current_) saved_.reset();
  entries_.push_back({name, std::move(state)});
  ++current_;
  trim();
  return true;
}

std::string EditHistory::UndoName() const {
  return CanUndo() ? entries_[current_].name : std::string();
}

std::string EditHistory::RedoName() const {
  return CanRedo() ? entries_[current_ + 1].name : std::string();
}

void EditHistory::restore(TProject& project) const {
  entries_[current_].state.RestoreInto(project);
  if (AtSavedState()) project.Data().ClearModified();
  else project.Data().Modified = true;
}

bool EditHistory::Undo(TProject& project) {
  if (!CanUndo()) return false;
  --current_;
  restore(project);
  return true;
}

bool EditHistory::Redo(TProject& project) {
  if (!CanRedo()) return false;
  ++current_;
  restore(project);
  return true;
}

void EditHistory::MarkSaved(TProject& project) {
  if (entries_.empty()) {
    Reset(project);
    return;
  }
  entries_[current_].state = ProjectState(project);
  saved_ = current_;
}

void EditHistory::trim() {
  size_t bytes = 0;
  for (const Entry& entry : entries_) bytes += entry.state.Bytes();
  // The current state always stays: it is the project.
  while (current_ > 0 && (current_ > maxSteps_ || bytes > maxBytes_)) {
    bytes -= entries_.front().state.Bytes();
    entries_.pop_front();
    --current_;
    if (saved_) saved_ = *saved_ > 0 ? std::optional<size_t>(*saved_ - 1) : std::nullopt;
  }
}

}  // namespace terraq::ui
