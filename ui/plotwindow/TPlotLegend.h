#pragma once
// The legend of a plot window: an owner-drawn list of the active curves'
// labels, each in its curve's colour on white, with " *" after the curves
// that are drawn. The user drags it anywhere inside the window, and a double
// click on an entry shows or hides that curve.

#include <QString>
#include <QWidget>
#include <vector>

namespace terraq::ui {

class TPlotLegend : public QWidget {
  Q_OBJECT

 public:
  struct Entry {
    QString Label;
    int Curve = 0;         // index in the graph's Lines
    bool Visible = true;   // drawn: " *" follows the label
    int Colour = -1;       // the curve's colour number; -1: the entry's position
  };

  explicit TPlotLegend(QWidget* parent = nullptr);

  void SetEntries(std::vector<Entry> entries);
  const std::vector<Entry>& Entries() const { return entries_; }
  void SetVisibleFlag(int entry, bool visible);
  // Sizes the legend to its entries for a text-size factor (tenths) of the
  // font size remembered at window creation.
  void SetupLegend(int sizeFactor, int legendFont);
  int ItemHeight() const { return itemHeight_; }
  // The entry at a point of the legend, or -1.
  int EntryAt(QPoint pos) const;
  // The text shown for an entry: its label, and " *" when visible.
  static QString ShownText(const Entry& entry);

 signals:
  // A double click on entry `entry`.
  void EntryToggled(int entry);

 protected:
  void paintEvent(QPaintEvent* event) override;          // LegendDrawItem
  void mousePressEvent(QMouseEvent* event) override;     // LegendMouseDown
  void mouseMoveEvent(QMouseEvent* event) override;      // LegendMouseMove
  void mouseReleaseEvent(QMouseEvent* event) override;   // LegendMouseUp
  void mouseDoubleClickEvent(QMouseEvent* event) override;  // LegendDblClick

 private:
  std::vector<Entry> entries_;
  int itemHeight_ = 16;
  bool dragging_ = false;
  QPoint grab_;  // where the legend was taken, in its own coordinates
};

}  // namespace terraq::ui
