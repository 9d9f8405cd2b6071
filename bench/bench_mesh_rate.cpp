// Meshing rate against mesh size on the example plate with a hole (a 450 x 450 plate with an
// octagonal hole 150 wide), at a minimal angle of 28 and of 31 degrees and maximal areas giving
// from about 10^4 to 10^6 triangles (of either mesher); beside it, when the benchmark is built with
// CGAL, CGAL's Delaunay mesher on the same domain and the same bounds. scripts/mesh-rate-table.sh
// runs every case in a process of its own and prints the table with the peak memory of each.
//
// Matching the bounds: CGAL's shape criterion takes the squared sine of the smallest angle
// (0.125 is its 20.7 degrees), which is the ratio bound B = 1/(2 sin(angle)) of circumradius to
// shortest edge written as 1/(4 B^2); its size criterion bounds the longest edge, and the edge
// of the equilateral triangle of the maximal area, sqrt(4 area / sqrt(3)), lets through the
// same largest well-shaped triangle that the maximal area does.
//
// Arguments of every case: the minimal angle in degrees and the maximal area in thousandths.
// Counters: triangles of the mesh, triangles per second (of CPU time), smallest angle reached,
// and the peak resident memory of the process so far (of the case alone when it runs alone).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <string>
#include <vector>

#include "mesh/FEM.h"
#include "mesh/MeshGeometry.h"
#include "model/TObjCont.h"

#ifdef TAVRIN_BENCH_WITH_CGAL
#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Delaunay_mesh_size_criteria_2.h>
#include <CGAL/Delaunay_mesh_vertex_base_2.h>
#include <CGAL/Delaunay_mesher_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#endif

namespace {

using tavrin::FEM;
using tavrin::MeshParameters;
using tavrin::TObjCont;

const TObjCont& Plate() {
  static const TObjCont job = [] {
    TObjCont j;
    j.LoadJob(std::string(TAVRIN_SOURCE_DIR) + "/examples/plate-with-hole.sam");
    j.PrepareForMeshing();
    return j;
  }();
  return job;
}

double Degrees(const benchmark::State& state) { return static_cast<double>(state.range(0)); }
double MaxArea(const benchmark::State& state) { return state.range(1) / 1000.0; }

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

void Report(benchmark::State& state, int triangles, double minAngleDegrees) {
  state.counters["peak_mb"] = PeakMegabytes();
  state.counters["triangles"] = triangles;
  state.counters["rate"] =
      benchmark::Counter(triangles, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["min_angle"] = minAngleDegrees;
}

void BM_Tavrin(benchmark::State& state) {
  const MeshParameters parameters{static_cast<float>(Degrees(state)),
                                  static_cast<float>(MaxArea(state)), false};
  int triangles = 0;
  double angle = 0;
  for (auto _ : state) {
    FEM mesh(parameters);
    mesh.GenerateMesh(Plate());
    triangles = mesh.TriangleCount();
    angle = tavrin::MeshDegrees(mesh.CurrentMinAngle());
  }
  Report(state, triangles, angle);
}

// Areas in thousandths for about 10^4, 2 10^4, 3 10^4, 10^5, 3 10^5 and 10^6 triangles of this
// mesher on the plate (1,017,310 at 0.284, where CGAL's mesher makes about 1.4 10^6), and 1.6,
// the case the mesher's speed was first measured on.
void Cases(benchmark::internal::Benchmark* b) {
  for (int degrees : {28, 31})
    for (int area : {28400, 14200, 9500, 2840, 1600, 950, 284}) b->Args({degrees, area});
  b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
}
BENCHMARK(BM_Tavrin)->Apply(Cases);

#ifdef TAVRIN_BENCH_WITH_CGAL
using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Vertex = CGAL::Delaunay_mesh_vertex_base_2<Kernel>;
using Face = CGAL::Delaunay_mesh_face_base_2<Kernel>;
using Cdt =
    CGAL::Constrained_Delaunay_triangulation_2<Kernel,
                                               CGAL::Triangulation_data_structure_2<Vertex, Face>>;
using Criteria = CGAL::Delaunay_mesh_size_criteria_2<Cdt>;

// Smallest angle over the triangles of the domain, in degrees.
double SmallestAngle(const Cdt& cdt) {
  double smallest = 180;
  for (auto f = cdt.finite_faces_begin(); f != cdt.finite_faces_end(); ++f) {
    if (!f->is_in_domain()) continue;
    tavrin::MeshPoint p[3];
    for (int k = 0; k < 3; ++k) p[k] = {f->vertex(k)->point().x(), f->vertex(k)->point().y()};
    smallest = std::fmin(smallest, tavrin::MeshDegrees(tavrin::MinAngle(p[0], p[1], p[2])));
  }
  return smallest;
}

constexpr double kDegree = 3.141592653589793 / 180;

void BM_Cgal(benchmark::State& state) {
  const TObjCont& job = Plate();
  const double sine = std::sin(Degrees(state) * kDegree);
  const double longestEdge = std::sqrt(4 * MaxArea(state) / std::sqrt(3.0));
  // A seed in each hole marks it as outside the domain; the holes here are convex, so the mean
  // of their corners lies inside.
  std::vector<Kernel::Point_2> seeds;
  for (int p = 0; p < job.PolygonCount(); ++p) {
    if (!job.IsHole(p)) continue;
    double x = 0, y = 0;
    int n = 0;
    for (int i = 0; i < job.NodeCount(); ++i)
      if (job.NodePolygon(i) == p) x += job.NodeX(i), y += job.NodeY(i), ++n;
    seeds.emplace_back(x / n, y / n);
  }
  int triangles = 0;
  double angle = 0;
  for (auto _ : state) {
    Cdt cdt;
    for (int e = 0; e < job.EdgeCount(); ++e) {
      const int a = job.EdgeBegin(e), b = job.EdgeEnd(e);
      cdt.insert_constraint(Kernel::Point_2(job.NodeX(a), job.NodeY(a)),
                            Kernel::Point_2(job.NodeX(b), job.NodeY(b)));
    }
    CGAL::refine_Delaunay_mesh_2(cdt, seeds.begin(), seeds.end(),
                                 Criteria(sine * sine, longestEdge));
    triangles = 0;
    for (auto f = cdt.finite_faces_begin(); f != cdt.finite_faces_end(); ++f)
      if (f->is_in_domain()) ++triangles;
    state.PauseTiming();
    angle = SmallestAngle(cdt);
    state.ResumeTiming();
  }
  Report(state, triangles, angle);
}
BENCHMARK(BM_Cgal)->Apply(Cases);
#endif

}  // namespace

BENCHMARK_MAIN();
