#pragma once
// Writing a file so that it is either wholly replaced or left as it was: the
// text goes to a temporary file in the same folder, which is then renamed
// over the old file. A failed write (disk full, no access) leaves the
// previous file intact.

#include <filesystem>
#include <string_view>

namespace terraq::ui {

// Throws EInOutError with the file's name and the system's reason.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

}  // namespace terraq::ui
