#include "CommandLine.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "CommandDeclarations.h"
#include "project/EngineRun.h"

namespace terraq::cli {

namespace {

// Every command's usage, one after another under one "Usage:".
std::string AllUsages() {
  std::string out;
  for (const CommandDeclaration* command : AllCommands()) {
    std::string usage = CommandUsage(*command);
    if (!out.empty()) usage.replace(0, 6, 6, ' ');  // "Usage:" once
    out += usage;
  }
  return out + "       terraq --help | --version\n";
}

}  // namespace

void printHelp() {
  std::cout << AllUsages();
  for (const CommandDeclaration* command : AllCommands()) std::cout << "\n" << command->summary;
  std::cout << "\n'terraq COMMAND --help' gives the options of a command. The engine library\n"
            << "is " << terraq::ui::kEngineLibraryName << ", in the folder of this program.\n"
            << "\n"
               "Exit status:\n"
               "  0  the analysis completed (even with results that are not valid: a\n"
               "     warning goes to standard error), the file was converted, or the graph\n"
               "     written, or the package\n"
               "  1  the analysis ended in an error stop (its message goes to standard error;\n"
               "     report still writes the package, which says why),\n"
               "     the file to convert is not a valid data file of its layout, or the data\n"
               "     or plot file to draw from is not valid or has no points for the graph\n"
               "  2  usage error, missing, unreadable or too large (over 16 MB) data file,\n"
               "     missing plot file, a file that cannot be written (standard output\n"
               "     included), or the engine could not be run\n"
               "  3  with --strict: the analysis completed, but its results are not valid\n"
               "     (with --design-approach: an ultimate set is left out of the envelope)\n"
               "  128+N  the run was ended by signal N (Ctrl-C, SIGTERM, SIGHUP); what it\n"
               "     had begun to write is removed\n"
               "  A run of several data files exits with the largest of their statuses.\n";
}

int usageError(const std::string& message) {
  std::cerr << "terraq: " << message << "\n" << AllUsages() << "Try 'terraq --help'.\n";
  return kExitUsage;
}

int fail(const std::string& message) {
  std::cerr << "terraq: " << message << "\n";
  return kExitUsage;
}

namespace {
// The reason is kept from the first flush that fails; later ones no longer
// tell it.
int standardOutputError = 0;
}  // namespace

void flushStandardOutput() {
  if (standardOutputError != 0) return;
  // A text longer than the stream's buffer is written as it is put out, so
  // the write may have failed already; its errno is then the latest one.
  const int earlierError = std::cout.good() ? 0 : errno;
  errno = 0;
  std::cout.flush();
  if (earlierError != 0 || !std::cout.good() || std::fflush(stdout) != 0 || std::ferror(stdout))
    standardOutputError = errno ? errno : earlierError ? earlierError : EIO;
}

int checkStandardOutput(int status) {
  flushStandardOutput();
  if (standardOutputError == 0) return status;
  std::cerr << "terraq: cannot write to standard output: " << std::strerror(standardOutputError)
            << "\n";
  return kExitUsage;
}

}  // namespace terraq::cli
