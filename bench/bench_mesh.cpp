// Meshing time against mesh size: a 450 x 450 plate with a hole, refined at maximal areas that
// give from about 400 to about 20,000 triangles, with the spatial index and with the plain
// linear scans (same mesh, different cost), and with the index alone up to about 140,000
// triangles; and the initial triangulation alone against the number of input nodes (a polygon
// approximating a circle).
#include <benchmark/benchmark.h>

#include <cmath>

#include "mesh/FEM.h"
#include "mesh/MeshCanvas.h"
#include "model/TObjCont.h"

namespace {

using tavrin::FEM;
using tavrin::MeshParameters;
using tavrin::TObjCont;

void AddPolygon(TObjCont& job, const double (*points)[2], int n) {
  const int first = job.NodeCount();
  for (int i = 0; i < n; ++i) job.AddNode(points[i][0], points[i][1]);
  for (int i = 0; i < n; ++i) job.AddPolygonEdge(first + i, first + (i + 1) % n);
  job.ClosePolygon();
}

TObjCont PlateWithHole() {
  TObjCont job;
  const double outline[4][2] = {{0, 0}, {450, 0}, {450, 450}, {0, 450}};
  const double hole[4][2] = {{150, 150}, {300, 150}, {300, 300}, {150, 300}};
  AddPolygon(job, outline, 4);
  AddPolygon(job, hole, 4);
  job.PrepareForMeshing();
  return job;
}

// Arguments: maximal area; 1 for the spatial index, 0 for the linear scans.
void BM_GenerateMesh(benchmark::State& state) {
  const TObjCont job = PlateWithHole();
  const MeshParameters parameters{31.0f, static_cast<float>(state.range(0)), false};
  int triangles = 0, nodes = 0;
  for (auto _ : state) {
    FEM mesh(parameters);
    mesh.SetIndexedScans(state.range(1) != 0);
    mesh.GenerateMesh(job);
    triangles = mesh.TriangleCount();
    nodes = mesh.NodeCount();
    benchmark::DoNotOptimize(triangles);
  }
  state.counters["elements"] = triangles;
  state.counters["nodes"] = nodes;
}
BENCHMARK(BM_GenerateMesh)
    ->ArgsProduct({{800, 200, 50, 25, 13}, {1, 0}})
    ->Args({4, 1})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond);

// Argument: number of polygon vertices.
void BM_InitialTriangulation(benchmark::State& state) {
  TObjCont job;
  const int n = static_cast<int>(state.range(0));
  for (int i = 0; i < n; ++i) {
    const double t = 2 * 3.141592653589793 * i / n;
    job.AddNode(100 * std::cos(t), 100 * std::sin(t));
  }
  for (int i = 0; i < n; ++i) job.AddPolygonEdge(i, (i + 1) % n);
  job.ClosePolygon();
  job.PrepareForMeshing();
  tavrin::MeshCanvas canvas;
  for (auto _ : state) {
    FEM mesh(MeshParameters{});
    mesh.Triangulate(job, canvas);
    benchmark::DoNotOptimize(mesh.TriangleCount());
  }
}
BENCHMARK(BM_InitialTriangulation)
    ->Arg(25)
    ->Arg(50)
    ->Arg(100)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
