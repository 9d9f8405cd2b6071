// Static solve time and peak memory against the number of equations, for both solvers, and
// CHOLMOD called directly on a matrix of the same sparsity (what the sparse solver's overhead is
// measured against). Clamped square plates meshed as a regular grid (built directly: the mesher
// is not what is measured), plus the plate with a hole of the examples meshed by the mesher
// (ExamplePlate, 254,237 equations at 28 degrees and area 1.6).
//
// Peak memory is the resident peak of the case alone: the counter is reset (/proc/self/clear_refs)
// when the case starts and read (VmHWM) when it ends, so run one case a process for figures
// that do not include an earlier case's heap (scripts/bench-solve.sh does).
#include <benchmark/benchmark.h>
#include <cholmod.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/StructuredPlate.h"
#include "analysis/TGlobMatrix.h"
#include "bench/BenchPlates.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/TObjCont.h"

namespace {

const tavrin::PlateMesh& ExamplePlate() {
  static tavrin::PlateMesh mesh = [] {
    tavrin::TObjCont structure;
    structure.LoadJob(std::string(TAVRIN_SOURCE_DIR) + "/examples/plate-with-hole.sam");
    structure.PrepareForMeshing();
    tavrin::MeshParameters parameters;
    parameters.minAngle = 28;
    parameters.maxArea = 1.6f;
    parameters.animate = false;
    tavrin::FEM fem(parameters);
    fem.GenerateMesh(structure);
    return tavrin::PlateMesh::FromFem(fem);
  }();
  return mesh;
}

void ResetPeak() {
  if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

double PeakMegabytes() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return 0;
  char line[256];
  long kb = 0;
  while (std::fgets(line, sizeof line, f))
    if (std::strncmp(line, "VmHWM:", 6) == 0) std::sscanf(line + 6, "%ld", &kb);
  std::fclose(f);
  return kb / 1024.0;
}

void Solve(benchmark::State& state, const tavrin::PlateMesh& mesh, tavrin::SolverKind kind) {
  tavrin::AnalysisOptions options;
  options.solver = kind;
  int equations = 0;
  double factor = 0;
  ResetPeak();
  for (auto _ : state) {
    tavrin::TGlobMatrix solver;
    solver.SetOptions(options);
    if (solver.SolveStatic(mesh) != tavrin::SolveCode::Ok) {
      state.SkipWithError(solver.Failure().message.c_str());
      break;
    }
    equations = solver.EquationCount();
    factor = static_cast<double>(solver.FactorEntries());
    benchmark::DoNotOptimize(solver.Displacement(0, 0));
  }
  state.counters["equations"] = equations;
  state.counters["factor_entries"] = factor;
  state.counters["peak_mb"] = PeakMegabytes();
}

void SolveSparse(benchmark::State& state) {
  Solve(state, tavrin::bench::ClampedPlate(static_cast<int>(state.range(0))),
        tavrin::SolverKind::Sparse);
}
void SolveEnvelope(benchmark::State& state) {
  Solve(state, tavrin::bench::ClampedPlate(static_cast<int>(state.range(0))),
        tavrin::SolverKind::Envelope);
}
void ExampleSparse(benchmark::State& state) {
  Solve(state, ExamplePlate(), tavrin::SolverKind::Sparse);
}
void ExampleEnvelope(benchmark::State& state) {
  Solve(state, ExamplePlate(), tavrin::SolverKind::Envelope);
}

// CHOLMOD alone: the reduced system's sparsity (3 x 3 blocks between nodes of a triangle, held
// freedoms left out), filled with a diagonally dominant matrix; ordering, factorization and one
// solve with CHOLMOD's defaults and the supernodal method.
void Cholmod(benchmark::State& state, const tavrin::PlateMesh& mesh) {
  const int nodes = mesh.NodeCount();
  std::vector<int> index(3 * nodes, -1);
  int n = 0;
  for (int v = 0; v < nodes; ++v) {
    const auto held = tavrin::DecodeConstraintCode(mesh.nodeDof[v].code);
    for (int d = 0; d < 3; ++d)
      if (!held[d]) index[3 * v + d] = n++;
  }
  for (int e = 0; e < mesh.EdgeCount(); ++e) {
    const auto held = tavrin::DecodeConstraintCode(mesh.edgeDof[e].code);
    for (int end : mesh.edges[e])
      for (int d = 0; d < 3; ++d)
        if (held[d]) index[3 * end + d] = -1;
  }
  n = 0;  // renumber what is left
  for (int& i : index)
    if (i >= 0) i = n++;
  std::vector<std::vector<int>> coupled(nodes);
  for (const auto& t : mesh.triangles)
    for (int a : t)
      for (int b : t) coupled[a].push_back(b);
  ResetPeak();
  double factor = 0;
  for (auto _ : state) {
    cholmod_common c;
    cholmod_start(&c);
    c.supernodal = CHOLMOD_SUPERNODAL;
    std::vector<int> p(n + 1, 0), rows;
    std::vector<double> x;
    for (int v = 0; v < nodes; ++v) {
      std::vector<int>& w = coupled[v];
      std::sort(w.begin(), w.end());
      w.erase(std::unique(w.begin(), w.end()), w.end());
      for (int d = 0; d < 3; ++d) {
        const int col = index[3 * v + d];
        if (col < 0) continue;
        for (int u : w)
          for (int f = 0; f < 3; ++f) {
            const int row = index[3 * u + f];
            if (row < col) continue;
            rows.push_back(row);
            x.push_back(row == col ? 100.0 : -1.0);
          }
        p[col + 1] = static_cast<int>(rows.size());
      }
    }
    cholmod_sparse* a = cholmod_allocate_sparse(n, n, rows.size(), 1, 1, -1, CHOLMOD_REAL, &c);
    std::copy(p.begin(), p.end(), static_cast<int*>(a->p));
    std::copy(rows.begin(), rows.end(), static_cast<int*>(a->i));
    std::copy(x.begin(), x.end(), static_cast<double*>(a->x));
    cholmod_factor* l = cholmod_analyze(a, &c);
    cholmod_factorize(a, l, &c);
    cholmod_dense* b = cholmod_ones(n, 1, CHOLMOD_REAL, &c);
    cholmod_dense* solution = cholmod_solve(CHOLMOD_A, l, b, &c);
    if (c.status != CHOLMOD_OK) state.SkipWithError("CHOLMOD failed");
    factor = static_cast<double>(l->is_super ? l->xsize : 0);
    cholmod_free_dense(&solution, &c);
    cholmod_free_dense(&b, &c);
    cholmod_free_factor(&l, &c);
    cholmod_free_sparse(&a, &c);
    cholmod_finish(&c);
  }
  state.counters["equations"] = n;
  state.counters["factor_entries"] = factor;
  state.counters["peak_mb"] = PeakMegabytes();
}

void CholmodAlone(benchmark::State& state) {
  Cholmod(state, tavrin::bench::ClampedPlate(static_cast<int>(state.range(0))));
}
void ExampleCholmodAlone(benchmark::State& state) { Cholmod(state, ExamplePlate()); }

void SolveStress(benchmark::State& state) {
  const tavrin::PlateMesh mesh = tavrin::bench::ClampedPlate(static_cast<int>(state.range(0)));
  tavrin::TGlobMatrix solver;
  if (solver.SolveStatic(mesh) != tavrin::SolveCode::Ok) {
    state.SkipWithError(solver.Failure().message.c_str());
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(solver.SolveStress());
  state.counters["elements"] = solver.ResultTriangleCount();
}

}  // namespace

// Equations from 1e3 up to `largest`, one run each: the factorization is far longer than a timer
// tick.
static void Sizes(benchmark::internal::Benchmark* b, int largest) {
  for (int n : {1000, 3000, 10000, 30000, 100000, 300000})
    if (n <= largest) b->Arg(n);
  b->Unit(benchmark::kMillisecond)->Iterations(1);
}

BENCHMARK(SolveSparse)->Apply([](benchmark::internal::Benchmark* b) { Sizes(b, 300000); });
BENCHMARK(CholmodAlone)->Apply([](benchmark::internal::Benchmark* b) { Sizes(b, 300000); });
// The envelope's work grows with the square of the equations: 3e5 would take many minutes and
// gigabytes, so it stops at 1e5.
BENCHMARK(SolveEnvelope)->Apply([](benchmark::internal::Benchmark* b) { Sizes(b, 100000); });
BENCHMARK(ExampleSparse)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ExampleCholmodAlone)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ExampleEnvelope)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SolveStress)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
