// Start-up of the interactive program: the main window with its menus, tool
// bar and project tables built and shown, a data file opened from the command
// line. Runs on Qt's offscreen platform with settings in a scratch folder.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStandardPaths>
#include <QStringList>

#include "mainwindow/TMainForm.h"

namespace {

const QString kExample = QStringLiteral(TERRAQ_SOURCE_DIR "/examples/cantilever-sheet-pile-py-curves.tq4d");

void BM_MainWindowStartUp(benchmark::State& state) {
  for (auto _ : state) {
    terraq::ui::TMainForm form;
    form.show();
    form.StartUp(QStringList{kExample});
    QApplication::processEvents();
  }
}
BENCHMARK(BM_MainWindowStartUp)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
