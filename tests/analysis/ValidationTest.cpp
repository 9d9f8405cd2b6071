// Plates meshed by the project's own mesher, solved and compared with thin-plate theory
// (nu = 0.3). About 2,000 elements per case: centre deflection within 1 %, centre stress within
// 3 %, and the reactions balance the applied load to 1e-9 relative.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kE = 210000, kNu = 0.3, kT = 2, kQ = -0.01;
const double kD = kE * kT * kT * kT / (12 * (1 - kNu * kNu));

struct Outline {
  std::vector<double> x, y;
};

Outline Square(double a) { return {{0, a, a, 0}, {0, 0, a, a}}; }

Outline Circle(double r, int sides) {
  Outline o;
  for (int k = 0; k < sides; ++k) {
    o.x.push_back(r * std::cos(2 * kPi * k / sides));
    o.y.push_back(r * std::sin(2 * kPi * k / sides));
  }
  return o;
}

// A job: one polygon with pressure kQ, every boundary edge held (deflection only, or clamped),
// and a free node at (cx, cy) so that the mesh has a node where the answer is wanted.
std::string Job(const Outline& o, bool clamped, double cx, double cy) {
  std::ostringstream s;
  s.precision(17);
  const size_t n = o.x.size();
  for (size_t k = 0; k < n; ++k) s << "N, " << o.x[k] << ", " << o.y[k] << "\n";
  s << "N, " << cx << ", " << cy << "\n";
  s << "OBJECT 0\n";
  for (size_t k = 0; k < n; ++k) s << "E, " << k << ", " << (k + 1) % n << "\n";
  s << "Close\n";
  s << "P, 0, " << kQ << ", " << kE << ", " << kNu << ", " << kT << ", 0\n";
  for (size_t k = 0; k < n; ++k) s << "DE, " << k << (clamped ? ", 0, 0, 0\n" : ", 0, n, n\n");
  return s.str();
}

struct Result {
  int elements = 0;
  double w = 0, sx = 0, sy = 0, loadZ = 0, reactionZ = 0;
};

Result MeshAndSolve(const std::string& job, double maxArea, double cx, double cy) {
  TObjCont structure;
  structure.ReadJobText(job);
  structure.PrepareForMeshing();
  MeshParameters parameters;
  parameters.minAngle = 30;
  parameters.maxArea = static_cast<float>(maxArea);
  parameters.animate = false;
  FEM mesh(parameters);
  mesh.GenerateMesh(structure);
  EXPECT_TRUE(mesh.IsUsable(30));
  // The envelope solver, the plain nodal mean and lumped edge loads, as the figures above were
  // measured with.
  TGlobMatrix s;
  s.SetOptions({SolverKind::Envelope, RecoveryKind::Average, 0, EdgeLoadKind::Lumped});
  Result r;
  r.elements = mesh.TriangleCount();
  EXPECT_EQ(s.SolveStatic(mesh), SolveCode::Ok) << s.Failure().message;
  EXPECT_EQ(s.SolveStress(), StressCode::Ok);
  int centre = -1;
  for (int i = 0; i < mesh.NodeCount(); ++i)
    if (mesh.NodeX(i) == cx && mesh.NodeY(i) == cy) centre = s.NewNumberOf(i);
  EXPECT_GE(centre, 0);
  if (centre < 0) return r;
  r.w = static_cast<double>(s.Displacement(centre, 0));
  r.sx = s.NodeStress(centre, 0);
  r.sy = s.NodeStress(centre, 1);
  r.loadZ = s.LoadZ();
  r.reactionZ = s.ReactionZ();
  return r;
}

void ExpectTheory(const Result& r, double w, double moment, double area) {
  const double sigma = 6 * moment / (kT * kT);
  ::testing::Test::RecordProperty("elements", r.elements);
  EXPECT_NEAR(r.w / w, 1.0, 0.01) << "elements " << r.elements << " w " << r.w << " theory " << w;
  EXPECT_NEAR(r.sx / sigma, 1.0, 0.03) << "sigma x " << r.sx << " theory " << sigma;
  EXPECT_NEAR(r.sy / sigma, 1.0, 0.03) << "sigma y " << r.sy << " theory " << sigma;
  EXPECT_NEAR(r.loadZ, kQ * area, 1e-9 * std::fabs(kQ * area));
  EXPECT_NEAR(r.reactionZ, -r.loadZ, 1e-9 * std::fabs(r.loadZ));
  std::printf("elements %d  w/theory %.5f  sx/theory %.5f  sy/theory %.5f  balance %.2e\n",
              r.elements, r.w / w, r.sx / sigma, r.sy / sigma,
              std::fabs(r.reactionZ + r.loadZ) / std::fabs(r.loadZ));
}

TEST(Validation, SimplySupportedSquare) {
  const double a = 100;
  const Result r = MeshAndSolve(Job(Square(a), false, a / 2, a / 2), 8, a / 2, a / 2);
  ExpectTheory(r, 0.00406235 * kQ * std::pow(a, 4) / kD, 0.0478864 * kQ * a * a, a * a);
}

TEST(Validation, ClampedSquare) {
  const double a = 100;
  const Result r = MeshAndSolve(Job(Square(a), true, a / 2, a / 2), 8, a / 2, a / 2);
  ExpectTheory(r, 0.00126532 * kQ * std::pow(a, 4) / kD, 0.0229051 * kQ * a * a, a * a);
}

TEST(Validation, ClampedCircle) {
  const double radius = 50;
  const int sides = 128;
  const double area = 0.5 * sides * radius * radius * std::sin(2 * kPi / sides);
  const Result r = MeshAndSolve(Job(Circle(radius, sides), true, 0, 0), 8, 0, 0);
  ExpectTheory(r, kQ * std::pow(radius, 4) / (64 * kD), (1 + kNu) * kQ * radius * radius / 16,
               area);
}

// The circle is a polygon of 128 sides, each shorter than the elements, so that every boundary
// node lies on the circle. (Where the mesher splits straight sides, a supported polygon behaves
// as a polygon, not as a circle: with 96 sides and smaller elements the deflection comes out
// 2 % low.)
TEST(Validation, SimplySupportedCircle) {
  const double radius = 50;
  const int sides = 128;
  const double area = 0.5 * sides * radius * radius * std::sin(2 * kPi / sides);
  const Result r = MeshAndSolve(Job(Circle(radius, sides), false, 0, 0), 8, 0, 0);
  ExpectTheory(r, (5 + kNu) * kQ * std::pow(radius, 4) / (64 * (1 + kNu) * kD),
               (3 + kNu) * kQ * radius * radius / 16, area);
}

}  // namespace
}  // namespace tavrin
