// The one option parser of the terraq commands: for every option of every
// command, its value read alike after "=" and as the next argument, and a
// missing value, a value out of its kind or bounds and an unknown option
// refused alike, naming the option and the command. Then, as users run it:
// both spellings giving the same results, every command refusing an unknown
// option the same way, and a study's JSON keys beside their old names.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "CliTestFiles.h"
#include "CommandDeclarations.h"
#include "CommandRunner.h"
#include "project/JsonReader.h"

using namespace terraq::test;
namespace cli = terraq::cli;

namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// A value the option takes: a Choice's last word, a number at its lower
// bound (just above it when the bound is excluded).
std::string GoodValue(const cli::OptionDeclaration& option) {
  switch (option.kind) {
    case cli::ValueKind::Choice:
      return std::string(option.value.substr(option.value.rfind('|') + 1));
    case cli::ValueKind::Real:
      if (!std::isfinite(option.least)) return "2.5";
      return Number(option.aboveLeast ? option.least + 0.5 : option.least);
    case cli::ValueKind::Whole: return std::isfinite(option.least) ? Number(option.least) : "7";
    default: return "a=b,c";
  }
}

// Reads `args` for `command`; the status it ends with (-1: it goes on) and
// what it said on standard error.
int Read(const cli::CommandDeclaration& command, const std::vector<std::string>& args,
         cli::CommandArguments& read, std::string& err) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  testing::internal::CaptureStderr();
  const std::optional<int> status = cli::ReadArguments(command, views, read);
  err = testing::internal::GetCapturedStderr();
  return status.value_or(-1);
}

// The values the option must refuse: beyond its bounds, or not of its kind.
std::vector<std::string> BadValues(const cli::OptionDeclaration& option) {
  std::vector<std::string> bad;
  if (option.kind == cli::ValueKind::Text) return bad;
  bad.push_back("nonsense");
  if (std::isfinite(option.least))
    bad.push_back(Number(option.aboveLeast ? option.least : option.least - 1));
  if (std::isfinite(option.most)) bad.push_back(Number(option.most * 2));
  if (option.kind == cli::ValueKind::Whole)
    bad.push_back(Number((std::isfinite(option.least) ? option.least : 0) + 1.5));
  return bad;
}

}  // namespace

TEST(CommandOptions, EveryOptionIsReadAlikeBothWaysAndRefusedAlike) {
  for (const cli::CommandDeclaration* command : cli::AllCommands()) {
    const std::string name(command->name);
    cli::CommandArguments read;
    std::string err;
    EXPECT_EQ(Read(*command, {"FILE", "--bogus"}, read, err), 2);
    EXPECT_TRUE(
        contains(err, "terraq: unknown option '--bogus' for " + name + "\nUsage: terraq " + name))
        << err;
    const std::string help = cli::CommandHelp(*command);
    for (const cli::OptionDeclaration& option : command->options) {
      const std::string flag(option.name);
      EXPECT_TRUE(contains(help, "\n  " + flag)) << name << " " << flag;
      if (option.kind == cli::ValueKind::None) {
        EXPECT_EQ(Read(*command, {flag + "=yes"}, read, err), 2) << name << " " << flag;
        EXPECT_TRUE(
            contains(err, flag + "=yes is refused for " + name + ": " + flag + " takes no value"))
            << err;
        continue;
      }
      const std::string value = GoodValue(option);
      cli::CommandArguments spaced, joined;
      ASSERT_EQ(Read(*command, {flag, value, "FILE"}, spaced, err), -1) << name << " " << err;
      ASSERT_EQ(Read(*command, {flag + "=" + value, "FILE"}, joined, err), -1)
          << name << " " << err;
      for (const cli::CommandArguments* given : {&spaced, &joined}) {
        ASSERT_EQ(given->options.size(), 1u) << name << " " << flag;
        EXPECT_EQ(given->options[0].option, &option);
        EXPECT_EQ(given->options[0].value, value) << name << " " << flag;
        EXPECT_EQ(given->operands, std::vector<std::string>{"FILE"});
      }
      EXPECT_EQ(Read(*command, {"FILE", flag}, read, err), 2) << name << " " << flag;
      EXPECT_TRUE(contains(err, "terraq: " + flag + " needs a value for " + name + ": ")) << err;
      for (const std::string& bad : BadValues(option)) {
        EXPECT_EQ(Read(*command, {flag + "=" + bad, "FILE"}, read, err), 2) << flag << " " << bad;
        EXPECT_TRUE(contains(err, "terraq: " + flag + " " + bad + " is refused for " + name + ": "))
            << err;
      }
    }
  }
}

TEST(CommandOptions, TheProgramReadsBothSpellingsAlikeAndStudyKeepsItsOldKeys) {
  ScratchFolder work;
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "cantilever-sand-generated.tq4d",
                work.path() / "wall.tq4d");
  // Every command, the painting ones through their helper program too.
  for (const char* command :
       {"run", "convert", "plot", "report", "design", "study", "study merge", "sections"}) {
    const Outcome o = runTerraq(std::string(command) + " --bogus wall.tq4d", work.path());
    EXPECT_EQ(o.status, 2) << command;
    EXPECT_TRUE(contains(o.err, "unknown option '--bogus' for " + std::string(command))) << o.err;
    EXPECT_EQ(o.out, "") << command;
  }
  // A value that holds "=" itself, and an option the study once refused so.
  const Outcome spaced =
      runTerraq("study wall.tq4d --vary tip=300,310 --jobs 2 --json", work.path());
  const Outcome joined =
      runTerraq("study --json --jobs=2 --vary=tip=300,310 wall.tq4d", work.path());
  ASSERT_EQ(spaced.status, 0) << spaced.err;
  EXPECT_EQ(joined.status, 0) << joined.err;
  EXPECT_EQ(spaced.out, joined.out);

  // The keys of terraq run beside the ones a study gave before, equal.
  std::string error;
  const std::optional<terraq::ui::JsonValue> json = terraq::ui::ParseJson(spaced.out, error);
  ASSERT_TRUE(json) << error << "\n" << spaced.out;
  const terraq::ui::JsonValue* results = json->find("results");
  ASSERT_TRUE(results && results->items.size() == 2) << spaced.out;
  for (const terraq::ui::JsonValue& point : results->items) {
    const terraq::ui::JsonValue& problem = point.find("problems")->items.at(0);
    const terraq::ui::JsonValue* top = problem.find("topDeflection");
    ASSERT_TRUE(top && top->find("value") && problem.find("top")) << spaced.out;
    EXPECT_NE(top->find("value")->number, 0);
    EXPECT_EQ(top->find("value")->number, problem.find("top")->number);
    EXPECT_EQ(top->find("depth")->number, 0);
    for (const auto& [key, alias] :
         {std::pair{"maxDeflection", "deflection"}, {"maxMoment", "moment"}})
      for (const char* member : {"value", "depth"}) {
        ASSERT_TRUE(problem.find(key) && problem.find(alias)) << key;
        EXPECT_EQ(problem.find(key)->find(member)->number,
                  problem.find(alias)->find(member)->number)
            << key << " " << member;
      }
  }
}
