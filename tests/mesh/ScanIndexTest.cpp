// The spatial index must not change the mesh: every job meshed with the index and with the
// plain scans gives the same tables, entity for entity and bit for bit. Also the index's own
// answers at the edges of its predicates (ties, strict bounds, moved segments, coordinates no
// grid can hold).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "MeshChecker.h"
#include "TestJobs.h"
#include "mesh/FEM.h"
#include "mesh/IndexedHeap.h"
#include "mesh/MeshCanvas.h"
#include "mesh/MeshIndex.h"
#include "mesh/MeshProgress.h"
#include "mesh/TEdges.h"
#include "mesh/TVertexes.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

void Mesh(FEM& mesh, const TObjCont& job, bool indexed, int nodeLimit) {
  mesh.SetIndexedScans(indexed);
  MeshCanvas canvas;
  testing::NodeLimit progress(mesh, nodeLimit);
  mesh.GenerateMesh(job, canvas, progress);
}

// The first difference between the two meshes, or "" when they are the same.
std::string FirstDifference(const FEM& a, const FEM& b) {
  const std::string tables = FirstTableDifference(a, b);
  if (!tables.empty()) return tables;
  if (a.CurrentMinAngle() != b.CurrentMinAngle()) return "published minimal angle";
  return "";
}

void ExpectSameMeshBothWays(const TObjCont& job, float minAngle, float maxArea, int nodeLimit) {
  FEM indexed(testing::Parameters(minAngle, maxArea));
  Mesh(indexed, job, true, nodeLimit);
  FEM linear(testing::Parameters(minAngle, maxArea));
  Mesh(linear, job, false, nodeLimit);
  EXPECT_GT(indexed.TriangleCount(), 0);
  EXPECT_EQ(FirstDifference(indexed, linear), "");
}

TEST(ScanIndex, ExampleJobsMeshTheSameWithAndWithoutIndex) {
  const std::filesystem::path dir = std::filesystem::path(TAVRIN_SOURCE_DIR) / "examples";
  int jobs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".sam") continue;
    ++jobs;
    TObjCont job;
    ASSERT_TRUE(job.LoadJob(entry.path().string()).ok);
    job.PrepareForMeshing();
    for (const float maxArea : {400.0f, 120.0f, 60.0f}) {
      SCOPED_TRACE(entry.path().filename().string() + " at " + std::to_string(maxArea));
      ExpectSameMeshBothWays(job, 31.0f, maxArea, 5000);
    }
  }
  EXPECT_GT(jobs, 0);
}

// A star-shaped outline around the origin, a hole at its centre and free nodes between them.
TObjCont RandomJob(std::mt19937& random) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  TObjCont job;
  const int corners = 5 + static_cast<int>(unit(random) * 8);
  std::vector<MeshPoint> outline;
  for (int i = 0; i < corners; ++i) {
    const double angle = 2 * 3.141592653589793 * (i + 0.8 * unit(random)) / corners;
    const double radius = 70 + 60 * unit(random);
    outline.push_back({radius * std::cos(angle), radius * std::sin(angle)});
  }
  const int first = job.NodeCount();
  for (MeshPoint p : outline) job.AddNode(p.x, p.y);
  for (int i = 0; i < corners; ++i) job.AddPolygonEdge(first + i, first + (i + 1) % corners);
  job.ClosePolygon();
  if (unit(random) < 0.7) {
    const double half = 10 + 15 * unit(random);
    const int hole = testing::AddPolygon(
        job, {{-half, -half}, {half, -half * 0.8}, {half * 1.1, half}, {-half, half}});
    job.SetPolygonPhysics(hole, 0, 0, 0, 0, true);
  }
  const int freeNodes = static_cast<int>(unit(random) * 4);
  for (int i = 0; i < freeNodes; ++i) {
    const double angle = 2 * 3.141592653589793 * unit(random);
    const double radius = 35 + 25 * unit(random);
    job.AddFreeNode(radius * std::cos(angle), radius * std::sin(angle));
  }
  job.PrepareForMeshing();
  return job;
}

TEST(ScanIndex, RandomJobsMeshTheSameWithAndWithoutIndex) {
  std::mt19937 random(20261208);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int run = 0; run < 16; ++run) {
    const TObjCont job = RandomJob(random);
    const auto minAngle = static_cast<float>(20 + 12 * unit(random));
    const auto maxArea = static_cast<float>(15 + 45 * unit(random));
    SCOPED_TRACE("run " + std::to_string(run) + ", min angle " + std::to_string(minAngle) +
                 ", max area " + std::to_string(maxArea));
    ExpectSameMeshBothWays(job, minAngle, maxArea, 4000);
  }
}

TEST(ScanIndex, WorstAndLargestTriangleFollowReshapesAndKeepTheLowestIndexOnTies) {
  MeshIndex index;
  EXPECT_EQ(index.MinAngleIndex(), 0);  // an empty table answers 0, as the scan does
  EXPECT_EQ(index.MaxAreaIndex(), 0);
  index.TriangleStored(0, 0.5, 10.0);
  index.TriangleStored(1, 0.3, 40.0);
  index.TriangleStored(2, 0.3, 40.0);
  EXPECT_EQ(index.MinAngleIndex(), 1);
  EXPECT_EQ(index.MaxAreaIndex(), 1);
  index.TriangleStored(1, 0.9, 5.0);  // re-shaped: its old measures must be forgotten
  EXPECT_EQ(index.MinAngleIndex(), 2);
  EXPECT_EQ(index.MaxAreaIndex(), 2);
  // Many re-shapes of one triangle: its outdated measures never come back.
  for (int i = 0; i < 500; ++i) index.TriangleStored(1, 0.01 + i * 0.001, 100.0 + i);
  index.TriangleStored(1, 0.9, 5.0);
  index.TriangleStored(0, 0.3, 40.0);
  EXPECT_EQ(index.MinAngleIndex(), 0);
  EXPECT_EQ(index.MaxAreaIndex(), 0);
  EXPECT_TRUE(index.TrianglesExact());
  index.TriangleStored(3, std::nan(""), 1.0);
  EXPECT_FALSE(index.TrianglesExact());  // the caller must scan instead
}

// Triangles below the area floor wait outside the area heap; the largest must still be the
// largest of all, before and after the last one at or above the floor is re-shaped below it.
// The heaps under the index: after any mix of insertions, key changes (up, down, to a tie) and
// removals, the top is the smallest (key, id) of the ids in.
TEST(ScanIndex, IndexedHeapTopIsTheSmallestPairAfterEveryChange) {
  std::mt19937_64 random(81);
  IndexedHeap heap;
  std::vector<double> key(300);
  std::vector<char> in(300, 0);
  for (int step = 0; step < 20000; ++step) {
    const int id = static_cast<int>(random() % key.size());
    if (random() % 4 == 0) {
      heap.Remove(id);
      in[id] = 0;
    } else {
      key[id] = static_cast<double>(random() % 50);  // many ties
      heap.Set(id, key[id]);
      in[id] = 1;
    }
    int smallest = -1;
    for (int k = 0; k < static_cast<int>(key.size()); ++k)
      if (in[k] && (smallest == -1 || key[k] < key[smallest])) smallest = k;
    ASSERT_EQ(heap.Top(), smallest) << step;
    ASSERT_EQ(heap.Contains(id), in[id] != 0);
  }
  heap.Clear();
  EXPECT_EQ(heap.Top(), -1);
  EXPECT_EQ(heap.Size(), 0u);
}

TEST(ScanIndex, LargestTriangleIsExactWithAnAreaFloor) {
  MeshIndex index;
  index.TriangleStored(0, 0.5, 10.0);
  index.TriangleStored(1, 0.5, 30.0);
  index.TriangleStored(2, 0.5, 12.0);
  index.TriangleStored(3, 0.5, 12.0);
  EXPECT_EQ(index.MaxAreaIndex(), 1);
  index.SetAreaFloor(20.0);  // set after triangles are known: the heap is refilled
  EXPECT_EQ(index.MaxAreaIndex(), 1);
  index.TriangleStored(4, 0.5, 25.0);
  index.TriangleStored(1, 0.5, 8.0);
  EXPECT_EQ(index.MaxAreaIndex(), 4);
  index.TriangleStored(4, 0.5, 11.0);  // none left at or above the floor
  EXPECT_EQ(index.MaxAreaIndex(), 2);  // 12 twice: the lower index
  index.TriangleStored(0, 0.5, 40.0);  // growing past the floor again
  EXPECT_EQ(index.MaxAreaIndex(), 0);
  index.TriangleStored(0, 0.5, 1.0);
  index.TriangleStored(3, 0.5, 13.0);
  EXPECT_EQ(index.MaxAreaIndex(), 3);
  EXPECT_EQ(index.MinAngleIndex(), 0);  // the angles are not floored
  // A floor no area reaches from the start, and one above every area once they shrink.
  MeshIndex empty;
  empty.SetAreaFloor(100.0);
  EXPECT_EQ(empty.MaxAreaIndex(), 0);
  empty.TriangleStored(0, 0.5, 5.0);
  empty.TriangleStored(1, 0.5, 7.0);
  EXPECT_EQ(empty.MaxAreaIndex(), 1);
}

TEST(ScanIndex, TooCloseIsTheStrictSquareEverywhere) {
  FEM mesh(MeshParameters{31.0f, 200.0f, false});
  mesh.AddMeshNode(0.0, 0.0);
  mesh.AddMeshNode(-1e6, 3e5);
  mesh.AddMeshNode(1e300, 0.0);  // no grid cell can hold it
  for (const double d : {7.0710678118654755, 0.0001, 1e-9}) {
    mesh.SetMinDistance(d);
    for (const bool indexed : {true, false}) {
      mesh.SetIndexedScans(indexed);
      SCOPED_TRACE("distance " + std::to_string(d) + (indexed ? ", indexed" : ", linear"));
      EXPECT_TRUE(mesh.TooClose({d * 0.999, -d * 0.999}));
      EXPECT_FALSE(mesh.TooClose({d, 0.0}));   // strict in x
      EXPECT_FALSE(mesh.TooClose({0.0, -d}));  // strict in y
      EXPECT_TRUE(mesh.TooClose({-1e6 + d / 2, 3e5 - d / 2}));
      EXPECT_TRUE(mesh.TooClose({1e300, d / 2}));
      EXPECT_FALSE(mesh.TooClose({std::nan(""), 0.0}));
    }
  }
  // Nodes added after a query are found by the next one.
  mesh.SetIndexedScans(true);
  mesh.SetMinDistance(1.0);
  EXPECT_FALSE(mesh.TooClose({50.0, 50.0}));
  mesh.AddMeshNode(50.5, 49.5);
  EXPECT_TRUE(mesh.TooClose({50.0, 50.0}));
}

// The node grid against the plain scan while nodes keep coming: clustered and spread nodes, a
// far outlier that stretches the box, queries inside, at and beyond the box's edges, and a
// distance so small next to the plate that the first grid must be coarser than it and is
// refined as the nodes multiply.
TEST(ScanIndex, NodeGridAgreesWithTheScanAsNodesArrive) {
  std::mt19937 random(99);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (const double d : {25.0, 0.5, 0.004}) {
    SCOPED_TRACE("distance " + std::to_string(d));
    TVertexes nodes;
    MeshIndex index;
    const auto scan = [&](MeshPoint p) {
      for (int v = 0; v < nodes.Count(); ++v)
        if (std::fabs(nodes.X(v) - p.x) < d && std::fabs(nodes.Y(v) - p.y) < d) return true;
      return false;
    };
    for (int batch = 0; batch < 8; ++batch) {
      const int count = batch == 0 ? 5 : 5000;
      for (int i = 0; i < count; ++i) {
        const bool cluster = unit(random) < 0.3;
        const double x = cluster ? 500 + 2 * d * unit(random) : 1000 * unit(random);
        const double y = cluster ? 500 + 2 * d * unit(random) : 1000 * unit(random);
        nodes.AddNode(x, y, DofRecord{});
      }
      if (batch == 3) nodes.AddNode(-1e7, 3e6, DofRecord{});
      for (int q = 0; q < 300; ++q) {
        const int near = static_cast<int>(unit(random) * nodes.Count());
        const MeshPoint anywhere{-50 + 1100 * unit(random), -50 + 1100 * unit(random)};
        const MeshPoint close{nodes.X(near) + d * (2 * unit(random) - 1),
                              nodes.Y(near) + d * (2 * unit(random) - 1)};
        const MeshPoint p = q % 3 == 0 ? anywhere : close;
        ASSERT_EQ(index.AnyNodeWithin(nodes, p, d), scan(p))
            << "batch " << batch << " at " << p.x << ", " << p.y;
      }
    }
  }
}

// Segments whose diametral circle holds p, by the index, with the encroachment test written out.
std::vector<int> Encroached(MeshIndex& index, const TVertexes& nodes, const TEdges& edges,
                            MeshPoint p) {
  const auto test = [&](int s) {
    const MeshPoint sb{nodes.X(edges.Begin(s)), nodes.Y(edges.Begin(s))};
    const MeshPoint se{nodes.X(edges.End(s)), nodes.Y(edges.End(s))};
    const MeshPoint m{(sb.x + se.x) / 2, (sb.y + se.y) / 2};
    return Length(p, m) < Length(sb, m);
  };
  std::vector<int> out;
  index.EncroachedSegments(nodes, edges, p, test, out);
  return out;
}

TEST(ScanIndex, EncroachedSegmentsInIndexOrderAfterSegmentsMove) {
  // Segments of very different lengths, so that they sit on different levels of the grid.
  TVertexes nodes;
  TEdges edges;
  const DofRecord none{};
  const int a = nodes.AddNode(0, 0, none), b = nodes.AddNode(100, 0, none);
  const int c = nodes.AddNode(10, 1, none), d = nodes.AddNode(11, 1, none);
  const int f = nodes.AddNode(11, 31, none);
  edges.AddEdge(a, b, none, 1);  // 0: long segment
  edges.AddEdge(c, d, none, 0);  // 1: not a segment, never reported
  edges.AddEdge(c, d, none, 1);  // 2: short segment
  edges.AddEdge(d, f, none, 1);  // 3: middling, vertical
  MeshIndex index;
  EXPECT_EQ(Encroached(index, nodes, edges, {10.5, 1.2}), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(Encroached(index, nodes, edges, {50, 49}), (std::vector<int>{0}));
  EXPECT_EQ(Encroached(index, nodes, edges, {50, 50}), (std::vector<int>{}));  // on the circle

  const int g = nodes.AddNode(300, 300, none);
  edges.SetBegin(2, g);  // segment 2 now reaches far away
  index.EdgeMayHaveMoved(2);
  const int h = nodes.AddNode(200, 170, none);
  edges.AddEdge(g, h, none, 1);  // 4: new since the last query
  EXPECT_EQ(Encroached(index, nodes, edges, {200, 180}), (std::vector<int>{2, 4}));
  EXPECT_EQ(Encroached(index, nodes, edges, {10.1, 1}), (std::vector<int>{0}));
}

}  // namespace
}  // namespace tavrin
