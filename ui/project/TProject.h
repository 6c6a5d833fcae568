#pragma once
// The windowless project object: the project tables and the TProgramData
// that works on them, with the file side of New, Open, Save, Save As and of
// staged construction. The main window holds one; the terraq command and
// the tests use the same class, so that all of them see the same tables.

#include <filesystem>
#include <memory>

#include "project/TProgramData.h"

namespace terraq::ui {

class TProject {
 public:
  explicit TProject(const TTableLibrary& library = TTableLibrary::Program());

  TProjectTables& Tables() { return tables_; }
  TProgramData& Data() { return *data_; }

  // A new project (defaults, tables reset, English units).
  void New();

  // Opens a data file in a layout (DataLayout). A staged file is read for
  // stage 1 and split into its stage files; the stages of a ".tqd" file are
  // then each read in the 3.0 layout and saved again in the current one,
  // ending with stage 1 loaded. When reading fails the project is a new one
  // and the error (EInOutError, EReadError) is passed on.
  void Open(const std::filesystem::path& file, int layout);

  // Writes the data file under the project's name; a staged project first
  // saves its current stage and then assembles the data file from the stage
  // files. Refuses (std::logic_error) a never-saved project or a ".tqd"
  // name, which the caller turns into Save As.
  void Save();
  // Writes the data file under a new name, which the project takes. A staged
  // project saves its current stage, assembles the new data file from the
  // old name's stage files and copies them to the new name.
  void SaveAs(const std::filesystem::path& file);

  // Switches a staged project to stage k: the current stage is saved to its
  // stage file and stage k's file, when it exists, is loaded. The Modified
  // state is kept. Nothing happens for the current stage.
  void SwitchStage(int stage);
  // Loads stage k-1's file into the model and saves it as stage k's file
  // (k the current stage, 2 or more); the current stage stays k.
  void CopyPreviousStage();
  // Sets the number of stages (1 to 5). The current stage is saved first.
  // One stage: the stage files go and stage 1 is current. A new count of 2
  // or more rewrites the stage files
  // 1..count, a new stage starting as a copy of the last existing one,
  // deletes those above the count, and loads the current stage again (stage
  // 1 when the count fell or staging just began); the project is then
  // Modified.
  void SetStageCount(int count);

 private:
  TProjectTables tables_;
  std::unique_ptr<TProgramData> data_;
};

// Reads a data file of any layout and writes it in the current layout. A
// staged file keeps its stages, each read in the same layout. Throws
// EInOutError or EReadError.
void ConvertDataFile(const std::filesystem::path& input, const std::filesystem::path& output, int layout);

}  // namespace terraq::ui
