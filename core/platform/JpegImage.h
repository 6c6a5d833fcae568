#pragma once
// Decoding the JPEG illustrations of the dialogs and tables with libjpeg,
// into a plain RGB pixel buffer that any front end can wrap (a QImage over
// the same bytes, a test that checks the picture's size).
//
// Errors: libjpeg reports a fatal error through the error manager's
// error_exit, which must not return. We use the standard setjmp/longjmp
// pattern, confined to one function that holds no C++ object with a
// destructor (only the C structures and a malloc'ed pixel buffer, which the
// error branch frees): a longjmp never crosses a C++ frame, and no exception
// is thrown through libjpeg's C code, which need not be built with unwind
// tables. The message libjpeg formats is then thrown as a JpegError.
//
// Decoding is strict: a warning about corrupt data (a truncated file, a bad
// marker) is an error too, so a damaged picture is refused instead of being
// shown half grey.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace terraq::ui {

class JpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A decoded picture: `rgb` holds height rows of width pixels, top row first,
// 3 bytes (red, green, blue) per pixel, with no padding between rows.
struct JpegImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  // The pixel at column x, row y (0-based; not range-checked).
  const std::uint8_t* pixel(int x, int y) const {
    return rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
  }
};

// Pictures larger than this many pixels are refused: a corrupt header must
// not make us allocate gigabytes.
constexpr std::size_t kMaxJpegPixels = std::size_t{64} * 1024 * 1024;

// Decodes a JPEG held in memory (baseline or progressive; greyscale and
// colour pictures alike come out as RGB). Throws JpegError with libjpeg's
// reason. `data` must hold `size` bytes; it is not kept.
JpegImage DecodeJpeg(const std::uint8_t* data, std::size_t size);

// Reads a whole file and decodes it (the file is read by us, not through
// libjpeg's stdio source, which would tie the library to our C runtime on
// Windows). Throws JpegError naming the file when it cannot be read or
// decoded.
JpegImage DecodeJpegFile(const std::string& path);

}  // namespace terraq::ui
