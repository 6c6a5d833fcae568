#include "platform/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <jerror.h>

namespace terraq::ui {

namespace {

// The error manager with the jump buffer the error branch returns to, and
// room for libjpeg's formatted message.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void onError(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, manager->message);
  std::longjmp(manager->jump, 1);
}

// Warnings (msg_level -1) mean corrupt data: treated as fatal. Trace
// messages (level >= 0) are ignored instead of going to stderr.
extern "C" void onMessage(j_common_ptr cinfo, int msgLevel) {
  if (msgLevel < 0) onError(cinfo);
}

// A source manager over a memory buffer. libjpeg-turbo has jpeg_mem_src,
// but the original libjpeg 6b does not; this one works with both.
extern "C" void initSource(j_decompress_ptr) {}

extern "C" boolean fillInputBuffer(j_decompress_ptr cinfo) {
  // Asked for more data than the buffer holds: the data is truncated.
  // Raising the warning makes it fatal (onMessage); the fake end-of-image
  // marker is what libjpeg expects should a warning ever return.
  static const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};
  WARNMS(cinfo, JWRN_JPEG_EOF);
  cinfo->src->next_input_byte = kEndOfImage;
  cinfo->src->bytes_in_buffer = 2;
  return TRUE;
}

extern "C" void skipInputData(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* src = cinfo->src;
  while (static_cast<std::size_t>(count) > src->bytes_in_buffer) {
    count -= static_cast<long>(src->bytes_in_buffer);
    (void)(*src->fill_input_buffer)(cinfo);
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= static_cast<std::size_t>(count);
}

extern "C" void termSource(j_decompress_ptr) {}

// The plain-C part: everything between setjmp and the last libjpeg call
// lives here, with no C++ object whose destructor a longjmp would skip. On
// success `*pixels` is a malloc'ed RGB buffer the caller frees; on failure
// it is null and `message` holds the reason.
bool decodeRaw(const std::uint8_t* data, std::size_t size, std::uint8_t** pixels, int* width, int* height,
               char* message) {
  // Zeroed, so that destroying a structure whose creation failed is safe.
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  ErrorManager errors;
  jpeg_source_mgr source;
  // Changed after setjmp and read in the error branch: must be volatile.
  std::uint8_t* volatile buffer = nullptr;
  *pixels = nullptr;

  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onError;
  errors.base.emit_message = onMessage;
  errors.message[0] = '\0';
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    std::free(buffer);
    std::memcpy(message, errors.message, JMSG_LENGTH_MAX);
    return false;
  }
  jpeg_create_decompress(&cinfo);

  source.init_source = initSource;
  source.fill_input_buffer = fillInputBuffer;
  source.skip_input_data = skipInputData;
  source.resync_to_restart = jpeg_resync_to_restart;
  source.term_source = termSource;
  source.next_input_byte = data;
  source.bytes_in_buffer = size;
  cinfo.src = &source;

  (void)jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  const std::size_t pixelCount = static_cast<std::size_t>(cinfo.image_width) * cinfo.image_height;
  if (pixelCount == 0 || pixelCount > kMaxJpegPixels) {
    std::snprintf(message, JMSG_LENGTH_MAX, "picture size %ux%u is not supported", cinfo.image_width,
                  cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  (void)jpeg_start_decompress(&cinfo);
  if (cinfo.output_components != 3) {
    std::snprintf(message, JMSG_LENGTH_MAX, "unexpected %d colour components", cinfo.output_components);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(cinfo.output_width) * 3;
  buffer = static_cast<std::uint8_t*>(std::malloc(rowBytes * cinfo.output_height));
  if (!buffer) {
    std::snprintf(message, JMSG_LENGTH_MAX, "out of memory");
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = buffer + rowBytes * cinfo.output_scanline;
    (void)jpeg_read_scanlines(&cinfo, &row, 1);
  }
  (void)jpeg_finish_decompress(&cinfo);
  *width = static_cast<int>(cinfo.output_width);
  *height = static_cast<int>(cinfo.output_height);
  jpeg_destroy_decompress(&cinfo);
  *pixels = buffer;
  return true;
}

}  // namespace

JpegImage DecodeJpeg(const std::uint8_t* data, std::size_t size) {
  if (!data || size == 0) throw JpegError("Cannot decode the picture: no data");
  std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  char message[JMSG_LENGTH_MAX] = {};
  if (!decodeRaw(data, size, &pixels, &width, &height, message))
    throw JpegError(std::string("Cannot decode the picture: ") + message);
  JpegImage image;
  image.width = width;
  image.height = height;
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
  try {
    image.rgb.assign(pixels, pixels + bytes);
  } catch (...) {
    std::free(pixels);
    throw;
  }
  std::free(pixels);
  return image;
}

JpegImage DecodeJpegFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw JpegError("Cannot open the picture " + path);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw JpegError("Cannot read the picture " + path);
  try {
    return DecodeJpeg(bytes.data(), bytes.size());
  } catch (const JpegError& e) {
    throw JpegError(std::string(e.what()) + " (" + path + ")");
  }
}

}  // namespace terraq::ui
