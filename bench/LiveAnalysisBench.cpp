// An entry analysed live, for each shipped example: the wall's stiffness
// typed into its table, the project's data text made, analysed in memory
// (LiveAnalysis.h) and read into the result graphs, and the graphs a user
// keeps open repainted offscreen into images the size of a plot window.
// Live analysis is meant for projects where this takes well under 50 ms.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "GraphPainter.h"
#include "graphs/GraphRanges.h"
#include "graphs/LiveAnalysis.h"
#include "project/RunObstacles.h"
#include "project/TProject.h"

namespace {

namespace fs = std::filesystem;
using namespace terraq::ui;

// The graphs most often open beside the tables.
constexpr std::array kOpenGraphs{kGraphDeflection, kGraphMoment, kGraphDeflectionMomentShear,
                                 kGraphPressure};

void Repaint(const TGraphPlot& graph, QImage& image) {
  const std::array<TWorldRect, 3> world{PanelWorldRect(graph.Lines), PanelWorldRect(graph.Lines2),
                                        PanelWorldRect(graph.Lines3)};
  const TGraphLayout layout =
      LayoutGraph(GraphLayoutInput(graph, image.width(), image.height(), 96, 96));
  QPainter painter(&image);
  PaintGraph(painter, graph, world, layout, TPaintOutput());
}

// `data` is a copy of the example in a scratch folder: opening a staged
// project takes the lock of its stage files beside it.
void BM_LiveEntry(benchmark::State& state, const fs::path& data) {
  TProject project;
  project.Open(data, kLayoutCurrent);
  TResultGraphs graphs;
  QImage image(800, 600, QImage::Format_RGB32);
  TGridTable& stiffness = project.Tables().PileSect;
  const double rigidity = static_cast<double>(stiffness.Column(3).Float(0));
  bool stiffer = false;
  for (auto _ : state) {
    stiffer = !stiffer;
    stiffness.Cell(3, 0).SetFloat(stiffer ? 1.1 * rigidity : rigidity);
    LiveProject live{data, project.DataText(), &project.Members(), project.ProjectFileFault(),
                     FirstRunObstacle(project.Data())};
    const LiveResult result = AnalyseLive(live);
    std::string error;
    if (!result.error.empty() ||
        !ShowLiveResult(result, PlotProjectFacts(project.Data()), graphs, error)) {
      state.SkipWithError((result.error + error).c_str());
      break;
    }
    for (GraphKind kind : kOpenGraphs) Repaint(graphs.Graph(kind), image);
    benchmark::DoNotOptimize(image.constBits());
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const fs::path scratch = fs::temp_directory_path() / "terraq-bench-live";
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  std::vector<fs::path> examples;
  for (const fs::directory_entry& e :
       fs::directory_iterator(fs::path(TERRAQ_SOURCE_DIR) / "examples"))
    if (e.path().extension() == ".tq4d" || e.path().extension() == ".json")
      fs::copy_file(e.path(), scratch / e.path().filename());
  for (const fs::directory_entry& e : fs::directory_iterator(scratch))
    if (e.path().extension() == ".tq4d") examples.push_back(e.path());
  std::sort(examples.begin(), examples.end());
  for (const fs::path& data : examples)
    benchmark::RegisterBenchmark(("BM_LiveEntry/" + data.stem().string()).c_str(), BM_LiveEntry,
                                 data)
        ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(scratch);
  return 0;
}
