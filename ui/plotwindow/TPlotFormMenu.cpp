// The Plot menu of a plot window: how the graph is shown (legend, soil
// layers, wall, markers, text size, line width, title), which curves take
// part and what they are called. Every choice is stored in the graph, so it
// outlives the window.

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <functional>
#include <initializer_list>

#include "graphs/PlotMenuRules.h"
#include "plotwindow/TPlotForm.h"
#include "plotwindow/TPlotLegend.h"
#include "plotwindow/TfrmActiveLines.h"
#include "plotwindow/TfrmGraphCaption.h"
#include "plotwindow/TfrmLineNames.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace {

QAction* NewItem(QMenu* menu, const char* name, const QString& caption) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(QLatin1String(name));
  return item;
}

struct RadioItem {
  const char* name;
  const char* caption;
  int number;
};

// A submenu of exclusive radio items; each item holds its number as data
// and hands it to `click`.
QMenu* NewRadioMenu(QMenu* parent, const char* name, const QString& caption, std::initializer_list<RadioItem> items,
                    const std::function<void(int)>& click) {
  QMenu* menu = parent->addMenu(caption);
  menu->setObjectName(QLatin1String(name));
  menu->menuAction()->setObjectName(QLatin1String(name));
  auto* group = new QActionGroup(menu);
  group->setExclusive(true);
  for (const RadioItem& r : items) {
    QAction* item = NewItem(menu, r.name, QObject::tr(r.caption));
    item->setCheckable(true);
    item->setData(r.number);
    group->addAction(item);
    QObject::connect(item, &QAction::triggered, menu, [click, n = r.number] { click(n); });
  }
  return menu;
}

// Checks the radio item of a submenu whose number is `number` (none when
// no item has it).
void CheckNumber(QMenu* menu, int number) {
  for (QAction* item : menu->actions())
    if (item->isCheckable()) item->setChecked(item->data().toInt() == number);
}

}  // namespace

void TPlotForm::BuildPlotMenu() {
  menuBar_ = new QMenuBar(this);
  menuBar_->setObjectName(QStringLiteral("MainMenu"));
  menuBar_->hide();  // until a sub-window puts it above the drawing
  plotMenu_ = new QMenu(tr("&Plot"), this);
  plotMenu_->setObjectName(QStringLiteral("PlotMenu"));
  menuBar_->addMenu(plotMenu_);
  connect(plotMenu_, &QMenu::aboutToShow, this, &TPlotForm::PlotMenuClick);

  // Ctrl+Z opens the menu, from anywhere in the window.
  auto* openMenu = new QAction(this);
  openMenu->setObjectName(QStringLiteral("PlotMenuShortcut"));
  openMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  openMenu->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(openMenu);
  connect(openMenu, &QAction::triggered, this, [this] {
    if (menuBar_->isVisible())
      menuBar_->setActiveAction(plotMenu_->menuAction());
    else
      plotMenu_->popup(mapToGlobal(QPoint(0, 0)));
  });

  AddShowItems();
  AddGraphItems();

  PlotMenuClick();
  PlotMarkersClick();
}

// How the graph is shown: the legend, soil layers and wall, markers, text
// size and line width.
void TPlotForm::AddShowItems() {
  QAction* legend = NewItem(plotMenu_, "PlotLegend", tr("Show &Legend"));
  legend->setCheckable(true);
  connect(legend, &QAction::triggered, this, &TPlotForm::PlotLegendClick);
  QAction* soil = NewItem(plotMenu_, "PlotSoilLayer", tr("Show &Soil Layer"));
  soil->setCheckable(true);
  connect(soil, &QAction::triggered, this, &TPlotForm::PlotSoilLayerClick);
  QAction* wall = NewItem(plotMenu_, "ShowWallGeometry", tr("Show &Wall Geometry"));
  wall->setCheckable(true);
  connect(wall, &QAction::triggered, this, &TPlotForm::ShowWallGeometryClick);

  QMenu* markers = NewRadioMenu(plotMenu_, "PlotMarkers", tr("Show &Markers"),
                                {{"Mark0", "&Never", 0},
                                 {"Mark1", "Every &Increment", 1},
                                 {"Mark2", "Every &2 Increments", 2},
                                 {"Mark3", "Every &3 Incrments", 3},
                                 {"Mark5", "Every &5 Increments", 5},
                                 {"Mark10", "Every &10 Incements", 10}},
                                [this](int n) { MarkClick(n); });
  connect(markers, &QMenu::aboutToShow, this, &TPlotForm::PlotMarkersClick);
  QMenu* sizes = NewRadioMenu(plotMenu_, "FontSize", tr("&Font Size"),
                              {{"DefaultSize", "&Default", 10},
                               {"Size15", "1.5 * Default", 15},
                               {"Size2", "2 * Default", 20},
                               {"Size25", "2.5 * Default", 25},
                               {"Size3", "3 * Default", 30},
                               {"Size4", "4 * Default", 40}},
                              [this](int n) { SizeClick(n); });
  connect(sizes, &QMenu::aboutToShow, this, [this, sizes] { CheckNumber(sizes, graph_.SizeFont); });
  QMenu* widths = NewRadioMenu(plotMenu_, "LineWidth", tr("&Line Width"),
                               {{"DefaultWidth", "&Default", 1},
                                {"Width2", "2 * Default", 2},
                                {"Width4", "4 * Default", 4},
                                {"Width6", "6 * Default", 6},
                                {"Width10", "10 * Default", 10}},
                               [this](int n) { WidthClick(n); });
  connect(widths, &QMenu::aboutToShow, this, [this, widths] { CheckNumber(widths, graph_.WidthLine); });
}

// The title, the curves and their names; printing, saving and copying.
void TPlotForm::AddGraphItems() {
  connect(NewItem(plotMenu_, "PlotCaption", tr("&Graph Title")), &QAction::triggered, this,
          &TPlotForm::PlotCaptionClick);
  connect(NewItem(plotMenu_, "mLineName", tr("&Edit Legend")), &QAction::triggered, this, &TPlotForm::mLineNameClick);
  connect(NewItem(plotMenu_, "ActiveGraphs", tr("&Active Curves")), &QAction::triggered, this,
          &TPlotForm::ActiveGraphsClick);
  plotMenu_->addSeparator();
  // Printing to a PDF file is always possible: Print and Page Setup stay
  // enabled without an installed printer.
  connect(NewItem(plotMenu_, "PlotPrint", tr("&Print...")), &QAction::triggered, this, &TPlotForm::PlotPrintClick);
  connect(NewItem(plotMenu_, "PlotPage", tr("P&age Setup")), &QAction::triggered, this, &TPlotForm::PlotPageClick);
  connect(NewItem(plotMenu_, "PlotSave", tr("&Save To Disk...")), &QAction::triggered, this,
          &TPlotForm::PlotSaveClick);
  QAction* copy = NewItem(plotMenu_, "PlotCopy", tr("&Copy"));
  copy->setShortcut(QKeySequence::Copy);
  // Only while this window has the focus: every plot window has the item.
  copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(copy);
  connect(copy, &QAction::triggered, this, &TPlotForm::CopyClick);
  plotMenu_->addSeparator();
}

void TPlotForm::PlotMenuClick() {
  const TPlotMenuState s = PlotMenuState(graph_);
  const auto item = [this](const char* name) { return plotMenu_->findChild<QAction*>(QLatin1String(name)); };
  item("PlotLegend")->setChecked(s.LegendChecked);
  item("PlotSoilLayer")->setChecked(s.SoilLayerChecked);
  item("PlotSoilLayer")->setVisible(s.SoilLayerVisible);
  QAction* wall = item("ShowWallGeometry");
  wall->setVisible(s.WallVisible);
  wall->setEnabled(s.WallEnabled);
  wall->setChecked(s.WallChecked);
  item("FontSize")->setVisible(s.FontWidthVisible);
  item("LineWidth")->setVisible(s.FontWidthVisible);
  for (QAction* curve : curveItems_)
    curve->setChecked(graph_.Lines[static_cast<size_t>(curve->data().toInt())].Visible);
}

void TPlotForm::PlotMarkersClick() {
  CheckNumber(plotMenu_->findChild<QMenu*>(QStringLiteral("PlotMarkers")), graph_.Markers);
}

void TPlotForm::PlotLegendClick() {
  graph_.ShowLegend = !graph_.ShowLegend;
  legend_->setVisible(!graph_.Lines.empty() && graph_.ShowLegend);
  PlotMenuClick();
}

void TPlotForm::PlotSoilLayerClick() {
  graph_.ShowLayers = !graph_.ShowLayers;
  Relayout(true);
  PlotMenuClick();
}

void TPlotForm::ShowWallGeometryClick() {
  graph_.ShowWall = !graph_.ShowWall;
  Relayout(true);
  PlotMenuClick();
}

void TPlotForm::MarkClick(int markers) {
  graph_.Markers = markers;
  update();
}

void TPlotForm::SizeClick(int sizeFont) {
  graph_.SizeFont = sizeFont;
  SetupLegend();
  Relayout(true);
}

void TPlotForm::WidthClick(int widthLine) {
  graph_.WidthLine = widthLine;
  update();
}

void TPlotForm::PlotCaptionClick() {
  TfrmGraphCaption dialog(graph_.Title, graph_.TitleOnTop, this);
  if (TUserPrompts::Current().runDialog(dialog) != QDialog::Accepted) return;
  // Accepting the project's own title leaves it to follow the project.
  graph_.TitleChosen = graph_.TitleChosen || dialog.Title() != graph_.Title;
  graph_.Title = dialog.Title();
  graph_.TitleOnTop = dialog.TitleOnTop();
  Relayout(true);
}

void TPlotForm::mLineNameClick() {
  TfrmLineNames dialog(graph_, this);
  if (TUserPrompts::Current().runDialog(dialog) != QDialog::Accepted) return;
  dialog.Names().ApplyTo(graph_);
  RebuildCurves();
  Relayout(false);
}

void TPlotForm::ActiveGraphsClick() {
  TfrmActiveLines dialog(graph_, this);
  if (TUserPrompts::Current().runDialog(dialog) != QDialog::Accepted) return;
  ApplyActive(graph_, dialog.Active());
  RebuildCurves();
  Relayout(false);
  emit curvesShown();
}

void TPlotForm::RebuildCurves() {
  std::vector<TPlotLegend::Entry> entries;
  const std::vector<int> active = ActiveCurveIndices(graph_);
  for (const int i : active) {
    const TLine& line = graph_.Lines[static_cast<size_t>(i)];
    entries.push_back(
        {QString::fromStdString(ShownLabel(graph_, i)), i, line.Visible, line.ColourNumber});
  }

  // The curve items follow the legend one to one: existing items are
  // recaptioned and pointed at their new curve, missing ones added, surplus
  // ones removed.
  while (curveItems_.size() > entries.size()) {
    delete curveItems_.back();
    curveItems_.pop_back();
  }
  while (curveItems_.size() < entries.size()) {
    QAction* item = plotMenu_->addAction(QString());
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, item] { CurveItemClick(item); });
    curveItems_.push_back(item);
  }
  for (size_t k = 0; k < entries.size(); ++k) {
    QAction* item = curveItems_[k];
    // A label's own "&" is shown, not taken as an access key.
    item->setText(QString(entries[k].Label).replace(QLatin1Char('&'), QStringLiteral("&&")));
    item->setData(entries[k].Curve);
    item->setChecked(entries[k].Visible);
  }
  legend_->SetEntries(std::move(entries));
  SetupLegend();
}

void TPlotForm::CurveItemClick(QAction* item) {
  const int curve = item->data().toInt();
  const auto& entries = legend_->Entries();
  for (size_t k = 0; k < entries.size(); ++k)
    if (entries[k].Curve == curve) ToggleEntry(static_cast<int>(k));
}

}  // namespace terraq::ui
