#include "project/ProjectFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "project/JsonText.h"

namespace terraq::ui {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class ProjectFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("terraq-project-file-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fs::permissions(folder_, fs::perms::owner_all);
    fs::remove_all(folder_);
  }
  fs::path folder_;
};

// A part written by one piece of the program keeps what it does not know:
// other members in their place, numbers to the last bit, file-name bytes.
TEST_F(ProjectFileTest, KeepsWhatItDoesNotKnow) {
  EXPECT_EQ(ProjectFilePath("/p/wall.v2.tq4d"), fs::path("/p/wall.v2.terraq.json"));
  const fs::path path = folder_ / "wall.terraq.json";
  std::ofstream(path) << R"({"later": {"x": 0.1}, "format": "terraq-project", "version": 1,
    "name": "\u00e9\u00b0", "section": {"name": "AZ18"}, "z": [1, 2e-300]})";
  std::string error;
  std::optional<ProjectFile> file = ReadProjectFile(path, error);
  ASSERT_TRUE(file) << error;
  JsonValue section = JsonValue::Object();
  section.set("name", JsonValue::Text("PU18"));
  file->set("section", section);
  file->set("staging", JsonValue::Bool(true));
  ASSERT_TRUE(WriteProjectFile(path, *file, error)) << error;

  const std::optional<ProjectFile> again = ReadProjectFile(path, error);
  ASSERT_TRUE(again) << error;
  std::vector<std::string> keys;
  for (const auto& member : again->root.members) keys.push_back(member.first);
  EXPECT_EQ(keys, (std::vector<std::string>{"format", "version", "later", "name", "section", "z",
                                            "staging"}));
  EXPECT_EQ(again->find("later")->find("x")->number, 0.1);
  EXPECT_EQ(again->find("z")->items[1].number, 2e-300);
  EXPECT_EQ(again->find("name")->string, "\xc3\xa9\xc2\xb0");
  EXPECT_EQ(again->find("section")->find("name")->string, "PU18");
}

// Another program's file, a later version's, or broken JSON is refused with
// the reason, so that nobody writes over it; a failed write keeps the file.
TEST_F(ProjectFileTest, RefusesWhatItMustNotOverwrite) {
  const fs::path path = folder_ / "wall.terraq.json";
  std::string error;
  EXPECT_TRUE(ReadProjectFile(path, error)->root.members.empty());  // no file yet
  for (const char* text : {R"({"format": "other", "version": 1})",
                           R"({"format": "terraq-project", "version": 2})", R"({"format": )",
                           R"([1, 2])"}) {
    std::ofstream(path) << text;
    error.clear();
    EXPECT_FALSE(ReadProjectFile(path, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
  if (::geteuid() != 0) {
    std::ofstream(path, std::ios::trunc) << R"({"format": "terraq-project", "version": 1})";
    const std::string before = ReadAll(path);
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    ProjectFile file;
    file.set("section", JsonValue::Object());
    EXPECT_FALSE(WriteProjectFile(path, file, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadAll(path), before);
  }
}

// What the file holds must mean one thing to every reader, and what it is
// written as must be strict JSON: a name given twice, bytes that are not
// UTF-8 and lone surrogates are refused on reading; a stray byte the
// program puts in is written as the Latin-1 character, never as a lone
// surrogate. A folder or a pipe in the file's place is refused at once.
TEST_F(ProjectFileTest, ReadsOnlyStrictJsonAndWritesOnlyStrictJson) {
  const fs::path path = folder_ / "wall.terraq.json";
  const std::string head = R"({"format": "terraq-project", "version": 1, )";
  std::string error;
  for (const std::string& tail :
       {std::string(R"("a": {"x": 1, "x": 2}})"), std::string("\"a\xff\": 1}"),
        std::string(R"("a": "\udcff"})"), std::string(R"("a": "\ud800"})")}) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << head + tail;
    error.clear();
    EXPECT_FALSE(ReadProjectFile(path, error)) << tail;
    EXPECT_FALSE(error.empty()) << tail;
  }
  EXPECT_NE(error.find("at byte"), std::string::npos) << error;
  ParseJson(R"({"x": 1, "x": 2})", error);
  EXPECT_NE(error.find("the name \"x\" is given twice"), std::string::npos) << error;

  ProjectFile file;
  file.set("n\xb0", JsonValue::Text("\xe9t\xe9"));
  ASSERT_TRUE(WriteProjectFile(path, file, error)) << error;
  EXPECT_NE(ReadAll(path).find("\"n\xc2\xb0\": \"\xc3\xa9t\xc3\xa9\""), std::string::npos)
      << ReadAll(path);
  ASSERT_TRUE(ReadProjectFile(path, error)) << error;

  for (const bool pipe : {false, true}) {
    fs::remove(path);
    if (pipe) ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    else fs::create_directory(path);
    EXPECT_FALSE(ReadProjectFile(path, error));  // returns at once, a pipe too
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  }
}

// Every member this version knows is read whole: a key it does not know
// inside one (a misspelling) is refused, naming it, as the member's own
// fault is; a top-level member it does not know is kept.
TEST_F(ProjectFileTest, AKeyNotKnownInsideAMemberIsRefused) {
  const fs::path data = folder_ / "wall.tq4d";
  const std::string head = R"({"format": "terraq-project", "version": 1, "later": {"y": 1}, )";
  std::string error;
  std::ofstream(ProjectFilePath(data)) << head + R"("section": {"name": "AZ18"}})";
  EXPECT_TRUE(ReadProjectBeside(data, error)) << error;
  for (const char* member : {
           R"("sequential": {"stage": [{"set": {"excavation": 2}}]}})",
           R"("sequential": {"stages": [{"nmae": "Dig"}]}})",
           R"("sequential": {"supports": [{"name": "A1", "dpeth": 1}]}})",
           R"("sequential": {"units": {"lenght": "m"}}})",
           R"("section": {"name": "AZ18", "spacng": 2}})",
           R"("designSituations": {"chosen": [], "unplanned": true}})",
           R"("designSituations": {"sets": [{"name": "A", "gamaG": 1.1}]}})",
           R"("designSituations": {"sets": [{"name": "A", "serviceability": 1}]}})",
       }) {
    std::ofstream(ProjectFilePath(data), std::ios::trunc) << head + member;
    EXPECT_FALSE(ReadProjectBeside(data, error)) << member;
    EXPECT_NE(error.find("wall.terraq.json cannot be used: "), std::string::npos) << error;
  }
  EXPECT_NE(error.find("\"serviceability\" must be true or false"), std::string::npos) << error;
}

// Members saved at once by different parts (threads here, processes alike)
// are all kept: each save reads the file again under its lock.
TEST_F(ProjectFileTest, SavesOfDifferentMembersAtOnceKeepEveryMember) {
  const fs::path data = folder_ / "wall.tq4d";
  constexpr int kSavers = 4, kSaves = 40;
  std::vector<std::thread> savers;
  std::atomic<int> failed = 0;
  for (int k = 0; k < kSavers; ++k)
    savers.emplace_back([&, k] {
      const std::string key = "part" + std::to_string(k);
      for (int n = 1; n <= kSaves; ++n) {
        std::string error;
        if (!SaveProjectMember(
                data, key, true, [&](ProjectFile& p) { p.set(key, JsonValue::Number(n)); },
                "not saved", error))
          ++failed;
      }
    });
  for (std::thread& t : savers) t.join();
  EXPECT_EQ(failed, 0);
  std::string error;
  const std::optional<ProjectFile> file = ReadProjectFile(ProjectFilePath(data), error);
  ASSERT_TRUE(file) << error;
  for (int k = 0; k < kSavers; ++k) {
    const JsonValue* part = file->find("part" + std::to_string(k));
    ASSERT_TRUE(part) << k;
    EXPECT_EQ(part->number, kSaves);
  }
  EXPECT_FALSE(fs::exists(folder_ / ".wall.terraq.json.lock"));
}

// A project file planted by another user beside a data file in a shared
// sticky folder (/tmp) is not used, nor is a link planted there.
TEST_F(ProjectFileTest, AProjectFilePlantedInASharedFolderIsNotUsed) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs a second user's file: run as root";
  const fs::path shared = folder_ / "shared";
  fs::create_directory(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  const fs::path data = shared / "wall.tq4d";
  std::ofstream(ProjectFilePath(data)) << R"({"format": "terraq-project", "version": 1})";
  std::string error;
  EXPECT_TRUE(ReadProjectBeside(data, error)) << error;
  ASSERT_EQ(::chown(ProjectFilePath(data).c_str(), 65534, 65534), 0);
  EXPECT_FALSE(ReadProjectBeside(data, error));
  EXPECT_NE(error.find("belongs to another user of the shared folder"), std::string::npos) << error;
  fs::remove(ProjectFilePath(data));
  std::ofstream(folder_ / "elsewhere.json") << R"({"format": "terraq-project", "version": 1})";
  fs::create_symlink(folder_ / "elsewhere.json", ProjectFilePath(data));
  ASSERT_EQ(::lchown(ProjectFilePath(data).c_str(), 65534, 65534), 0);
  EXPECT_FALSE(ReadProjectBeside(data, error));
}

}  // namespace
}  // namespace terraq::ui
