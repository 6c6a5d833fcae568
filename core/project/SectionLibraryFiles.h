#pragma once
// Where the section library's files live: the shipped library among the
// program's data files (sections/sections.txt beside the executable, or in
// the installed data folder), and the engineer's own sections in
// $XDG_CONFIG_HOME/terraq/sections.txt (~/.config/terraq/ when unset).

#include <filesystem>
#include <optional>
#include <string>

#include "Sections.h"

namespace terraq::ui {

// The shipped library; empty when the installation has none.
std::filesystem::path ShippedSectionLibraryPath();
// The user's file, whether or not it exists; empty when neither
// XDG_CONFIG_HOME nor HOME is set.
std::filesystem::path UserSectionLibraryPath();

// Both files read, the user's rows replacing shipped rows of the same name.
// Nullopt with `error` ("FILE line N: why", or the shipped file missing).
std::optional<design::SectionLibrary> LoadProgramSectionLibrary(std::string& error);

}  // namespace terraq::ui
