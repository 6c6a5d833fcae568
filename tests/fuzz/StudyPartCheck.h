#pragma once
// The check of the study-part fuzz target, shared with the ordinary suite
// that runs the kept inputs through it: the bytes as a JSON text must read
// or be refused with a message, and what reads must read again the same
// once written out; the bytes as a part file must merge (alone, as shard
// 1/1) into statistics of every sample the part names, or be refused with a
// message — never a crash, a hang or a result of other samples.

#include <filesystem>
#include <string>
#include <string_view>

namespace terraq::fuzz {

// Empty when both behaved; else the fault, in words. `folder` receives the
// part file.
std::string CheckStudyPart(std::string_view bytes, const std::filesystem::path& folder);

}  // namespace terraq::fuzz
