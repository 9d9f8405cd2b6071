// Springs and foundations written as job file records (KN, KE, KP), read, checked, meshed by the
// project's mesher and solved: the closed forms of a plate on elastic supports, computed here.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/GeometryCheck.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

constexpr double kNu = 0.3;
constexpr double kPi = 3.14159265358979323846;

// A free square of side `side`, nodes 0..3 at its corners and node 4 at its centre (a free node,
// so the mesh has a node there), pressure q, bending stiffness D (thickness 1); `extra` holds
// further records.
std::string Square(double side, double q, double d, const std::string& extra) {
  std::ostringstream s;
  s.precision(17);
  s << "N, 0, 0\nN, " << side << ", 0\nN, " << side << ", " << side << "\nN, 0, " << side << "\nN, "
    << side / 2 << ", " << side / 2 << "\n";
  s << "E, 0, 1\nE, 1, 2\nE, 2, 3\nE, 3, 0\nClose\n";
  s << "P, 0, " << q << ", " << 12 * (1 - kNu * kNu) * d << ", " << kNu << ", 1, 0\n" << extra;
  return s.str();
}

// Reads, checks, meshes (no triangle above maxArea) and solves the job text.
void Solve(const std::string& text, double maxArea, FEM& mesh, TGlobMatrix& s) {
  TObjCont job;
  const JobReadSummary read = job.ReadJobText(text);
  ASSERT_EQ(read.skipped, 0) << read.Describe();
  job.PrepareForMeshing();
  const GeometryCheckResult check = CheckGeometry(job);
  ASSERT_TRUE(check.ok) << check.message;
  MeshParameters parameters;
  parameters.minAngle = 30;
  parameters.maxArea = static_cast<float>(maxArea);
  parameters.animate = false;
  mesh = FEM(parameters);
  mesh.GenerateMesh(job);
  ASSERT_TRUE(mesh.IsUsable());
  ASSERT_EQ(s.SolveStatic(mesh), SolveCode::Ok) << s.Failure().message;
  ASSERT_EQ(s.SolveStress(), StressCode::Ok);
}

double W(const TGlobMatrix& s, int meshNode) {
  return static_cast<double>(s.Displacement(s.NewNumberOf(meshNode), 0));
}

TEST(ElasticJob, FreeSquareOnAFoundationSettlesByQOverK) {
  // Resting on the foundation alone: no node or edge is held, yet the plate is stable.
  const double q = -3, k = 2, side = 10;
  FEM mesh;
  TGlobMatrix s;
  Solve(Square(side, q, 1000, "KP, 0, 2\n"), 1.0, mesh, s);
  for (int v = 0; v < s.ResultNodeCount(); ++v) {
    EXPECT_NEAR(static_cast<double>(s.Displacement(v, 0)), q / k, 1e-9 * std::fabs(q / k));
    for (int c = 0; c < 3; ++c)
      EXPECT_LT(std::fabs(s.NodeMoment(v, c)), 1e-9 * std::fabs(q) * side * side);
  }
  EXPECT_NEAR(s.FoundationZ(), -s.LoadZ(), 1e-9 * std::fabs(s.LoadZ()));
}

TEST(ElasticJob, PointLoadOnALargePlateOnAFoundation) {
  // D = 1e4 and k = 1e-4: a characteristic length (D / k)^(1/4) of 100, the plate 12 of them
  // wide. A ring of free nodes 10 around the load grades the mesh down to it.
  const double side = 1200, c = side / 2, force = -1, d = 1e4, k = 1e-4;
  std::ostringstream extra;
  extra.precision(17);
  extra << "FN, 4, " << force << ", 0, 0\nKP, 0, " << k << "\n";
  for (int j = 0; j < 8; ++j)
    extra << "N, " << c + 10 * std::cos(j * kPi / 4) << ", " << c + 10 * std::sin(j * kPi / 4)
          << "\n";
  FEM mesh;
  TGlobMatrix s;
  Solve(Square(side, 0, d, extra.str()), 500, mesh, s);
  const double expected = force / (8 * std::sqrt(k * d));
  EXPECT_NEAR(W(s, 4), expected, 0.02 * std::fabs(expected)) << mesh.TriangleCount();
}

TEST(ElasticJob, FourCornerSpringsShareTheLoad) {
  // The corners and the centre node alone mesh into four equal triangles: the springs share
  // the load by symmetry, each w = F / (4 k) for the total (signed) load F.
  const double q = -1, k = 1000, side = 10;
  std::string springs;
  for (int corner = 0; corner < 4; ++corner)
    springs += "KN, " + std::to_string(corner) + ", 1000, 0, 0\n";
  FEM mesh;
  TGlobMatrix s;
  Solve(Square(side, q, 1e4, springs), 1e9, mesh, s);
  const double load = q * side * side, w = load / (4 * k);
  EXPECT_NEAR(s.LoadZ(), load, 1e-12 * std::fabs(load));
  for (int corner = 0; corner < 4; ++corner) {
    EXPECT_NEAR(W(s, corner), w, 1e-9 * std::fabs(w));
    EXPECT_NEAR(s.SpringForce(s.NewNumberOf(corner), 0), -k * W(s, corner),
                1e-9 * std::fabs(k * w));
  }
  EXPECT_NEAR(s.SpringZ(), -load, 1e-9 * std::fabs(load));
}

TEST(ElasticJob, StiffEdgeSpringsActAsARigidSupport) {
  // Per unit length of edge. The springs' own give shows at 1.9e-6 with 1e8 D / L^3: the corner
  // forces of the plate (about 0.065 q L^2 each) land on the corner nodes, whose springs are
  // only k times the length of their mesh edges, so the give grows as the mesh is refined; at
  // 1e9 it is 1.9e-7.
  const double side = 10, d = 1000;
  const double k = 1e9 * d / (side * side * side);
  std::string rigid, elastic;
  for (int e = 0; e < 4; ++e) {
    rigid += "DE, " + std::to_string(e) + ", 0, n, n\n";
    std::ostringstream line;
    line.precision(17);
    line << "KE, " << e << ", " << k << ", 0, 0\n";
    elastic += line.str();
  }
  FEM rigidMesh, elasticMesh;
  TGlobMatrix held, sprung;
  Solve(Square(side, -1, d, rigid), 1.0, rigidMesh, held);
  Solve(Square(side, -1, d, elastic), 1.0, elasticMesh, sprung);
  ASSERT_EQ(rigidMesh.NodeCount(), elasticMesh.NodeCount());
  EXPECT_NEAR(W(sprung, 4), W(held, 4), 1e-6 * std::fabs(W(held, 4)));
  EXPECT_NEAR(sprung.SpringZ(), -sprung.LoadZ(), 1e-9 * std::fabs(sprung.LoadZ()));
}

}  // namespace
}  // namespace tavrin
