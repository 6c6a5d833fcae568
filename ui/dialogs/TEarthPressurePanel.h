#pragma once
// TEarthPressurePanel: the earth-pressure theories of the project, beside
// the soil-model panel under the grid of the Soil Layers window. For each
// face of the wall the engineer chooses a limit-state theory and the wall
// friction δ/φ′ (none on Rankine's smooth wall); the line under them says
// what a run would refuse, or the coefficients Kah and Kph it will take in
// each layer, as the engine computes them. Per-layer δ of a project file are
// listed, read-only.
//
// Rankine's smooth wall on both faces is no choice at all: the project file
// keeps no member, as before the theories existed. What is chosen goes to
// the project at once (saved with the data file).

#include <QGroupBox>
#include <functional>
#include <optional>
#include <string>

#include "api/EarthPressureOptions.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;

namespace terraq::ui {

class TEarthPressurePanel : public QGroupBox {
  Q_OBJECT

 public:
  struct Project {
    std::function<std::optional<engine::api::EarthPressureOptions>()> options;
    std::function<void(const std::optional<engine::api::EarthPressureOptions>&)> keep;
    std::function<size_t()> layerCount;     // the soil layers in the grid
    std::function<std::string()> dataText;  // the engine's text of the data file
  };

  explicit TEarthPressurePanel(Project project, QWidget* parent = nullptr);

  // Shows the project's theories and what a run would do with them.
  void Refresh();
  // The line under the faces: the refusal, or the coefficients.
  QString StateText() const;

 private:
  struct FaceControls {
    QComboBox* theory;
    QDoubleSpinBox* ratio;
  };
  void faceEdited();
  QString stateOf(const std::optional<engine::api::EarthPressureOptions>& options) const;

  Project project_;
  FaceControls backfill_, excavation_;
  QLabel* layers_;
  QLabel* state_;
  bool refreshing_ = false;
};

}  // namespace terraq::ui
