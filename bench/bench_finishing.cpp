// The finishing refinement alone, started on the first triangulation of a 450 x 450 plate with
// a 50 x 50 hole (so that it does all the refinement), at 28 and 31 degrees and maximal areas
// giving about 10^4 to 10^6 triangles: time, and triangles made per second ("rate").
#include <benchmark/benchmark.h>

#include <memory>

#include "mesh/FEM.h"
#include "mesh/FinishingRefinement.h"
#include "mesh/MeshCanvas.h"
#include "mesh/MeshProgress.h"
#include "model/TObjCont.h"

namespace {

using tavrin::FEM;
using tavrin::MeshParameters;
using tavrin::TObjCont;

TObjCont PlateWithSmallHole() {
  TObjCont job;
  const double corners[2][4][2] = {{{0, 0}, {450, 0}, {450, 450}, {0, 450}},
                                   {{200, 200}, {250, 200}, {250, 250}, {200, 250}}};
  for (const auto& polygon : corners) {
    const int first = job.NodeCount();
    for (const auto& p : polygon) job.AddNode(p[0], p[1]);
    for (int i = 0; i < 4; ++i) job.AddPolygonEdge(first + i, first + (i + 1) % 4);
    job.ClosePolygon();
  }
  job.SetPolygonPhysics(1, 0, 210000, 0.3, 10, true);
  job.PrepareForMeshing();
  return job;
}

// Arguments: minimal angle in degrees; maximal area in hundredths.
void BM_FinishingRefinement(benchmark::State& state) {
  const TObjCont job = PlateWithSmallHole();
  const MeshParameters parameters{static_cast<float>(state.range(0)),
                                  static_cast<float>(state.range(1)) / 100, false};
  int triangles = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto mesh = std::make_unique<FEM>(parameters);
    tavrin::MeshCanvas canvas;
    tavrin::MeshProgress progress;
    mesh->Triangulate(job, canvas);
    const int before = mesh->TriangleCount();
    state.ResumeTiming();
    mesh->Finish(progress);
    state.PauseTiming();
    triangles = mesh->TriangleCount() - before;
    mesh.reset();
    state.ResumeTiming();
  }
  state.counters["elements"] = triangles;
  state.counters["rate"] =
      benchmark::Counter(triangles, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FinishingRefinement)
    ->ArgsProduct({{28, 31}, {1600, 160, 40, 16}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
