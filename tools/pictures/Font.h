#pragma once
// A 5-dot-wide bitmap font for the labels of the pictures. Capitals and
// digits are 7 dots high; descenders (g j p q y , and the Greek beta) reach
// 2 dots below. Spacing is proportional: each glyph advances by its own
// inked width plus one dot.

#include <string>
#include <vector>

namespace pictures {

struct Glyph {
  std::vector<std::string> rows;  // '#' inked, '.' empty; row 0 is the top of the capitals
  int left = 0;                   // first and last inked column
  int right = -1;
  int advance() const { return right < left ? 3 : right - left + 2; }
};

// The glyph of a character (a Unicode code point), or of '?' when the font
// lacks it.
const Glyph& GlyphFor(char32_t codePoint);

// Decodes UTF-8 text into code points (only what the labels use: ASCII and
// two-byte sequences such as the degree sign and beta).
std::u32string DecodeUtf8(const std::string& text);

}  // namespace pictures
