// Plates with arc edges against the circular plate's closed forms: the meshed plate converges to
// the circle (not to a polygon), and a load per unit length of an arc edge totals its arc length.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kE = 210000, kNu = 0.3, kT = 2, kQ = -0.01, kR = 50;
const double kD = kE * kT * kT * kT / (12 * (1 - kNu * kNu));

// A circular plate of radius kR about the origin from four quarter arcs, pressure kQ, every
// edge held in deflection (and clamped, or given the line load lineZ), and a free node at the
// centre.
std::string CircleJob(bool clamped, double lineZ) {
  std::ostringstream s;
  s.precision(17);
  for (int k = 0; k < 4; ++k)
    s << "N, " << kR * std::cos(k * kPi / 2) << ", " << kR * std::sin(k * kPi / 2) << "\n";
  s << "N, 0, 0\nOBJECT 0\n";
  for (int k = 0; k < 4; ++k) s << "E, " << k << ", " << (k + 1) % 4 << "\n";
  s << "Close\nP, 0, " << kQ << ", " << kE << ", " << kNu << ", " << kT << ", 0\n";
  for (int k = 0; k < 4; ++k) {
    s << "DE, " << k << (clamped ? ", 0, 0, 0\n" : ", 0, n, n\n");
    if (lineZ != 0) s << "FE, " << k << ", " << lineZ << ", 0, 0\n";
    s << "AE, " << k << ", " << std::tan(kPi / 8) << "\n";
  }
  return s.str();
}

struct Result {
  int elements = 0;
  double w = 0, edgeMoment = 0, loadZ = 0, reactionZ = 0;
};

Result MeshAndSolve(const std::string& text, double maxArea) {
  TObjCont job;
  job.ReadJobText(text);
  job.PrepareForMeshing();
  FEM mesh(MeshParameters{30, static_cast<float>(maxArea), false, MeshParameters{}.maxNodes});
  mesh.GenerateMesh(job);
  EXPECT_TRUE(mesh.IsUsable());
  TGlobMatrix s;
  EXPECT_EQ(s.SolveStatic(mesh), SolveCode::Ok) << s.Failure().message;
  EXPECT_EQ(s.SolveStress(), StressCode::Ok);
  Result r;
  r.elements = mesh.TriangleCount();
  // Job nodes keep their numbers in the mesh: 4 is the centre, 0 the edge point (kR, 0), where
  // Mx is the radial moment.
  r.w = static_cast<double>(s.Displacement(s.NewNumberOf(4), 0));
  r.edgeMoment = s.NodeMoment(s.NewNumberOf(0), 0);
  r.loadZ = s.LoadZ();
  r.reactionZ = s.ReactionZ();
  return r;
}

TEST(ArcPlate, CircularPlateConvergesToTheCircle) {
  const double wSupported = (5 + kNu) * kQ * std::pow(kR, 4) / (64 * (1 + kNu) * kD);
  const double mClamped = -kQ * kR * kR / 8;
  struct Case {
    double maxArea, tolerance;  // about 2,000 and 10,000 elements
  };
  double previousError = HUGE_VAL;
  for (const Case c : {Case{5.5, 0.01}, Case{1.1, 0.003}}) {
    const Result supported = MeshAndSolve(CircleJob(false, 0), c.maxArea);
    const Result clamped = MeshAndSolve(CircleJob(true, 0), c.maxArea);
    const double error = std::fabs(supported.w / wSupported - 1);
    std::printf("elements %d  w/theory %.5f  edge moment/theory %.5f\n", supported.elements,
                supported.w / wSupported, clamped.edgeMoment / mClamped);
    EXPECT_LT(error, c.tolerance) << supported.elements << " elements";
    EXPECT_NEAR(clamped.edgeMoment / mClamped, 1, c.tolerance) << clamped.elements << " elements";
    EXPECT_LT(error, previousError) << "the error must fall as the mesh is refined";
    previousError = error;
  }
}

TEST(ArcPlate, LineLoadOnArcsTotalsTheArcLength) {
  // Per unit length of the arc: the four arcs carry lineZ times the circumference, not times
  // the inscribed polygon's perimeter.
  const double lineZ = 0.5;
  const Result loaded = MeshAndSolve(CircleJob(false, lineZ), 20);
  const Result bare = MeshAndSolve(CircleJob(false, 0), 20);
  EXPECT_NEAR(loaded.loadZ - bare.loadZ, lineZ * 2 * kPi * kR, 1e-9 * lineZ * 2 * kPi * kR);
  EXPECT_NEAR(loaded.reactionZ, -loaded.loadZ, 1e-9 * std::fabs(loaded.loadZ));
}

}  // namespace
}  // namespace tavrin
