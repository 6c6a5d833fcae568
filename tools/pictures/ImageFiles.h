#pragma once
// Writing the finished pictures: JPEG through libjpeg's encoder (the files
// the program ships), PNG through zlib (previews for looking at them).

#include <cstdint>
#include <string>
#include <vector>

namespace pictures {

// RGB pixels, rows top first. Full-resolution colour (no chroma
// subsampling), so that thin coloured lines and small text stay sharp.
// Throws std::runtime_error when the file cannot be written.
void WriteJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb, int quality);

void WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace pictures
