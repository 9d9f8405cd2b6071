// The adaptive solve against uniform refinement, on the plates where it matters and where it
// must not cost anything:
// - the L-shaped plate (square of side 2 without a quadrant, uniformly loaded, simply
//   supported): the rate of the estimate against the element count (slope of log estimate over
//   log N between the last two meshes; the optimal rate is -1/2), uniform and adaptive, and the
//   elements each needs to reach 1 % (uniform by extrapolating its measured rate from its
//   finest mesh when it does not get there itself);
// - a flat slab of side 6 on a 3 x 3 grid of point supports: the cycles to 2 %, and per cycle
//   the moment at the columns, which grows like log(1/h) under a point support (the slope of
//   Mx at the centre column over log(1/h) is fitted and set beside plate theory's
//   (1 + nu) R / (4 pi), R the column's reaction);
// - the clamped square: adaptive elements to 0.5 % against uniform's, and per cycle the
//   estimate's effectivity: the estimated error over the true one in the same norm (the moments'
//   energy norm, the element's own moments against the series solution), integrated to fifth
//   order on each element. It starts from about 800 elements: below that the recovered field
//   has too few patches to be superconvergent, and the first cycle's effectivity drops to 0.95.
// Reported as counters; per cycle the elements, estimate and the time of each step; the whole
// adaptive run's time (the per-cycle reports above excluded) over one solve of its final mesh.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/AdaptiveSolve.h"
#include "mesh/FEM.h"
#include "model/TObjCont.h"
#include "tests/analysis/ClampedSquareSeries.h"

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

// Least-squares slope of y over x.
double Fit(const std::vector<double>& x, const std::vector<double>& y) {
  const double n = static_cast<double>(x.size());
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (std::size_t k = 0; k < x.size(); ++k) {
    sx += x[k];
    sy += y[k];
    sxx += x[k] * x[k];
    sxy += x[k] * y[k];
  }
  return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

using Inspector = std::function<void(const FEM&, const TGlobMatrix&)>;

void Report(benchmark::State& state, const std::string& job, double area0, double target,
            double uniformFinest, const Inspector& inspect = {}) {
  TObjCont structure;
  structure.ReadJobText(job);
  structure.PrepareForMeshing();
  AdaptiveSettings settings;
  settings.target = target;
  settings.maxCycles = 12;
  settings.maxElements = 2000000;
  AdaptiveRun run;
  double total = 0, inspecting = 0;
  const Inspector timed = [&](const FEM& mesh, const TGlobMatrix& solved) {
    if (!inspect) return;
    const auto start = std::chrono::steady_clock::now();
    inspect(mesh, solved);
    inspecting += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<FEM> first = Meshed(structure, area0);
    const MeshParameters parameters = first->Parameters();
    run = SolveAdaptively(
        structure, std::move(first), parameters, ElementKind::Dkt, AnalysisOptions{}, settings,
        [](const AdaptiveCycle& c) {
          std::fprintf(stderr, "  (cycle: %d elements, estimate %.5f)\n", c.elements, c.estimate);
          return true;
        },
        nullptr, timed);
    total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() -
            inspecting;
  }
  std::printf("  cycle  elements  estimate    mesh   solve  recover  results  size-field  (s)\n");
  for (std::size_t k = 0; k < run.cycles.size(); ++k) {
    const AdaptiveCycle& c = run.cycles[k];
    std::printf("  %5zu  %8d  %8.5f  %6.3f  %6.3f  %7.3f  %7.3f  %10.3f\n", k + 1, c.elements,
                c.estimate, c.meshSeconds, c.solveSeconds, c.estimateSeconds, c.resultSeconds,
                c.sizeFieldSeconds);
  }
  const std::size_t n = run.cycles.size();
  if (n >= 2) {
    const Point a{double(run.cycles[n - 2].elements), run.cycles[n - 2].estimate, 0};
    const Point b{double(run.cycles[n - 1].elements), run.cycles[n - 1].estimate, 0};
    state.counters["adaptive_rate"] = Slope(a, b);
  }
  if (n >= 3) {
    std::vector<double> logN, logEstimate;
    for (std::size_t k = n - 3; k < n; ++k) {
      logN.push_back(std::log(static_cast<double>(run.cycles[k].elements)));
      logEstimate.push_back(std::log(run.cycles[k].estimate));
    }
    state.counters["adaptive_rate_last_three"] = Fit(logN, logEstimate);
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
  // And for the estimate the adaptive run ended with.
  if (n > 0)
    state.counters["uniform_elements_for_adaptive_estimate"] =
        fine.elements * std::pow(run.cycles.back().estimate / fine.estimate, 1.0 / rate);
  std::fflush(stdout);
  // One solve of the final mesh, its meshing excluded, against the whole run.
  if (run.mesh) {
    const auto start = std::chrono::steady_clock::now();
    CaseSolution again;
    again.Solve(*run.mesh, structure, ElementKind::Dkt, AnalysisOptions{});
    const double one =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["run_over_last_solve"] = total / one;
    state.counters["run_seconds"] = total;
    state.counters["last_solve_seconds"] = one;
  }
}

void BM_LShape(benchmark::State& state) {
  Report(state, Polygon({0, 2, 2, 1, 1, 0}, {0, 0, 1, 1, 2, 2}, false), 0.05, 0.01, 0.0005);
}
BENCHMARK(BM_LShape)->Iterations(1)->Unit(benchmark::kSecond);

int NodeAt(const TGlobMatrix& s, double x, double y) {
  for (int v = 0; v < s.ResultNodeCount(); ++v)
    if (s.NodeX(v) == x && s.NodeY(v) == y) return v;
  return -1;
}

void BM_ColumnSlab(benchmark::State& state) {
  std::vector<std::pair<double, double>> columns;
  for (double x : {1.0, 3.0, 5.0})
    for (double y : {1.0, 3.0, 5.0}) columns.emplace_back(x, y);
  std::vector<double> logInverseH, logN, centreMx;
  double reaction = 0;
  int cycle = 0;
  std::printf(
      "  cycle  elements  estimate  Mx(centre column)  max|M| columns  h at centre column\n");
  const Inspector atColumns = [&](const FEM&, const TGlobMatrix& s) {
    const int c = NodeAt(s, 3, 3);
    if (c < 0) return;
    double largest = 0;
    for (const auto& [x, y] : columns)
      if (const int v = NodeAt(s, x, y); v >= 0)
        largest = std::fmax(
            largest, std::fmax(std::fabs(s.NodeMoment(v, 0)), std::fabs(s.NodeMoment(v, 1))));
    // h: the mean length of the element edges that meet at the centre column.
    double length = 0;
    int edges = 0;
    for (int t = 0; t < s.ResultTriangleCount(); ++t)
      for (int k = 0; k < 3; ++k)
        if (s.TriangleCorner(t, k) == c)
          for (int j = 1; j < 3; ++j) {
            const int o = s.TriangleCorner(t, (k + j) % 3);
            length += std::hypot(s.NodeX(o) - 3, s.NodeY(o) - 3);
            ++edges;
          }
    const double h = length / edges;
    reaction = s.Reaction(c, 0);
    std::printf("  %5d  %8d  %8.5f  %17.5f  %14.5f  %18.3g\n", ++cycle, s.ResultTriangleCount(),
                s.ErrorEstimate(), s.NodeMoment(c, 0), largest, h);
    logInverseH.push_back(std::log(1 / h));
    logN.push_back(std::log(static_cast<double>(s.ResultTriangleCount())));
    centreMx.push_back(s.NodeMoment(c, 0));
    std::fflush(stdout);
  };
  Report(state, Polygon({0, 6, 6, 0}, {0, 0, 6, 6}, false, columns), 0.5, 0.02, 0.005, atColumns);
  // The first, coarse cycle is left out of the fits.
  if (logInverseH.size() >= 3) {
    const std::vector<double> h(logInverseH.begin() + 1, logInverseH.end());
    const std::vector<double> n(logN.begin() + 1, logN.end());
    const std::vector<double> m(centreMx.begin() + 1, centreMx.end());
    state.counters["Mx_over_log_inverse_h"] = Fit(h, m);
    state.counters["Mx_over_log_N"] = Fit(n, m);
    state.counters["theory_slope"] = (1 + 0.3) * std::fabs(reaction) / (4 * 3.14159265358979);
    state.counters["centre_reaction"] = reaction;
  }
}
BENCHMARK(BM_ColumnSlab)->Iterations(1)->Unit(benchmark::kSecond);

// The clamped square of side 1 under -1, E 210000, nu 0.3, t 0.02 (as Polygon writes it).
void BM_ClampedSquare(benchmark::State& state) {
  const testing::ClampedSquareSeries series(0.3, 100);
  int cycle = 0;
  double lowest = 1e300, highest = 0;
  std::printf("  cycle  elements  estimate  true error  effectivity\n");
  const Inspector effectivity = [&](const FEM&, const TGlobMatrix& s) {
    double estimated = 0;
    for (int t = 0; t < s.ResultTriangleCount(); ++t)
      estimated += s.ElementError(t) * s.ElementError(t);
    const double exact = testing::TrueError(s, series, -1, 210000, 0.3, 0.02);
    const double ratio = std::sqrt(estimated) / exact;
    lowest = std::fmin(lowest, ratio);
    highest = std::fmax(highest, ratio);
    // The relative true error as the estimate is relative: over the energy and that error.
    const double energy = estimated / (s.ErrorEstimate() * s.ErrorEstimate()) - estimated;
    std::printf("  %5d  %8d  %8.5f  %10.5f  %11.4f\n", ++cycle, s.ResultTriangleCount(),
                s.ErrorEstimate(), std::sqrt(exact * exact / (energy + exact * exact)), ratio);
    std::fflush(stdout);
  };
  Report(state, Polygon({0, 1, 1, 0}, {0, 0, 1, 1}, true), 0.002, 0.005, 0.0002, effectivity);
  state.counters["effectivity_lowest"] = lowest;
  state.counters["effectivity_highest"] = highest;
}
BENCHMARK(BM_ClampedSquare)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
