#pragma once
// Lower case of ASCII letters only. File extensions, keywords of entries
// and command-line names compare without regard to case; the user's locale
// must not change what they mean, so std::tolower is not used.

#include <string>
#include <string_view>

namespace terraq::ui {

inline std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace terraq::ui
