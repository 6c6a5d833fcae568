// Reading a data file (the current, 3.0 and 2.0 layouts) or one stage block
// into the project: its data sets (DataSetReader.h) and the end codes that
// chain them.

#include <algorithm>
#include <string>
#include <vector>

#include "project/DataSetReader.h"
#include "project/StageFiles.h"
#include "project/TProgramData.h"
#include "project/TWordReader.h"

namespace terraq::ui {

namespace {

// A count with the place it was read, for an error that names it later.
struct Count {
  int value = 0;
  int line = 0;
  int item = 0;
};

}  // namespace

class TDataFileReader {
 public:
  TDataFileReader(TProgramData& data, const std::string& text, int layout)
      : d_(data),
        r_(text),
        layout_(layout == kLayoutCurrent || layout == kLayout30 ? layout : kLayout20) {}

  // The whole file: one data set, and the long-term set after a flag 9.
  // The engine runs every problem the end codes chain; a project holds one,
  // a short-term and a long-term one sharing all but two tables, or one per
  // stage (the blocks of a staged file are read one by one, each checked by
  // readStageBlock). What else the file holds is named in NotKept: saving
  // or converting the project would drop it.
  void readFile() {
    std::vector<ReadValue> shortTerm, longTerm;
    shared_ = &shortTerm;
    const int stages = dataSet(false, false);
    shared_ = nullptr;
    if (layout_ == kLayout20) return;
    const Count flag = count();
    if (stages >= 2) return;
    if (flag.value != 9) {
      d_.NotKept = chainedProblem(
          flag, stages,
          "a project holds one analysis, a short-term and a long-term one (end code 9) "
          "or construction stages");
      return;
    }
    r_.RestOfLine();  // the rest of the flag line
    shared_ = &longTerm;
    const int longTermStages = dataSet(true, false);
    shared_ = nullptr;
    d_.LongTerm = true;
    d_.NotKept = differentSharedValues(shortTerm, longTerm);
    if (!d_.NotKept.empty() || r_.Eof()) return;  // the closing "0" of older writers may be missing
    d_.NotKept =
        chainedProblem(count(), longTermStages,
                       "a project holds a short-term and a long-term analysis, not a third one");
  }

  // One stage block: its data set and the end code that holds its stage
  // number; a further problem chained inside the block would be lost.
  void readStageBlock() {
    const int stages = dataSet(false, true);
    if (layout_ == kLayout20 || r_.Eof()) return;
    const Count end = count();
    // The caller numbers the lines of the whole file in "Error on Line":
    // the message names no other line of the block.
    if (!engine::api::EndsRun(end.value, stages) && !r_.Eof())
      r_.FailAt(
          end.line, end.item,
          "The end code " + std::to_string(end.value) +
              " chains a further problem after the stage's own, which the engine runs; a stage holds one "
              "problem. Opening, saving or converting the file would lose it. The file runs as it is; to edit "
              "it, split it into data files that a project can hold.");
  }

 private:
  Count count() {
    Count c;
    c.value = r_.NextInteger();
    c.line = r_.Line();
    c.item = r_.Item();
    return c;
  }

  int dataSet(bool longTerm, bool stageBlock) {
    return DataSetReader(d_, r_, layout_, shared_).read(longTerm, stageBlock);
  }

  // The long-term set holds a distributed load and soil layers of its own;
  // everything else a project holds once, for both analyses. A long-term
  // set that differs there would, once read, stand for the short-term one
  // as well: the short-term values would be lost.
  static std::string differentSharedValues(const std::vector<ReadValue>& shortTerm,
                                           const std::vector<ReadValue>& longTerm) {
    const size_t n = std::min(shortTerm.size(), longTerm.size());
    size_t k = 0;
    while (k < n && shortTerm[k].text == longTerm[k].text) ++k;
    if (k == shortTerm.size() && k == longTerm.size()) return {};
    const ReadValue& at = k < longTerm.size() ? longTerm[k] : longTerm.back();
    const std::string shortAt = k < shortTerm.size() ? " (the short-term analysis's line " +
                                                           std::to_string(shortTerm[k].line) + ")"
                                                     : "";
    return "The long-term analysis differs from the short-term one on line " +
           std::to_string(at.line) + ", item " + std::to_string(at.item) + shortAt +
           ". A project holds the wall, its loads, supports, curves and options once for both analyses (only the "
           "distributed earth pressure and the soil layers are the long-term analysis's own): opening, saving or "
           "converting the file would lose the short-term values. The file runs as it is; to edit it, make the two "
           "analyses agree outside those two tables, or split it into two data files.";
  }

  // The engine ends the run at an end code of 0 or of the problem's stage
  // count, and reads any other as the announcement of a further problem. A
  // further problem that is there (the file goes on) cannot be kept: the
  // message that says so, or empty.
  std::string chainedProblem(const Count& end, int stages, const std::string& why) const {
    if (engine::api::EndsRun(end.value, stages) || r_.Eof()) return {};
    const std::string from = std::to_string(end.line + 1);
    return "The end code " + std::to_string(end.value) + " on line " + std::to_string(end.line) +
           " chains a further problem, from line " + from + " on, which the engine runs; " + why +
           ". Opening, saving or converting the file would lose the problems from line " + from +
           " on. The file runs as it is; to edit it, split it into data files that a project can hold.";
  }

  TProgramData& d_;
  TWordReader r_;
  int layout_;
  // The shared values of the data set being read, when they are noted.
  std::vector<ReadValue>* shared_ = nullptr;
};

void TProgramData::readText(const std::string& text, int layout) {
  TDataFileReader(*this, text, layout).readFile();
}

void TProgramData::LoadStageBlockText(const std::string& text, int layout) {
  TDataFileReader(*this, text, layout).readStageBlock();
}

void TProgramData::LoadText(const std::string& text, int layout) { readText(text, layout); }

void TProgramData::LoadStageBlock(const std::filesystem::path& file, int layout) {
  LoadStageBlockText(ReadWholeFile(file), layout);
}

}  // namespace terraq::ui
