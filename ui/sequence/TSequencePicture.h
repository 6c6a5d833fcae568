#pragma once
// TSequencePicture: a small side view of one stage of a construction
// sequence: the wall from its top to its tip, the ground behind it, the
// excavation in front, the water levels on both sides and the supports in
// place during the stage (a support installed in the stage drawn dashed:
// it carries only its prestress then). A sketch to follow the stages by,
// to scale in depth; the Side View draws the project itself.

#include <QWidget>
#include <optional>

#include "SequentialStaging.h"

namespace terraq::ui {

// The levels and supports of a stage, every value as the stages up to it
// leave it (depths below the top of the wall, the data file's units).
struct SequenceStageView {
  double tip = 0;
  double excavation = 0;
  std::optional<double> waterBack, waterFront;
  struct Support {
    double depth = 0, inclination = 0;
    bool strut = false, installedNow = false;
  };
  std::vector<Support> supports{};
};

// Stage `stage` (from 0) of `plan` over the data text's values; nullopt
// when the data text cannot be read or has no such stage.
std::optional<SequenceStageView> ViewOfStage(std::string_view dataText,
                                             const design::SequentialPlan& plan, int stage);

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
