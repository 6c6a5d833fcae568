#include "project/StageFiles.h"

#include <system_error>

#include "project/AtomicFile.h"
#include "project/StageLock.h"
#include "project/TProgramData.h"
#include "project/TWordReader.h"

namespace terraq::ui {

std::filesystem::path StageFileName(const std::filesystem::path& dataFile, int stage) {
  std::filesystem::path name = dataFile;
  name.replace_extension(".st" + std::to_string(stage));
  return name;
}

std::vector<std::string> SplitStageBlocks(std::string_view text) {
  std::vector<std::string> blocks;
  for (const std::string& line : SplitTextLines(text)) {
    if (blocks.empty() || line.find(kStageMarker) != std::string::npos) blocks.emplace_back();
    blocks.back() += line + "\r\n";
  }
  return blocks;
}

void DeleteStageFiles(const std::filesystem::path& dataFile, int fromStage, int toStage) {
  for (int k = fromStage; k <= toStage; ++k) {
    std::error_code ec;
    std::filesystem::remove(StageFileName(dataFile, k), ec);
  }
}

int SplitStagedFile(const std::filesystem::path& dataFile) {
  const std::vector<std::string> blocks = SplitStageBlocks(ReadWholeFile(dataFile));
  if (static_cast<int>(blocks.size()) > kMaxStages)
    throw EReadError(dataFile.string() + " holds " + std::to_string(blocks.size()) + " stages; at most " +
                     std::to_string(kMaxStages) + " are possible.");
  std::vector<TFileText> files;
  for (size_t k = 0; k < blocks.size(); ++k)
    files.push_back({StageFileName(dataFile, static_cast<int>(k) + 1), blocks[k]});
  DeleteStageFiles(dataFile, 1, kMaxStages);
  // Written together, and never over the data file by another name.
  WriteFilesAtomically(files, {{dataFile, "the data file"}});
  return static_cast<int>(blocks.size());
}

bool IsOwnStageFile(const std::filesystem::path& dataFile) {
  const std::filesystem::path name = dataFile.lexically_normal();
  for (int k = 1; k <= kMaxStages; ++k)
    if (StageFileName(name, k) == name) return true;
  return StageLockFileName(name) == name;
}

namespace {

// The message of a read error in a block, its line numbers made those of
// the whole file ("Error on Line 3" of a block that starts on line 25 is
// line 27 of the file).
std::string InFileLines(std::string message, int firstLine) {
  static constexpr std::string_view kLine = "Error on Line ";
  for (size_t at = message.find(kLine); at != std::string::npos; at = message.find(kLine, at + 1)) {
    const size_t digits = at + kLine.size();
    size_t end = digits;
    while (end < message.size() && message[end] >= '0' && message[end] <= '9') ++end;
    if (end == digits) continue;
    const int line = std::stoi(message.substr(digits, end - digits)) + firstLine - 1;
    message.replace(digits, end - digits, std::to_string(line));
  }
  return message;
}

}  // namespace

std::vector<std::string> CheckedStageBlocks(const std::filesystem::path& file, std::string_view text, int stages,
                                            int layout) {
  const std::string name = file.filename().string();
  std::vector<std::string> blocks = SplitStageBlocks(text);
  if (static_cast<int>(blocks.size()) != stages)
    throw EReadError(name + " declares " + std::to_string(stages) + " construction stages but holds " +
                     std::to_string(blocks.size()) + " stage blocks.");
  int firstLine = 1;
  for (int k = 1; k <= stages; ++k) {
    const std::string& block = blocks[static_cast<size_t>(k) - 1];
    const std::string where =
        "Stage " + std::to_string(k) + " of " + name + ", from line " + std::to_string(firstLine) + ": ";
    TProjectTables tables;
    TProgramData stage(tables);
    try {
      stage.LoadStageBlockText(block, layout);
    } catch (const EReadError& e) {
      throw EReadError(where + InFileLines(e.what(), firstLine));
    }
    if (stage.StageCount != stages)
      throw EReadError(where + "Error on Line " + std::to_string(firstLine + 1) + "\nThe block declares " +
                       std::to_string(stage.StageCount) + " stages; the first block declares " +
                       std::to_string(stages) + ".");
    firstLine += static_cast<int>(SplitTextLines(block).size());
  }
  return blocks;
}

std::string StageBlockAs(const std::string& block, int stage, int stages, int layout) {
  TProjectTables tables;
  TProgramData data(tables);
  data.LoadStageBlockText(block, layout);
  data.StageCount = stages;
  data.CurrentStage = stage;
  return data.StageBlockText(stage);
}

}  // namespace terraq::ui
