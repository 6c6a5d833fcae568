#include "project/ProjectFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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
    "name": "\udcff\u00e9", "section": {"name": "AZ18"}, "z": [1, 2e-300]})";
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
  EXPECT_EQ(again->find("name")->string, "\xff\xc3\xa9");
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

}  // namespace
}  // namespace terraq::ui
