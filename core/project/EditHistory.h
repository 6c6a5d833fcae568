#pragma once
// The edit history of the open project, for Undo and Redo. Each step holds
// the whole project as it stood after an edit (its tables, its values and
// the members of the project file), with the edit's name ("Edit Wall
// Stiffness", "Apply Wall Length"); undoing puts the step before it back.
// Whole states rather than inverse operations: every kind of edit (a cell,
// a dialog, a window's member, a design's Apply) is undone by the same
// code, and an edit whose window forgot to say what it changed cannot leave
// the history inconsistent.
//
// A step is recorded only when the project differs from the step before as
// the files would keep it (the data text and the project file's members,
// ProjectState::StoredText): a dialog stored without a change, or a table
// window left, records nothing. The saved point follows Save: undoing back
// to it makes the project unchanged again (not Modified), redoing or
// editing away from it changed. Opening or creating a project starts the
// history anew.
//
// Nothing here writes a file: states are held in memory and put back into
// the project's tables, values and members. The data file's name and the
// stages are the project's, not an edit's, and stay as they are; a change
// of stages (which writes stage files) starts the history anew.
//
// Bounded: at most `maxSteps` undo steps and about `maxBytes` of states; the
// oldest go first. Not thread-safe: one history per project, used by the
// thread that edits it.

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "project/TProject.h"

namespace terraq::ui {

// One state of a project, taken from it and put back into it.
class ProjectState {
 public:
  // The project as it stands, tables of options that are off and option
  // switches without rows included (the data text alone would drop them).
  // Changes nothing of the project.
  explicit ProjectState(TProject& project);

  // Puts the tables, values and members back; the data file's name and the
  // stage count and number stay the project's. Writes no file. The Modified
  // state is left to the caller.
  void RestoreInto(TProject& project) const;

  // The state as the files would keep it: the data text, the option
  // switches and the project file's members. Two states with the same text
  // are the same project.
  const std::string& StoredText() const { return stored_; }
  // A rough measure of the memory held, for the history's bound.
  size_t Bytes() const { return 3 * stored_.size(); }

 private:
  struct Copy;
  std::shared_ptr<const Copy> copy_;
  std::string stored_;
};

class EditHistory {
 public:
  static constexpr size_t kMaxSteps = 100;
  static constexpr size_t kMaxBytes = size_t{64} << 20;

  explicit EditHistory(size_t maxSteps = kMaxSteps, size_t maxBytes = kMaxBytes);

  // Starts anew from the project as it stands, which is its saved state:
  // nothing to undo or redo.
  void Reset(TProject& project);
  // Records the edit `name` that left the project as it stands now. False,
  // recording nothing, when the project is the same as the current step.
  // The steps that could be redone are dropped (and with them a saved point
  // among them).
  bool Record(const std::string& name, TProject& project);

  bool CanUndo() const { return current_ > 0; }
  bool CanRedo() const { return current_ + 1 < entries_.size(); }
  // The name of the edit Undo takes back, or Redo makes again ("" when
  // there is none).
  std::string UndoName() const;
  std::string RedoName() const;
  // Puts the state before the last edit (after the next one) back into the
  // project, Modified unless it is the saved state. False, changing
  // nothing, when there is nothing to undo (redo).
  bool Undo(TProject& project);
  bool Redo(TProject& project);

  // The project as it stands was just saved: it becomes the current step
  // (saving may tidy the tables) and the saved point.
  void MarkSaved(TProject& project);
  // The current step is the saved state.
  bool AtSavedState() const { return saved_ == current_; }
  // The number of steps that can be undone.
  size_t UndoSteps() const { return current_; }

 private:
  struct Entry {
    std::string name;  // the edit that led to this state ("" for the first)
    ProjectState state;
  };
  void restore(TProject& project) const;
  void trim();

  size_t maxSteps_;
  size_t maxBytes_;
  std::deque<Entry> entries_;
  size_t current_ = 0;
  std::optional<size_t> saved_;  // none: the saved state was dropped
};

}  // namespace terraq::ui
