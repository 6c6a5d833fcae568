#pragma once
// The part of a window that scrolls when the screen is too small for it (a
// laptop's 1366x768): a window puts its controls in one and keeps its
// buttons (Run, Cancel, Save) outside it, always in sight.

#include <QScrollArea>

class QMdiArea;
class QMdiSubWindow;

namespace terraq::ui {

class TScrollingPanel : public QScrollArea {
 public:
  // Takes ownership of `content`.
  TScrollingPanel(QWidget* content, QWidget* parent);
  // The content's own size (QScrollArea's hint is bounded to a few dozen
  // lines): the window opens whole where there is room for it.
  QSize sizeHint() const override;
};

// Sizes a new child window of `area` to its content's size hint, kept within
// the area's visible part: a window taller than the area would put its
// lower edge, and the buttons there, out of reach.
void FitSubWindow(QMdiSubWindow* window, const QMdiArea* area);
// Moves a child window of `area` placed where it would cross the area's
// lower or right edge back within it (its size kept).
void KeepSubWindowWithin(QMdiSubWindow* window, const QMdiArea* area);

}  // namespace terraq::ui
