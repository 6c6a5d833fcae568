// The shipped pictures of the dialogs and tables: every one decodes with
// libjpeg to a picture of a sensible size that is a drawing (a white
// background with dark lines), every picture a table names exists, and a
// damaged or foreign file is refused with a clear error instead of being
// shown half grey.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/JpegImage.h"

using terraq::ui::DecodeJpeg;
using terraq::ui::DecodeJpegFile;
using terraq::ui::JpegError;
using terraq::ui::JpegImage;

namespace fs = std::filesystem;

namespace {

const fs::path kPictures = fs::path(TERRAQ_SOURCE_DIR) / "resources" / "pictures";

std::vector<fs::path> shippedPictures() {
  std::vector<fs::path> paths;
  for (const auto& entry : fs::directory_iterator(kPictures))
    if (entry.path().extension() == ".jpg") paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::vector<std::uint8_t> bytesOf(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string decodeError(const std::vector<std::uint8_t>& bytes) {
  try {
    DecodeJpeg(bytes.data(), bytes.size());
    return "decoded";
  } catch (const JpegError& e) {
    return e.what();
  }
}

TEST(Pictures, EveryShippedPictureDecodesToASensibleDrawing) {
  const std::vector<fs::path> paths = shippedPictures();
  ASSERT_GE(paths.size(), 7u);
  for (const fs::path& path : paths) {
    SCOPED_TRACE(path.filename().string());
    const JpegImage image = DecodeJpegFile(path.string());
    // Drawn at twice the size they are shown at.
    EXPECT_GE(image.width, 500);
    EXPECT_LE(image.width, 1200);
    EXPECT_GE(image.height, 300);
    EXPECT_LE(image.height, 1200);
    ASSERT_EQ(image.rgb.size(), static_cast<size_t>(image.width) * image.height * 3);

    // Mostly light (background and pale fills) with some dark ink: a blank
    // or a wrongly decoded picture fails one of the two.
    size_t light = 0, dark = 0;
    for (size_t k = 0; k < image.rgb.size(); k += 3) {
      const int grey = (image.rgb[k] + image.rgb[k + 1] + image.rgb[k + 2]) / 3;
      if (grey > 180) ++light;
      if (grey < 90) ++dark;
    }
    const double pixels = static_cast<double>(image.width) * image.height;
    EXPECT_GT(light / pixels, 0.6);
    EXPECT_GT(dark / pixels, 0.005);
    EXPECT_LT(dark / pixels, 0.25);
  }
}

TEST(Pictures, EveryPictureATableNamesIsShipped) {
  std::ifstream tables(fs::path(TERRAQ_SOURCE_DIR) / "resources" / "tables" / "tables.txt");
  ASSERT_TRUE(tables);
  const std::regex helpPicture(R"(HelpPicture\s*=\s*'([^']+)')");
  std::set<std::string> named;
  for (std::string line; std::getline(tables, line);) {
    std::smatch match;
    if (std::regex_search(line, match, helpPicture)) named.insert(match[1]);
  }
  EXPECT_EQ(named, (std::set<std::string>{"DistLoad.jpg", "SoilStrength.jpg"}));
  for (const std::string& name : named) EXPECT_TRUE(fs::exists(kPictures / name)) << name;
}

TEST(Pictures, DamagedOrForeignDataIsRefused) {
  const std::vector<std::uint8_t> good = bytesOf(kPictures / "WallSection.jpg");
  ASSERT_GT(good.size(), 1000u);

  // Cut in the middle of the picture data: refused, not shown half grey.
  std::vector<std::uint8_t> truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  EXPECT_NE(decodeError(truncated).find("Premature end"), std::string::npos) << decodeError(truncated);

  // Cut inside the headers.
  truncated.resize(40);
  EXPECT_EQ(decodeError(truncated).rfind("Cannot decode the picture: ", 0), 0u);

  // Not a JPEG at all.
  const std::string text = "P6 2 2 255 this is no picture";
  EXPECT_EQ(decodeError({text.begin(), text.end()}).rfind("Cannot decode the picture: ", 0), 0u);
  EXPECT_THROW(DecodeJpeg(nullptr, 0), JpegError);

  // The decoder is left in order after a failure.
  EXPECT_EQ(decodeError(good), "decoded");
}

TEST(Pictures, MissingFileIsNamedInTheError) {
  const std::string path = (kPictures / "NoSuchPicture.jpg").string();
  try {
    DecodeJpegFile(path);
    FAIL() << "no error";
  } catch (const JpegError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
}

}  // namespace
