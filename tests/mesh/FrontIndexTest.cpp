// The front's spatial index must not change the initial triangulation: jobs triangulated with
// the index and with the plain scans give the same tables, entity for entity, on the inputs
// where the search is most easily led astray (exact ties among grid and co-circular nodes,
// collinear nodes, nodes on segments, concave outlines, holes and inserts, long thin edges,
// far-off and tiny coordinates). Also the index's own answers against the scans they replace.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "MeshChecker.h"
#include "TestJobs.h"
#include "mesh/FEM.h"
#include "mesh/FrontIndex.h"
#include "mesh/MeshCanvas.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

constexpr double kPi = 3.141592653589793;

void Triangulate(FEM& mesh, const TObjCont& job, bool indexed) {
  mesh.SetIndexedScans(indexed);
  MeshCanvas canvas;
  mesh.Triangulate(job, canvas);
}

// Triangulates both ways and compares; returns the indexed result's triangle count. The mesh
// checker is not asked below unit scale, where the mesher's absolute tolerances already call
// short sides flat.
int ExpectSameTriangulation(const TObjCont& job, bool check = true) {
  FEM indexed(MeshParameters{0.0f, 1e9f, false});
  Triangulate(indexed, job, true);
  FEM scanned(MeshParameters{0.0f, 1e9f, false});
  Triangulate(scanned, job, false);
  EXPECT_EQ(FirstTableDifference(indexed, scanned), "");
  if (check) {
    const auto problems = CheckTopology(indexed);
    EXPECT_TRUE(problems.empty()) << problems.front();
  }
  return indexed.TriangleCount();
}

// Every point mapped by an affine change of scale and place, so that the same shapes are met
// at coordinates far from the origin and at a tiny scale.
struct Placement {
  double scale = 1.0;
  double dx = 0.0;
  double dy = 0.0;
  MeshPoint operator()(double x, double y) const { return {x * scale + dx, y * scale + dy}; }
};

int AddPlacedPolygon(TObjCont& job, const std::vector<MeshPoint>& points, const Placement& at) {
  const int first = job.NodeCount();
  const int n = static_cast<int>(points.size());
  for (MeshPoint p : points) {
    const MeshPoint q = at(p.x, p.y);
    job.AddNode(q.x, q.y);
  }
  for (int i = 0; i < n; ++i) job.AddPolygonEdge(first + i, first + (i + 1) % n);
  job.ClosePolygon();
  return job.PolygonCount() - 1;
}

std::vector<MeshPoint> Rectangle(double x0, double y0, double x1, double y1) {
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

TEST(FrontIndex, RandomFreeNodesInASquareGiveTheScansTriangulation) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const Placement placements[] = {{}, {1.0, 1e6, -3e6}, {1e-3, 0.0, 0.0}, {37.0, -500.0, 20.0}};
  for (int run = 0; run < 12; ++run) {
    const Placement& at = placements[run % 4];
    TObjCont job;
    AddPlacedPolygon(job, Rectangle(0, 0, 100, 100), at);
    // At a tenth of a unit the front closes most edges on far nodes (those near an edge's ends
    // count as seeing it under no angle) and makes many overlapping triangles, slowly.
    const bool tiny = at.scale < 1;
    const int count = (tiny ? 10 : 40) + static_cast<int>(unit(random) * (tiny ? 40 : 160));
    for (int i = 0; i < count; ++i) {
      const MeshPoint p = at(1 + 98 * unit(random), 1 + 98 * unit(random));
      job.AddFreeNode(p.x, p.y);
    }
    // Nodes on the outline's sides, and one node twice.
    for (int i = 0; i < 3; ++i) {
      const MeshPoint p = at(100 * unit(random), 0.0);
      job.AddFreeNode(p.x, p.y);
    }
    job.AddFreeNode(job.NodeX(7), job.NodeY(7));
    job.PrepareForMeshing();
    SCOPED_TRACE("run " + std::to_string(run) + ", " + std::to_string(count) + " free nodes");
    EXPECT_GT(ExpectSameTriangulation(job, !tiny), count);
  }
}

TEST(FrontIndex, GridsOfNodesTieTheSameWayAsTheScans) {
  // A grid's nodes are co-circular in fours, so most apexes are ties decided by the index
  // order; decimal steps, a rotation and nodes moved by a few units in the last place make the
  // ties inexact in the last bits instead, and the last make rows and columns flat within
  // rounding rather than straight.
  struct Case {
    int side;
    double step;
    double angle;
    bool outlineOnGrid;
    int ulps = 0;
  };
  std::mt19937 random(3);
  std::uniform_int_distribution<int> nudge(-3, 3);
  const auto moved = [&](double v, int ulps) {
    for (int k = nudge(random) * ulps / 3; k != 0; k += k > 0 ? -1 : 1)
      v = std::nextafter(v, k > 0 ? 1e300 : -1e300);
    return v;
  };
  for (const Case& c :
       {Case{12, 1.0, 0.0, true}, Case{15, 0.1, 0.0, true}, Case{10, 0.7, 0.0, false},
        Case{13, 1.0, 0.3, false}, Case{11, 0.1, kPi / 4, false}, Case{14, 3.0, 0.0, true, 3},
        Case{12, 0.3, 0.0, false, 1}}) {
    SCOPED_TRACE("grid " + std::to_string(c.side) + " step " + std::to_string(c.step) + " angle " +
                 std::to_string(c.angle));
    TObjCont job;
    const double size = (c.side + 1) * c.step;
    const double cosA = std::cos(c.angle), sinA = std::sin(c.angle);
    const auto turn = [&](double x, double y) {
      return MeshPoint{x * cosA - y * sinA, x * sinA + y * cosA};
    };
    if (c.outlineOnGrid) {
      AddPlacedPolygon(job, Rectangle(0, 0, size, size), {});
    } else {
      const double margin = 0.37 * c.step;
      AddPlacedPolygon(job,
                       {turn(-margin, -margin), turn(size + margin, -margin),
                        turn(size + margin, size + margin), turn(-margin, size + margin)},
                       {});
    }
    for (int i = 1; i <= c.side; ++i) {
      for (int j = 1; j <= c.side; ++j) {
        const MeshPoint p = turn(i * c.step, j * c.step);
        job.AddFreeNode(moved(p.x, c.ulps), moved(p.y, c.ulps));
      }
    }
    job.PrepareForMeshing();
    EXPECT_GT(ExpectSameTriangulation(job), c.side * c.side);
  }
}

TEST(FrontIndex, CollinearAndCocircularNodesGiveTheScansTriangulation) {
  {
    SCOPED_TRACE("nodes on the diagonal and on a horizontal line");
    TObjCont job;
    AddPlacedPolygon(job, Rectangle(0, 0, 60, 60), {});
    for (int i = 1; i < 30; ++i) job.AddFreeNode(2.0 * i, 2.0 * i);
    for (int i = 1; i < 20; ++i) job.AddFreeNode(3.0 * i + 0.5, 17.0);
    job.PrepareForMeshing();
    ExpectSameTriangulation(job);
  }
  {
    SCOPED_TRACE("a polygon on a circle with free nodes on a concentric one and its centre");
    TObjCont job;
    std::vector<MeshPoint> circle;
    for (int i = 0; i < 60; ++i)
      circle.push_back({100 * std::cos(2 * kPi * i / 60), 100 * std::sin(2 * kPi * i / 60)});
    AddPlacedPolygon(job, circle, {});
    for (int i = 0; i < 24; ++i)
      job.AddFreeNode(50 * std::cos(2 * kPi * i / 24), 50 * std::sin(2 * kPi * i / 24));
    job.AddFreeNode(0, 0);
    job.PrepareForMeshing();
    EXPECT_GT(ExpectSameTriangulation(job), 80);
  }
  {
    SCOPED_TRACE("a long thin strip with nodes along its middle");
    TObjCont job;
    AddPlacedPolygon(job, Rectangle(0, 0, 1000, 3), {});
    for (int i = 1; i < 50; ++i) job.AddFreeNode(20.0 * i + 0.3 * (i % 3), 1.5 + 0.2 * (i % 2));
    job.PrepareForMeshing();
    EXPECT_GT(ExpectSameTriangulation(job), 49);
  }
}

// A concave star outline with up to two holes, a material insert and free nodes anywhere,
// some on the holes' and the insert's sides.
TObjCont RandomPlate(std::mt19937& random, const Placement& at) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  TObjCont job;
  const int corners = 6 + static_cast<int>(unit(random) * 30);
  std::vector<MeshPoint> outline;
  for (int i = 0; i < corners; ++i) {
    const double angle = 2 * kPi * (i + 0.6 * unit(random)) / corners;
    const double radius = (i % 2 == 0 ? 90 : 55) + 35 * unit(random);
    outline.push_back({radius * std::cos(angle), radius * std::sin(angle)});
  }
  AddPlacedPolygon(job, outline, at);
  std::vector<std::vector<MeshPoint>> inner;
  if (unit(random) < 0.7) inner.push_back(Rectangle(-30, -20, -5, 15));
  if (unit(random) < 0.5) inner.push_back({{8, -30}, {30, -25}, {12, -8}});
  if (unit(random) < 0.6) inner.push_back(Rectangle(10, 8, 30, 28));
  for (std::size_t k = 0; k < inner.size(); ++k) {
    const int p = AddPlacedPolygon(job, inner[k], at);
    job.SetPolygonPhysics(p, -1, 70000, 0.3, 5, k + 1 < inner.size() || inner.size() == 1);
    const MeshPoint a = inner[k][0], b = inner[k][1];
    const double t = unit(random);
    const MeshPoint on = at(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y));
    job.AddFreeNode(on.x, on.y);
  }
  const int freeNodes = static_cast<int>(unit(random) * 120);
  for (int i = 0; i < freeNodes; ++i) {
    const double angle = 2 * kPi * unit(random);
    const double radius = 50 * std::sqrt(unit(random));
    const MeshPoint p = at(radius * std::cos(angle), radius * std::sin(angle));
    job.AddFreeNode(p.x, p.y);
  }
  job.PrepareForMeshing();
  return job;
}

TEST(FrontIndex, ConcavePlatesWithHolesAndInsertsGiveTheScansTriangulation) {
  std::mt19937 random(20261209);
  const Placement placements[] = {{}, {1.0, -2e5, 7e5}, {0.01, 0.0, 0.0}};
  for (int run = 0; run < 30; ++run) {
    const Placement& at = placements[run % 3];
    const TObjCont job = RandomPlate(random, at);
    SCOPED_TRACE("run " + std::to_string(run) + ", " + std::to_string(job.NodeCount()) + " nodes");
    EXPECT_GT(ExpectSameTriangulation(job, at.scale >= 1), 0);
  }
}

TEST(FrontIndex, CoordinatesNoGridCanHoldFallBackToTheScans) {
  EXPECT_FALSE(FrontIndex().Build(FEM(MeshParameters{})));  // no nodes
  const double infinity = std::numeric_limits<double>::infinity();
  const std::vector<std::vector<MeshPoint>> extras = {
      {{infinity, 0}},                    // a coordinate
      {{1e308, 0}, {-1e308, 0}},          // the extent
      {{1.7e308, 0}, {1.6e308, 1e307}}};  // the model's size, from which the slack is taken
  for (const auto& extra : extras) {
    FEM mesh(MeshParameters{});
    mesh.AddMeshNode(0, 0);
    mesh.AddMeshNode(10, 10);
    for (MeshPoint p : extra) mesh.AddMeshNode(p.x, p.y);
    EXPECT_FALSE(FrontIndex().Build(mesh)) << extra.front().x;
  }
  TObjCont job;
  AddPlacedPolygon(job, Rectangle(0, 0, 10, 10), {});
  job.AddFreeNode(1e308, 0);
  job.AddFreeNode(-1e308, 0);
  job.AddFreeNode(4, 6);
  job.PrepareForMeshing();
  EXPECT_GT(ExpectSameTriangulation(job, false), 0);
}

// Random nodes on a small lattice (so that many are collinear and many edges overlap, touch
// or meet at nodes) joined by random edges.
FEM LatticeWithEdges(std::mt19937& random, int nodes, int edges) {
  std::uniform_int_distribution<int> lattice(0, 12);
  FEM mesh(MeshParameters{});
  for (int i = 0; i < nodes; ++i) mesh.AddMeshNode(lattice(random) * 0.5, lattice(random) * 0.5);
  std::uniform_int_distribution<int> node(0, nodes - 1);
  for (int i = 0; i < edges; ++i) {
    const int a = node(random), b = node(random);
    if (a != b) mesh.AddMeshEdge(a, b);
  }
  return mesh;
}

TEST(FrontIndex, BlockedAgreesWithTheScanOverAllEdges) {
  std::mt19937 random(5);
  int blocked = 0, clear = 0;
  for (int run = 0; run < 6; ++run) {
    FEM mesh = LatticeWithEdges(random, 60, 25);
    FrontIndex index;
    ASSERT_TRUE(index.Build(mesh));
    for (int round = 0; round < 2; ++round) {
      for (int a = 0; a < mesh.NodeCount(); ++a) {
        for (int v = 0; v < mesh.NodeCount(); ++v) {
          const bool expected = mesh.IsBlocked(a, v);
          ASSERT_EQ(index.Blocked(mesh, a, v), expected)
              << "run " << run << " round " << round << ": " << a << "-" << v;
          (expected ? blocked : clear) += 1;
        }
      }
      // Edges made after the first queries are found too.
      std::uniform_int_distribution<int> node(0, mesh.NodeCount() - 1);
      for (int i = 0; i < 15; ++i) mesh.AddMeshEdge(node(random), node(random));
    }
  }
  EXPECT_GT(blocked, 1000);  // both answers well represented
  EXPECT_GT(clear, 1000);
}

TEST(FrontIndex, BlockedFindsTheScansRoundingCrossingsOfFlatSegments) {
  // The first segment rises by a few units in the last place over 369 units: the crossing test
  // puts its computed intersection inside that rise, and so reports a crossing with a segment
  // 160 units away. The index must answer as the scan does, whichever of the two is the edge.
  FEM mesh(MeshParameters{});
  const int a = mesh.AddMeshNode(-87.882378628751482, -331.19854926532622);
  const int b = mesh.AddMeshNode(281.47497495131347, -331.19854926532611);
  const int c = mesh.AddMeshNode(-246.64036633902253, -352.45323885968219);
  const int d = mesh.AddMeshNode(-258.29971933619873, -327.89512645534734);
  for (int n = 0; n < 200; ++n) mesh.AddMeshNode(-300 + 3.0 * n, -400 + 0.7 * n);
  for (const bool flatIsEdge : {true, false}) {
    FEM copy(MeshParameters{});
    for (int n = 0; n < mesh.NodeCount(); ++n) copy.AddMeshNode(mesh.NodeX(n), mesh.NodeY(n));
    flatIsEdge ? copy.AddMeshEdge(a, b) : copy.AddMeshEdge(c, d);
    FrontIndex index;
    ASSERT_TRUE(index.Build(copy));
    const auto [p, q] = flatIsEdge ? std::pair{c, d} : std::pair{a, b};
    ASSERT_TRUE(copy.IsBlocked(p, q));
    EXPECT_TRUE(index.Blocked(copy, p, q)) << (flatIsEdge ? "flat edge" : "flat side");
  }
}

TEST(FrontIndex, BestApexIsTheScansAndAsksOnlyInTheScansOrder) {
  std::mt19937 random(9);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int run = 0; run < 40; ++run) {
    // Lattice nodes give exact ties; a node twice gives a tie of one point.
    FEM mesh(MeshParameters{});
    const bool lattice = run % 2 == 0;
    for (int i = 0; i < 300; ++i) {
      const double x = lattice ? std::floor(unit(random) * 20) : unit(random) * 20;
      mesh.AddMeshNode(x, lattice ? std::floor(unit(random) * 20) : unit(random) * 20);
    }
    mesh.AddMeshNode(mesh.NodeX(3), mesh.NodeY(3));
    FrontIndex index;
    ASSERT_TRUE(index.Build(mesh));
    const int nb = run % 7, ne = 10 + run % 13;
    const MeshPoint b = mesh.Node(nb), e = mesh.Node(ne), c = mesh.Node(40 + run);
    const FrontSide side(b, e, c);
    // Refuse a random third of the nodes, and always the scan's first choice.
    std::vector<bool> refused(static_cast<std::size_t>(mesh.NodeCount()));
    for (std::size_t v = 0; v < refused.size(); ++v) refused[v] = unit(random) < 0.33;
    int first = -1;
    double best = 1.0;
    for (int v = 0; v < mesh.NodeCount(); ++v) {
      const double cosine = ViewCosine(b, e, mesh.Node(v));
      if (cosine < best && side.Holds(mesh.Node(v))) best = cosine, first = v;
    }
    if (first != -1) refused[static_cast<std::size_t>(first)] = true;

    int expected = -1;
    best = 1.0;
    for (int v = 0; v < mesh.NodeCount(); ++v) {
      const double cosine = ViewCosine(b, e, mesh.Node(v));
      if (cosine < best && side.Holds(mesh.Node(v)) && !refused[static_cast<std::size_t>(v)])
        best = cosine, expected = v;
    }
    std::vector<std::pair<double, int>> asked;
    const int apex = index.BestApex(b, e, side, [&](int v) {
      asked.emplace_back(ViewCosine(b, e, mesh.Node(v)), v);
      return !refused[static_cast<std::size_t>(v)];
    });
    SCOPED_TRACE("run " + std::to_string(run));
    EXPECT_EQ(apex, expected);
    for (std::size_t k = 1; k < asked.size(); ++k) EXPECT_LT(asked[k - 1], asked[k]);
    if (expected != -1) {
      EXPECT_EQ(asked.back().second, expected);
      EXPECT_GE(asked.size(), 2u);  // the refused first choice was asked first
    }
  }
  // Nothing acceptable: every candidate is asked once, and the answer is -1.
  FEM mesh(MeshParameters{});
  for (int i = 0; i < 50; ++i) mesh.AddMeshNode(i % 10, i / 10);
  FrontIndex index;
  ASSERT_TRUE(index.Build(mesh));
  const FrontSide side(mesh.Node(0), mesh.Node(1), MeshPoint{0.5, -1});
  int asked = 0;
  EXPECT_EQ(index.BestApex(mesh.Node(0), mesh.Node(1), side, [&](int) { return ++asked, false; }),
            -1);
  EXPECT_EQ(asked, 40);  // the rows above the edge; nodes on its line are on neither side
}

}  // namespace
}  // namespace tavrin
