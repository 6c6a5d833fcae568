#include "ImageFiles.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include <jpeglib.h>
#include <zlib.h>

namespace pictures {

void WriteJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb, int quality) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot write " + path);
  // The tool's own input is trusted: libjpeg's default error handler, which
  // ends the process with a message, is good enough here.
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  for (int c = 0; c < 3; ++c) {
    cinfo.comp_info[c].h_samp_factor = 1;
    cinfo.comp_info[c].v_samp_factor = 1;
  }
  cinfo.optimize_coding = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  while (cinfo.next_scanline < cinfo.image_height) {
    auto* row = const_cast<JSAMPLE*>(rgb.data() + rowBytes * cinfo.next_scanline);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + path);
}

namespace {

void putBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void putChunk(std::string& out, const char* type, const std::string& data) {
  putBigEndian(out, static_cast<std::uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  out += body;
  putBigEndian(out, static_cast<std::uint32_t>(
                        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

}  // namespace

void WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
  std::string raw;  // each row starts with filter type 0
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    raw += '\0';
    raw.append(reinterpret_cast<const char*>(rgb.data() + rowBytes * static_cast<size_t>(y)), rowBytes);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), 9) != Z_OK)
    throw std::runtime_error("cannot compress " + path);
  packed.resize(packedSize);

  std::string header;
  putBigEndian(header, static_cast<std::uint32_t>(width));
  putBigEndian(header, static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
  std::string png = "\x89PNG\r\n\x1a\n";
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", packed);
  putChunk(png, "IEND", "");
  std::ofstream file(path, std::ios::binary);
  file << png;
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace pictures
