#pragma once
// The stage files of a staged-construction project: one stage block per
// stage beside the data file (wall.st1 .. wall.st5 for wall.tq4d), while the
// data file handed to the engine is their concatenation in stage order.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace terraq::ui {

inline constexpr int kMaxStages = 5;
// The text that starts the block of stages 2 to 5.
inline constexpr std::string_view kStageMarker = " Stage No :";

// The data file's path with the extension ".st" followed by the stage.
std::filesystem::path StageFileName(const std::filesystem::path& dataFile, int stage);

// The blocks of a staged data file: a line that contains " Stage No :"
// starts a new block; the first runs from the first line to the line before
// the first marker. Each block keeps its lines, with CR LF line ends.
std::vector<std::string> SplitStageBlocks(std::string_view text);

// Splits a staged data file into its stage files (deleting stage files 1 to
// 5 of that name first) and returns the number of blocks. Throws
// EInOutError when a file cannot be read or written, and EReadError when the
// file holds more than 5 stages (no stage file is written then).
int SplitStagedFile(const std::filesystem::path& dataFile);

// Deletes the stage files of the given stages (missing ones are fine).
void DeleteStageFiles(const std::filesystem::path& dataFile, int fromStage, int toStage);

// The data file is one of its own stage files or their lock file (wall.st3):
// writing the stage files would overwrite it.
bool IsOwnStageFile(const std::filesystem::path& dataFile);

// The stage blocks of a staged data file of `stages` stages, each checked
// before any of them is used: the file holds exactly that many blocks, each
// block's control line declares the same number of stages, and every block
// reads in `layout`. Throws EReadError naming the stage and the line of
// `file` where the fault is.
std::vector<std::string> CheckedStageBlocks(const std::filesystem::path& file, std::string_view text, int stages,
                                            int layout);

// A stage block rewritten as stage `stage` of `stages` stages, in the
// current layout: read in `layout` into a project of its own, and written
// again. Throws EReadError.
std::string StageBlockAs(const std::string& block, int stage, int stages, int layout = 1);

}  // namespace terraq::ui
