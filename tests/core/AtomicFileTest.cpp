// Saving keeps what the user set up around a file: protection, permissions,
// group, symbolic and hard links; a failed save (no room, a size limit)
// leaves the old file whole; killed saves leave nothing behind for long.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "CliTestFiles.h"
#include "project/AtomicFile.h"
#include "project/ReplacementSet.h"
#include "project/TProject.h"
#include "project/TWordReader.h"

using namespace terraq::ui;
using terraq::test::ReadFile;
using terraq::test::ScratchFolder;
namespace fs = std::filesystem;

namespace {

struct stat statOf(const fs::path& path) {
  struct stat st{};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st;
}

int entriesIn(const fs::path& folder) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
  return n;
}

// The entries but the temporary files of killed saves (removed once stale).
int entriesButTemporaries(const fs::path& folder) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(folder))
    n += e.path().filename().string().find(".tmp") == std::string::npos;
  return n;
}

TEST(AtomicFile, KeepsPermissionsAndGroupAndWritesThroughSymbolicLinks) {
  ScratchFolder folder;
  const fs::path file = folder.path() / "private.tq4d";
  WriteFileAtomically(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  // A group other than the one new files get, where the user has one.
  gid_t groups[64];
  const int count = ::getgroups(64, groups);
  for (int k = 0; k < count; ++k)
    if (groups[k] != statOf(file).st_gid && ::chown(file.c_str(), static_cast<uid_t>(-1), groups[k]) == 0) break;
  const struct stat before = statOf(file);
  WriteFileAtomically(file, "new");
  const struct stat after = statOf(file);
  EXPECT_EQ(ReadFile(file), "new");
  EXPECT_EQ(after.st_mode & 07777, 0600u);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(after.st_uid, before.st_uid);

  // A relative link into a sub-folder, and a link to a link: the links stay,
  // the file at the end gets the text.
  fs::create_directory(folder.path() / "real");
  WriteFileAtomically(folder.path() / "real" / "wall.tq4d", "old");
  fs::create_symlink("real/wall.tq4d", folder.path() / "link.tq4d");
  fs::create_symlink("link.tq4d", folder.path() / "link2.tq4d");
  WriteFileAtomically(folder.path() / "link2.tq4d", "through");
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.path() / "link.tq4d")));
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.path() / "link2.tq4d")));
  EXPECT_EQ(ReadFile(folder.path() / "real" / "wall.tq4d"), "through");
  // A dangling link gets its target created.
  fs::create_symlink("real/new.tq4d", folder.path() / "dangling.tq4d");
  WriteFileAtomically(folder.path() / "dangling.tq4d", "created");
  EXPECT_EQ(ReadFile(folder.path() / "real" / "new.tq4d"), "created");
  EXPECT_EQ(entriesIn(folder.path() / "real"), 2);  // no temporary file left
}

TEST(AtomicFile, HardLinkedFileIsRewrittenForEveryName) {
  ScratchFolder folder;
  const fs::path file = folder.path() / "wall.tq4d";
  WriteFileAtomically(file, "old text");
  fs::create_hard_link(file, folder.path() / "copy.tq4d");
  WriteFileAtomically(file, "new");  // shorter: the rest is cut off
  EXPECT_EQ(ReadFile(folder.path() / "copy.tq4d"), "new");
  EXPECT_EQ(statOf(file).st_ino, statOf(folder.path() / "copy.tq4d").st_ino);
  EXPECT_EQ(entriesIn(folder.path()), 2);
}

TEST(AtomicFile, RefusesAFileTheUserCannotWrite) {
  ScratchFolder folder;
  const fs::path file = folder.path() / "locked.tq4d";
  WriteFileAtomically(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  if (::access(file.c_str(), W_OK) == 0) GTEST_SKIP() << "the permission is bypassed for this user";
  try {
    WriteFileAtomically(file, "new");
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot write " + file.string() + ": the file is read-only");
  }
  EXPECT_EQ(ReadFile(file), "old");
  EXPECT_EQ(entriesIn(folder.path()), 1);

  // A writable file in a folder that is not: no temporary file can be made
  // beside it, and the message says so.
  ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
  try {
    WriteFileAtomically(file, "new");
    ADD_FAILURE();
  } catch (const EInOutError& e) {
    EXPECT_NE(std::string(e.what()).find("cannot create a temporary file in " + folder.path().string()),
              std::string::npos)
        << e.what();
  }
  ::chmod(folder.path().c_str(), 0755);
  EXPECT_EQ(ReadFile(file), "old");
}

// A file-size limit stands in for a full disk: the write fails part way.
TEST(AtomicFile, FailedWriteLeavesTheOldFileWhole) {
  ScratchFolder folder;
  const fs::path plain = folder.path() / "plain.tq4d";
  const fs::path linked = folder.path() / "linked.tq4d";
  WriteFileAtomically(plain, "old");
  WriteFileAtomically(linked, "old");
  fs::create_hard_link(linked, folder.path() / "other.tq4d");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    int refused = 0;
    for (const fs::path& file : {plain, linked}) {
      try {
        WriteFileAtomically(file, std::string(10000, 'x'));
      } catch (const EInOutError&) {
        ++refused;
      }
    }
    ::_exit(refused);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_EQ(ReadFile(plain), "old");
  EXPECT_EQ(ReadFile(linked), "old");
  EXPECT_EQ(entriesIn(folder.path()), 3);
}

TEST(AtomicFile, RemovesOnlyItsOwnStaleTemporaries) {
  ScratchFolder folder;
  const fs::path file = folder.path() / "wall.tq4d";
  const auto make = [&](const std::string& name, bool old) {
    WriteFileAtomically(folder.path() / name, "x");
    if (old) fs::last_write_time(folder.path() / name, fs::file_time_type::clock::now() - std::chrono::hours(2));
  };
  make(".wall.tq4d.tmp123", true);   // a killed save of this file: removed
  make(".wall.tq4d.tmp456", false);  // perhaps a save in progress: kept
  make(".wall.tq4d.tmp12x", true);   // not our pattern
  make(".other.tq4d.tmp1", true);    // another file's
  WriteFileAtomically(file, "text");
  EXPECT_FALSE(fs::exists(folder.path() / ".wall.tq4d.tmp123"));
  EXPECT_TRUE(fs::exists(folder.path() / ".wall.tq4d.tmp456"));
  EXPECT_TRUE(fs::exists(folder.path() / ".wall.tq4d.tmp12x"));
  EXPECT_TRUE(fs::exists(folder.path() / ".other.tq4d.tmp1"));
}

// Opening a project clears the temporary files that killed saves of its
// files left beside it (nothing else would, if the file is never saved
// again), but never one a live save holds, however old, nor another
// program's file of the same form.
TEST(AtomicFile, OpeningAProjectRemovesTheTemporariesOfKilledSaves) {
  ScratchFolder folder;
  const fs::path file = folder.copy("cli-cantilever.tq4d", "wall.tq4d");
  const auto plant = [&](const std::string& name) {
    const fs::path path = folder.path() / name;
    WriteFileAtomically(path, "x");
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(2));
    return path;
  };
  const fs::path killedSave = plant(".wall.tq4d.tmp123");
  const fs::path killedRun = plant(".wall.tq4p.tmp77");
  const fs::path otherProgram = plant(".wall.txt.tmp5");
  const fs::path held = plant(".wall.st2.tmp9");
  // A live save in another process holds its file's lock.
  const int holder = ::open(held.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  {
    // A live save of this program, two hours into writing.
    ReplacementFile saving(folder.path() / "wall.tq4r");
    fs::last_write_time(saving.temporary(),
                        fs::file_time_type::clock::now() - std::chrono::hours(2));
    TProject project;
    project.Open(file, kLayoutCurrent);
    EXPECT_TRUE(fs::exists(saving.temporary()));
  }
  ::close(holder);
  EXPECT_FALSE(fs::exists(killedSave));
  EXPECT_FALSE(fs::exists(killedRun));
  EXPECT_TRUE(fs::exists(otherProgram));
  EXPECT_TRUE(fs::exists(held));
  EXPECT_EQ(entriesIn(folder.path()), 3);  // the data file, the two kept
}

}  // namespace

namespace {

// Runs `write` in a child process that TERRAQ_TEST_KILL_AT=`point` kills
// there; true when it was killed.
template <class Write>
bool killedAt(const char* point, Write write) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::setenv("TERRAQ_TEST_KILL_AT", point, 1);
    try {
      write();
    } catch (...) {}
    ::_exit(0);
  }
  int status = 0;
  return child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status) &&
         WTERMSIG(status) == SIGKILL;
}

// A file with a second name, killed while rewritten in place: the new text
// was written over the old one's start, the rest not yet cut off. The
// complete copy kept beside it restores the whole new text at the next
// replacement (or run, or opening) of the file.
TEST(AtomicFile, KilledRewriteInPlaceIsCompletedNextTime) {
  ScratchFolder folder;
  const fs::path file = folder.path() / "wall.tq4d";
  const fs::path other = folder.path() / "other.tq4d";
  WriteFileAtomically(file, "old text, longer than the new one");
  fs::create_hard_link(file, other);
  ASSERT_TRUE(killedAt("in-place-rewrite", [&] { WriteFileAtomically(file, "new text"); }));
  EXPECT_EQ(ReadFile(file).substr(0, 8), "new text");  // torn: the old tail follows
  CompleteInterruptedRewrite(file);
  EXPECT_EQ(ReadFile(file), "new text");
  EXPECT_EQ(ReadFile(other), "new text");
  EXPECT_EQ(entriesIn(folder.path()), 2);

  // The same through a save of the file, which completes it first.
  ASSERT_TRUE(killedAt("in-place-rewrite", [&] { WriteFileAtomically(file, "n2"); }));
  WriteFilesAtomically({{file, "n3"}});
  EXPECT_EQ(ReadFile(other), "n3");
  EXPECT_EQ(entriesIn(folder.path()), 2);
}

// Files replaced as one set (a data file and its stage file, a run's three
// outputs): a kill after the first rename leaves the new first file beside
// the old second one. The next replacement of the set puts the old set back
// first; a failure part way restores it at once.
TEST(AtomicFile, SetKilledBetweenRenamesIsRolledBack) {
  ScratchFolder folder;
  const fs::path a = folder.path() / "wall.tq4o", b = folder.path() / "wall.tq4p",
                 c = folder.path() / "wall.tq4r";
  WriteFileAtomically(a, "old a");
  WriteFileAtomically(b, "old b");
  fs::create_hard_link(b, folder.path() / "b-too");  // rewritten in place
  WriteFileAtomically(c, "old c");
  ASSERT_TRUE(killedAt("between-renames", [&] {
    WriteFilesAtomically({{a, "new a"}, {b, "new b"}, {c, "new c"}});
  }));
  EXPECT_EQ(ReadFile(a), "new a");  // a mixed set, with its journal
  EXPECT_EQ(ReadFile(b), "old b");
  RecoverInterruptedSet(a);
  EXPECT_EQ(ReadFile(a), "old a");
  EXPECT_EQ(ReadFile(b), "old b");
  EXPECT_EQ(ReadFile(c), "old c");
  EXPECT_EQ(entriesButTemporaries(folder.path()), 4);

  // Killed while the second file, of two names, is rewritten in place.
  ASSERT_TRUE(killedAt("in-place-rewrite", [&] {
    WriteFilesAtomically({{a, "new a"}, {b, "new b, longer"}});
  }));
  WriteFilesAtomically({{a, "a3"}, {b, "b3"}});
  EXPECT_EQ(ReadFile(a), "a3");
  EXPECT_EQ(ReadFile(folder.path() / "b-too"), "b3");
  EXPECT_EQ(entriesButTemporaries(folder.path()), 4);

  // Two names of one file in a set, or a file kept apart: refused whole.
  fs::create_hard_link(a, folder.path() / "a-too");
  EXPECT_THROW(WriteFilesAtomically({{a, "x"}, {folder.path() / "a-too", "y"}}), EFileWriteError);
  try {
    WriteFilesAtomically({{folder.path() / "wall.st2", "x"}, {folder.path() / "a-too", "y"}},
                         {{a, "the data file"}});
    ADD_FAILURE();
  } catch (const EFileWriteError& e) {
    EXPECT_EQ(e.reason(), "it is the same file as " + a.string() + " (the data file)");
  }
  EXPECT_EQ(ReadFile(a), "a3");
  EXPECT_FALSE(fs::exists(folder.path() / "wall.st2"));
}

// A name near the system's 255-byte limit still gets its temporary and
// side files, named shorter.
TEST(AtomicFile, LongNamesAreSavedAndReplaced) {
  ScratchFolder folder;
  const fs::path file = folder.path() / (std::string(250, 'w') + ".tq4d");
  WriteFileAtomically(file, "first");
  WriteFileAtomically(file, "second");
  fs::create_hard_link(file, folder.path() / "short");
  WriteFilesAtomically({{file, "third"}, {folder.path() / "x", "x"}});
  EXPECT_EQ(ReadFile(folder.path() / "short"), "third");
  EXPECT_EQ(entriesIn(folder.path()), 3);
  EXPECT_NE(SideFileName(file, ".tmp"),
            SideFileName(folder.path() / (std::string(250, 'w') + ".tq4p"), ".tmp"));
}

// In a shared sticky folder (/tmp), a link another user planted is not
// followed: the file it points to, the user's own elsewhere, stays as it
// was. The user's own links there are followed as anywhere.
TEST(AtomicFile, LinkPlantedByAnotherUserInASharedFolderIsNotFollowed) {
  if (::geteuid() != 0 || std::system("command -v runuser >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "needs a second user: run as root, with runuser";
  ScratchFolder folder;
  ::chmod(folder.path().c_str(), 0755);
  const fs::path shared = folder.path() / "shared", mine = folder.path() / "mine";
  fs::create_directory(shared);
  fs::create_directory(mine);
  ::chmod(shared.c_str(), 01777);
  WriteFileAtomically(mine / "secret", "mine");
  ::chmod((mine / "secret").c_str(), 0600);
  const std::string plant = "runuser -u nobody -- ln -s " + (mine / "secret").string() + " " +
                            (shared / "wall.tq4o").string();
  ASSERT_EQ(std::system(plant.c_str()), 0);
  try {
    WriteFileAtomically(shared / "wall.tq4o", "report");
    ADD_FAILURE() << "written through the planted link";
  } catch (const EFileWriteError& e) {
    EXPECT_NE(e.reason().find("belongs to another user of the shared folder"), std::string::npos)
        << e.what();
  }
  EXPECT_EQ(ReadFile(mine / "secret"), "mine");
  fs::create_symlink(mine / "secret", shared / "own.tq4o");
  WriteFileAtomically(shared / "own.tq4o", "through my own link");
  EXPECT_EQ(ReadFile(mine / "secret"), "through my own link");
}

}  // namespace
