// DXF import of drawings written by ezdxf (make_drawings.py): every supported entity, bulges,
// joined chains, nesting, layers, units and each refusal. Arcs are imported as arc edges, so
// every area, arcs and circles included, is compared with its closed form to 1e-9 relative.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/TGlobMatrix.h"
#include "importer/DxfImport.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/GeometryCheck.h"

namespace tavrin::dxf {
namespace {

std::string Drawing(const char* name) { return std::string(TAVRIN_DXF_DRAWINGS "/") + name; }

constexpr double kPi = std::numbers::pi;
double Disc(double r) { return kPi * r * r; }

// Polygon areas walked along the job's own edge lists, checking each list is one closed ring:
// the chords' shoelace sum plus, for each arc edge, its circular segment between arc and chord
// (sector less triangle, with the signed included angle theta = 4 atan(bulge)).
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
      const double theta = 4 * std::atan(job.EdgeBulge(e));
      const double chord = std::hypot(job.NodeX(b) - job.NodeX(a), job.NodeY(b) - job.NodeY(a));
      if (theta != 0.0) {
        const double r = chord / 2 / std::sin(theta / 2);
        twice += r * r * (theta - std::sin(theta));
      }
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
       {480000, Disc(40), 22500},
       4,
       ImportFailure::None,
       {}},
      {"bulges.dxf",
       {},
       // A half circle out of the outline; a quarter circle of radius sqrt(200) into the hole.
       {5000 + Disc(25) / 2, 400 - (Disc(std::sqrt(200.0)) / 4 - 100)},
       0,
       ImportFailure::None,
       {}},
      {"polyline2d.dxf", {}, {3600, 200}, 0, ImportFailure::None, {}},
      {"chain.dxf", {}, {6000 + Disc(30) / 2}, 0, ImportFailure::None, {}},
      {"mirrored.dxf", {}, {10000 + Disc(50) / 2, Disc(10)}, 0, ImportFailure::None, {}},
      {"circle-plate.dxf", {}, {Disc(50)}, 1, ImportFailure::None, {}},
      {"long-arcs.dxf", {}, {Disc(50), Disc(10) * 3 / 4}, 0, ImportFailure::None, {}},
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

TEST(DxfImport, CirclesAreFourQuarterArcsAndUnitsAreReported) {
  // A CIRCLE and a polyline of two half circles give the same loop: four quarter arcs (a
  // polygon needs three edges), their nodes on the circle.
  for (const auto& [drawing, cx, r] :
       {std::tuple{"circle-plate.dxf", 0.0, 50.0}, std::tuple{"long-arcs.dxf", 0.0, 50.0}}) {
    SCOPED_TRACE(drawing);
    const ImportResult circle = ImportDxf(Drawing(drawing));
    ASSERT_TRUE(circle) << circle.message;
    ASSERT_EQ(circle.job.PolygonEdgeCount(0), 4);
    for (int k = 0; k < 4; ++k) {
      const int e = circle.job.PolygonEdge(0, k), a = circle.job.EdgeBegin(e);
      EXPECT_NEAR(circle.job.EdgeBulge(e), std::tan(kPi / 8), 1e-15);
      EXPECT_NEAR(std::hypot(circle.job.NodeX(a) - cx, circle.job.NodeY(a)), r, 1e-12 * r);
    }
    EXPECT_NEAR(circle.report.outlineArea, Disc(r), 1e-9 * Disc(r));
  }
  const ImportResult circle = ImportDxf(Drawing("circle-plate.dxf"));
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
// openings (the circular one's boundary nodes on the circle, so the mesh leaves out the
// inscribed polygon: a little less than the circle), and the reactions carry the pressure
// times the meshed area.
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
  const double net = 480000 - Disc(40) - 22500;
  EXPECT_GT(meshed, net);
  EXPECT_LT(meshed - net, 0.05 * Disc(40));
  int onCircle = 0;
  for (int i = 0; i < mesh.NodeCount(); ++i) {
    const double d = std::hypot(mesh.NodeX(i) - 200, mesh.NodeY(i) - 300);
    EXPECT_GT(d, 40 * (1 - 1e-12));  // no node inside the hole
    onCircle += d < 40 * (1 + 1e-12);
  }
  EXPECT_GT(onCircle, 8);

  TGlobMatrix solver;
  ASSERT_EQ(solver.SolveStatic(mesh), SolveCode::Ok) << solver.Failure().message;
  EXPECT_NEAR(solver.LoadZ(), q * meshed, 1e-9 * std::fabs(q * meshed));
  EXPECT_NEAR(solver.ReactionZ(), -solver.LoadZ(), 1e-6 * std::fabs(q * meshed));
}

}  // namespace
}  // namespace tavrin::dxf
