// TMainForm: the Soil Layers windows, the project's soil model, its
// earth-pressure theories, and its water and shaking. Both layer tables (the
// short- and long-term ones) show the soil-model, earth-pressure and water
// panels side by side under their grid: the model holds one row per soil
// layer, the same for every problem of the project.

#include <QHBoxLayout>
#include <QStatusBar>

#include "dialogs/TEarthPressurePanel.h"
#include "dialogs/TSoilModelPanel.h"
#include "dialogs/TWaterShakingPanel.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "plotwindow/TPlotWindows.h"
#include "widgets/TTableForm.h"

namespace terraq::ui {

namespace {

// "Sand to 30": a layer as the grid above shows it, type and bottom.
std::vector<std::string> LayerNames(const TGridTableModel& grid) {
  std::vector<std::string> names;
  for (int r = 0; r < grid.rowCount(); ++r)
    names.push_back((grid.data(grid.index(r, 0)).toString() + QStringLiteral(" to ") +
                     grid.data(grid.index(r, 1)).toString())
                        .toStdString());
  return names;
}

}  // namespace

void TMainForm::ShowTable(TGridTable& table) {
  TTableForm* form = tableWindows_->Show(table);
  const bool soilLayers =
      &table == &project_.Tables().SoilLayers || &table == &project_.Tables().LongTermSoilLayers;
  if (form && soilLayers && !form->findChild<TSoilModelPanel*>()) addSoilModelPanel(*form);
}

void TMainForm::addSoilModelPanel(TTableForm& form) {
  const auto changed = [this] {
    Data().Modified = true;
    // The graphs drawn from the analysis in memory were made on the earlier
    // model or theories: they wait for the next run.
    graphs_.pltMobilised.Lines.clear();
    graphs_.pltUtil.Lines.clear();
    plotWindows_->RepaintAll();
    analyseLiveSoon();
    UpdateMenuStates();
  };
  const auto dataText = [this]() -> std::string {
    try {
      return Project().DataText();
    } catch (const std::exception&) {
      return {};  // a stage file that cannot be read: nothing computed from it
    }
  };
  TSoilModelPanel::Project hooks;
  hooks.choice = [this] { return project_.Members().soilModel; };
  hooks.keep = [this, changed](const std::optional<SoilModelChoice>& choice) {
    project_.Members().soilModel = choice;
    changed();
  };
  hooks.layers = [&form] { return LayerNames(form.Model()); };
  hooks.units = [this] { return Data().Units; };
  hooks.dataText = dataText;
  auto* panel = new TSoilModelPanel(std::move(hooks));
  TWaterShakingPanel::Project water;
  water.seepage = [this] { return project_.Members().seepage; };
  water.keepSeepage = [this, changed](const std::optional<engine::api::SeepageOptions>& options) {
    project_.Members().seepage = options;
    changed();
  };
  water.seismic = [this] { return project_.Members().seismic; };
  water.keepSeismic = [this, changed](const std::optional<engine::api::SeismicOptions>& options) {
    project_.Members().seismic = options;
    changed();
  };
  water.faces = [this] { return project_.Members().earthPressure; };
  water.layerCount = [&form] { return static_cast<size_t>(form.Model().rowCount()); };
  water.units = [this] { return Data().Units; };
  water.dataText = dataText;
  auto* waterShaking = new TWaterShakingPanel(std::move(water));
  TEarthPressurePanel::Project theories;
  theories.options = [this] { return project_.Members().earthPressure; };
  theories.keep = [this, changed,
                   waterShaking](const std::optional<engine::api::EarthPressureOptions>& options) {
    project_.Members().earthPressure = options;
    changed();
    waterShaking->Refresh();  // the shaking's coefficients take the faces' wall friction
  };
  theories.layerCount = [&form] { return static_cast<size_t>(form.Model().rowCount()); };
  theories.dataText = dataText;
  auto* earthPressure = new TEarthPressurePanel(std::move(theories));
  auto* panels = new QWidget;
  auto* row = new QHBoxLayout(panels);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(panel, 0, Qt::AlignTop);
  row->addWidget(earthPressure, 0, Qt::AlignTop);
  row->addWidget(waterShaking, 1, Qt::AlignTop);
  row->addStretch(1);
  form.AddPanel(panels);
  // The layers' names and count, and the coefficients, follow the grid; a
  // project opened or converted shows its own model and theories.
  TGridTableModel& model = form.Model();
  const auto refresh = [&](auto signal, auto& sender) {
    connect(&sender, signal, panel, &TSoilModelPanel::Refresh);
    connect(&sender, signal, earthPressure, &TEarthPressurePanel::Refresh);
    connect(&sender, signal, waterShaking, &TWaterShakingPanel::Refresh);
  };
  refresh(&TGridTableModel::rowsInserted, model);
  refresh(&TGridTableModel::rowsRemoved, model);
  refresh(&TGridTableModel::dataChanged, model);
  refresh(&TGridTableModel::modelReset, model);
  refresh(&TTableForm::refreshed, form);
  connect(panel, &TSoilModelPanel::sizeChanged, &form, &TTableForm::FitToContent);
  connect(waterShaking, &TWaterShakingPanel::sizeChanged, &form, &TTableForm::FitToContent);
}

}  // namespace terraq::ui
