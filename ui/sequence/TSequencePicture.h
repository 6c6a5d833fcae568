#pragma once
// TSequencePicture: a small side view of one stage of a construction
// sequence: the wall from its top to its tip, the ground behind it, the
// excavation in front, the water levels on both sides and the supports in
// place during the stage (a support installed in the stage drawn dashed:
// it carries only its prestress then). A sketch to follow the stages by,
// to scale in depth; the Side View draws the stage with the project's
// soil. Both read the stage through project/SequenceStageView.h.

#include <QWidget>
#include <optional>

#include "project/SequenceStageView.h"

namespace terraq::ui {

class TSequencePicture : public QWidget {
  Q_OBJECT

 public:
  explicit TSequencePicture(QWidget* parent = nullptr);
  // Nullopt: only the caption (up to two lines separated by "\n").
  void SetView(std::optional<SequenceStageView> view, const QString& caption);

  QSize sizeHint() const override { return QSize(140, 220); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<SequenceStageView> view_;
  QString caption_;
};

}  // namespace terraq::ui
