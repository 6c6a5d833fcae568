#pragma once
// The cells and numbers of the Study window's tables (TStudyForm*.cpp).

#include <QString>
#include <QTableWidget>
#include <cstdio>
#include <string>

namespace terraq::ui::study {

// Five significant digits, without a negative zero.
inline QString Number(double value) { return QString::number(value == 0.0 ? 0.0 : value, 'g', 5); }
inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// A cell that can be selected and copied but not edited.
inline void SetCell(QTableWidget* t, int row, int column, const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  t->setItem(row, column, item);
}

// "%.17g": a range or a value as text that reads back as the same double.
inline std::string Exact(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

}  // namespace terraq::ui::study
