#pragma once
// Runs a built program as a separate process, the way users run it, and
// catches its exit status, standard output and standard error.

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "CliTestFiles.h"

namespace terraq::test {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string quoted(const std::string& s) { return "'" + s + "'"; }

// Runs the program in a folder; stderr is caught in a file outside it.
inline Outcome runProgram(const fs::path& program, const std::string& args, const fs::path& folder,
                          const std::string& environment = "") {
  const fs::path errFile = folder.parent_path() / (folder.filename().string() + "-stderr.txt");
  const std::string command = "cd " + quoted(folder.string()) + " && " + environment + " " +
                              quoted(program.string()) + " " + args + " 2>" + quoted(errFile.string());
  Outcome o;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return o;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) o.out.append(buffer, n);
  const int raw = pclose(pipe);
  o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  o.err = ReadFile(errFile);
  fs::remove(errFile);
  return o;
}

inline Outcome runTerraq(const std::string& args, const fs::path& folder, const std::string& environment = "") {
  return runProgram(BinDir() / "terraq", args, folder, environment);
}

inline bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace terraq::test
