#pragma once
// TWaterShakingPanel: the water and the shaking of the project, beside the
// earth-pressure box under the grid of the Soil Layers window.
//
// Water: the seepage method (hydrostatic, linear, flow net), the depth of
// the impermeable base, how far the soil reaches behind and in front of the
// wall, and each soil layer's permeabilities kx and kz (in the data file's
// length per second). As the engineer edits, the first problem with soil
// layers is solved as a run will solve it (SeepageProblemOf, SolveSeepage,
// CheckHydraulicFailure): its flow net drawn by the one flow-net painter,
// the hydraulic checks listed with their factors, or why there are none.
//
// Shaking: none, or a pseudo-static method with its kh and kv; the line
// under it gives the coefficients each layer takes on each face while the
// ground shakes, with the static ones beside them, or why a layer has none.
//
// The hydrostatic method with nothing else set, and still ground, are no
// choice at all: the project file keeps no member for them. What is chosen
// goes to the project at once (saved with the data file).

#include <QGroupBox>
#include <functional>
#include <optional>
#include <string>

#include "FlowNetPainter.h"
#include "api/EarthPressureOptions.h"
#include "api/SeepageOptions.h"
#include "api/SeismicOptions.h"
#include "api/SoilDescription.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QTableWidget;
class QTableWidgetItem;

namespace terraq::ui {

class FigureView;

class TWaterShakingPanel : public QGroupBox {
  Q_OBJECT

 public:
  struct Project {
    std::function<std::optional<engine::api::SeepageOptions>()> seepage;
    std::function<void(const std::optional<engine::api::SeepageOptions>&)> keepSeepage;
    std::function<std::optional<engine::api::SeismicOptions>()> seismic;
    std::function<void(const std::optional<engine::api::SeismicOptions>&)> keepSeismic;
    // The faces' theories and wall friction (none: Rankine's smooth wall).
    std::function<std::optional<engine::api::EarthPressureOptions>()> faces;
    std::function<size_t()> layerCount;     // the soil layers in the grid
    std::function<int()> units;             // the data file's units code
    std::function<std::string()> dataText;  // the engine's text of the data file
  };

  explicit TWaterShakingPanel(Project project, QWidget* parent = nullptr);

  // Shows the project's choices and what a run would make of them.
  void Refresh();
  // The seepage's state: the checks with their factors, or why none.
  QString SeepageText() const;
  // The shaking's coefficients per layer and face, or why none.
  QString SeismicText() const;
  // The flow net drawn; none when there is none to draw.
  const std::optional<FlowNetFigure>& Figure() const { return figure_; }

 signals:
  // The flow net's picture came or went: the window may fit it.
  void sizeChanged();

 private:
  void seepageEdited();
  void showSeismicFigure(const std::optional<engine::api::SeismicOptions>& seismic,
                         const std::optional<engine::api::SoilDescription>& soil);
  void cellEdited(QTableWidgetItem* item);
  void seismicEdited();
  // `soil`: the data file's first problem with layers (TheorySoil).
  void showSeepage(const std::optional<engine::api::SeepageOptions>& options,
                   const std::optional<engine::api::SoilDescription>& soil);
  QString seismicState(const std::optional<engine::api::SeismicOptions>& seismic,
                       const std::optional<engine::api::SoilDescription>& soil) const;
  // The options as the controls show them, the permeabilities one per
  // layer of the grid (a new layer takes the one above it).
  engine::api::SeepageOptions editedSeepage() const;
  void keepSeepage(const engine::api::SeepageOptions& options);

  Project project_;
  QComboBox* seepageMethod_;
  QDoubleSpinBox* base_;
  QDoubleSpinBox* retainedWidth_;
  QDoubleSpinBox* frontWidth_;
  QTableWidget* permeabilities_;
  QWidget* flowNet_;
  QLabel* seepageState_;
  QComboBox* seismicMethod_;
  QDoubleSpinBox* kh_;
  QDoubleSpinBox* kv_;
  QLabel* seismicState_;
  // The static and seismic active pressure against depth, as the package
  // draws it; hidden on still ground.
  FigureView* seismicFigure_;
  std::optional<FlowNetFigure> figure_;
  bool refreshing_ = false;
};

}  // namespace terraq::ui
