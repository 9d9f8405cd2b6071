// The initial triangulation (the advancing front alone, no refinement) against the number of
// free nodes: a 1000 x 1000 square with uniformly random interior nodes, with the front's
// spatial index and with the plain scans (same triangles, different cost), and a square grid
// of nodes, whose co-circular quadruples make every apex a tie.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "mesh/FEM.h"
#include "mesh/MeshCanvas.h"
#include "model/TObjCont.h"

namespace {

using tavrin::FEM;
using tavrin::MeshParameters;
using tavrin::TObjCont;

TObjCont Square() {
  TObjCont job;
  const double corners[4][2] = {{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}};
  for (const auto& c : corners) job.AddNode(c[0], c[1]);
  for (int i = 0; i < 4; ++i) job.AddPolygonEdge(i, (i + 1) % 4);
  job.ClosePolygon();
  return job;
}

TObjCont RandomNodes(int count) {
  TObjCont job = Square();
  std::mt19937 random(7);
  std::uniform_real_distribution<double> inside(1.0, 999.0);
  for (int i = 0; i < count; ++i) {
    const double x = inside(random);
    job.AddFreeNode(x, inside(random));
  }
  job.PrepareForMeshing();
  return job;
}

TObjCont GridNodes(int count) {
  TObjCont job = Square();
  const int side = static_cast<int>(std::sqrt(count));
  const double step = 1000.0 / (side + 1);
  for (int i = 1; i <= side; ++i)
    for (int j = 1; j <= side; ++j) job.AddFreeNode(i * step, j * step);
  job.PrepareForMeshing();
  return job;
}

void Run(benchmark::State& state, const TObjCont& job) {
  tavrin::MeshCanvas canvas;
  int triangles = 0;
  for (auto _ : state) {
    FEM mesh(MeshParameters{0.0f, 1e9f, false});
    mesh.SetIndexedScans(state.range(1) != 0);
    mesh.Triangulate(job, canvas);
    triangles = mesh.TriangleCount();
    benchmark::DoNotOptimize(triangles);
  }
  state.counters["nodes"] = job.NodeCount();
  state.counters["elements"] = triangles;
}

// Arguments: number of free nodes; 1 for the index, 0 for the plain scans.
void BM_FrontRandomNodes(benchmark::State& state) {
  Run(state, RandomNodes(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_FrontRandomNodes)
    ->ArgsProduct({{500, 1000, 2000, 4000, 20000, 100000}, {1}})
    ->Unit(benchmark::kMillisecond);
// The plain scans grow faster than the square of the nodes: a single run each.
BENCHMARK(BM_FrontRandomNodes)
    ->ArgsProduct({{500, 1000, 2000}, {0}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_FrontGridNodes(benchmark::State& state) {
  Run(state, GridNodes(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_FrontGridNodes)
    ->ArgsProduct({{400, 2500, 20000, 100000}, {1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrontGridNodes)->Args({400, 0})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
