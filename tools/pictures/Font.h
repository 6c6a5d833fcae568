#pragma once
// The typeface of the picture labels: Liberation Sans (the sans-serif face
// the program's dialogs sit beside), rasterised by FreeType into
// anti-aliased coverage masks. The font file is looked for in the usual
// system folder; PICTURE_FONT names another one.

#include <functional>
#include <string>

namespace pictures {

// One rendered glyph: `coverage` holds rows of 0 (none) to 255 (full ink),
// `pitch` bytes apart; its top-left pixel sits at (penX + left, baseline - top).
struct GlyphMask {
  int left, top, width, rows, pitch;
  const unsigned char* coverage;
};

class Font {
 public:
  // The face, loaded on first use; throws std::runtime_error when the font
  // file cannot be read.
  static Font& Labels();

  // Capital height as a fraction of the em (0.688 for Liberation Sans).
  double CapHeight() const { return capHeight_; }
  // The advance of UTF-8 text at an em of `pixels`.
  double Advance(const std::string& text, double pixels);
  // Renders UTF-8 text at an em of `pixels` (integer pixels, hinting off so
  // the outlines stay true); `paint` receives each glyph and its pen x.
  void Render(const std::string& text, int pixels, const std::function<void(const GlyphMask&, int penX)>& paint);

  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

 private:
  explicit Font(const std::string& file);

  void* library_ = nullptr;  // FT_Library
  void* face_ = nullptr;     // FT_Face
  double capHeight_ = 0.688;
};

}  // namespace pictures
