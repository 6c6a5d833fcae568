#pragma once
// The windowless project object: the project tables and the TProgramData
// that works on them, the members of the project file beside the data file
// (ProjectMembers.h), with the file side of New, Open, Save, Save As and of
// staged construction (TProjectStages.cpp). The main window holds one; the
// terraq command and the tests use the same class, so that all of them see
// the same tables and the same members.

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "project/ProjectMembers.h"
#include "project/StageFiles.h"
#include "project/StageLock.h"
#include "project/TProgramData.h"
#include "project/TWordReader.h"

namespace terraq::ui {

class TProject {
 public:
  explicit TProject(const TTableLibrary& library = TTableLibrary::Program());

  TProjectTables& Tables() { return tables_; }
  TProgramData& Data() { return *data_; }
  // The section, design situations, construction sequence and design
  // record of the project, as read with it and as edited since; saved
  // beside the data file by SaveMembers.
  ProjectMembers& Members() { return members_; }
  const ProjectMembers& Members() const { return members_; }

  // A new project (defaults, tables reset, English units, no members).
  void New();

  // Opens a data file in a layout (DataLayout). A staged file has every
  // stage block checked first (their number, their stage counts, their
  // records); it is then read for stage 1, its stages held. The stages of a
  // file read in the 3.0 layout are converted to the current one on the
  // way. Opening writes nothing: the stage files follow with the first
  // change that writes a stage or the project. When the stage files cannot
  // be this window's (their folder cannot be written, another window holds
  // them, or the data file bears the name of one of them) the project is
  // opened read-only: its stages are kept here and no file of its name is
  // written (see ReadOnlyReason). A file that is not a regular file (a
  // pipe, a device) is refused. When reading fails the project is a new one
  // and the error (EInOutError, EReadError) is passed on. A file holding
  // more than a project can (TProgramData::NotKept, a stage block with a
  // further problem) is refused (EMoreThanAProject, EReadError) saying what
  // would be lost. Once the data file is read, the members of the project
  // file beside it are (ReadProjectMembers): one that cannot be used gives
  // the project without them, and ProjectFileFault says why.
  void Open(const std::filesystem::path& file, int layout);
  // Why the project file was not used whole by the last Open.
  const MembersFault& ProjectFileFault() const { return membersFault_; }

  // Why the staged project is read-only ("" when it is not): Save is
  // refused, Save As to another name writes it.
  const std::string& ReadOnlyReason() const { return readOnlyReason_; }
  bool ReadOnly() const { return !readOnlyReason_.empty(); }

  // The data file's text as Save writes it: a staged project's stages
  // assembled, the current one as edited (EInOutError when a stage file
  // cannot be read). What the windows that analyse the whole project in
  // memory analyse.
  std::string DataText() const;
  // Writes the data file under the project's name; a staged project writes
  // its current stage's file and the data file assembled from the stage
  // files together, or neither. Stage files that SetStageCount left behind
  // are deleted once the data file no longer names them. Refuses (std::logic_error) a never-saved
  // project or a ".tqd" name, which the caller turns into Save As, and
  // (EInOutError) a read-only project.
  void Save();
  // Writes the data file under a new name, which the project takes. A staged
  // project writes the new data file, assembled from its stages with the
  // current one as edited, and the new name's stage files. A name that is
  // one of its own stage files is refused (EInOutError).
  void SaveAs(const std::filesystem::path& file);
  // Keeps the members in the project file beside the data file just saved
  // (SaveProjectMembers): what could not be saved, one line each.
  std::vector<std::string> SaveMembers() const;

  // Loads the current stage again from its stage file (after it was edited
  // outside the program); the Modified state is kept. Nothing happens for a
  // project of one stage or one whose stages are held in memory.
  void ReloadCurrentStage();
  // The files this project was read from and writes: the data file and, for
  // a staged project whose stages are files, the stage files 1..count.
  std::vector<std::filesystem::path> Files() const;

  // Writes the current stage to its stage file ("Update Current Stage");
  // the Modified state is kept.
  void SaveCurrentStage();
  // Switches a staged project to stage k: the current stage is saved to its
  // stage file and stage k's file, when it exists, is loaded. The Modified
  // state is kept. Nothing happens for the current stage. A stage file that
  // cannot be written or read leaves the project on its stage, unchanged.
  void SwitchStage(int stage);
  // Loads stage k-1's file into the model and saves it as stage k's file
  // (k the current stage, 2 or more); the current stage stays k and the
  // project is Modified.
  void CopyPreviousStage();
  // Sets the number of stages (1 to 5). One stage: the model (the current
  // stage) is the project and stage 1 is current. A new count of 2 or more
  // rewrites the stage files 1..count (the current stage as edited; a new
  // stage starts as a copy of the last existing one; when staging begins
  // every stage is the model) and loads stage 1 when the count fell or
  // staging just began. The project is then Modified. Stage files no longer
  // used stay on disk, beside the data file that still names them, until
  // the project is saved (see Save): until then nothing entered for them is
  // lost. A stage file that cannot be read or written leaves every file and
  // the model as they were.
  void SetStageCount(int count);
  // The stages that SetStageCount(count) drops from the project, in order:
  // those above the count, or every stage but the current one when staging
  // ends; none when the count does not fall.
  std::vector<int> StagesDroppedBy(int count) const;
  // The Update button of the staged-construction dialog: the model becomes
  // stage `stage` of `count` stages (2 to 5) and is written as its block;
  // the other stages are rewritten for the count as SetStageCount does, and
  // stages above the count stay until the count is set. The project is then
  // Modified. Nothing happens for a count below 2.
  void UpdateStage(int count, int stage);

 private:
  // Stage k's block: held here for a read-only project, else its file
  // (none when the file does not exist). Throws EInOutError.
  std::optional<std::string> stageText(int stage) const;
  // Replaces stage blocks (and the data file, when `dataText` is given) all
  // together, and removes the stages above `keep`.
  void writeStages(const std::map<int, std::string>& blocks, const std::string* dataText, int keep);
  // The blocks of every stage 1..count, stage `modelStage` being the model.
  std::map<int, std::string> stagesFor(int count, int modelStage) const;
  // Takes the lock of the stage files for staging to begin; throws
  // EInOutError when they cannot be this project's.
  void claimStageFiles();
  void forgetStages();
  // Staging that was to begin does not: the lock and the held stages go.
  void giveUpStaging();

  TProjectTables tables_;
  std::unique_ptr<TProgramData> data_;
  ProjectMembers members_;
  MembersFault membersFault_;
  // The current model as stage `stage` of `count` stages.
  std::string modelBlock(int stage, int count) const;
  // Stage k's block, which must exist. Throws EInOutError.
  std::string requiredStageText(int stage) const;

  TStageLock lock_;
  std::string readOnlyReason_;
  // The stages are held here rather than in stage files: a read-only
  // project, or one that has no name yet (its stage files are written when
  // it is saved under one).
  bool stagesInMemory_ = false;
  // The held stages are this project's (it holds their lock) but not yet in
  // their files: opening writes nothing, and the first write of a stage or
  // of the project puts all of them there.
  bool stageFilesPending_ = false;
  std::array<std::optional<std::string>, kMaxStages> held_;
  // Stage files above this number are no longer the project's; the next
  // save under the project's name deletes them (0: all of them). The lock
  // stays held until then, so that no other window takes them meanwhile.
  std::optional<int> dropStagesAbove_;
  void dropLeftStageFiles();
};

// A data file that reads, but holds more than a project can (see
// TProgramData::NotKept): refused by Open and by conversion.
class EMoreThanAProject : public EReadError {
 public:
  using EReadError::EReadError;
};

// Reads a data file of any layout and writes it in the current layout. A
// staged file keeps its stages, each read in the same layout; one whose
// blocks disagree with its stage count is refused, and so is a file that
// holds more than a project can (TProgramData::NotKept, a stage block with
// a further problem): nothing is written then. Throws EInOutError or
// EReadError.
void ConvertDataFile(const std::filesystem::path& input, const std::filesystem::path& output, int layout);

// Reads a data file as Open would (a staged file's every stage block
// included) into tables of its own, touching no project and no file; throws
// what Open would. Checking a file this way first lets a window keep the
// project it has when the file cannot be read.
void CheckDataFile(const std::filesystem::path& file, int layout);

}  // namespace terraq::ui
