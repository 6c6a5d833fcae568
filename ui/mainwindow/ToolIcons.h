#pragma once
// The tool-bar pictures, drawn at start-up with plain lines and fills so
// that the program ships no icon files of anyone else's.

#include <QIcon>

namespace terraq::ui {

enum class ToolIconKind {
  New,
  Open,
  Save,
  Run,
  StageOption,
  ViewOutput,
  SoilProfile,
  PYCurves,
  Deflection,
  Moment,
  Shear,
  SoilReaction,
  DeflectionMomentShear,
  Pressure,
};

QIcon ToolIcon(ToolIconKind kind);
// "1" .. "5" on a small tab, for the stage buttons.
QIcon StageIcon(int stage);

}  // namespace terraq::ui
