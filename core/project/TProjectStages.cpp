// TProject: staged construction, the stages of one data file kept in stage
// files beside it (StageFiles.h) or held here while they cannot be: stage
// switches, copies, counts and updates of the staged-construction dialog.

#include <algorithm>

#include "project/TProject.h"

namespace terraq::ui {

namespace fs = std::filesystem;

std::map<int, std::string> TProject::stagesFor(int count, int modelStage) const {
  // Staging that begins owns no stage files yet: whatever files of the name
  // lie about belong to an earlier project, and every stage is the model.
  const int old = data_->StageCount;
  std::map<int, std::string> blocks;
  const std::string* previous = nullptr;
  for (int k = 1; k <= count; ++k) {
    if (k == modelStage) {
      blocks[k] = modelBlock(k, count);
    } else {
      std::optional<std::string> source;
      if (old >= 2 && k <= old) source = stageText(k);
      // A stage without a block starts as a copy of the one before it.
      if (!source && previous) source = *previous;
      blocks[k] = source ? StageBlockAs(*source, k, count) : modelBlock(k, count);
    }
    previous = &blocks[k];
  }
  return blocks;
}

void TProject::claimStageFiles() {
  if (stagesInMemory_) return;
  const fs::path name = data_->DataFileName;
  if (data_->DataFileName == kNewFileName) {
    stagesInMemory_ = true;
    return;
  }
  if (IsOwnStageFile(name))
    throw EInOutError(
        name.filename().string() +
        " bears the name of one of its own stage files; save the project under a .tq4d name first.");
  if (lock_.Acquire(name) == TStageLock::Result::HeldElsewhere)
    throw EInOutError("The stage files of " + name.string() + " are in use by another window.");
  // A folder that takes no lock file takes no stage files either: writing
  // them says why.
}

std::vector<int> TProject::StagesDroppedBy(int count) const {
  const int old = data_->StageCount;
  count = std::clamp(count, 1, kMaxStages);
  std::vector<int> dropped;
  if (old < 2 || count >= old) return dropped;
  // Ending staging keeps the stage on show; a smaller count keeps the first.
  for (int k = 1; k <= old; ++k)
    if (count == 1 ? k != data_->CurrentStage : k > count) dropped.push_back(k);
  return dropped;
}

void TProject::ReloadCurrentStage() {
  TProgramData& d = *data_;
  if (d.StageCount < 2 || stagesInMemory_) return;
  const int count = d.StageCount;
  const int stage = d.CurrentStage;
  d.LoadStageBlockText(StageBlockAs(requiredStageText(stage), stage, count));
  d.StageCount = count;
  d.CurrentStage = stage;
  d.Modified = true;  // the data file does not hold the stage as read
}

void TProject::SaveCurrentStage() {
  if (data_->StageCount < 2) return;
  const int current = data_->CurrentStage;
  writeStages({{current, modelBlock(current, data_->StageCount)}}, nullptr, kMaxStages);
}

void TProject::SwitchStage(int stage) {
  TProgramData& d = *data_;
  if (stage == d.CurrentStage || stage < 1 || stage > d.StageCount) return;
  const int count = d.StageCount;
  const bool modified = d.IsModified();
  // The target is read and checked before anything is written: a stage that
  // cannot be shown leaves the window on its stage.
  std::optional<std::string> target = stageText(stage);
  if (target) target = StageBlockAs(*target, stage, count);
  writeStages({{d.CurrentStage, modelBlock(d.CurrentStage, count)}}, nullptr, kMaxStages);
  d.CurrentStage = stage;
  if (target) d.LoadStageBlockText(*target);
  d.StageCount = count;
  if (modified) d.Modified = true;
  else d.ClearModified();
}

void TProject::CopyPreviousStage() {
  TProgramData& d = *data_;
  const int stage = d.CurrentStage;
  if (stage < 2 || d.StageCount < 2) return;
  const int count = d.StageCount;
  const std::optional<std::string> previous = stageText(stage - 1);
  const std::string copy =
      previous ? StageBlockAs(*previous, stage, count) : modelBlock(stage, count);
  writeStages({{stage, copy}}, nullptr, kMaxStages);
  d.LoadStageBlockText(copy);
  d.StageCount = count;
  d.CurrentStage = stage;
  d.Modified = true;  // the data file does not hold the copy yet
}

void TProject::SetStageCount(int count) {
  TProgramData& d = *data_;
  count = std::clamp(count, 1, kMaxStages);
  const int old = d.StageCount;
  if (count == old) return;
  if (count == 1) {
    // The stage files stay, and the lock with them, until the project is
    // saved as one stage: a project closed unsaved finds its stages beside
    // its data file as they were. Held stages not yet written need no file
    // now. A read-only project's files are not ours.
    if (!stagesInMemory_ || stageFilesPending_) dropStagesAbove_ = 0;
    else lock_.Release();
    stageFilesPending_ = false;
    held_ = {};
    stagesInMemory_ = ReadOnly();
    d.StageCount = 1;
    d.CurrentStage = 1;
    d.Modified = true;
    return;
  }
  const int modelStage = old >= 2 ? d.CurrentStage : 1;
  try {
    if (old == 1) claimStageFiles();
    const std::map<int, std::string> blocks = stagesFor(count, modelStage);
    writeStages(blocks, nullptr, kMaxStages);
    const int current = old == 1 || count < old ? 1 : d.CurrentStage;
    if (current != modelStage) d.LoadStageBlockText(blocks.at(current));
    d.CurrentStage = current;
  } catch (...) {
    if (old == 1) giveUpStaging();
    throw;
  }
  // Stage files above the count stay until the project is saved.
  if ((count < old || dropStagesAbove_) && !stagesInMemory_) dropStagesAbove_ = count;
  d.StageCount = count;
  d.Modified = true;
}

void TProject::UpdateStage(int count, int stage) {
  TProgramData& d = *data_;
  if (count < 2) return;
  count = std::min(count, kMaxStages);
  stage = std::clamp(stage, 1, count);
  const int old = d.StageCount;
  try {
    if (old == 1) claimStageFiles();
    const std::map<int, std::string> blocks =
        count == old ? std::map<int, std::string>{{stage, modelBlock(stage, count)}}
                     : stagesFor(count, stage);
    writeStages(blocks, nullptr, kMaxStages);
  } catch (...) {
    if (old == 1) giveUpStaging();
    throw;
  }
  if ((count < old || dropStagesAbove_) && !stagesInMemory_) dropStagesAbove_ = count;
  d.StageCount = count;
  d.CurrentStage = stage;
  d.Modified = true;
}

}  // namespace terraq::ui
