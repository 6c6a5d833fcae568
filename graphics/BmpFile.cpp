#include "BmpFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>

namespace terraq::ui {

namespace {

void PutU16(char* at, std::uint16_t v) {
  at[0] = static_cast<char>(v & 0xff);
  at[1] = static_cast<char>(v >> 8);
}
void PutU32(char* at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) at[k] = static_cast<char>((v >> (8 * k)) & 0xff);
}

bool Fits(const QImage& image, int bits) {
  switch (bits) {
    case 1: return image.format() == QImage::Format_Mono;
    case 4: return image.format() == QImage::Format_Indexed8 && image.colorCount() <= 16;
    case 8: return image.format() == QImage::Format_Indexed8;
    case 16: return image.format() == QImage::Format_RGB555;
    case 24: return true;
    default: return false;
  }
}

// The file header, the info header and the palette; a positive height
// stores the rows bottom-up.
void PutHeaders(char* out, const QImage& image, int bits, int paletteEntries, std::int64_t rowBytes,
                std::int64_t pixelOffset, std::int64_t fileSize, int pixelsPerInch) {
  const int width = image.width(), height = image.height();
  // BITMAPFILEHEADER
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out + 2, static_cast<std::uint32_t>(fileSize));
  PutU32(out + 10, static_cast<std::uint32_t>(pixelOffset));
  // BITMAPINFOHEADER
  const auto perMetre = static_cast<std::uint32_t>(std::lround(pixelsPerInch / 0.0254));
  PutU32(out + 14, 40);
  PutU32(out + 18, static_cast<std::uint32_t>(width));
  PutU32(out + 22, static_cast<std::uint32_t>(height));
  PutU16(out + 26, 1);
  PutU16(out + 28, static_cast<std::uint16_t>(bits));
  PutU32(out + 30, 0);  // BI_RGB: uncompressed
  PutU32(out + 34, static_cast<std::uint32_t>(rowBytes * height));
  PutU32(out + 38, perMetre);
  PutU32(out + 42, perMetre);
  PutU32(out + 46, static_cast<std::uint32_t>(paletteEntries));
  PutU32(out + 50, 0);
  for (int k = 0; k < paletteEntries; ++k) {
    const QRgb c = image.color(k);
    char* entry = out + 54 + 4 * k;
    entry[0] = static_cast<char>(qBlue(c));
    entry[1] = static_cast<char>(qGreen(c));
    entry[2] = static_cast<char>(qRed(c));
  }
}

// One scan line of `width` pixels into its row of the file.
void PutRow(const uchar* line, int width, int bits, char* row) {
  switch (bits) {
    case 1:  // the same most-significant-bit-first packing as Format_Mono
      std::copy(line, line + (width + 7) / 8, row);
      break;
    case 4:
      for (int x = 0; x < width; ++x) {
        const int index = line[x] & 0x0f;
        row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
      }
      break;
    case 8: std::copy(line, line + width, row); break;
    case 16: {
      const auto* pixels = reinterpret_cast<const std::uint16_t*>(line);
      for (int x = 0; x < width; ++x) PutU16(row + 2 * x, pixels[x]);
      break;
    }
    default: {
      const auto* pixels = reinterpret_cast<const QRgb*>(line);
      for (int x = 0; x < width; ++x) {
        row[3 * x] = static_cast<char>(qBlue(pixels[x]));
        row[3 * x + 1] = static_cast<char>(qGreen(pixels[x]));
        row[3 * x + 2] = static_cast<char>(qRed(pixels[x]));
      }
      break;
    }
  }
}

}  // namespace

QByteArray EncodeBmp(const QImage& source, int bits, int pixelsPerInch) {
  if (source.isNull() || !Fits(source, bits)) return {};
  QImage image = source;
  if (bits == 24 && image.format() != QImage::Format_RGB32) {
    image = image.convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return {};
  }
  const int width = image.width(), height = image.height();
  const int paletteEntries = bits <= 8 ? image.colorCount() : 0;
  const std::int64_t rowBytes = ((static_cast<std::int64_t>(width) * bits + 31) / 32) * 4;
  const std::int64_t pixelOffset = 14 + 40 + 4 * static_cast<std::int64_t>(paletteEntries);
  const std::int64_t fileSize = pixelOffset + rowBytes * height;
  if (fileSize > 0x7fffffff) return {};

  QByteArray bytes;
  try {
    bytes = QByteArray(static_cast<qsizetype>(fileSize), '\0');
  } catch (const std::bad_alloc&) {
    return {};
  }
  if (bytes.size() != fileSize) return {};
  char* out = bytes.data();

  PutHeaders(out, image, bits, paletteEntries, rowBytes, pixelOffset, fileSize, pixelsPerInch);
  for (int y = 0; y < height; ++y)
    PutRow(image.constScanLine(y), width, bits, out + pixelOffset + rowBytes * (height - 1 - y));
  return bytes;
}

}  // namespace terraq::ui
