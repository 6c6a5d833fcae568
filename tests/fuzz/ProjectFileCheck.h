#pragma once
// The check of the project-file fuzz target, shared with the ordinary suite
// that runs the kept inputs through it. The bytes are a project file beside
// a data file: it reads, or is refused with a message; what reads is written
// and read again into the same file (every member kept, the second writing
// byte for byte the first); and each member a part of the program owns
// (the wall's section, the design situations and their factor sets, the
// construction sequence in either units system) reads or is refused with a
// message, and what reads is written back and reads as the same value.

#include <string>
#include <string_view>

#include "FuzzChecks.h"

namespace terraq::fuzz {

// Empty when the project file and its members behaved; else the fault, in
// words. `folder` receives the files.
std::string CheckProjectFile(std::string_view bytes, const WorkFolder& folder);

}  // namespace terraq::fuzz
