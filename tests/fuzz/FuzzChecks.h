#pragma once
// The checks of the project-core fuzz targets, shared by the libFuzzer
// targets and by the ordinary test suite, which feeds every kept input to
// the same check. Each check takes the input bytes and returns an empty
// string when the core behaved, or a description of the fault. Refusing an
// input (EReadError, EInOutError, EAssignError) is behaving; any other
// exception is a fault and is described, never passed on.

#include <filesystem>
#include <string>
#include <string_view>

namespace terraq::fuzz {

// A private folder for the files a check writes, removed with the object.
// Lives in /dev/shm when there is one: the project core makes every save
// durable with fsync, which would dominate a run on a disk.
class WorkFolder {
 public:
  WorkFolder();
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  // Removes everything inside, so that no file of an earlier input is seen.
  void Clear() const;

 private:
  std::filesystem::path path_;
};

// The bytes as a data file of the current layout: when they read, the
// project is written, the written file read and written again; both reads
// must succeed and the two written files must be identical.
std::string CheckDataFileRoundTrip(std::string_view bytes, const WorkFolder& folder);

// The bytes as a typed entry: evaluated, or refused with an entry error;
// never an infinite or NaN value.
std::string CheckEntryEvaluation(std::string_view bytes);

// The bytes as a data file of each layout (current, 3.0, 2.0), converted as
// `terraq convert` does; a file that converts is converted once more, and
// the second conversion must succeed and give the first one's file.
std::string CheckConvertTwice(std::string_view bytes, const WorkFolder& folder);

// The bytes as a data file opened by the project (split into stage files
// when staged), saved (assembled from the stage files), reopened and saved
// again: the reopening and both saves must succeed and the two saved files
// must be identical. The bytes are opened once under a current name and
// once under an older ".tqd" name (saved then under a current name).
std::string CheckStagedOpenSave(std::string_view bytes, const WorkFolder& folder);

// The bytes as a plot file, read into the result graphs with the facts of
// an English, an SI and a long-term project; then what every drawing of a
// graph does first: each panel's world rectangle (finite, of positive width
// and height), the layout of a window and of a large page, the mapping of
// every point onto its panel and the ticks of both axes (a count the painter
// can loop through, inside the axis). A file the reader refuses is behaving.
std::string CheckPlotFile(std::string_view bytes);

}  // namespace terraq::fuzz
