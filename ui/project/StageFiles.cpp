#include "project/StageFiles.h"

#include <system_error>

#include "project/AtomicFile.h"
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
  DeleteStageFiles(dataFile, 1, kMaxStages);
  for (size_t k = 0; k < blocks.size(); ++k)
    WriteFileAtomically(StageFileName(dataFile, static_cast<int>(k) + 1), blocks[k]);
  return static_cast<int>(blocks.size());
}

}  // namespace terraq::ui
