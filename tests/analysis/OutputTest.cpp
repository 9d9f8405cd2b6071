// Isolines and the two export files of a solved model.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/StructuredPlate.h"
#include "analysis/TGlobMatrix.h"
#include "analysis/TIsolines.h"

namespace tavrin {
namespace {

const ElementPhysics kSteel{210000, 0.3, 1, 0};

// One triangle (0,0), (2,0), (0,2) with every freedom held, LinZ at the given values: the
// displacement field is then exactly those corner values.
TGlobMatrix* HeldTriangle(double w0, double w1, double w2) {
  PlateMesh m;
  const double w[3] = {w0, w1, w2};
  const double xy[3][2] = {{0, 0}, {2, 0}, {0, 2}};
  for (int k = 0; k < 3; ++k) {
    DofRecord d;
    d.code = 111;
    d.displacement[0] = w[k];
    m.AddNode(xy[k][0], xy[k][1], d);
  }
  m.AddTriangle(0, 1, 2, kSteel);
  auto* s = new TGlobMatrix();
  EXPECT_EQ(s->SolveStatic(m), SolveCode::Ok);
  return s;
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

TEST(TIsolines, SegmentsFollowTheLoneCornerRule) {
  {
    std::unique_ptr<TGlobMatrix> s(HeldTriangle(0, 10, 10));
    TIsolines set;
    EXPECT_EQ(TraceIsolines(set, 5, 0, *s), 1);
    ASSERT_EQ(set.SegmentCount(), 1);
    EXPECT_EQ(set.SegmentStart(0), 0);
    EXPECT_EQ(set.SegmentEnd(0), 1);
    // Midpoints of the two edges at the corner valued 0.
    EXPECT_DOUBLE_EQ(set.PointX(0), 1);
    EXPECT_DOUBLE_EQ(set.PointY(0), 0);
    EXPECT_DOUBLE_EQ(set.PointX(1), 0);
    EXPECT_DOUBLE_EQ(set.PointY(1), 1);
    EXPECT_EQ(set.SegmentStart(1), -1);
    EXPECT_EQ(set.PointX(2), -1.0);
    EXPECT_EQ(TraceIsolines(set, 5, kResultFieldCount, *s), -1);
    EXPECT_EQ(TraceIsolines(set, 5, static_cast<int>(ResultField::MomentX), *s),
              -1);                                // no moments yet
    EXPECT_EQ(TraceIsolines(set, 5, 3, *s), -1);  // no stresses yet
  }
  {
    // A corner exactly on the level: handled by its position, not symmetrically.
    std::unique_ptr<TGlobMatrix> s(HeldTriangle(0, 5, 10));
    TIsolines set;
    EXPECT_EQ(TraceIsolines(set, 5, 0, *s), 0);
  }
  {
    std::unique_ptr<TGlobMatrix> s(HeldTriangle(5, 0, 10));
    TIsolines set;
    ASSERT_EQ(TraceIsolines(set, 5, 0, *s), 1);
    // From the midpoint of the edge between the corners valued 10 and 0, to the corner valued 5.
    EXPECT_DOUBLE_EQ(set.PointX(0), 1);
    EXPECT_DOUBLE_EQ(set.PointY(0), 1);
    EXPECT_DOUBLE_EQ(set.PointX(1), 0);
    EXPECT_DOUBLE_EQ(set.PointY(1), 0);
  }
}

TEST(TIsolines, FifteenLevelsBetweenTheExtremes) {
  std::unique_ptr<TGlobMatrix> flat(HeldTriangle(2, 2, 2));
  TIsolines set;
  EXPECT_EQ(BuildIsolines(set, 0, *flat), 0);  // constant field: step 0, nothing crosses

  // Levels 15 - k for k = 1 .. 15 on a field from 0 to 15: 14 of them cut the triangle, the
  // last equals the minimum.
  std::unique_ptr<TGlobMatrix> ramp(HeldTriangle(0, 15, 15));
  EXPECT_EQ(BuildIsolines(set, 0, *ramp), 14);
  EXPECT_EQ(set.PointCount(), 28);
  EXPECT_EQ(BuildIsolines(set, 3, *ramp), -1);
  ASSERT_EQ(ramp->SolveStress(), StressCode::Ok);
  EXPECT_EQ(BuildIsolines(set, 3, *ramp), 0);  // one element: constant stress
}

// In one thickness a moment is its stress times t^2 / 6, at the nodes and in the elements, so
// the moment isolines lie exactly where the stress isolines do.
TEST(TIsolines, MomentFieldsFollowTheirStresses) {
  StructuredPlate p;
  p.width = p.height = 10;
  p.cellsX = p.cellsY = 5;
  p.material = {210000, 0.3, 0.5, -1};
  TGlobMatrix s;
  ASSERT_EQ(s.SolveStatic(p.Build()), SolveCode::Ok);
  ASSERT_EQ(s.SolveStress(), StressCode::Ok);
  for (int c = 0; c < 3; ++c) {
    TIsolines stress, moment;
    const int n = BuildIsolines(stress, static_cast<int>(ResultField::SigmaX) + c, s);
    ASSERT_GT(n, 0);
    ASSERT_EQ(BuildIsolines(moment, static_cast<int>(ResultField::MomentX) + c, s), n);
    for (int i = 0; i < stress.PointCount(); ++i) {
      EXPECT_NEAR(moment.PointX(i), stress.PointX(i), 1e-9);
      EXPECT_NEAR(moment.PointY(i), stress.PointY(i), 1e-9);
    }
  }
}

TEST(Export, CosmosFileListsNodesElementsConstraintsAndLoads) {
  // Two triangles; edge 0-1 with code 100, node 3 clamped with a held rotation, small loads.
  PlateMesh m;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}}) m.AddNode(x, y);
  DofRecord edge;
  edge.code = 100;
  m.AddEdge(0, 1, edge);
  m.nodeDof[3].code = 11;
  m.nodeDof[3].displacement[2] = 0.5;
  m.nodeDof[2].force[0] = 0.00005;  // small loads are loads
  m.nodeDof[2].force[1] = -0.0002;
  m.nodeDof[3].force[1] = 7;  // on a held freedom: not written
  m.AddTriangle(0, 1, 2, kSteel);
  m.AddTriangle(0, 2, 3, kSteel);
  TGlobMatrix s;
  ASSERT_EQ(s.SolveStatic(m), SolveCode::Ok) << s.Failure().message;
  const std::string path = ::testing::TempDir() + "model.tvd";
  ASSERT_EQ(s.ExportCosmos(path), ExportResult::Written);
  const auto lines = Lines(path);
  ASSERT_EQ(lines.size(), 4u + 2u + 2u + 2u + 2u);
  const int v0 = s.NewNumberOf(0), v1 = s.NewNumberOf(1), v2 = s.NewNumberOf(2),
            v3 = s.NewNumberOf(3);
  std::ostringstream n;
  n << "N, " << v2 + 1 << ", 1, 1, 0";
  EXPECT_EQ(lines[v2], n.str());
  std::ostringstream e;
  e << "E, 1, " << s.TriangleCorner(0, 0) + 1 << ", " << s.TriangleCorner(0, 1) + 1 << ", "
    << s.TriangleCorner(0, 2) + 1;
  EXPECT_EQ(lines[4], e.str());
  EXPECT_EQ(lines[6], "D," + std::to_string(v0 + 1) + ",UZ,0");
  EXPECT_EQ(lines[7], "D," + std::to_string(v1 + 1) + ",UZ,0");
  EXPECT_EQ(lines[8], "D," + std::to_string(v3 + 1) + ",ROTX,0");
  EXPECT_EQ(lines[9], "D," + std::to_string(v3 + 1) + ",ROTY,0.5");
  EXPECT_EQ(lines[10], "F, " + std::to_string(v2 + 1) + ", FZ, 5e-05");
  EXPECT_EQ(lines[11], "F, " + std::to_string(v2 + 1) + ", MX, -0.0002");
  EXPECT_EQ(s.ExportCosmos("/nonexistent-dir/model.tvd"), ExportResult::CannotCreate);
}

TEST(Export, PressureBecomesNodalForcesAndStiffnessFileIsTheSolvedElement) {
  // Pressure 3 on a triangle of area 2: 2 on each corner.
  PlateMesh m;
  m.AddNode(0, 0);
  m.AddNode(2, 0);
  m.AddNode(0, 2);
  m.AddTriangle(0, 1, 2, {210000, 0.3, 1, 3});
  m.nodeDof[0].code = 111;
  m.nodeDof[1].code = 100;
  TGlobMatrix s;
  ASSERT_EQ(s.SolveStatic(m), SolveCode::Ok);
  const std::string path = ::testing::TempDir() + "p.tvd";
  ASSERT_EQ(s.ExportCosmos(path), ExportResult::Written);
  const auto lines = Lines(path);
  ASSERT_EQ(lines.size(), 3u + 1u + 4u + 1u);
  EXPECT_EQ(lines.back(), "F, " + std::to_string(s.NewNumberOf(2) + 1) + ", FZ, 2");

  for (ElementKind kind : {ElementKind::Dkt, ElementKind::Cubic}) {
    TGlobMatrix k(kind);
    ASSERT_EQ(k.SolveStatic(m), SolveCode::Ok);
    const std::string kpath = ::testing::TempDir() + "k.txt";
    ASSERT_EQ(k.WriteLocalStiffness(kpath, 0), ExportResult::Written);
    const auto rows = Lines(kpath);
    ASSERT_EQ(rows.size(), 9u);
    std::vector<std::vector<double>> a;
    for (const auto& r : rows) {
      ASSERT_GE(r.size(), 2u);
      EXPECT_EQ(r.substr(r.size() - 2),
                "  ");  // every number, the last too, is followed by two spaces
      std::istringstream ss(r);
      std::vector<double> row;
      double v;
      while (ss >> v) row.push_back(v);
      ASSERT_EQ(row.size(), 9u);
      a.push_back(row);
    }
    for (int i = 0; i < 9; ++i)
      for (int j = 0; j < 9; ++j) EXPECT_NEAR(a[i][j], a[j][i], 1e-5 * std::fabs(a[i][i]));
    EXPECT_EQ(k.WriteLocalStiffness(kpath, 1), ExportResult::NoSuchElement);
    EXPECT_EQ(k.WriteLocalStiffness(kpath, -1), ExportResult::NoSuchElement);
    EXPECT_EQ(k.WriteLocalStiffness("/nonexistent-dir/k.txt", 0), ExportResult::CannotCreate);
  }
  // The two elements differ: the file shows the one the solve used.
  TGlobMatrix dkt(ElementKind::Dkt), cubic(ElementKind::Cubic);
  ASSERT_EQ(dkt.SolveStatic(m), SolveCode::Ok);
  ASSERT_EQ(cubic.SolveStatic(m), SolveCode::Ok);
  const std::string p1 = ::testing::TempDir() + "k1.txt", p2 = ::testing::TempDir() + "k2.txt";
  ASSERT_EQ(dkt.WriteLocalStiffness(p1, 0), ExportResult::Written);
  ASSERT_EQ(cubic.WriteLocalStiffness(p2, 0), ExportResult::Written);
  EXPECT_NE(Lines(p1), Lines(p2));
}

}  // namespace
}  // namespace tavrin
