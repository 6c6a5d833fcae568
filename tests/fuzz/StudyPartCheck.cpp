#include "StudyPartCheck.h"

#include <charconv>
#include <fstream>

#include "StudyShards.h"
#include "project/JsonReader.h"
#include "project/JsonText.h"

namespace terraq::fuzz {

namespace {

using ui::JsonValue;

// The value written out again by the programs' own writer, which must give
// back the same value when it is read (numbers to the last bit, strings to
// the last byte).
std::string Write(const JsonValue& v) { return ui::FormatJson(v); }

}  // namespace

std::string CheckStudyPart(std::string_view bytes, const std::filesystem::path& folder) {
  std::string error;
  if (const std::optional<JsonValue> json = ui::ParseJson(bytes, error)) {
    const std::string once = Write(*json);
    const std::optional<JsonValue> again = ui::ParseJson(once, error);
    if (!again) return "the value written out does not read again: " + error;
    if (Write(*again) != once) return "the value written out reads as another value";
  } else if (error.empty()) {
    return "a text refused without a message";
  }

  const std::filesystem::path part = folder / "part.json";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  const cli::MergeResult merge = cli::MergeParts({part.string()});
  if (merge.error) return merge.error->empty() ? "a part refused without a message" : "";
  if (merge.result.samples != merge.study.samples)
    return "a single part merged into " + std::to_string(merge.result.samples) + " samples of " +
           std::to_string(merge.study.samples);
  if (merge.result.outputs.size() != merge.study.outputs.size())
    return "the merge reports other outputs than the part names";
  return "";
}

}  // namespace terraq::fuzz
