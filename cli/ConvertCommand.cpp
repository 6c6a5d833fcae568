#include "ConvertCommand.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "CommandDeclarations.h"
#include "CommandLine.h"
#include "project/AsciiLower.h"
#include "project/EngineRun.h"
#include "project/TProject.h"
#include "project/TWordReader.h"

namespace terraq::cli {

namespace fs = std::filesystem;

int ConvertCommand(const std::vector<std::string_view>& args) {
  CommandArguments read;
  if (const std::optional<int> ended = ReadArguments(kConvertCommand, args, read)) return *ended;
  const std::vector<std::string>& files = read.operands;
  if (files.size() != 2)
    return CommandUsageError(kConvertCommand, "convert takes a data file to read and one to write");
  const fs::path input(files[0]);
  const fs::path output(files[1]);
  if (ui::AsciiLower(output.extension().string()) == ".tqd")
    return CommandUsageError(
        kConvertCommand,
        output.string() + ": the older .tqd layout is never written; name the output .tq4d");
  if (const std::string missing = ui::UnusableDataFile(input); !missing.empty())
    return fail(missing);

  const std::string* layout = read.last("--layout");
  const int readLayout = !layout            ? ui::LayoutForFile(input)
                         : *layout == "3.0" ? ui::kLayout30
                         : *layout == "2.0" ? ui::kLayout20
                                            : ui::kLayoutCurrent;
  try {
    ui::ConvertDataFile(input, output, readLayout);
  } catch (const ui::EMoreThanAProject& e) {
    // A valid data file, refused for what converting it would lose.
    std::string message = e.what();
    std::replace(message.begin(), message.end(), '\n', ' ');
    std::cerr << "terraq: " << message << "\n";
    return kExitErrorStop;
  } catch (const ui::EReadError& e) {
    std::string message = e.what();
    for (char& c : message)
      if (c == '\n') c = ' ';
    const char* layoutName = readLayout == ui::kLayoutCurrent ? "current"
                             : readLayout == ui::kLayout30    ? "3.0"
                                                              : "2.0";
    std::cerr << "terraq: " << input.string() << " is not a valid data file of the " << layoutName
              << " layout: " << message << "\n";
    return kExitErrorStop;
  } catch (const ui::EInOutError& e) {
    return fail(e.what());
  }
  std::cout << "Converted " << input.string() << " to " << output.string() << "\n";
  return kExitOk;
}

}  // namespace terraq::cli
