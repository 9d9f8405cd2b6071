// Ten load cases against one on the same plate: the cost of solving every case of a job, as the
// ratio of the ten-case run to the one-case run (the goal is below 1.5, which only a solve that
// factors the matrix once and back-substitutes every case can reach). A clamped square grid of
// about 2 10^5 equations (built directly: the mesher is not what is measured); the cases differ
// in pressure and in a point load. Each run includes the result sets, the design columns and
// one combination of all cases.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "analysis/CaseSolution.h"
#include "analysis/StructuredPlate.h"
#include "bench/BenchPlates.h"
#include "model/LoadCases.h"

namespace {

double SolveSeconds(const tavrin::PlateMesh& plate, int cases) {
  std::vector<std::pair<std::string, tavrin::PlateMesh>> meshes;
  tavrin::LoadCases all;
  tavrin::Combination sum{"All", {}};
  for (int k = 0; k < cases; ++k) {
    tavrin::PlateMesh m = plate;
    for (auto& material : m.materials) material.pressure = -1.0 - k;
    m.nodeDof[static_cast<std::size_t>(m.NodeCount() / (k + 2))].force[0] = -1000.0 * k;
    meshes.emplace_back("Case " + std::to_string(k + 1), std::move(m));
    sum.terms.push_back({meshes.back().first, 1.0});
  }
  all.combinations.push_back(sum);
  const auto start = std::chrono::steady_clock::now();
  tavrin::CaseSolution solution;
  const std::string error = solution.SolveCases(std::move(meshes), tavrin::ElementKind::Dkt, {});
  solution.Combine(all);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return error.empty() ? took.count() : -1.0;
}

void BM_TenCasesOverOne(benchmark::State& state) {
  const tavrin::PlateMesh plate = tavrin::bench::ClampedPlate(static_cast<int>(state.range(0)));
  double one = 0, ten = 0;
  for (auto _ : state) {
    one = SolveSeconds(plate, 1);
    ten = SolveSeconds(plate, 10);
    state.SetIterationTime(ten);
  }
  state.counters["one_case_s"] = one;
  state.counters["ten_cases_s"] = ten;
  state.counters["ratio"] = ten / one;
}
BENCHMARK(BM_TenCasesOverOne)
    ->Arg(50000)
    ->Arg(200000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
