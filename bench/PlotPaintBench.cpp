// Painting a result graph: the combined deflection-moment-shear graph with
// its soil-layer strip and wall into a 1600 x 1000 image, as a plot window
// of that size repaints (offscreen, 96 dpi).

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "GraphPainter.h"
#include "PlotFixtures.h"
#include "graphs/GraphRanges.h"

namespace {

using namespace terraq::ui;

void BM_PaintCombinedGraph(benchmark::State& state) {
  TGraphPlot graph;
  terraq::test::CombinedGraph(graph);
  const std::array<TWorldRect, 3> world{PanelWorldRect(graph.Lines), PanelWorldRect(graph.Lines2),
                                        PanelWorldRect(graph.Lines3)};
  const TGraphLayout layout = LayoutGraph(GraphLayoutInput(graph, 1600, 1000, 96, 96));
  QImage image(1600, 1000, QImage::Format_RGB32);
  const TPaintOutput output;
  for (auto _ : state) {
    QPainter painter(&image);
    PaintGraph(painter, graph, world, layout, output);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PaintCombinedGraph)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
