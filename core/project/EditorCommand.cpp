#include "project/EditorCommand.h"

#include <filesystem>
#include <optional>

namespace terraq::ui {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The words of a command line, or nullopt (with the reason) when a quote is
// left open or the line ends in a lone backslash.
std::optional<std::vector<std::string>> splitWords(std::string_view text, std::string& error) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  for (size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    if (isBlank(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
      continue;
    }
    inWord = true;
    if (c == '\\') {
      if (++k == text.size()) {
        error = "it ends in a backslash";
        return std::nullopt;
      }
      word += text[k];
    } else if (c == '\'') {
      const size_t close = text.find('\'', k + 1);
      if (close == std::string_view::npos) {
        error = "a single quote is not closed";
        return std::nullopt;
      }
      word.append(text.substr(k + 1, close - k - 1));
      k = close;
    } else if (c == '"') {
      for (++k;; ++k) {
        if (k == text.size()) {
          error = "a double quote is not closed";
          return std::nullopt;
        }
        if (text[k] == '"') break;
        // Inside double quotes a backslash escapes only these.
        constexpr std::string_view kEscaped = "\"\\$`";
        if (text[k] == '\\' && k + 1 < text.size() && kEscaped.find(text[k + 1]) != std::string_view::npos) ++k;
        word += text[k];
      }
    } else {
      word += c;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

}  // namespace

EditorCommand ParseEditorCommand(std::string_view setting) {
  EditorCommand command;
  std::error_code ec;
  if (!setting.empty() && std::filesystem::is_regular_file(std::filesystem::path(std::string(setting)), ec)) {
    command.program = std::string(setting);
    return command;
  }
  std::string error;
  std::optional<std::vector<std::string>> words = splitWords(setting, error);
  if (!words) {
    command.error = error;
    return command;
  }
  if (words->empty()) {
    command.error = "it names no program";
    return command;
  }
  command.program = std::move(words->front());
  command.arguments.assign(std::make_move_iterator(words->begin() + 1), std::make_move_iterator(words->end()));
  return command;
}

std::string QuotedProgram(std::string_view program) {
  std::string error;
  const std::optional<std::vector<std::string>> words = splitWords(program, error);
  if (words && words->size() == 1 && words->front() == program) return std::string(program);
  // In single quotes everything is kept but a single quote, which closes,
  // is written as a quoted backslash-quote and reopens.
  std::string quoted = "'";
  for (const char c : program) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace terraq::ui
