#include "project/TProject.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "project/AtomicFile.h"
#include "project/StageFiles.h"
#include "project/TWordReader.h"

namespace terraq::ui {

TProject::TProject(const TTableLibrary& library)
    : tables_(library), data_(std::make_unique<TProgramData>(tables_)) {}

void TProject::New() {
  data_.reset();
  data_ = std::make_unique<TProgramData>(tables_);
}

void TProject::Open(const std::filesystem::path& file, int layout) {
  data_.reset();
  try {
    data_ = std::make_unique<TProgramData>(tables_, file, layout);
    if (data_->StageCount >= 2) {
      const int count = data_->StageCount;
      const int blocks = SplitStagedFile(file);
      const bool older = LayoutForFile(file) == kLayout30;
      if (older || blocks < count) {
        // Older staged files: every stage in the current layout from now on.
        // A file with fewer blocks than its stage count gets the missing
        // stage files as copies of the stage before, as when the count is
        // raised: saving assembles the data file from all of them.
        for (int k = 1; k <= count; ++k) {
          data_->CurrentStage = k;
          if (std::filesystem::exists(StageFileName(file, k)))
            data_->LoadStageBlock(StageFileName(file, k), older ? kLayout30 : kLayoutCurrent);
          data_->SaveStageBlock();
        }
        data_->CurrentStage = 1;
        data_->LoadStageBlock(StageFileName(file, 1));
      }
      data_->ClearModified();
    }
  } catch (...) {
    New();
    throw;
  }
}

void TProject::Save() {
  const std::filesystem::path name = data_->DataFileName;
  if (data_->DataFileName == kNewFileName || LayoutForFile(name) == kLayout30)
    throw std::logic_error("the project needs a new name (Save As)");
  if (data_->StageCount >= 2) {
    data_->SaveStageBlock();
    data_->SaveStaged();
  } else {
    data_->Save();
  }
}

void TProject::SaveAs(const std::filesystem::path& file) {
  if (data_->StageCount < 2) {
    data_->SaveAs(file);
    return;
  }
  const std::filesystem::path old = data_->DataFileName;
  data_->SaveStageBlock();
  std::string text;
  for (int k = 1; k <= data_->StageCount; ++k) text += ReadWholeFile(StageFileName(old, k));
  WriteFileAtomically(file, text);
  if (std::filesystem::absolute(file) != std::filesystem::absolute(old))
    for (int k = 1; k <= data_->StageCount; ++k)
      WriteFileAtomically(StageFileName(file, k), ReadWholeFile(StageFileName(old, k)));
  data_->DataFileName = file.string();
  data_->ClearModified();
}

void TProject::SwitchStage(int stage) {
  if (stage == data_->CurrentStage || stage < 1 || stage > data_->StageCount) return;
  const bool modified = data_->IsModified();
  data_->SaveStageBlock();
  data_->CurrentStage = stage;
  const std::filesystem::path file = StageFileName(data_->DataFileName, stage);
  if (std::filesystem::exists(file)) data_->LoadStageBlock(file);
  if (modified) data_->Modified = true;
  else data_->ClearModified();
}

void TProject::CopyPreviousStage() {
  const int stage = data_->CurrentStage;
  if (stage < 2) return;
  const std::filesystem::path previous = StageFileName(data_->DataFileName, stage - 1);
  if (std::filesystem::exists(previous)) data_->LoadStageBlock(previous);
  data_->SaveStageBlock();
}

void TProject::SetStageCount(int count) {
  count = std::clamp(count, 1, kMaxStages);
  const int old = data_->StageCount;
  // The edits of the current stage go to its file first, as a stage switch
  // does: the stage files are read back below.
  if (old >= 2 && count != old) data_->SaveStageBlock();
  data_->StageCount = count;
  if (count == 1 || old == 1 || count < old) data_->CurrentStage = 1;
  if (count == 1) {
    DeleteStageFiles(data_->DataFileName, 1, kMaxStages);
    return;
  }
  if (count == old) return;
  const int current = data_->CurrentStage;
  for (int k = 1; k <= count; ++k) {
    data_->CurrentStage = k;
    const std::filesystem::path file = StageFileName(data_->DataFileName, k);
    if (std::filesystem::exists(file)) data_->LoadStageBlock(file);
    data_->StageCount = count;  // a stage file may carry the old count
    data_->SaveStageBlock();
  }
  data_->CurrentStage = current;
  data_->LoadStageBlock(StageFileName(data_->DataFileName, current));
  data_->StageCount = count;
  data_->Modified = true;
  DeleteStageFiles(data_->DataFileName, count + 1, kMaxStages);
}

void ConvertDataFile(const std::filesystem::path& input, const std::filesystem::path& output, int layout) {
  TProjectTables tables;
  TProgramData data(tables, input, layout);
  if (data.StageCount < 2) {
    data.SaveAs(output);
    return;
  }
  const std::vector<std::string> blocks = SplitStageBlocks(ReadWholeFile(input));
  if (static_cast<int>(blocks.size()) > kMaxStages)
    throw EReadError(input.string() + " holds " + std::to_string(blocks.size()) + " stages; at most " +
                     std::to_string(kMaxStages) + " are possible.");
  std::string text;
  for (size_t k = 0; k < blocks.size(); ++k) {
    data.CurrentStage = static_cast<int>(k) + 1;
    data.LoadStageBlockText(blocks[k], layout);
    text += data.StageBlockText(data.CurrentStage);
  }
  WriteFileAtomically(output, text);
}

}  // namespace terraq::ui
