#include "FuzzChecks.h"

#include <stdlib.h>

#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <typeinfo>
#include <vector>

#include "controls/EvaluateEntry.h"
#include "project/TProject.h"
#include "project/TWordReader.h"

namespace fs = std::filesystem;

namespace terraq::fuzz {

using ui::EAssignError;
using ui::EInOutError;
using ui::EReadError;

WorkFolder::WorkFolder() {
  std::error_code ec;
  const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string pattern = (base / "terraq-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a folder for the fuzz checks");
  path_ = pattern;
}

WorkFolder::~WorkFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void WorkFolder::Clear() const {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(path_, ec)) fs::remove_all(entry.path(), ec);
}

namespace {

void writeBytes(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw EInOutError("cannot write " + file.string());
}

// Where two texts that should be equal first part, for the fault's report.
std::string difference(const std::string& first, const std::string& second) {
  const std::vector<std::string> a = ui::SplitTextLines(first);
  const std::vector<std::string> b = ui::SplitTextLines(second);
  size_t line = 0;
  while (line < a.size() && line < b.size() && a[line] == b[line]) ++line;
  const auto at = [line](const std::vector<std::string>& lines) {
    return line < lines.size() ? "\"" + lines[line] + "\"" : std::string("(end of file)");
  };
  return "line " + std::to_string(line + 1) + ": " + at(a) + " then " + at(b) +
         (line == a.size() && line == b.size() ? " (the line ends differ)" : "");
}

std::string unexpected(const std::string& step, const std::exception& e) {
  return step + ": unexpected " + typeid(e).name() + ": " + e.what();
}

// Reads a data file into a fresh project and returns the text it writes.
std::string readAndWrite(const fs::path& file, int layout) {
  ui::TProjectTables tables;
  ui::TProgramData data(tables, file, layout);
  return data.DataFileText();
}

}  // namespace

std::string CheckDataFileRoundTrip(std::string_view bytes, const WorkFolder& folder) {
  folder.Clear();
  const fs::path input = folder.Path() / "wall.tq4d";
  const fs::path written = folder.Path() / "written.tq4d";
  std::string first;
  try {
    writeBytes(input, bytes);
    first = readAndWrite(input, ui::kLayoutCurrent);
  } catch (const EReadError&) {
    return {};
  } catch (const EInOutError&) {
    return {};
  } catch (const std::exception& e) {
    return unexpected("reading the input", e);
  }
  try {
    writeBytes(written, first);
    const std::string second = readAndWrite(written, ui::kLayoutCurrent);
    if (second != first) return "writing the written file again changes it at " + difference(first, second);
  } catch (const EReadError& e) {
    return std::string("the written file does not read: ") + e.what();
  } catch (const std::exception& e) {
    return unexpected("reading the written file", e);
  }
  return {};
}

std::string CheckEntryEvaluation(std::string_view bytes) {
  const std::string text(bytes);
  try {
    const long double value = ui::EvaluateEntry(text);
    if (!std::isfinite(value)) return "the entry was accepted with a value that is not finite";
  } catch (const EAssignError&) {
    return {};
  } catch (const std::exception& e) {
    return unexpected("evaluating the entry", e);
  }
  return {};
}

std::string CheckConvertTwice(std::string_view bytes, const WorkFolder& folder) {
  for (const int layout : {ui::kLayoutCurrent, ui::kLayout30, ui::kLayout20}) {
    const std::string name = "layout " + std::to_string(layout);
    folder.Clear();
    const fs::path input = folder.Path() / "wall.in";
    const fs::path once = folder.Path() / "once.tq4d";
    const fs::path twice = folder.Path() / "twice.tq4d";
    try {
      writeBytes(input, bytes);
      ui::ConvertDataFile(input, once, layout);
    } catch (const EReadError&) {
      continue;
    } catch (const EInOutError&) {
      continue;
    } catch (const std::exception& e) {
      return unexpected(name + ", converting the input", e);
    }
    try {
      ui::ConvertDataFile(once, twice, ui::kLayoutCurrent);
      const std::string first = ui::ReadWholeFile(once);
      const std::string second = ui::ReadWholeFile(twice);
      if (first != second) return name + ": converting the converted file changes it at " + difference(first, second);
    } catch (const EReadError& e) {
      return name + ": the converted file does not convert: " + e.what();
    } catch (const std::exception& e) {
      return unexpected(name + ", converting the converted file", e);
    }
  }
  return {};
}

namespace {

// Opens `opened` in a layout; a file that opens is saved under `saved`,
// reopened from there and saved again.
std::string openSaveTwice(std::string_view bytes, const WorkFolder& folder, const std::string& opened, int layout,
                          const std::string& saved) {
  folder.Clear();
  const fs::path input = folder.Path() / opened;
  const fs::path output = folder.Path() / saved;
  ui::TProject project;
  try {
    writeBytes(input, bytes);
    project.Open(input, layout);
  } catch (const EReadError&) {
    return {};
  } catch (const EInOutError&) {
    return {};
  } catch (const std::exception& e) {
    return unexpected(opened + ", opening", e);
  }
  std::string step = "saving";
  try {
    if (output == input) project.Save();
    else project.SaveAs(output);
    const std::string first = ui::ReadWholeFile(output);
    step = "reopening the saved file";
    project.Open(output, ui::kLayoutCurrent);
    step = "saving the reopened file";
    project.Save();
    const std::string second = ui::ReadWholeFile(output);
    if (first != second) return opened + ": saving the reopened file changes it at " + difference(first, second);
  } catch (const std::exception& e) {
    return opened + ", " + step + ": " + typeid(e).name() + ": " + e.what();
  }
  return {};
}

}  // namespace

std::string CheckStagedOpenSave(std::string_view bytes, const WorkFolder& folder) {
  std::string problem = openSaveTwice(bytes, folder, "wall.tq4d", ui::kLayoutCurrent, "wall.tq4d");
  if (problem.empty()) problem = openSaveTwice(bytes, folder, "old.tqd", ui::kLayout30, "wall.tq4d");
  return problem;
}

}  // namespace terraq::fuzz
