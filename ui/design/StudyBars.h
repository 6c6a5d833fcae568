#pragma once
// StudyBars: the bar charts of the Study window. A histogram draws its
// counts as upright bars over equal bins of the output; a tornado draws one
// signed horizontal bar per parameter (its rank correlation with the
// output, -1..1), largest magnitude on top, the name at the left.

#include <QString>
#include <QWidget>
#include <vector>

class QPainter;

namespace terraq::ui {

class StudyBars : public QWidget {
 public:
  explicit StudyBars(QWidget* parent = nullptr);

  // Counts of equal bins over [low, high]; `title` above the chart.
  void SetHistogram(std::vector<size_t> counts, double low, double high, QString title);
  struct Bar {
    QString name;
    double value = 0;  // -1..1
  };
  // The bars in any order: they are drawn by decreasing magnitude.
  void SetTornado(std::vector<Bar> bars, QString title);
  void Clear(QString emptyText);

  // The tornado's bars as drawn, top first.
  const std::vector<Bar>& Bars() const { return bars_; }
  // Draws the chart in `size` pixels from the painter's origin: the screen,
  // a saved picture and a printout (StudyGraphOutput.h) are all drawn here.
  void Paint(QPainter& painter, QSize size) const;
  QSize sizeHint() const override { return QSize(360, 260); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void paintHistogram(QPainter& painter, const QRect& frame) const;
  void paintTornado(QPainter& painter, const QRect& frame) const;

  bool tornado_ = false;
  std::vector<size_t> counts_;
  double low_ = 0, high_ = 0;
  std::vector<Bar> bars_;
  QString title_, emptyText_;
};

}  // namespace terraq::ui
