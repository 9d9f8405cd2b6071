// DXF import of drawings written by ezdxf (make_drawings.py): every supported entity, bulges,
// joined chains, nesting, layers, units and each refusal. Polygonal areas are compared to 1e-9
// relative; arcs to the exact area of their chord polygon, and a full circle to pi r^2 within
// the chord tolerance.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/TGlobMatrix.h"
#include "importer/ArcChords.h"
#include "importer/DxfImport.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/GeometryCheck.h"

namespace tavrin::dxf {
namespace {

std::string Drawing(const char* name) { return std::string(TAVRIN_DXF_DRAWINGS "/") + name; }

const double kSin10 = std::sin(kMaxChordDegrees * std::numbers::pi / 180.0);
// Area of n chords of a circle of radius r with the centre: n triangles of apex 10 degrees.
double ChordFan(int n, double r) { return n * r * r * kSin10 / 2.0; }

// Polygon areas walked along the job's own edge lists, checking each list is one closed ring.
std::vector<double> PolygonAreas(const TObjCont& job) {
  std::vector<double> areas;
  for (int p = 0; p < job.PolygonCount(); ++p) {
    const int n = job.PolygonEdgeCount(p);
    double twice = 0.0;
    for (int k = 0; k < n; ++k) {
      const int e = job.PolygonEdge(p, k), next = job.PolygonEdge(p, (k + 1) % n);
      EXPECT_EQ(job.EdgeEnd(e), job.EdgeBegin(next)) << "polygon " << p << " edge " << k;
      const int a = job.EdgeBegin(e), b = job.EdgeEnd(e);
      twice += job.NodeX(a) * job.NodeY(b) - job.NodeX(b) * job.NodeY(a);
    }
    areas.push_back(twice / 2.0);
  }
  return areas;
}

struct Case {
  const char* drawing;
  std::vector<std::string> layers;
  std::vector<double> areas;  // outline, then holes; each counter-clockwise
  int freeNodes;
  ImportFailure failure;
  std::vector<std::string> message;  // parts the refusal must name
};

TEST(DxfImport, DrawingsImportWholeOrAreRefusedByName) {
  const std::vector<Case> cases = {
      {"slab.dxf",
       {"SLAB", "openings", "COLUMNS"},
       {480000, ChordFan(36, 40), 22500},
       4,
       ImportFailure::None,
       {}},
      {"bulges.dxf",
       {},
       {5000 + ChordFan(18, 25), 400 - (ChordFan(9, std::sqrt(200.0)) - 100)},
       0,
       ImportFailure::None,
       {}},
      {"polyline2d.dxf", {}, {3600, 200}, 0, ImportFailure::None, {}},
      {"chain.dxf", {}, {6000 + ChordFan(18, 30)}, 0, ImportFailure::None, {}},
      {"mirrored.dxf",
       {},
       {10000 + ChordFan(18, 50), ChordFan(36, 10)},
       0,
       ImportFailure::None,
       {}},
      {"circle-plate.dxf", {}, {ChordFan(36, 50)}, 1, ImportFailure::None, {}},
      {"two-plates.dxf", {"b"}, {100}, 0, ImportFailure::None, {}},
      {"slab.dxf", {}, {}, 0, ImportFailure::Drawing, {"cannot be imported: 1 TEXT"}},
      {"unsupported.dxf", {}, {}, 0, ImportFailure::Drawing, {"1 SPLINE, 2 TEXT"}},
      {"two-plates.dxf", {}, {}, 0, ImportFailure::Drawing, {"more than one plate"}},
      {"island.dxf", {}, {}, 0, ImportFailure::Drawing, {"inside the hole", "no islands"}},
      {"open-chain.dxf",
       {},
       {},
       0,
       ImportFailure::Drawing,
       {"open chain", "3 LINE", "(0, 0)", "(0, 10)"}},
      {"branch.dxf", {}, {}, 0, ImportFailure::Drawing, {"3 ends", "meet at"}},
      {"crossing.dxf", {}, {}, 0, ImportFailure::Drawing, {"Crossing loops", "near ("}},
      {"empty.dxf", {}, {}, 0, ImportFailure::Drawing, {"holds no entity"}},
      {"empty.dxf", {"EMPTY"}, {}, 0, ImportFailure::Drawing, {"selected layers hold no entity"}},
      {"slab.dxf", {"NOPE"}, {}, 0, ImportFailure::Drawing, {"no layer \"NOPE\"", "OPENINGS"}},
      {"column-outside.dxf", {}, {}, 0, ImportFailure::Geometry, {"geometry check", "Node 4"}},
      {"missing.dxf", {}, {}, 0, ImportFailure::Unreadable, {"cannot open"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.drawing) + " with " + std::to_string(c.layers.size()) + " layers");
    const ImportResult r = ImportDxf(Drawing(c.drawing), {c.layers});
    ASSERT_EQ(r.failure, c.failure) << r.message;
    for (const std::string& part : c.message)
      EXPECT_NE(r.message.find(part), std::string::npos) << r.message;
    if (!r) {
      EXPECT_EQ(r.job.NodeCount(), 0);  // nothing half-imported
      continue;
    }
    const std::vector<double> areas = PolygonAreas(r.job);
    ASSERT_EQ(areas.size(), c.areas.size());
    for (std::size_t p = 0; p < areas.size(); ++p) {
      EXPECT_NEAR(areas[p], c.areas[p], 1e-9 * c.areas[0]) << "polygon " << p;
      EXPECT_EQ(r.job.IsHole(static_cast<int>(p)), p > 0);
    }
    int freeNodes = 0;
    for (int i = 0; i < r.job.NodeCount(); ++i) freeNodes += r.job.IsFreeNode(i);
    EXPECT_EQ(freeNodes, c.freeNodes);
    TObjCont prepared = r.job;
    prepared.PrepareForMeshing();
    EXPECT_TRUE(CheckGeometry(prepared)) << CheckGeometry(prepared).message;
  }
}

TEST(DxfImport, CircleIsWithinTheChordToleranceAndUnitsAreReported) {
  const ImportResult circle = ImportDxf(Drawing("circle-plate.dxf"));
  ASSERT_TRUE(circle) << circle.message;
  const double exact = std::numbers::pi * 50 * 50;
  const double tolerance = 1 - kSin10 / (kMaxChordDegrees * std::numbers::pi / 180.0);
  EXPECT_LE(std::fabs(circle.report.outlineArea - exact), tolerance * exact);
  EXPECT_EQ(circle.report.insunits, 0);
  EXPECT_EQ(UnitName(circle.report.insunits), "unitless");

  const ImportResult slab = ImportDxf(Drawing("slab.dxf"), {{"SLAB", "OPENINGS", "COLUMNS"}});
  EXPECT_EQ(slab.report.insunits, 5);
  EXPECT_EQ(UnitName(slab.report.insunits), "centimetres");
  EXPECT_EQ(slab.report.read.at("LINE"), 4);
  EXPECT_EQ(slab.report.read.at("POINT"), 4);
  int selected = 0;
  for (const LayerSummary& layer : slab.report.layers) {
    selected += layer.selected;
    EXPECT_EQ(layer.entities, layer.name == "OPENINGS"                        ? 5
                              : layer.name == "COLUMNS"                       ? 4
                              : layer.name == "SLAB" || layer.name == "NOTES" ? 1
                                                                              : 0)
        << layer.name;
  }
  EXPECT_EQ(selected, 3);
}

// The slab simply supported on its outline under a pressure: the mesh covers the plate less its
// openings, and the reactions carry the pressure times that area.
TEST(DxfImport, ImportedSlabMeshesAndSolves) {
  ImportResult r = ImportDxf(Drawing("slab.dxf"), {{"SLAB", "OPENINGS", "COLUMNS"}});
  ASSERT_TRUE(r) << r.message;
  TObjCont& job = r.job;
  const double q = -0.001;
  job.SetPolygonPhysics(0, q, 30000, 0.2, 20, false);
  for (int k = 0; k < job.PolygonEdgeCount(0); ++k)
    job.SetEdgeConstraints(job.PolygonEdge(0, k), 100, 0, 0, 0);
  job.PrepareForMeshing();
  MeshParameters parameters;
  parameters.minAngle = 30;
  parameters.maxArea = 400;
  parameters.animate = false;
  FEM mesh(parameters);
  ASSERT_TRUE(mesh.GenerateMesh(job).usable);
  double meshed = 0.0;
  for (int t = 0; t < mesh.TriangleCount(); ++t) meshed += mesh.TriangleArea(t);
  const double net = 480000 - ChordFan(36, 40) - 22500;
  EXPECT_NEAR(meshed, net, 1e-9 * net);

  TGlobMatrix solver;
  ASSERT_EQ(solver.SolveStatic(mesh), SolveCode::Ok) << solver.Failure().message;
  EXPECT_NEAR(solver.LoadZ(), q * net, 1e-9 * std::fabs(q * net));
  EXPECT_NEAR(solver.ReactionZ(), -solver.LoadZ(), 1e-6 * std::fabs(q * net));
}

}  // namespace
}  // namespace tavrin::dxf
