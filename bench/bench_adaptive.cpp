// The adaptive solve against uniform refinement, on the plates where it matters and where it
// must not cost anything:
// - the L-shaped plate (square of side 2 without a quadrant, uniformly loaded, simply
//   supported): the rate of the estimate against the element count (slope of log estimate over
//   log N between the last two meshes; the optimal rate is -1/2), uniform and adaptive, and the
//   elements each needs to reach 1 % (uniform by extrapolating its measured rate from its
//   finest mesh when it does not get there itself);
// - a flat slab of side 6 on a 3 x 3 grid of point supports: the cycles to 2 %;
// - the clamped square: adaptive elements to 0.5 % against uniform's.
// Reported as counters; the whole adaptive run's time over one solve of its final mesh too.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/AdaptiveSolve.h"
#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace {

using namespace tavrin;

std::string Polygon(const std::vector<double>& x, const std::vector<double>& y, bool clamped,
                    const std::vector<std::pair<double, double>>& columns = {}) {
  std::ostringstream s;
  const std::size_t n = x.size();
  for (std::size_t k = 0; k < n; ++k) s << "N, " << x[k] << ", " << y[k] << "\n";
  for (const auto& c : columns) s << "N, " << c.first << ", " << c.second << "\n";
  s << "OBJECT 0\n";
  for (std::size_t k = 0; k < n; ++k) s << "E, " << k << ", " << (k + 1) % n << "\n";
  s << "Close\nP, 0, -1, 210000, 0.3, 0.02, 0\n";
  if (columns.empty())
    for (std::size_t k = 0; k < n; ++k)
      s << "DE, " << k << (clamped ? ", 0, 0, 0\n" : ", 0, n, n\n");
  for (std::size_t c = 0; c < columns.size(); ++c) s << "DN, " << n + c << ", 0, n, n\n";
  return s.str();
}

std::unique_ptr<FEM> Meshed(const TObjCont& job, double maxArea) {
  MeshParameters p;
  p.minAngle = 28;
  p.maxArea = static_cast<float>(maxArea);
  p.animate = false;
  auto mesh = std::make_unique<FEM>(p);
  mesh->GenerateMesh(job);
  return mesh;
}

struct Point {
  double elements, estimate, seconds;
};

Point Uniform(const TObjCont& job, double maxArea) {
  const auto start = std::chrono::steady_clock::now();
  const auto mesh = Meshed(job, maxArea);
  CaseSolution s;
  s.Solve(*mesh, job, ElementKind::Dkt, AnalysisOptions{});
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return {static_cast<double>(mesh->TriangleCount()), s.First().ErrorEstimate(), took.count()};
}

double Slope(const Point& a, const Point& b) {
  return std::log(b.estimate / a.estimate) / std::log(b.elements / a.elements);
}

void Report(benchmark::State& state, const std::string& job, double area0, double target,
            double uniformFinest) {
  TObjCont structure;
  structure.ReadJobText(job);
  structure.PrepareForMeshing();
  AdaptiveSettings settings;
  settings.target = target;
  settings.maxCycles = 12;
  settings.maxElements = 2000000;
  AdaptiveRun run;
  double total = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    run =
        SolveAdaptively(structure, Meshed(structure, area0), Meshed(structure, area0)->Parameters(),
                        ElementKind::Dkt, AnalysisOptions{}, settings);
    total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  for (std::size_t k = 0; k < run.cycles.size(); ++k)
    std::printf("  cycle %zu: elements %d estimate %.5g seconds %.3f\n", k + 1,
                run.cycles[k].elements, run.cycles[k].estimate, run.cycles[k].seconds);
  const std::size_t n = run.cycles.size();
  if (n >= 2) {
    const Point a{double(run.cycles[n - 2].elements), run.cycles[n - 2].estimate, 0};
    const Point b{double(run.cycles[n - 1].elements), run.cycles[n - 1].estimate, 0};
    state.counters["adaptive_rate"] = Slope(a, b);
  }
  state.counters["adaptive_elements"] = n ? run.cycles.back().elements : 0;
  state.counters["adaptive_estimate"] = n ? run.cycles.back().estimate : 0;
  state.counters["reached"] = run.end == AdaptiveEnd::Reached;
  // Uniform: two meshes a factor 4 apart in area, the rate between them, the elements its rate
  // needs for the target from the finer one.
  const Point coarse = Uniform(structure, uniformFinest * 4);
  const Point fine = Uniform(structure, uniformFinest);
  const double rate = Slope(coarse, fine);
  state.counters["uniform_rate"] = rate;
  state.counters["uniform_elements_for_target"] =
      fine.estimate <= target ? fine.elements
                              : fine.elements * std::pow(target / fine.estimate, 1.0 / rate);
  // One solve of the final mesh, its meshing excluded, against the whole run.
  if (run.mesh) {
    const auto start = std::chrono::steady_clock::now();
    CaseSolution again;
    again.Solve(*run.mesh, structure, ElementKind::Dkt, AnalysisOptions{});
    const double one =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["run_over_last_solve"] = total / one;
  }
}

void BM_LShape(benchmark::State& state) {
  Report(state, Polygon({0, 2, 2, 1, 1, 0}, {0, 0, 1, 1, 2, 2}, false), 0.05, 0.01, 0.0005);
}
BENCHMARK(BM_LShape)->Iterations(1)->Unit(benchmark::kSecond);

void BM_ColumnSlab(benchmark::State& state) {
  std::vector<std::pair<double, double>> columns;
  for (double x : {1.0, 3.0, 5.0})
    for (double y : {1.0, 3.0, 5.0}) columns.emplace_back(x, y);
  Report(state, Polygon({0, 6, 6, 0}, {0, 0, 6, 6}, false, columns), 0.5, 0.02, 0.005);
}
BENCHMARK(BM_ColumnSlab)->Iterations(1)->Unit(benchmark::kSecond);

void BM_ClampedSquare(benchmark::State& state) {
  Report(state, Polygon({0, 1, 1, 0}, {0, 0, 1, 1}, true), 0.01, 0.005, 0.0002);
}
BENCHMARK(BM_ClampedSquare)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
