// Generate mesh in the workbench, offscreen, with "Show animation" off and on: the example plate
// with a hole at a minimal angle of 31 degrees and maximal areas down to 2 (about 140,000
// triangles), in a 1000 x 800 window at the start-up zoom. The animation draws only what changed
// since its last frame, at most 25 frames a second; the ratio of the two times is its cost.
//
// Arguments: 1 with animation, 0 without; the maximal area in thousandths. Counter: triangles.
// Built only with the workbench (TAVRIN_BUILD_UI).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "ui/TMainWindow.h"

namespace {

void BM_WorkbenchGenerateMesh(benchmark::State& state) {
  tavrin::TMainWindow window;
  window.SetWaitForRuns(true);
  window.resize(1000, 800);
  window.show();
  QApplication::processEvents();
  if (!window.OpenJob(std::string(TAVRIN_SOURCE_DIR) + "/examples/plate-with-hole.sam")) {
    state.SkipWithError("cannot open the example");
    return;
  }
  const auto area = static_cast<float>(state.range(1) / 1000.0);
  tavrin::GlobalMeshParameters() = tavrin::MeshParameters{31.0f, area, state.range(0) != 0};
  for (auto _ : state) window.GenerateMeshClick();
  state.counters["triangles"] = window.Mesh().TriangleCount();
  window.Document().SetModified(false);
}
BENCHMARK(BM_WorkbenchGenerateMesh)
    ->ArgsProduct({{0, 1}, {20000, 5000, 2000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
