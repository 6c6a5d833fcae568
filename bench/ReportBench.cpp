// The calculation package of a five-stage project
// (examples/staged-excavation-tieback.tq4d: 141 stations, generated earth
// pressure and p-y curves, a tie-back from the second stage), from its text
// to the bytes of the file:
//
// BM_PackageOfFiveStages/0: the analysis in memory, the contents and the
// PDF; /1 the same with the HTML page. What terraq report and Export
// Calculation Report spend beyond reading and writing the files.
// BM_ContentsOfFiveStages: the analysis and the contents alone (the
// document before it is laid out).

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <fstream>
#include <sstream>
#include <string>

#include "PackageFile.h"

namespace {

std::string FiveStages() {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/staged-excavation-tieback.tq4d",
                   std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void BM_PackageOfFiveStages(benchmark::State& state) {
  const std::string text = FiveStages();
  const auto form =
      state.range(0) == 0 ? terraq::report::PackageForm::Pdf : terraq::report::PackageForm::Html;
  size_t bytes = 0;
  for (auto _ : state) {
    const terraq::report::Document document = terraq::report::BuildPackage(
        terraq::report::AnalysedPackageInput("staged-excavation-tieback.tq4d", text));
    bytes = terraq::report::PackageBytes(document, form, terraq::report::Paper::A4).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PackageOfFiveStages)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ContentsOfFiveStages(benchmark::State& state) {
  const std::string text = FiveStages();
  for (auto _ : state)
    benchmark::DoNotOptimize(terraq::report::BuildPackage(
        terraq::report::AnalysedPackageInput("staged-excavation-tieback.tq4d", text)));
}
BENCHMARK(BM_ContentsOfFiveStages)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
