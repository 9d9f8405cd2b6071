// Static solve time and envelope size against the number of equations, on clamped square plates
// meshed as a regular grid (built directly: the mesher is not what is measured here). Reported
// counters: equations of the reduced system, stored envelope entries, and their mean per row.
#include <benchmark/benchmark.h>

#include <cmath>

#include "analysis/StructuredPlate.h"
#include "analysis/TGlobMatrix.h"

namespace {

// A clamped n x n grid has 3 (n - 1)^2 free equations.
tavrin::PlateMesh Plate(int equations) {
  const int cells = static_cast<int>(std::lround(std::sqrt(equations / 3.0))) + 1;
  tavrin::StructuredPlate p;
  p.width = p.height = 100;
  p.cellsX = p.cellsY = cells;
  p.support = tavrin::EdgeSupport::Clamped;
  p.material = {210000, 0.3, 1, -1};
  return p.Build();
}

void SolveStatic(benchmark::State& state) {
  const tavrin::PlateMesh mesh = Plate(static_cast<int>(state.range(0)));
  int equations = 0;
  double envelope = 0;
  for (auto _ : state) {
    tavrin::TGlobMatrix solver;
    if (solver.SolveStatic(mesh) != tavrin::kSolveOk) {
      state.SkipWithError(solver.Failure().message.c_str());
      break;
    }
    equations = solver.EquationCount();
    envelope = static_cast<double>(solver.EnvelopeSize());
    benchmark::DoNotOptimize(solver.Displacement(0, 0));
  }
  state.counters["equations"] = equations;
  state.counters["envelope"] = envelope;
  state.counters["row_mean"] = equations ? envelope / equations : 0;
}

void SolveStress(benchmark::State& state) {
  const tavrin::PlateMesh mesh = Plate(static_cast<int>(state.range(0)));
  tavrin::TGlobMatrix solver;
  if (solver.SolveStatic(mesh) != tavrin::kSolveOk) {
    state.SkipWithError(solver.Failure().message.c_str());
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(solver.SolveStress());
  state.counters["elements"] = solver.ResultTriangleCount();
}

}  // namespace

BENCHMARK(SolveStatic)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(SolveStatic)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SolveStress)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
