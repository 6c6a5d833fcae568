#include "graphs/PlotFileReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

#include "api/SoilModelTable.h"
#include "api/Units.h"
#include "graphs/PlotGraphCaptions.h"
#include "graphs/PlotWords.h"
#include "project/RunOutcome.h"
#include "project/TProgramData.h"
#include "project/TWordReader.h"

namespace terraq::ui {

namespace {

const char* const kIncomplete = "This file either invalid or incomplete.";
// The plot file's units code: English, or else SI.
constexpr int kEnglish = static_cast<int>(engine::api::UnitsSystem::English);
// English base units are inches, lb-in and lbs; the graphs draw feet,
// in-kips and kips.
constexpr long double kInchesPerFoot = engine::api::kInchesPerFoot;
constexpr long double kPerKip = 1000;

// The soil-layer strip: the code that picks a layer's hatching and its label.
struct LayerLook {
  int code;
  const char* label;
};
LayerLook layerLook(int soilType) {
  using engine::api::SoilModel;
  const engine::api::SoilModelInfo* model = engine::api::FindSoilModel(soilType);
  if (!model) return {0, nullptr};
  switch (model->model) {
    case SoilModel::SoftClay:
    case SoilModel::StiffClayFreeWater:
    case SoilModel::StiffClayNoFreeWater: return {1, " CLAY "};
    case SoilModel::Sand: return {7, " SAND "};
    case SoilModel::Silt: return {8, " SILT "};
    case SoilModel::StrongRock: return {9, "STRONG ROCK"};
    case SoilModel::WeakRock: return {10, "WEAK ROCK"};
  }
  return {0, nullptr};
}

class PlotReader {
 public:
  PlotReader(std::string_view text, const TPlotProjectFacts& facts, TResultGraphs& graphs)
      : words_(text), facts_(facts), g_(graphs) {}

  void Read() {
    for (TGraphPlot* graph : g_.All()) {
      graph->ClearPoints();
      // The stage labels are the file's; each read sets them anew.
      graph->Labels.clear();
    }
    SetLineCount(g_.pltInter.Lines, 1);
    SetLineCount(g_.pltPY.Lines, 0);
    readFirstBlock();
    if (PointCount(g_.pltDMS.Lines) > 0) layerStrip();
    for (int k = 2; k <= sets_; ++k) readLaterBlock(k);
    equaliseLengths();
    SetResultCaptions(g_, units_ == kEnglish, facts_.uniformSurcharge, sets_);
    setTitles();
    for (TGraphPlot* graph : g_.All()) graph->SetUnits(units_);
  }

 private:
  // The curve lists that hold one curve per result set of the block.
  std::array<TLineList*, 7> resultLists() {
    return {&g_.pltDef.Lines, &g_.pltMom.Lines, &g_.pltShear.Lines, &g_.pltSoil.Lines,
            &g_.pltDMS.Lines, &g_.pltDMS.Lines2, &g_.pltDMS.Lines3};
  }

  // A count of rows or curves: 0..most. Anything else is a damaged file,
  // refused before storage is made for it.
  int count(int most) {
    const int n = words_.NextInteger();
    if (n < 0 || n > most) words_.Fail(kIncomplete);
    return n;
  }

  // The first value of a result block, taken as the number of result sets.
  // Below 1 still leaves room for the block being read.
  int resultSets() {
    const int s = words_.NextInteger();
    if (s > kMaxPlotResultSets) words_.Fail(kIncomplete);
    return std::max(s, 1);
  }

  long double real() { return words_.NextReal(); }

  // Earth-pressure rows into curve `k` (0-based) of pltLD; the first block
  // also fills the combined graph.
  void readPressure(int k) {
    const int n = count(kMaxPlotPressureRows);
    TLine& curve = g_.pltLD.Lines[static_cast<size_t>(k)];
    curve.SetPointCount(n);
    if (k == 0) SetPointCount(g_.PltCombine.Lines, n);
    for (size_t j = 0; j < static_cast<size_t>(n); ++j) {
      const long double depth = real(), total = real(), soil = real(), surcharge = real();
      curve.Points[j] = {total, depth};
      if (k == 0) {
        // The combined graph's depth axis is in the project's large length.
        const long double d = facts_.units == kEnglish ? depth / kInchesPerFoot : depth;
        g_.PltCombine.Lines[0].Points[j] = {total, d};
        g_.PltCombine.Lines[1].Points[j] = {soil, d};
        g_.PltCombine.Lines[2].Points[j] = {surcharge, d};
      }
    }
    units_ = words_.NextInteger();
    if (units_ == kEnglish)
      for (TFloatPoint& p : curve.Points) p.Y /= kInchesPerFoot;
  }

  // The p-y curves of a block, after those of the blocks before: the last
  // block's are shown at first, the others are offered. The engine heads
  // generated curves by their depth (always written with a decimal point)
  // and, next to curves of the data file, every curve by its station (a
  // whole number); either way the label gives the depth.
  void readPYCurves() {
    const int curves = count(kMaxPlotCurves);
    // A block without curves leaves the earlier ones shown.
    if (curves > 0)
      for (TLine& earlier : g_.pltPY.Lines) earlier.StartsInactive = true;
    pyFirst_ = g_.pltPY.Lines.size();
    pyStations_.clear();
    g_.pltPY.Lines.resize(pyFirst_ + static_cast<size_t>(curves));
    for (size_t i = pyFirst_; i < g_.pltPY.Lines.size(); ++i) {
      TLine& curve = g_.pltPY.Lines[i];
      curve.Value = real();
      pyStations_.push_back(words_.LastWord().find_first_of(".eEdD") == std::string_view::npos);
      const int n = count(kMaxPlotCurvePoints);
      curve.SetPointCount(n);
      for (TFloatPoint& p : curve.Points) {
        p.X = real();  // y
        p.Y = real();  // p
      }
    }
    EqualiseLengths(g_.pltPY.Lines);
  }

  // The labels of the p-y curves just read, once result set `k` (1-based)
  // has given the depths of its stations: "p-y at 12.0 ft", and in a run of
  // several sets "Stage 2, p-y at 12.0 ft".
  void labelPYCurves(int k) {
    const bool english = units_ == kEnglish;
    const TLine& depths = g_.pltDef.Lines[static_cast<size_t>(k - 1)];
    std::vector<std::string>& labels = g_.pltPY.Labels;
    labels.resize(g_.pltPY.Lines.size());
    if (pyFirst_ < g_.pltPY.Lines.size()) pyShownSet_ = k;
    std::vector<long double> shown;
    for (size_t i = pyFirst_; i < g_.pltPY.Lines.size(); ++i) {
      const long double heading = g_.pltPY.Lines[i].Value;
      long double depth = english ? heading / kInchesPerFoot : heading;
      if (pyStations_[i - pyFirst_]) {
        // The station's own row; past the rows, from the increment length.
        const long double station = heading;
        if (station >= 0 && station < depths.PointCount())
          depth = depths.Points[static_cast<size_t>(station)].Y;
        else depth = station * facts_.incrementLength / (english ? kInchesPerFoot : 1);
      }
      shown.push_back(depth);
    }
    const std::vector<std::string> texts = DepthTexts(shown, english);
    for (size_t i = 0; i < shown.size(); ++i) {
      const std::string text = "p-y at " + texts[i];
      labels[pyFirst_ + i] = sets_ > 1 ? setName(k) + ", " + text : text;
    }
  }

  // A result set as the legends and titles name it.
  std::string setName(int k) const {
    if (facts_.longTerm && k <= 2) return k == 1 ? "Short-Term" : "Long-Term";
    return "Stage " + std::to_string(k);
  }

  // The rows of a result block into curve `k` (0-based) of every depth graph.
  void readResultRows(int k, int rows) {
    const auto at = static_cast<size_t>(k);
    for (TLineList* list : resultLists()) (*list)[at].SetPointCount(rows);
    for (size_t j = 0; j < static_cast<size_t>(rows); ++j) {
      long double depth = real();
      const long double deflection = real();
      long double moment = real(), shear = real();
      const long double reaction = real();
      if (units_ == kEnglish) {
        depth /= kInchesPerFoot;
        moment /= kPerKip;
        shear /= kPerKip;
      }
      g_.pltDef.Lines[at].Points[j] = g_.pltDMS.Lines[at].Points[j] = {deflection, depth};
      g_.pltMom.Lines[at].Points[j] = g_.pltDMS.Lines2[at].Points[j] = {moment, depth};
      g_.pltShear.Lines[at].Points[j] = g_.pltDMS.Lines3[at].Points[j] = {shear, depth};
      g_.pltSoil.Lines[at].Points[j] = {reaction, depth};
    }
    reactionPerLength(g_.pltSoil.Lines[at], units_ == kEnglish ? kInchesPerFoot : 1);
  }

  // The engine writes the soil reaction as the force a station takes, which
  // grows with the increment length; per unit length of wall it does not. A
  // station takes the wall from halfway to the station above to halfway to
  // the one below: an increment, half of one at an end. `perDepthUnit` turns
  // the drawn depths back into the file's length (inches from feet).
  static void reactionPerLength(TLine& curve, long double perDepthUnit) {
    const size_t n = curve.Points.size();
    std::vector<long double> depths;
    for (const TFloatPoint& p : curve.Points) depths.push_back(p.Y);
    for (size_t j = 0; j < n; ++j) {
      const long double above = depths[j > 0 ? j - 1 : j], below = depths[j + 1 < n ? j + 1 : j];
      const long double length = (below - above) / 2 * perDepthUnit;
      // Stations (almost) at one depth leave no length to share the force
      // over: no reaction per length to draw, not one beyond any scale.
      const long double perLength = length > 0 ? curve.Points[j].X / length : NAN;
      curve.Points[j].X =
          std::fabs(perLength) <= std::numeric_limits<double>::max() ? perLength : NAN;
    }
  }

  void setResultSets(int sets) {
    sets_ = sets;
    for (TLineList* list : resultLists()) SetLineCount(*list, sets_);
  }

  void readFirstBlock() {
    SetLineCount(g_.pltLD.Lines, 1);
    SetLineCount(g_.PltCombine.Lines, 3);
    readPressure(0);
    readPYCurves();
    setResultSets(resultSets());
    const int rows = count(kMaxPlotResultRows);
    for (TLineList* list : resultLists()) SetPointCount(*list, rows);
    words_.NextInteger();  // the block's unit code: UNITS above rules
    g_.pltDMS.ShowThree = true;
    readResultRows(0, rows);
    labelPYCurves(1);
  }

  void readLaterBlock(int k) {
    SetLineCount(g_.pltLD.Lines, sets_);
    readPressure(k - 1);
    readPYCurves();
    setResultSets(std::max(sets_, resultSets()));
    for (TGraphPlot* graph :
         {&g_.pltDef, &g_.pltMom, &g_.pltShear, &g_.pltSoil, &g_.pltDMS, &g_.pltLD}) {
      std::vector<std::string>& labels = graph->Labels;
      labels.resize(static_cast<size_t>(k));
      labels[0] = "Stage: 1";
      labels[static_cast<size_t>(k - 1)] = "Stage: " + std::to_string(k);
      if (facts_.longTerm) {
        labels[0] = "Short-Term";
        labels[1] = "Long-Term";
      }
    }
    const int rows = count(kMaxPlotResultRows);
    words_.NextInteger();  // unit code
    readResultRows(k - 1, rows);
    labelPYCurves(k);
  }

  // The soil layers beside the deflection-moment-shear panels, then the
  // wall's bottom and the excavation level, all on the depth axis' scale.
  void layerStrip() {
    TLineList& entries = g_.pltDMS.LayerLines;
    const size_t layers = facts_.layers.size();
    entries.assign(layers + 2, TLine{});
    for (size_t r = 0; r < layers; ++r) {
      const LayerLook look = layerLook(facts_.layers[r].soilType);
      entries[r].Points = {{static_cast<long double>(look.code), facts_.layers[r].bottom}};
      entries[r].Name = look.label ? look.label : "LAYER " + std::to_string(r + 1);
    }
    const long double scale = facts_.units == kEnglish ? kInchesPerFoot : 1;
    entries[layers].Points = {{0, facts_.incrementCount * static_cast<long double>(facts_.incrementLength) / scale}};
    entries[layers + 1].Points = {{0, facts_.freeHeight / scale}};
    entries[layers].Name = entries[layers + 1].Name = "PILE";
    for (size_t r = 0; r < entries.size(); ++r) entries[r].Value = static_cast<long double>(r + 1);
    g_.pltDMS.WallLineCount = static_cast<int>(layers);
  }

  // A curve shorter than its graph's longest repeats its last point, so that
  // every curve of a graph spans the same rows.
  void equaliseLengths() {
    SetLineCount(g_.pltLD.Lines, sets_);
    EqualiseLengths(g_.pltLD.Lines);
    if (sets_ > 1)
      for (TLineList* list : resultLists()) EqualiseLengths(*list);
  }

  // Each graph headed by the project and, where it shows one result set of
  // several, by that set: the p-y curves of the last, the combined earth
  // pressure of the first. A title the user chose stays.
  void setTitles() {
    const std::string& project = facts_.projectTitle;
    auto title = [&](TGraphPlot& g, int set) {
      if (g.TitleChosen) return;
      const std::string stage = set > 0 && sets_ > 1 ? setName(set) : "";
      g.Title = project + (!project.empty() && !stage.empty() ? " — " : "") + stage;
    };
    for (TGraphPlot* g : {&g_.pltDef, &g_.pltMom, &g_.pltShear, &g_.pltSoil, &g_.pltDMS, &g_.pltLD})
      title(*g, 0);
    title(g_.pltPY, pyShownSet_);
    title(g_.PltCombine, 1);
  }

  TPlotWords words_;
  const TPlotProjectFacts& facts_;
  TResultGraphs& g_;
  int units_ = 0;  // the unit code of the last block read
  int sets_ = 1;   // result sets announced so far
  size_t pyFirst_ = 0;            // the first p-y curve of the block being read
  std::vector<bool> pyStations_;  // its curves are headed by stations, not depths
  int pyShownSet_ = 0;            // the result set whose p-y curves are shown first
};

}  // namespace

TPlotProjectFacts PlotProjectFacts(const TProgramData& project) {
  TPlotProjectFacts facts;
  facts.units = project.Units;
  facts.longTerm = project.LongTerm;
  facts.incrementCount = project.IncrementCount;
  facts.incrementLength = project.IncrementLength;
  facts.freeHeight = project.FreeHeight;
  facts.projectTitle = project.ProjectTitle;
  facts.uniformSurcharge = project.SurchargePressure != 0 && !project.UserPressure;
  const TGridTable& soil = project.Tables().SoilLayers;
  for (int r = 0; r < soil.RowCount(); ++r)
    facts.layers.push_back({soil.Column(0).Integer(r), static_cast<double>(soil.Column(1).Float(r))});
  return facts;
}

bool ReadPlotText(std::string_view text, const TPlotProjectFacts& facts, TResultGraphs& graphs, std::string& error) {
  try {
    PlotReader(text, facts, graphs).Read();
  } catch (const EReadError& e) {
    error = e.what();
    return false;
  }
  error.clear();
  return true;
}

bool ReadPlotFile(const std::filesystem::path& file, const TPlotProjectFacts& facts, TResultGraphs& graphs,
                  std::string& error) {
  // A run that did not end well may leave a plot file that reads without
  // fault: the verdict comes from the run's report as well.
  const std::string mark =
      JudgeResults(ReadRunSummary(std::filesystem::path(file).replace_extension(".tq4o"), file))
          .mark;
  for (TGraphPlot* graph : graphs.All()) graph->ResultsMark = mark;
  std::string text;
  try {
    text = ReadWholeFile(file);
  } catch (const EInOutError& e) {
    // Whatever the graphs held belongs to another file.
    for (TGraphPlot* graph : graphs.All()) graph->ClearPoints();
    error = e.what();
    return false;
  }
  return ReadPlotText(text, facts, graphs, error);
}

}  // namespace terraq::ui
