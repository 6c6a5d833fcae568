#include "Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cstdlib>
#include <stdexcept>

namespace pictures {

namespace {

constexpr const char* kDefaultFontFile = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";

std::u32string decodeUtf8(const std::string& text) {
  std::u32string out;
  for (size_t k = 0; k < text.size();) {
    const auto byte = static_cast<unsigned char>(text[k]);
    int extra = byte < 0x80 ? 0 : (byte & 0xE0) == 0xC0 ? 1 : (byte & 0xF0) == 0xE0 ? 2 : (byte & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || k + static_cast<size_t>(extra) >= text.size()) {
      out += U'?';
      ++k;
      continue;
    }
    char32_t code = extra == 0 ? byte : byte & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) code = (code << 6) | (static_cast<unsigned char>(text[k + static_cast<size_t>(i)]) & 0x3F);
    out += code;
    k += static_cast<size_t>(extra) + 1;
  }
  return out;
}

FT_Face asFace(void* face) { return static_cast<FT_Face>(face); }

}  // namespace

Font::Font(const std::string& file) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType cannot start");
  library_ = library;
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), 0, &face) != 0) {
    FT_Done_FreeType(library);
    throw std::runtime_error("cannot read the label font " + file);
  }
  face_ = face;
  if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      os2 && os2->version >= 2 && os2->sCapHeight > 0)
    capHeight_ = static_cast<double>(os2->sCapHeight) / face->units_per_EM;
}

Font::~Font() {
  FT_Done_Face(asFace(face_));
  FT_Done_FreeType(static_cast<FT_Library>(library_));
}

Font& Font::Labels() {
  const char* file = std::getenv("PICTURE_FONT");
  static Font font(file && *file ? file : kDefaultFontFile);
  return font;
}

double Font::Advance(const std::string& text, double pixels) {
  // Advances scale linearly with the em: measured on the unscaled outline.
  FT_Face face = asFace(face_);
  double units = 0;
  for (char32_t c : decodeUtf8(text)) {
    if (FT_Load_Char(face, c, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0) units += face->glyph->advance.x;
  }
  return units * pixels / face->units_per_EM;
}

void Font::Render(const std::string& text, int pixels, const std::function<void(const GlyphMask&, int penX)>& paint) {
  FT_Face face = asFace(face_);
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels));
  long pen = 0;  // 26.6 fixed point
  for (char32_t c : decodeUtf8(text)) {
    if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const GlyphMask mask{slot->bitmap_left, slot->bitmap_top, static_cast<int>(bitmap.width),
                         static_cast<int>(bitmap.rows), bitmap.pitch, bitmap.buffer};
    paint(mask, static_cast<int>((pen + 32) >> 6));
    pen += slot->advance.x;
  }
}

}  // namespace pictures
