#pragma once
// The small rules of the main window's commands, kept apart from the widgets
// so that they can be checked without a display: the window caption, file
// names chosen in the open and save dialogs, the dialog filters, the name a
// command-line argument stands for.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProgramBasics.h"  // the title, the version and DialogFilter

namespace terraq::ui {

inline constexpr const char* kProductDescription = "A program for the analysis of flexible retaining structures";
// The release this program is; the version number spells the same date.
inline constexpr int kReleaseYear = 2013;
inline constexpr int kReleaseMonth = 4;
inline constexpr int kReleaseDay = 7;

// The filter of the open and save dialogs, in its stored form: pairs of a
// description and ";"-separated patterns, all separated by "|". Its order
// decides the layout a file is read with (LayoutForFilterIndex).
inline constexpr const char* kDataFileFilter =
    "Terraq 2013 (*.tq4d)|*.tq4d|Terraq 3.0 (*.tqd)|*.tqd|Terraq 2.0 (*.tqd)|*.tqd|All Files (*.*)|*.*";

// "TERRAQ 2013.4.7 - " and the data file's name without its folder; a name
// with the extension ".tqd" (in any case) is cut at its first "."; the first
// letter is upper-cased when the name has more than one character.
std::string MainCaption(std::string_view dataFileName);

// The layout (DataLayout) of a file chosen with the open dialog's file type
// number `index` (0-based, in kDataFileFilter's order): 2013 the current
// layout, 3.0 the 3.0 layout, 2.0 and All Files the 2.0 layout.
int LayoutForFilterIndex(int index);

// The name a project takes from the Save As dialog: a name without an
// extension gets ".tq4d"; the extension ".tqd" (older layouts, never
// written) becomes ".tq4d".
std::string SaveAsName(std::string_view chosen);
// The name suggested by the Save As dialog: the current one, with ".tq4d"
// in place of ".tqd".
std::string SuggestedSaveName(std::string_view current);

// The data file a command-line argument names: ".tq4d" is appended when the
// file name has no "." (a dot in a folder name does not count).
std::string CommandLineDataFile(std::string_view argument);

// True when the data file has the extension of one of the engine's output
// files (.tq4o, .tq4p, .tq4r, in any case): a run would overwrite it.
bool HasOutputExtension(std::string_view dataFileName);

// Why a file dropped on the window cannot be a data file, "" when it may be
// one: a folder, a result file of a run (by its extension), a picture or a
// document (by its extension), or a file that is not text (a NUL byte among
// its first 4 KB). A text file of another kind is left to the reader, whose
// message says where it fails.
std::string DroppedFileRefusal(const std::filesystem::path& file);

// Stage numbers (ascending) as a sentence's subject: "Stage 3", "Stages 2–4"
// for a run, "Stages 1 and 3", "Stages 1, 3 and 4".
std::string StageListText(const std::vector<int>& stages);

// The release date as month/day/two-digit year ("04/07/13").
std::string ReleaseDateMonthDayYear();

// The caption of recent-file item `number` (1..10): the number, a space and
// the path, with `currentDirectory` and its separator taken off the front
// when the path lies in it.
std::string RecentFileCaption(int number, std::string_view path, std::string_view currentDirectory);

}  // namespace terraq::ui
