// Random and hostile plates through the geometry check and, when they pass, through the mesher:
// whatever the check lets through must mesh into a consistent mesh of finite numbers. In a build
// with assertions (the sanitizer build) the mesher's own consistency assertions watch as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "MeshChecker.h"
#include "TestJobs.h"
#include "mesh/FEM.h"
#include "mesh/MeshCanvas.h"
#include "model/GeometryCheck.h"
#include "model/NodeBox.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

using testing::NodeLimit;

class RandomPlates {
 public:
  explicit RandomPlates(unsigned seed) : rng_(seed) {}

  double Uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng_); }
  int Int(int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng_); }
  bool Chance(double p) { return Uniform(0, 1) < p; }

  // A star-shaped loop around (cx, cy), radii up to r; vertices in angle order.
  std::vector<MeshPoint> Star(double cx, double cy, double r, int n) {
    std::vector<double> angles;
    for (int k = 0; k < n; ++k) angles.push_back(Uniform(0, 2 * M_PI));
    std::sort(angles.begin(), angles.end());
    std::vector<MeshPoint> points;
    for (double a : angles) {
      const double radius = r * Uniform(0.2, 1.0);
      points.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a)});
    }
    return points;
  }

  // One job: an outline, some holes or inserts, free nodes, then a hostile touch or two, among
  // them points placed about the check's spacing from others and from edges.
  TObjCont Job() {
    // Mostly drawable sizes, some far too small; some plates far from the origin, up to about
    // the largest offset the check allows for their size.
    const double magnitude = Chance(0.1) ? Uniform(-3, 0) : Uniform(0, 4);
    const double scale = std::pow(10.0, magnitude);
    auto offset = [&]() {
      return Chance(0.3) ? std::pow(10.0, Uniform(0, std::min(11.5, magnitude + 6.5))) *
                               (Chance(0.5) ? 1 : -1)
                         : 0.0;
    };
    const double ox = offset(), oy = offset();
    std::vector<std::vector<MeshPoint>> loops = {Star(ox, oy, scale, Int(3, 10))};
    for (int k = Int(0, 3); k > 0; --k) {
      loops.push_back(Star(ox + scale * Uniform(-0.4, 0.4), oy + scale * Uniform(-0.4, 0.4),
                           scale * Uniform(0.02, 0.15), Int(3, 6)));
    }
    std::vector<MeshPoint> free;
    for (int k = Int(0, 2); k > 0; --k)
      free.push_back({ox + scale * Uniform(-0.3, 0.3), oy + scale * Uniform(-0.3, 0.3)});

    // Hostile touches: a vertex pulled next to another vertex or onto an edge, a spike.
    auto near = [&]() { return std::pow(10.0, Uniform(-2.5, 0.5)) * (Chance(0.5) ? 1 : -1); };
    for (int k = Chance(0.6) ? 0 : Int(1, 2); k > 0; --k) {
      auto& loop = loops[static_cast<std::size_t>(Int(0, static_cast<int>(loops.size()) - 1))];
      auto& other = loops[static_cast<std::size_t>(Int(0, static_cast<int>(loops.size()) - 1))];
      MeshPoint& v = loop[static_cast<std::size_t>(Int(0, static_cast<int>(loop.size()) - 1))];
      const std::size_t ai = static_cast<std::size_t>(Int(0, static_cast<int>(other.size()) - 1));
      const MeshPoint a = other[ai];
      switch (Int(0, 3)) {
        case 0:
          v = {a.x + near(), a.y + near()};
          break;
        case 1: {
          const MeshPoint b = other[(ai + 1) % other.size()];
          const double t = Uniform(0.05, 0.95);
          v = {a.x + t * (b.x - a.x) + near(), a.y + t * (b.y - a.y) + near()};
          break;
        }
        case 2:
          v = {v.x + (v.x - ox) * Uniform(1, 20), v.y + (v.y - oy) * Uniform(1, 20)};
          break;
        default:
          free.push_back({a.x + near(), a.y + near()});
      }
    }

    TObjCont job;
    for (const auto& loop : loops) {
      const int first = job.NodeCount();
      const int n = static_cast<int>(loop.size());
      for (MeshPoint p : loop) job.AddNode(p.x, p.y);
      for (int k = 0; k < n; ++k) job.AddPolygonEdge(first + k, first + (k + 1) % n);
      job.ClosePolygon();
      if (job.PolygonCount() > 1 && Chance(0.4))
        job.SetPolygonPhysics(job.PolygonCount() - 1, 0, 70000, 0.3, 5, false);
    }
    for (MeshPoint p : free) job.AddFreeNode(p.x, p.y);
    if (Chance(0.05)) job.AddPolygonEdge(0, job.NodeCount() - 1);  // an open chain
    return job;
  }

 private:
  std::mt19937 rng_;
};

TEST(CheckedGeometry, EveryPlateThatPassesMeshesConsistently) {
  // TAVRIN_RANDOM_PLATES=N runs N plates instead, for a longer soak.
  const char* soak = std::getenv("TAVRIN_RANDOM_PLATES");
  const int jobs = soak ? std::max(1, std::atoi(soak)) : 1500;
  RandomPlates random(20261208);
  int passed = 0;
  for (int k = 0; k < jobs; ++k) {
    TObjCont job = random.Job();
    job.PrepareForMeshing();
    const GeometryCheckResult check = CheckGeometry(job);
    if (!check) {
      EXPECT_FALSE(check.message.empty());
      continue;
    }
    ++passed;
    const PlanBox box = NodeBox(job);
    const MeshParameters parameters{
        static_cast<float>(random.Uniform(0, 33)),
        static_cast<float>(box.Width() * box.Height() / random.Uniform(5, 300)), false};
    FEM mesh(parameters);
    MeshCanvas canvas;
    NodeLimit limit(mesh, 400);
    mesh.GenerateMesh(job, canvas, limit);
    // Slivers, where the refinement splits ever closer to a corner until the measures of a
    // triangle are rounding noise, are the refinement's to mend; how the triangles hang
    // together must hold.
    std::vector<std::string> problems = CheckTopology(mesh);
    std::erase_if(problems, [](const std::string& p) {
      return p.ends_with("no area") || p.ends_with("stored measures are stale");
    });
    EXPECT_TRUE(problems.empty()) << "job " << k << ": " << problems.front() << "\n"
                                  << job.JobText();
    bool finite = true;
    for (int i = 0; i < mesh.NodeCount(); ++i)
      finite = finite && std::isfinite(mesh.NodeX(i)) && std::isfinite(mesh.NodeY(i));
    for (int t = 0; t < mesh.TriangleCount(); ++t)
      finite = finite && std::isfinite(mesh.TriangleArea(t));
    EXPECT_TRUE(finite) << "job " << k << "\n" << job.JobText();
    EXPECT_GT(mesh.TriangleCount(), 0) << "job " << k << "\n" << job.JobText();
    if (HasFailure()) break;
  }
  // The generator must keep both sides busy: plates to mesh and drawings to refuse.
  EXPECT_GT(passed, jobs / 6);
  EXPECT_LT(passed, jobs * 4 / 5);
}

}  // namespace
}  // namespace tavrin
