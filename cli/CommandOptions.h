#pragma once
// The one option parser of every terraq command. A command declares its
// options once (name, whether and what kind of value, help); the parser reads
// `--opt value` and `--opt=value` alike, checks each value against its
// kind, and refuses an unknown option, a missing value or a value of the
// wrong kind with one form of message that names the option and the
// command. The text of `terraq CMD --help` is made from the same
// declaration, so that the help can never list an option the parser does
// not know, nor miss one it does.

#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace terraq::cli {

enum class ValueKind {
  None,    // a switch: --json
  Text,    // any text; its meaning is checked by the command
  Choice,  // one of the words of `value`, "a|b|c"
  Real,    // a finite number within the bounds
  Whole,   // a whole number within the bounds
};

struct OptionDeclaration {
  std::string_view name;  // "--jobs"
  ValueKind kind = ValueKind::None;
  std::string_view value;  // its placeholder in the usage ("N"); a Choice's words
  std::string_view help;   // lines broken by '\n'
  // What a value must be, in the messages that refuse one ("a number of
  // analyses at once, 1 to 1024").
  std::string_view need = {};
  // The bounds of a Real or Whole value; `aboveLeast` excludes `least`.
  double least = -HUGE_VAL;
  double most = HUGE_VAL;
  bool aboveLeast = false;
};

struct CommandDeclaration {
  std::string_view name;      // "run", "study merge"
  std::string_view operands;  // "FILE.tq4d..."
  std::string_view summary;   // what the command does, for the help
  std::span<const OptionDeclaration> options;
  std::string_view more = {};  // told after the options (the graphs of plot, ...)
};

struct GivenOption {
  const OptionDeclaration* option;
  std::string value;  // empty for a switch
};

// A command line as read: its options in the order given and its operands.
struct CommandArguments {
  std::vector<GivenOption> options;
  std::vector<std::string> operands;

  bool has(std::string_view name) const;
  // The value the option was given last; null when it was not given.
  const std::string* last(std::string_view name) const;
};

// The number a Real or Whole option's value (checked by the parser) holds.
double NumberValue(std::string_view value);

// Reads the arguments after the command's name. Returns the exit status when
// the command ends here: its help printed (0), or the arguments refused (2,
// with the message on standard error).
std::optional<int> ReadArguments(const CommandDeclaration& command,
                                 const std::vector<std::string_view>& args, CommandArguments& read);

// "Usage: terraq CMD [--opt VALUE]... [--] OPERANDS", wrapped.
std::string CommandUsage(const CommandDeclaration& command);
// The help of terraq CMD --help: its usage, summary, options and the rest.
std::string CommandHelp(const CommandDeclaration& command);

// "terraq: MESSAGE", the command's usage and where its help is, on standard
// error; returns kExitUsage.
int CommandUsageError(const CommandDeclaration& command, const std::string& message);
// The refusal of an option's value: "OPTION VALUE is refused for CMD: WHY".
int RefuseValue(const CommandDeclaration& command, std::string_view option, std::string_view value,
                std::string_view why);

}  // namespace terraq::cli
