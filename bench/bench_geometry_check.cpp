// The geometry check before meshing on large jobs: a round outline of half the edges and a
// lattice of square holes and free nodes holding the other half. It must stay near-linear in
// the number of edges (100,000 edges well under a second).
#include <benchmark/benchmark.h>

#include <cmath>

#include "model/GeometryCheck.h"
#include "model/TObjCont.h"

namespace {

tavrin::TObjCont LargeJob(int edges) {
  tavrin::TObjCont job;
  const int outline = edges / 2;
  const double radius = 10000.0;
  for (int k = 0; k < outline; ++k) {
    const double a = 2 * M_PI * k / outline;
    job.AddNode(radius * std::cos(a), radius * std::sin(a));
  }
  for (int k = 0; k < outline; ++k) job.AddPolygonEdge(k, (k + 1) % outline);
  job.ClosePolygon();
  // Square holes of side 10 on a lattice inside the circle, a free node beside each.
  const int holes = edges / 2 / 4;
  const int side = static_cast<int>(std::ceil(std::sqrt(holes)));
  const double pitch = 1.2 * radius / side;
  int made = 0;
  for (int i = 0; i < side && made < holes; ++i) {
    for (int j = 0; j < side && made < holes; ++j, ++made) {
      const double x = -0.6 * radius + i * pitch, y = -0.6 * radius + j * pitch;
      const int first = job.NodeCount();
      job.AddNode(x, y);
      job.AddNode(x + 10, y);
      job.AddNode(x + 10, y + 10);
      job.AddNode(x, y + 10);
      for (int k = 0; k < 4; ++k) job.AddPolygonEdge(first + k, first + (k + 1) % 4);
      job.ClosePolygon();
      job.AddFreeNode(x + pitch / 2, y + pitch / 2);
    }
  }
  job.PrepareForMeshing();
  return job;
}

void BM_GeometryCheck(benchmark::State& state) {
  const tavrin::TObjCont job = LargeJob(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const tavrin::GeometryCheckResult r = tavrin::CheckGeometry(job);
    if (!r) state.SkipWithError(r.message.c_str());
    benchmark::DoNotOptimize(r.ok);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_GeometryCheck)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace

BENCHMARK_MAIN();
