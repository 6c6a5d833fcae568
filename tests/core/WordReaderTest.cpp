// The word reader under every reader of the program: words across lines,
// whole lines for titles, and the two forms of its read errors.

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "project/TWordReader.h"

using namespace terraq::ui;
namespace fs = std::filesystem;

namespace {

std::string readError(TWordReader& reader, bool integer) {
  try {
    if (integer) reader.NextInteger();
    else reader.NextReal();
    return "no error";
  } catch (const EReadError& e) {
    return e.what();
  }
}

TEST(WordReader, WordsAcrossLinesAndWholeLines) {
  TWordReader r("  Title with\tblanks  \r\n1 2.5\t-3E2\n\n4\r\n9\nLong term title\n");
  EXPECT_EQ(r.RestOfLine(), "Title with\tblanks");  // the first unread line, trimmed
  EXPECT_EQ(r.NextInteger(), 1);
  EXPECT_EQ(r.NextReal(), 2.5);
  EXPECT_EQ(r.Line(), 2);
  EXPECT_EQ(r.Item(), 2);
  EXPECT_EQ(r.NextReal(), -300);
  // An empty line where a value is expected fails the read.
  EXPECT_EQ(readError(r, true), "Error on Line 3 Item 1\nAn integer was expected but not found.");
  EXPECT_EQ(r.NextInteger(), 4);
  EXPECT_EQ(r.NextInteger(), 9);
  // The line of the last value, then the next one.
  EXPECT_EQ(r.RestOfLine(), "9");
  EXPECT_EQ(r.RestOfLine(), "Long term title");
  EXPECT_TRUE(r.Eof());
  EXPECT_EQ(readError(r, false), "This file either invalid or incomplete.");
}

TEST(WordReader, NumbersAreCheckedWordByWord) {
  TWordReader r("3.0 1E3 2.5 x 1,5 2147483648 1e999");
  EXPECT_EQ(r.NextInteger(), 3);
  EXPECT_EQ(r.NextInteger(), 1000);
  EXPECT_EQ(readError(r, true), "Error on Line 1 Item 3\nAn integer was expected but not found.");
  EXPECT_EQ(readError(r, false), "Error on Line 1 Item 4\nA floating point number was expected but not found.");
  EXPECT_EQ(readError(r, false), "Error on Line 1 Item 5\nA floating point number was expected but not found.");
  EXPECT_EQ(readError(r, true), "Error on Line 1 Item 6\nAn integer was expected but not found.");
  EXPECT_EQ(readError(r, false), "Error on Line 1 Item 7\nA floating point number was expected but not found.");
}

TEST(WordReader, TrailingBlankLinesMeanTheEnd) {
  TWordReader r("1\r\n\r\n  \r\n");
  EXPECT_EQ(r.NextInteger(), 1);
  EXPECT_TRUE(r.Eof());
  EXPECT_EQ(readError(r, true), "This file either invalid or incomplete.");
}

TEST(WordReader, MissingFileGivesTheSystemsReason) {
  TWordReader r;
  try {
    r.Open("/nonexistent-folder/wall.tq4d");
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open /nonexistent-folder/wall.tq4d: No such file or directory");
  }
}

// A file one byte over the limit is refused by its size, before a byte is
// read (the file is sparse); one at the limit is read whole.
TEST(WordReader, FilesOverTheSizeLimitAreRefused) {
  const fs::path file = fs::temp_directory_path() / ("word-reader-limit-" + std::to_string(getpid()));
  std::ofstream(file).close();
  fs::resize_file(file, 16u * 1024 * 1024);
  EXPECT_EQ(ReadWholeFile(file).size(), 16u * 1024 * 1024);
  fs::resize_file(file, 16u * 1024 * 1024 + 1);
  try {
    ReadWholeFile(file);
    ADD_FAILURE();
  } catch (const EInOutError& e) {
    EXPECT_EQ(std::string(e.what()), file.string() + " is 16.0 MB; a data file may hold at most 16 MB");
  }
  fs::remove(file);
}

}  // namespace
