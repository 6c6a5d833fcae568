// Draws the pictures of the data dialogs and tables and writes them as JPEG
// files (and, on request, PNG previews of the decoded JPEGs, to look at).
//
//   make-pictures OUTPUT_DIR [PREVIEW_DIR]
//
// Each JPEG is decoded again with the program's own decoder before the tool
// reports success, so a picture that ships always decodes.

#include <cstdio>
#include <exception>
#include <string>

#include "ImageFiles.h"
#include "Pictures.h"
#include "platform/JpegImage.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR [PREVIEW_DIR]\n", argv[0]);
    return 2;
  }
  const std::string output = argv[1];
  try {
    for (const pictures::PictureSpec& spec : pictures::AllPictures()) {
      const pictures::Canvas canvas = spec.draw();
      const std::string path = output + "/" + spec.fileName;
      pictures::WriteJpeg(path, canvas.pixelWidth(), canvas.pixelHeight(), canvas.downsampled(), 90);
      const terraq::ui::JpegImage decoded = terraq::ui::DecodeJpegFile(path);
      std::printf("%-24s %dx%d\n", spec.fileName.c_str(), decoded.width, decoded.height);
      if (argc == 3) {
        const std::string preview = std::string(argv[2]) + "/" + spec.fileName.substr(0, spec.fileName.size() - 4) + ".png";
        pictures::WritePng(preview, decoded.width, decoded.height, decoded.rgb);
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-pictures: %s\n", e.what());
    return 1;
  }
  return 0;
}
