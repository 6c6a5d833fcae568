#pragma once
// Writing a file so that it is either wholly replaced or left as it was: the
// text goes to a temporary file in the target's own folder, which is then
// renamed over the old file. A failed write (disk full, no access) leaves the
// previous file intact.
//
// What the user set up around the file is kept: a file the user cannot write
// is refused, the new file gets the old one's permissions, owner and group,
// a symbolic link is written through (the link stays and its target gets the
// text), and a file with several hard links is rewritten in place so that
// every name keeps seeing it. Temporary files that killed saves of the same
// file left behind are removed.

#include <filesystem>
#include <string_view>

namespace terraq::ui {

// Throws EInOutError with the file's name and the reason.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

}  // namespace terraq::ui
