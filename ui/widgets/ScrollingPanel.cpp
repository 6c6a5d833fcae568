#include "widgets/ScrollingPanel.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <algorithm>

namespace terraq::ui {

TScrollingPanel::TScrollingPanel(QWidget* content, QWidget* parent) : QScrollArea(parent) {
  setWidget(content);
  setWidgetResizable(true);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QSize TScrollingPanel::sizeHint() const {
  const QSize content = widget() ? widget()->sizeHint() : QSize();
  // Room for a scroll bar, which a slightly smaller window shows.
  const int bar = verticalScrollBar()->sizeHint().width();
  return content + QSize(2 * frameWidth() + bar, 2 * frameWidth());
}

void FitSubWindow(QMdiSubWindow* window, const QMdiArea* area) {
  const QSize room = area->viewport()->size();
  QSize size = window->sizeHint();
  if (room.width() > 0 && room.height() > 0) size = size.boundedTo(room);
  window->resize(size.expandedTo(window->minimumSizeHint().boundedTo(room)));
  KeepSubWindowWithin(window, area);
}

void KeepSubWindowWithin(QMdiSubWindow* window, const QMdiArea* area) {
  const QSize room = area->viewport()->size();
  QPoint at = window->pos();
  at.setX(std::max(0, std::min(at.x(), room.width() - window->width())));
  at.setY(std::max(0, std::min(at.y(), room.height() - window->height())));
  window->move(at);
}

}  // namespace terraq::ui
