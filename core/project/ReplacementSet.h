#pragma once
// Replacing several files as one: the report, plot file and monitor of a
// run, or a staged project's data file and stage file, belong together, and
// a failure or a kill between their renames must not leave new files beside
// old ones that nothing tells apart from one set.
//
// Before the first target is touched, the previous version of every target
// is kept beside it (".<name>.previous": a second link to the old file, or a
// copy of the text of one rewritten in place) and a journal beside the first
// target (".<name>.set") lists them, both on the disk. The journal goes once
// every target is in place, and then the previous versions. A failure part
// way restores the previous versions at once; after a kill, the next set
// replacement of the same first file (a save, a run of the data file)
// finds the journal and restores them (RecoverInterruptedSet), so that the
// files are again all of the earlier set.

#include <filesystem>
#include <vector>

#include "project/AtomicFile.h"

namespace terraq::ui {

// Puts every replacement (not yet replaced) in its target's place, as one:
// all of them, or (EFileWriteError) none. The first one names the journal.
void ReplaceAsOneSet(const std::vector<ReplacementFile*>& files);

// Restores the previous versions of a set replacement whose first file is
// `first` (links followed as for writing) that a kill interrupted; nothing
// when there is none, or when the journal is not a plain file of this
// user's. Throws EFileWriteError when a previous version cannot be put back.
void RecoverInterruptedSet(const std::filesystem::path& first);

// A journal of ours beside `first` (links followed as for writing) says
// that a set replacement was interrupted, or is under way in another
// process. Never throws: a link that is not followed has no journal.
bool InterruptedSetPending(const std::filesystem::path& first);

}  // namespace terraq::ui
