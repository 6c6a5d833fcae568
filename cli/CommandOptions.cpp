#include "CommandOptions.h"

#include <algorithm>
#include <charconv>
#include <iostream>

#include "CommandLine.h"

namespace terraq::cli {

namespace {

constexpr size_t kLineWidth = 78;
constexpr size_t kHelpColumn = 27;  // where an option's help begins

const OptionDeclaration* Declared(const CommandDeclaration& command, std::string_view name) {
  for (const OptionDeclaration& option : command.options)
    if (option.name == name) return &option;
  return nullptr;
}

// A Choice's words as a sentence: "current, 3.0 or 2.0".
std::string ChoiceWords(std::string_view words) {
  std::string out;
  for (size_t at = 0; at <= words.size();) {
    size_t bar = words.find('|', at);
    if (bar == std::string_view::npos) bar = words.size();
    if (!out.empty()) out += bar == words.size() ? " or " : ", ";
    out += words.substr(at, bar - at);
    at = bar + 1;
  }
  return out;
}

std::string Need(const OptionDeclaration& option) {
  if (!option.need.empty()) return std::string(option.need);
  if (option.kind == ValueKind::Choice) return ChoiceWords(option.value);
  return std::string(option.value);
}

bool InBounds(const OptionDeclaration& option, double value) {
  return std::isfinite(value) &&
         (option.aboveLeast ? value > option.least : value >= option.least) && value <= option.most;
}

// Whether `value` is one the option takes, by its kind.
bool Acceptable(const OptionDeclaration& option, std::string_view value) {
  switch (option.kind) {
    case ValueKind::None: return false;
    case ValueKind::Text: return true;
    case ValueKind::Choice:
      for (size_t at = 0; at <= option.value.size();) {
        size_t bar = option.value.find('|', at);
        if (bar == std::string_view::npos) bar = option.value.size();
        if (option.value.substr(at, bar - at) == value) return true;
        at = bar + 1;
      }
      return false;
    case ValueKind::Whole:
      if (value.empty() || value.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
      [[fallthrough]];
    case ValueKind::Real: {
      double number = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
      return !value.empty() && ec == std::errc() && end == value.data() + value.size() &&
             InBounds(option, number);
    }
  }
  return false;
}

// One argument that begins with "--" or "-h": the option, its value taken
// from "=VALUE" or the next argument. Returns the status when refused.
std::optional<int> ReadOption(const CommandDeclaration& command,
                              const std::vector<std::string_view>& args, size_t& k,
                              CommandArguments& read) {
  const std::string_view arg = args[k];
  const size_t equals = arg.find('=');
  const std::string_view name = arg.substr(0, equals);
  const OptionDeclaration* option = Declared(command, name);
  if (!option)
    return CommandUsageError(
        command, "unknown option '" + std::string(name) + "' for " + std::string(command.name));
  if (option->kind == ValueKind::None) {
    if (equals != std::string_view::npos)
      return RefuseValue(command, arg, "", std::string(name) + " takes no value");
    read.options.push_back({option, {}});
    return std::nullopt;
  }
  std::string_view value;
  if (equals != std::string_view::npos) value = arg.substr(equals + 1);
  else if (k + 1 < args.size()) value = args[++k];
  else
    return CommandUsageError(command, std::string(name) + " needs a value for " +
                                          std::string(command.name) + ": " + Need(*option));
  if (!Acceptable(*option, value)) return RefuseValue(command, name, value, Need(*option));
  read.options.push_back({option, std::string(value)});
  return std::nullopt;
}

// Words appended to `out` wrapped at the line width, continued under `indent`.
void AppendWrapped(std::string& out, size_t& column, std::string_view word, size_t indent) {
  if (column + 1 + word.size() > kLineWidth && column > indent) {
    out += "\n" + std::string(indent, ' ');
    column = indent;
  } else {
    out += ' ';
    ++column;
  }
  out += word;
  column += word.size();
}

}  // namespace

bool CommandArguments::has(std::string_view name) const { return last(name) != nullptr; }

const std::string* CommandArguments::last(std::string_view name) const {
  for (auto given = options.rbegin(); given != options.rend(); ++given)
    if (given->option->name == name) return &given->value;
  return nullptr;
}

double NumberValue(std::string_view value) {
  double number = 0;
  std::from_chars(value.data(), value.data() + value.size(), number);
  return number;
}

std::optional<int> ReadArguments(const CommandDeclaration& command,
                                 const std::vector<std::string_view>& args,
                                 CommandArguments& read) {
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string_view arg = args[k];
    if (arg == "--") {
      read.operands.insert(read.operands.end(), args.begin() + k + 1, args.end());
      break;
    }
    if (arg == "--help" || arg == "-h") {
      std::cout << CommandHelp(command);
      return kExitOk;
    }
    if (arg.size() < 2 || arg.front() != '-') {
      read.operands.emplace_back(arg);
      continue;
    }
    if (const std::optional<int> refused = ReadOption(command, args, k, read)) return refused;
  }
  return std::nullopt;
}

std::string CommandUsage(const CommandDeclaration& command) {
  std::string out = "Usage: terraq " + std::string(command.name);
  const size_t indent = out.size() + 1;
  size_t column = out.size();
  for (const OptionDeclaration& option : command.options) {
    std::string word = "[" + std::string(option.name);
    if (option.kind != ValueKind::None) word += " " + std::string(option.value);
    AppendWrapped(out, column, word + "]", indent);
  }
  if (!command.options.empty()) AppendWrapped(out, column, "[--]", indent);
  AppendWrapped(out, column, command.operands, indent);
  return out + "\n";
}

std::string CommandHelp(const CommandDeclaration& command) {
  std::string out = CommandUsage(command) + "\n" + std::string(command.summary);
  if (!command.options.empty()) out += "\nOptions:\n";
  for (const OptionDeclaration& option : command.options) {
    std::string head = "  " + std::string(option.name);
    if (option.kind != ValueKind::None) head += " " + std::string(option.value);
    out += head;
    // A long option and its value take a line of their own.
    size_t column = kHelpColumn - 1;
    out += head.size() + 1 >= kHelpColumn ? "\n" + std::string(column, ' ')
                                          : std::string(column - head.size(), ' ');
    for (size_t at = 0; at < option.help.size();) {
      const size_t end = std::min(option.help.find_first_of(" \n", at), option.help.size());
      AppendWrapped(out, column, option.help.substr(at, end - at), kHelpColumn);
      at = end + 1;
    }
    out += "\n";
  }
  if (!command.more.empty()) out += "\n" + std::string(command.more);
  return out;
}

int CommandUsageError(const CommandDeclaration& command, const std::string& message) {
  std::cerr << "terraq: " << message << "\n"
            << CommandUsage(command) << "Try 'terraq " << command.name << " --help'.\n";
  return kExitUsage;
}

int RefuseValue(const CommandDeclaration& command, std::string_view option, std::string_view value,
                std::string_view why) {
  std::string shown(option);
  if (!value.empty()) shown += " " + std::string(value);
  return CommandUsageError(
      command, shown + " is refused for " + std::string(command.name) + ": " + std::string(why));
}

}  // namespace terraq::cli
