#pragma once
// What the project-core fuzz targets share: a fault the check describes is
// printed and ends the process with abort, so that libFuzzer keeps the input
// as a crash. The work folder goes first: an aborted process runs no
// destructors.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "FuzzChecks.h"

namespace terraq::fuzz {

inline void AbortOnProblem(const std::string& problem, const WorkFolder* folder = nullptr) {
  if (problem.empty()) return;
  std::fprintf(stderr, "fault: %s\n", problem.c_str());
  if (folder) {
    std::error_code ec;
    std::filesystem::remove_all(folder->Path(), ec);
  }
  std::abort();
}

}  // namespace terraq::fuzz
