#pragma once
// A widget that shows one figure of the calculation package (report
// Document.h's Figure), painted on the screen by the same routine that draws
// it on paper and in HTML, so a window and its package never differ.

#include <QWidget>
#include <optional>

#include "Document.h"

namespace terraq::ui {

class FigureView : public QWidget {
  Q_OBJECT

 public:
  explicit FigureView(QWidget* parent = nullptr);
  // Shows `figure` (nothing for nullopt, with `empty` said in its place).
  void SetFigure(std::optional<report::Figure> figure, const QString& empty = QString());
  bool HasFigure() const { return figure_.has_value(); }
  QString Caption() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<report::Figure> figure_;
  QString empty_;
};

}  // namespace terraq::ui
