// Growth and lookup costs of the mesh tables and the job model at sizes a fine mesh reaches:
// appending n entities and looking each edge up must stay near-linear in n.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "mesh/TEdges.h"
#include "mesh/TTris.h"
#include "mesh/TVertexes.h"
#include "model/TObjCont.h"

namespace {

// A strip of n nodes joined in a zig-zag: about 2n edges, each then found once.
void BM_EdgeTableAppendAndFind(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    tavrin::TEdges edges;
    for (int i = 0; i + 2 < n; ++i) {
      edges.AddEdge(i, i + 1, tavrin::DofRecord{}, 0);
      edges.AddEdge(i, i + 2, tavrin::DofRecord{}, 0);
    }
    int found = 0;
    for (int i = 0; i + 2 < n; ++i) found += edges.Find(i + 2, i) >= 0;
    benchmark::DoNotOptimize(found);
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_EdgeTableAppendAndFind)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

void BM_NodeAndTriangleAppend(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    tavrin::TVertexes nodes;
    tavrin::TTris tris;
    for (int i = 0; i < n; ++i) {
      nodes.AddNode(i, -i, tavrin::DofRecord{});
      tris.AddTriangle(i, i + 1, i + 2, 0.5, 1.0);
    }
    benchmark::DoNotOptimize(tris.Count() + nodes.Count());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_NodeAndTriangleAppend)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

// Reading a job of n nodes on one closed polygon: AddEdge's duplicate test per E line.
void BM_ReadJobText(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::string text;
  for (int i = 0; i < n; ++i) {
    const double a = 2.0 * 3.141592653589793 * i / n;
    text += "N, " + tavrin::FormatNumber(1000 * std::cos(a)) + ", " +
            tavrin::FormatNumber(1000 * std::sin(a)) + "\n";
  }
  for (int i = 0; i < n; ++i)
    text += "E, " + std::to_string(i) + ", " + std::to_string((i + 1) % n) + "\n";
  text += "Close\n";
  for (auto _ : state) {
    tavrin::TObjCont job;
    job.ReadJobText(text);
    benchmark::DoNotOptimize(job.EdgeCount());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadJobText)->RangeMultiplier(10)->Range(100, 100000)->Complexity();

}  // namespace

BENCHMARK_MAIN();
