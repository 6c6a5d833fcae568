// A project file that exists is used whole or the command refuses: a
// staged, anchored wall must never be analysed, designed or reported as the
// cantilever its data file alone describes. And the outputs a report brings
// up to date follow the project file as they follow the data file.

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

struct BadProject {
  const char* what;
  std::function<void(const fs::path& project, const std::string& good)> make;
};

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

// The shipped staged example copied to wall.tq4d in `folder`; the text of
// its project file.
std::string CopySequenceExample(const fs::path& folder) {
  const fs::path examples = fs::path(TERRAQ_SOURCE_DIR) / "examples";
  fs::copy_file(examples / "sequential-excavation-anchor.tq4d", folder / "wall.tq4d");
  return ReadFile(examples / "sequential-excavation-anchor.terraq.json");
}

}  // namespace

TEST(ProjectFileCommand, AnUnusableProjectFileIsRefusedByEveryCommand) {
  ScratchFolder work;
  const fs::path data = work.path() / "wall.tq4d";
  const fs::path project = work.path() / "wall.terraq.json";
  const std::string good = CopySequenceExample(work.path());

  const std::vector<BadProject> bad = {
      {"a later version",
       [](auto& p, auto& g) { Write(p, Replaced(g, "\"version\": 1", "\"version\": 2")); }},
      {"truncated", [](auto& p, auto& g) { Write(p, g.substr(0, g.size() / 2)); }},
      {"not JSON", [](auto& p, auto&) { Write(p, "sequential: 4 stages\n"); }},
      {"a NaN",
       [](auto& p, auto& g) { Write(p, Replaced(g, "\"depth\": 1.5", "\"depth\": NaN")); }},
      {"a folder", [](auto& p, auto&) { fs::create_directory(p); }},
      {"a pipe", [](auto& p, auto&) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
      {"misspelt stages",
       [](auto& p, auto& g) { Write(p, Replaced(g, "\"stages\"", "\"stage\"")); }},
      {"a duplicate key",
       [](auto& p, auto& g) {
         Write(p, Replaced(g, "\"excavation\": 2", "\"excavation\": 2, \"excavation\": 3"));
       }},
      {"a byte that is not UTF-8",
       [](auto& p, auto& g) { Write(p, Replaced(g, "Excavate to 2.0 m", "Excavate \xb0")); }},
  };
  const std::string file = quoted(data.string());
  // A pipe must not hold a command up: each is given 60 s at most.
  const std::string limit = "timeout 60";
  for (const BadProject& b : bad) {
    fs::remove_all(project);
    b.make(project, good);
    for (const std::string& command :
         {"run " + file, "run --strict --json " + file, "design " + file,
          "report " + file + " --out calc.html", "study --vary surcharge=10,20 " + file,
          "run --design-approach DA1-1 " + file}) {
      const Outcome o = runTerraq(command, work.path(), limit);
      EXPECT_NE(o.status, 0) << b.what << ": " << command << "\n" << o.out;
      EXPECT_TRUE(contains(o.err, "wall.terraq.json cannot be used: "))
          << b.what << ": " << command << "\n"
          << o.err;
    }
    // Nothing of the data file alone was produced.
    EXPECT_FALSE(fs::exists(work.path() / "wall.tq4o")) << b.what;
    EXPECT_FALSE(fs::exists(work.path() / "calc.html")) << b.what;
  }
  fs::remove_all(project);

  // The example itself is used whole.
  Write(project, good);
  EXPECT_EQ(runTerraq("run " + file, work.path()).status, 0);
}

TEST(ProjectFileCommand, ReportRerunsAfterAnEditOfTheProjectFileAlone) {
  ScratchFolder work;
  const fs::path data = work.path() / "wall.tq4d";
  const fs::path project = work.path() / "wall.terraq.json";
  Write(project, CopySequenceExample(work.path()));
  const std::string file = quoted(data.string());
  ASSERT_EQ(runTerraq("run " + file, work.path()).status, 0);
  const std::string before = ReadFile(work.path() / "wall.tq4o");

  // The last stage excavates less deep; the data file is untouched.
  Write(project, Replaced(ReadFile(project), "\"excavation\": 6", "\"excavation\": 5.5"));
  fs::last_write_time(project,
                      fs::last_write_time(work.path() / "wall.tq4o") + std::chrono::seconds(5));
  const Outcome report = runTerraq("report " + file + " --out calc.html", work.path());
  ASSERT_EQ(report.status, 0) << report.err;
  const std::string after = ReadFile(work.path() / "wall.tq4o");
  EXPECT_NE(after, before);
  const Outcome again = runTerraq("run " + file, work.path());
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(ReadFile(work.path() / "wall.tq4o"), after);
}
