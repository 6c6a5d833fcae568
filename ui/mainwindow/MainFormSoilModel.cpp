// TMainForm: the Soil Layers windows and the project's soil model. Both
// layer tables (the short- and long-term ones) show the soil-model panel
// under their grid: the model holds one row per soil layer, the same for
// every problem of the project.

#include <QStatusBar>

#include "dialogs/TSoilModelPanel.h"
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
  TSoilModelPanel::Project hooks;
  hooks.choice = [this] { return project_.Members().soilModel; };
  hooks.keep = [this](const std::optional<SoilModelChoice>& choice) {
    project_.Members().soilModel = choice;
    Data().Modified = true;
    // The graphs drawn from the analysis in memory were made on the earlier
    // model: they wait for the next run.
    graphs_.pltMobilised.Lines.clear();
    graphs_.pltUtil.Lines.clear();
    plotWindows_->RepaintAll();
    UpdateMenuStates();
  };
  hooks.layers = [&form] { return LayerNames(form.Model()); };
  hooks.units = [this] { return Data().Units; };
  hooks.dataText = [this]() -> std::string {
    try {
      return Project().DataText();
    } catch (const std::exception&) {
      return {};  // a stage file that cannot be read: no rigidity proposed
    }
  };
  auto* panel = new TSoilModelPanel(std::move(hooks));
  form.AddPanel(panel);
  // The layers' names and count follow the grid; a project opened or
  // converted shows its own model.
  TGridTableModel& model = form.Model();
  for (auto signal : {&TGridTableModel::rowsInserted, &TGridTableModel::rowsRemoved})
    connect(&model, signal, panel, &TSoilModelPanel::Refresh);
  connect(&model, &TGridTableModel::dataChanged, panel, &TSoilModelPanel::Refresh);
  connect(&model, &TGridTableModel::modelReset, panel, &TSoilModelPanel::Refresh);
  connect(&form, &TTableForm::refreshed, panel, &TSoilModelPanel::Refresh);
  connect(panel, &TSoilModelPanel::sizeChanged, &form, &TTableForm::FitToContent);
}

}  // namespace terraq::ui
