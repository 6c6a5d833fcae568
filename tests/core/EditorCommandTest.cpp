// The text-editor setting read as a command line, as a shell would split it.

#include <gtest/gtest.h>

#include <fstream>

#include "CliTestFiles.h"
#include "project/EditorCommand.h"

using namespace terraq::ui;

namespace {

using Words = std::vector<std::string>;

Words wordsOf(const EditorCommand& c) {
  Words words{c.program};
  words.insert(words.end(), c.arguments.begin(), c.arguments.end());
  return words;
}

}  // namespace

TEST(EditorCommand, SplitsAsAShellWithoutExpanding) {
  EXPECT_EQ(wordsOf(ParseEditorCommand("xterm -e less")), (Words{"xterm", "-e", "less"}));
  EXPECT_EQ(wordsOf(ParseEditorCommand("  editor.sh\t-x  ")), (Words{"editor.sh", "-x"}));
  EXPECT_EQ(wordsOf(ParseEditorCommand("'/opt/My Editor/edit' --title \"a \\\"b\\\" \\c\" $HOME")),
            (Words{"/opt/My Editor/edit", "--title", "a \"b\" \\c", "$HOME"}));
  EXPECT_EQ(wordsOf(ParseEditorCommand("my\\ editor x'y'\"z\" ''")), (Words{"my editor", "xyz", ""}));

  for (const char* bad : {"", "   ", "'open", "\"open", "edit\\"}) {
    const EditorCommand c = ParseEditorCommand(bad);
    EXPECT_TRUE(c.program.empty()) << bad;
    EXPECT_FALSE(c.error.empty()) << bad;
  }
}

TEST(EditorCommand, AnExistingFileIsOneProgramAndBrowsedPathsAreQuoted) {
  const terraq::test::ScratchFolder folder;
  const std::string program = (folder.path() / "my edit\\or").string();
  std::ofstream(program) << "#!/bin/sh\n";
  const EditorCommand whole = ParseEditorCommand(program);
  EXPECT_EQ(whole.program, program);
  EXPECT_TRUE(whole.arguments.empty());

  for (const std::string path : {"/usr/bin/gedit", "/opt/My Editor/it's", "C:\\Editors\\ed.exe"}) {
    const std::string quoted = QuotedProgram(path);
    EXPECT_EQ(wordsOf(ParseEditorCommand(quoted + " -x")), (Words{path, "-x"})) << quoted;
  }
  EXPECT_EQ(QuotedProgram("/usr/bin/gedit"), "/usr/bin/gedit");
}
