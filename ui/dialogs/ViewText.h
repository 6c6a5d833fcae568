#pragma once
// The engine vocabulary's texts (names, symbols, unit labels: UTF-8 in
// std::string_view) as the dialogs show them.

#include <QString>
#include <string_view>

namespace terraq::ui {

inline QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace terraq::ui
