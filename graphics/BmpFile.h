#pragma once
// Windows bitmap (BMP) files of every colour depth a saved graph offers.
// Qt's own BMP writer leaves out 16-bit colour and cannot be told the depth,
// so the few bytes of the format are written here: the file header, the
// 40-byte information header, the palette of an indexed picture and the
// rows bottom-up, each padded to four bytes, uncompressed.

#include <QByteArray>
#include <QImage>

namespace terraq::ui {

// The bytes of a BMP file of `image` with `bitsPerPixel` bits per pixel and
// `pixelsPerInch` as its resolution. The image must already hold the
// colours of that depth:
//   1   QImage::Format_Mono (its two-colour table),
//   4   QImage::Format_Indexed8 with at most 16 colours,
//   8   QImage::Format_Indexed8,
//   16  QImage::Format_RGB555 (written as 5-5-5, the format's plain form),
//   24  any other format, converted to 8 bits per channel.
// An empty array when the image does not fit the depth, or memory runs out.
QByteArray EncodeBmp(const QImage& image, int bitsPerPixel, int pixelsPerInch);

}  // namespace terraq::ui
