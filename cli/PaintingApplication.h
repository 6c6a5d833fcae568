#pragma once
// The GUI application the painting helper's commands (plot, report, study
// plots) need for fonts and painting. It runs on Qt's offscreen platform,
// which needs no display, unless the user chose a platform. Qt's notes (a
// missing runtime folder, font substitutions) are not the user's business
// here; its errors go to standard error as the command's own.

#include <QGuiApplication>

namespace terraq::cli {

class PaintingApplication {
 public:
  explicit PaintingApplication(const char* programName);

 private:
  // Qt keeps references to the arguments for the application's lifetime.
  int argc_ = 1;
  char* argv_[2];
  QGuiApplication application_;
};

}  // namespace terraq::cli
