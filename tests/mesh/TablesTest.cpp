#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "mesh/TEdges.h"
#include "mesh/TTris.h"
#include "mesh/TVertexes.h"

namespace tavrin {
namespace {

DofRecord Dof(std::uint16_t code, double base) {
  DofRecord d;
  d.code = code;
  d.displacement = {base, base + 1, base + 2};
  d.force = {base + 3, base + 4, base + 5};
  return d;
}

TEST(TVertexes, EveryColumnReadsBackPerNode) {
  TVertexes v;
  for (int i = 0; i < 25; ++i) {
    EXPECT_EQ(v.AddNode(i * 1.5, -i * 2.25, Dof(static_cast<std::uint16_t>(i), i)), i);
    if (i % 2 == 0) {
      EXPECT_EQ(v.SetPolygon(i, i / 2), 0);
    }
  }
  for (int i = 0; i < 25; ++i) {
    EXPECT_EQ(v.X(i), i * 1.5);
    EXPECT_EQ(v.Y(i), -i * 2.25);
    EXPECT_EQ(v.Polygon(i), i % 2 == 0 ? i / 2 : -1);
    DofRecord d;
    ASSERT_EQ(v.GetDof(i, d), 0);
    EXPECT_EQ(d, Dof(static_cast<std::uint16_t>(i), i));
  }
}

// Most mesh nodes and edges carry no loads and are stored without a record: bare and loaded
// entries interleaved must each read back their own record, a bare one the zero record.
TEST(TVertexes, BareAndLoadedEntriesKeepTheirOwnLoads) {
  TVertexes v;
  TEdges e;
  const auto loads = [](int i) {
    return i % 3 == 1 ? Dof(static_cast<std::uint16_t>(i), i) : DofRecord{};
  };
  for (int i = 0; i < 40; ++i) {
    v.AddNode(i, 0, loads(i));
    e.AddEdge(i, i + 1, loads(i), 0);
  }
  for (int i = 0; i < 40; ++i) {
    DofRecord node = Dof(99, 99), edge = Dof(99, 99);
    ASSERT_EQ(v.GetDof(i, node), 0);
    ASSERT_EQ(e.GetDof(i, edge), 0);
    EXPECT_EQ(node, loads(i)) << "node " << i;
    EXPECT_EQ(edge, loads(i)) << "edge " << i;
  }
}

TEST(TVertexes, OutOfRangeSentinels) {
  TVertexes v;
  v.AddNode(0, 0, DofRecord{});
  DofRecord d = Dof(7, 7);
  EXPECT_EQ(v.Polygon(1), -1);
  EXPECT_EQ(v.Polygon(-1), -1);
  EXPECT_EQ(v.SetPolygon(1, 3), -1);
  EXPECT_EQ(v.GetDof(1, d), -1);
  EXPECT_EQ(d, Dof(7, 7));  // untouched
}

TEST(TEdges, FindIsSymmetricAndPrefersNewestDuplicate) {
  TEdges e;
  e.AddEdge(0, 1, DofRecord{}, 1);
  e.AddEdge(1, 2, DofRecord{}, 0);
  e.AddEdge(2, 0, DofRecord{}, 0);
  e.AddEdge(2, 1, DofRecord{}, 0);
  EXPECT_EQ(e.Find(0, 1), 0);
  EXPECT_EQ(e.Find(1, 0), 0);
  EXPECT_EQ(e.Find(1, 2), 3);
  EXPECT_EQ(e.Find(2, 1), 3);
  EXPECT_EQ(e.Find(0, 3), -1);
  EXPECT_EQ(e.Find(-1, 0), -1);
}

// With the lookup index kept throughout and with it dropped (changes then go unrecorded until
// the next Find rebuilds it), and dropped again half way: the answers are the same.
TEST(TEdges, FindFollowsChangedEnds) {
  for (int drop = 0; drop < 3; ++drop) {
    SCOPED_TRACE("drop " + std::to_string(drop));
    TEdges e;
    if (drop == 1) e.DropFindIndex();
    e.AddEdge(0, 1, DofRecord{}, 0);
    e.AddEdge(2, 3, DofRecord{}, 0);
    e.AddEdge(0, 1, DofRecord{}, 0);
    e.SetEnd(2, 4);  // the newer duplicate leaves {0, 1}
    EXPECT_EQ(e.Find(0, 1), 0);
    EXPECT_EQ(e.Find(4, 0), 2);
    if (drop == 2) e.DropFindIndex();
    e.SetBegin(1, 1);
    e.SetEnd(1, 0);  // edge 1 now also joins {0, 1}
    e.AddEdge(5, 6, DofRecord{}, 0);
    e.SetEnds(3, 6, 7);
    EXPECT_EQ(e.Find(1, 0), 1);
    EXPECT_EQ(e.Find(2, 3), -1);
    EXPECT_EQ(e.Find(5, 6), -1);
    EXPECT_EQ(e.Find(7, 6), 3);
    EXPECT_EQ(e.Begin(1), 1);
    EXPECT_EQ(e.End(1), 0);
  }
}

TEST(TEdges, FindMatchesLinearScanOnLargeTable) {
  TEdges e;
  const int n = 3000;
  for (int i = 0; i < n; ++i) e.AddEdge(i % 97, (i * 7) % 89, DofRecord{}, 0);
  for (int i = 0; i < n; i += 5) e.SetBegin(i, (i * 3) % 97);
  for (int a = 0; a < 97; a += 3) {
    for (int b = 0; b < 89; b += 2) {
      int expected = -1;
      for (int k = 0; k < n; ++k) {
        if ((e.Begin(k) == a && e.End(k) == b) || (e.Begin(k) == b && e.End(k) == a)) expected = k;
      }
      ASSERT_EQ(e.Find(a, b), expected) << a << "," << b;
    }
  }
}

TEST(TEdges, AttachDetachSlotRules) {
  TEdges e;
  e.AddEdge(0, 1, DofRecord{}, 0);
  EXPECT_EQ(e.TriangleCount(0), 0);
  EXPECT_EQ(e.Triangle(0, 1), -1);
  EXPECT_EQ(e.Attach(0, 10), 1);
  EXPECT_EQ(e.TriangleCount(0), 1);
  EXPECT_EQ(e.Attach(0, 11), 2);
  EXPECT_EQ(e.TriangleCount(0), 2);
  EXPECT_EQ(e.Attach(0, 12), 0);  // full: unchanged
  EXPECT_EQ(e.Triangle(0, 1), 10);
  EXPECT_EQ(e.Triangle(0, 2), 11);
  EXPECT_EQ(e.Triangle(0, 3), -1);
  EXPECT_EQ(e.Triangle(0, 0), -1);

  EXPECT_EQ(e.Detach(0, 99), -1);
  EXPECT_EQ(e.Detach(0, 10), 1);
  EXPECT_EQ(e.TriangleCount(0), 0);  // slot 2 still full, but slot 1 empty
  EXPECT_EQ(e.Triangle(0, 2), 11);
  EXPECT_EQ(e.Attach(0, 13), 2);
  EXPECT_EQ(e.Triangle(0, 1), 13);
  EXPECT_EQ(e.Detach(0, 11), 2);
  EXPECT_EQ(e.TriangleCount(0), 1);
}

TEST(TEdges, BadIndexSentinels) {
  TEdges e;
  e.AddEdge(0, 1, Dof(3, 1), 1);
  DofRecord d;
  EXPECT_EQ(e.GetDof(0, d), 0);
  EXPECT_EQ(d, Dof(3, 1));
  EXPECT_EQ(e.GetDof(1, d), -1);
  EXPECT_EQ(e.GetDof(-1, d), -1);
  EXPECT_EQ(e.Attach(1, 5), 0);
  EXPECT_EQ(e.Detach(1, 5), -1);
  EXPECT_EQ(e.Triangle(1, 1), -1);
}

TEST(TTris, EdgesMeasuresAndPhysics) {
  TTris t;
  const ElementPhysics steel{210000, 0.3, 12, -2.5};
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(t.AddTriangle(3 * i, 3 * i + 1, 3 * i + 2, 0.5 + i, 10.0 - i), i);
    EXPECT_EQ(t.SetPhysics(i, ElementPhysics{1.0 * i, 0.25, 10, 0}), i);
  }
  EXPECT_EQ(t.Edge(4, 1), 12);
  EXPECT_EQ(t.Edge(4, 3), 14);
  EXPECT_EQ(t.Edge(4, 4), -1);
  EXPECT_EQ(t.Edge(4, 0), -1);
  EXPECT_EQ(t.Edge(15, 1), -1);
  EXPECT_EQ(t.Edge(-1, 1), -1);

  t.SetTriangle(4, 7, 8, 9, 0.1, 99.0);
  EXPECT_EQ(t.Edge(4, 2), 8);
  EXPECT_EQ(t.MinAngle(4), 0.1);
  EXPECT_EQ(t.Area(4), 99.0);
  ElementPhysics p;
  EXPECT_EQ(t.GetPhysics(4, p), 4);
  EXPECT_EQ(p, (ElementPhysics{4.0, 0.25, 10, 0}));  // re-shaping keeps physics

  EXPECT_EQ(t.SetPhysics(14, steel), 14);
  EXPECT_EQ(t.GetPhysics(14, p), 14);
  EXPECT_EQ(p, steel);
  EXPECT_EQ(t.SetPhysics(15, steel), -1);
  ElementPhysics untouched{1, 2, 3, 4};
  EXPECT_EQ(t.GetPhysics(15, untouched), -1);
  EXPECT_EQ(untouched, (ElementPhysics{1, 2, 3, 4}));
}

// Triangles share one entry per distinct physics: each must still read back exactly what was
// set on it, bit for bit (a negative zero, a not-a-number), whatever was set on the others.
TEST(TTris, PhysicsComeBackBitForBitWhenShared) {
  TTris t;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const ElementPhysics kinds[] = {
      {210000, 0.3, 8, -0.005}, {70000, 0.33, 5, 0}, {210000, 0.3, 8, -0.0}, {nan, 0.3, 8, 0}, {}};
  for (int i = 0; i < 300; ++i) {
    t.AddTriangle(0, 1, 2, 0.5, 1.0);
    t.SetPhysics(i, kinds[(i * 7) % 5]);
  }
  t.SetPhysics(12, kinds[1]);  // set again, to another kind
  for (int i = 0; i < 300; ++i) {
    const ElementPhysics& want = i == 12 ? kinds[1] : kinds[(i * 7) % 5];
    ElementPhysics got;
    ASSERT_EQ(t.GetPhysics(i, got), i);
    ASSERT_EQ(std::memcmp(&got, &want, sizeof got), 0) << "triangle " << i;
  }
}

TEST(TTris, ExtremeScansTakeFirstOnTies) {
  TTris t;
  EXPECT_EQ(t.MinAngleIndex(), 0);
  EXPECT_EQ(t.MaxAreaIndex(), 0);
  t.AddTriangle(0, 1, 2, 0.7, 5.0);
  t.AddTriangle(0, 1, 2, 0.3, 9.0);
  t.AddTriangle(0, 1, 2, 0.3, 9.0);
  t.AddTriangle(0, 1, 2, 0.9, 1.0);
  EXPECT_EQ(t.MinAngleIndex(), 1);
  EXPECT_EQ(t.MaxAreaIndex(), 1);
  t.SetTriangle(3, 0, 1, 2, 0.1, 20.0);
  EXPECT_EQ(t.MinAngleIndex(), 3);
  EXPECT_EQ(t.MaxAreaIndex(), 3);
}

}  // namespace
}  // namespace tavrin
