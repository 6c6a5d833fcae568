#include "project/TProject.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "project/AtomicFile.h"
#include "project/TWordReader.h"

namespace terraq::ui {

namespace fs = std::filesystem;

namespace {

bool sameFile(const fs::path& a, const fs::path& b) {
  return fs::absolute(a).lexically_normal() == fs::absolute(b).lexically_normal();
}

std::string readOnlyMessage(const fs::path& file, const std::string& reason) {
  return file.filename().string() + " is open read-only: " + reason +
         ". Save it under another name to keep the changes.";
}

// The files a project keeps beside its data file: the data file, its stage
// files, its outputs and the project file. Saves of any of them that were
// killed left temporary files that nothing else would remove.
std::vector<fs::path> filesBeside(const fs::path& file) {
  std::vector<fs::path> files{file};
  for (int k = 1; k <= kMaxStages; ++k) files.push_back(StageFileName(file, k));
  for (const char* extension : {".tq4o", ".tq4p", ".tq4r"})
    files.push_back(fs::path(file).replace_extension(extension));
  files.push_back(fs::path(file).replace_filename(file.stem().string() + ".terraq.json"));
  return files;
}

// Why the stage files of `file` could not be this project's, found without
// writing them; empty when they can be.
std::string stageFilesUnwritable(const fs::path& file, int count) {
  for (int k = 1; k <= count; ++k) {
    const fs::path stage = StageFileName(file, k);
    try {
      RefuseSameFiles({{stage, "a stage file"}}, {{file, "the data file"}});
      const fs::path target = ResolveForWriting(stage);
      std::error_code ec;
      const fs::file_status status = fs::status(target, ec);
      if (!fs::exists(status)) continue;
      if (fs::is_directory(status)) throw EFileWriteError(stage, std::strerror(EISDIR));
      if (!fs::is_regular_file(status)) throw EFileWriteError(stage, "it is not a regular file");
      if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        throw EFileWriteError(stage, "the file is read-only");
    } catch (const EFileWriteError& e) {
      return std::string("its stage files cannot be written (") + e.what() + ")";
    }
  }
  return {};
}

// The data file of a staged project: its stage blocks in order, each line
// ended by CR LF whatever the block held.
std::string assemble(const std::vector<std::string>& blocks) {
  std::string text;
  for (const std::string& block : blocks)
    for (const std::string& line : SplitTextLines(block)) text += line + "\r\n";
  return text;
}

// A file the project cannot hold whole is not taken: saving or converting
// it would lose what the project left out.
void refuseNotKept(const TProgramData& data, const fs::path& file) {
  if (!data.NotKept.empty())
    throw EMoreThanAProject(file.filename().string() + " holds more than a project can.\n" +
                            data.NotKept);
}

}  // namespace

TProject::TProject(const TTableLibrary& library)
    : tables_(library), data_(std::make_unique<TProgramData>(tables_)) {}

void TProject::forgetStages() {
  lock_.Release();
  readOnlyReason_.clear();
  stagesInMemory_ = false;
  stageFilesPending_ = false;
  held_ = {};
  dropStagesAbove_.reset();
}

void TProject::giveUpStaging() {
  lock_.Release();
  stagesInMemory_ = ReadOnly();
  stageFilesPending_ = false;
  held_ = {};
}

void TProject::New() {
  forgetStages();
  members_ = {};
  membersFault_ = {};
  data_.reset();
  data_ = std::make_unique<TProgramData>(tables_);
}

std::optional<std::string> TProject::stageText(int stage) const {
  if (stagesInMemory_) return held_[static_cast<size_t>(stage) - 1];
  const fs::path file = StageFileName(data_->DataFileName, stage);
  std::error_code ec;
  if (!fs::exists(file, ec)) return std::nullopt;
  return ReadWholeFile(file);
}

std::string TProject::requiredStageText(int stage) const {
  if (std::optional<std::string> text = stageText(stage)) return *text;
  if (stagesInMemory_) throw EInOutError("Stage " + std::to_string(stage) + " has no data.");
  return ReadWholeFile(StageFileName(data_->DataFileName, stage));  // says why it cannot be opened
}

std::string TProject::modelBlock(int stage, int count) const {
  const int held = data_->StageCount;
  data_->StageCount = count;
  std::string text = data_->StageBlockText(stage);
  data_->StageCount = held;
  return text;
}

void TProject::writeStages(const std::map<int, std::string>& blocks, const std::string* dataText, int keep) {
  std::array<std::optional<std::string>, kMaxStages> held = held_;
  for (const auto& [stage, text] : blocks) held[static_cast<size_t>(stage) - 1] = text;
  for (int k = keep + 1; k <= kMaxStages; ++k) held[static_cast<size_t>(k) - 1].reset();
  if (stagesInMemory_ && !stageFilesPending_) {
    held_ = held;
    return;
  }
  const fs::path name = data_->DataFileName;
  // The data file goes first: it names the set's journal.
  std::vector<TFileText> files;
  if (dataText) files.push_back({name, *dataText});
  if (stageFilesPending_) {
    // The first write of an opened project: every stage goes to its file.
    for (int k = 1; k <= kMaxStages; ++k)
      if (const auto& block = held[static_cast<size_t>(k) - 1])
        files.push_back({StageFileName(name, k), *block});
  } else {
    for (const auto& [stage, text] : blocks) files.push_back({StageFileName(name, stage), text});
  }
  std::vector<TFileRole> kept;
  if (!dataText) kept.push_back({name, "the project's data file"});
  WriteFilesAtomically(files, kept);
  DeleteStageFiles(name, keep + 1, kMaxStages);
  if (stageFilesPending_) {
    stageFilesPending_ = false;
    stagesInMemory_ = false;
    held_ = {};
  }
}

void TProject::Open(const fs::path& file, int layout) {
  forgetStages();
  members_ = {};
  membersFault_ = {};
  data_.reset();
  try {
    try {
      // A save of this file that a kill interrupted is completed first.
      CompleteInterruptedRewrite(file);
    } catch (const EFileWriteError&) {
      // Not ours to complete (a link not followed, a folder we may not
      // write): the file is read as it stands.
    }
    RemoveKilledSaves(filesBeside(file));
    data_ = std::make_unique<TProgramData>(tables_, file, layout);
    refuseNotKept(*data_, file);
    if (data_->StageCount >= 2) {
      const int count = data_->StageCount;
      // Every block is checked before anything is split: a fault found on
      // switching to a stage later would leave the window between stages.
      std::vector<std::string> blocks = CheckedStageBlocks(file, ReadWholeFile(file), count, layout);
      std::map<int, std::string> stages;
      for (int k = 1; k <= count; ++k) {
        std::string& block = blocks[static_cast<size_t>(k) - 1];
        // Older files: every stage in the current layout from now on.
        if (layout != kLayoutCurrent) block = StageBlockAs(block, k, count, layout);
        stages[k] = block;
      }
      if (layout != kLayoutCurrent) data_->LoadStageBlockText(blocks.front());

      std::string reason;
      if (IsOwnStageFile(file)) {
        reason = "its name is that of one of its own stage files";
      } else {
        switch (lock_.Acquire(file)) {
          case TStageLock::Result::HeldElsewhere: reason = "its stage files are in use by another window"; break;
          case TStageLock::Result::NotWritable: reason = "its folder cannot be written"; break;
          case TStageLock::Result::Locked: break;
        }
      }
      if (reason.empty()) {
        reason = stageFilesUnwritable(file, count);
        if (!reason.empty()) lock_.Release();
      }
      // Opening writes nothing: the stages are held here, and go to their
      // files with the first change that writes a stage or the project.
      readOnlyReason_ = reason;
      stagesInMemory_ = true;
      writeStages(stages, nullptr, count);
      stageFilesPending_ = reason.empty();
      data_->CurrentStage = 1;
      data_->StageCount = count;
      data_->ClearModified();
    }
  } catch (...) {
    New();
    throw;
  }
  members_ = ReadProjectMembers(file, data_->Units, membersFault_);
}

std::string TProject::DataText() const {
  const int count = data_->StageCount;
  if (count < 2) return data_->DataFileText();
  std::vector<std::string> blocks;
  for (int k = 1; k <= count; ++k)
    blocks.push_back(k == data_->CurrentStage ? modelBlock(k, count) : requiredStageText(k));
  return assemble(blocks);
}

void TProject::Save() {
  const fs::path name = data_->DataFileName;
  if (data_->DataFileName == kNewFileName || LayoutForFile(name) == kLayout30)
    throw std::logic_error("the project needs a new name (Save As)");
  if (ReadOnly()) throw EInOutError(readOnlyMessage(name, readOnlyReason_));
  if (data_->StageCount < 2) {
    data_->Save();
    dropLeftStageFiles();
    return;
  }
  const int count = data_->StageCount;
  const int current = data_->CurrentStage;
  const std::string block = modelBlock(current, count);
  std::vector<std::string> blocks;
  for (int k = 1; k <= count; ++k) blocks.push_back(k == current ? block : requiredStageText(k));
  const std::string text = assemble(blocks);
  // The current stage's file and the data file change together or not at
  // all.
  writeStages({{current, block}}, &text, kMaxStages);
  dropLeftStageFiles();
  data_->ClearModified();
}

std::vector<std::string> TProject::SaveMembers() const {
  return SaveProjectMembers(data_->DataFileName, members_, data_->Units);
}

void TProject::dropLeftStageFiles() {
  if (!dropStagesAbove_) return;
  // The data file just written no longer names them.
  DeleteStageFiles(data_->DataFileName, *dropStagesAbove_ + 1, kMaxStages);
  dropStagesAbove_.reset();
  if (data_->StageCount < 2) lock_.Release();
}

std::vector<fs::path> TProject::Files() const {
  std::vector<fs::path> files;
  if (data_->DataFileName == kNewFileName) return files;
  files.emplace_back(data_->DataFileName);
  if (data_->StageCount >= 2 && !stagesInMemory_)
    for (int k = 1; k <= data_->StageCount; ++k)
      files.push_back(StageFileName(data_->DataFileName, k));
  return files;
}

void TProject::SaveAs(const fs::path& file) {
  const fs::path old = data_->DataFileName;
  const bool same = old != kNewFileName && sameFile(file, old);
  if (same && ReadOnly()) throw EInOutError(readOnlyMessage(old, readOnlyReason_));
  if (data_->StageCount < 2) {
    data_->SaveAs(file);
    if (same) dropLeftStageFiles();
    else forgetStages();
    return;
  }
  if (same) {
    Save();
    return;
  }
  if (IsOwnStageFile(file))
    throw EInOutError(file.filename().string() +
                      " is the name of one of its own stage files; choose a name with the extension .tq4d.");
  for (int k = 1; k <= kMaxStages; ++k)
    if (old != kNewFileName && sameFile(StageFileName(file, k), old))
      throw EInOutError("Saving as " + file.filename().string() + " would write a stage file over " +
                        old.filename().string() + ", the file this project was read from; choose another name.");
  // A name of the same base shares the stage files (wall.tq4d and wall.dat):
  // the lock this project holds on them stays.
  const bool sameStageFiles = lock_.Held() && sameFile(StageLockFileName(file), StageLockFileName(old));
  TStageLock lock;
  if (!sameStageFiles && lock.Acquire(file) == TStageLock::Result::HeldElsewhere)
    throw EInOutError("The stage files of " + file.string() + " are in use by another window.");
  const int count = data_->StageCount;
  const int current = data_->CurrentStage;
  std::vector<std::string> blocks;
  for (int k = 1; k <= count; ++k) blocks.push_back(k == current ? modelBlock(k, count) : requiredStageText(k));
  // The new data file and its stage files, all together; the old name's
  // files stay as they were.
  std::vector<TFileText> files{{file, assemble(blocks)}};
  for (int k = 1; k <= count; ++k) files.push_back({StageFileName(file, k), blocks[static_cast<size_t>(k) - 1]});
  std::vector<TFileRole> kept;
  if (old != kNewFileName) kept.push_back({old, "the file this project was read from"});
  WriteFilesAtomically(files, kept);
  DeleteStageFiles(file, count + 1, kMaxStages);
  if (sameStageFiles) lock = std::move(lock_);
  forgetStages();
  lock_ = std::move(lock);
  data_->DataFileName = file.string();
  data_->ClearModified();
}

void CheckDataFile(const fs::path& file, int layout) {
  TProjectTables tables;
  TProgramData data(tables, file, layout);
  if (data.StageCount >= 2) CheckedStageBlocks(file, ReadWholeFile(file), data.StageCount, layout);
}

void ConvertDataFile(const fs::path& input, const fs::path& output, int layout) {
  RefuseSameFiles({{output, "the converted file"}}, {{input, "the file converted"}});
  TProjectTables tables;
  TProgramData data(tables, input, layout);
  refuseNotKept(data, input);
  if (data.StageCount < 2) {
    data.SaveAs(output);
    return;
  }
  const int count = data.StageCount;
  const std::vector<std::string> blocks = CheckedStageBlocks(input, ReadWholeFile(input), count, layout);
  std::vector<std::string> converted;
  for (int k = 1; k <= count; ++k)
    converted.push_back(StageBlockAs(blocks[static_cast<size_t>(k) - 1], k, count, layout));
  WriteFileAtomically(output, assemble(converted));
}

}  // namespace terraq::ui
