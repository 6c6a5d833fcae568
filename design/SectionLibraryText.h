#pragma once
// What the section library's reader (SectionLibraryText.cpp) shares with
// the library's look-ups and loading (Sections.cpp): how names compare and
// how a dimension is read. Internal to the design library.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace terraq::design::library_text {

// A library file larger than this is no section library (10 MB).
constexpr size_t kMaxFileBytes = 10u * 1024u * 1024u;

// The name upper-cased without blanks: names are found ignoring both.
std::string Normalised(std::string_view name);

// The word as a finite number above zero, else nullopt.
std::optional<double> PositiveNumber(const std::string& word);

}  // namespace terraq::design::library_text
