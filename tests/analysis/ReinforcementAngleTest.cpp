// Wood–Armer moments for steel turned from x: against the moment tensor rotated here by Mohr's
// circle, in the hand cases (90 degrees swaps the layers, pure bending at 45 degrees), and on a
// meshed and solved plate whose two polygons have different angles.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/CaseSolution.h"
#include "analysis/WoodArmer.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Tensor {
  double xi, eta, twist;
};

// Mohr's circle: centre (Mx + My) / 2, the point of x turned by twice the angle.
Tensor Rotated(double mx, double my, double mxy, double degrees) {
  const double a = 2 * degrees * kPi / 180, mean = (mx + my) / 2, half = (mx - my) / 2;
  return {mean + half * std::cos(a) + mxy * std::sin(a),
          mean - half * std::cos(a) - mxy * std::sin(a), -half * std::sin(a) + mxy * std::cos(a)};
}

void ExpectNear(const ReinforcementMoments& got, const ReinforcementMoments& want, double tol,
                const std::string& what) {
  EXPECT_NEAR(got.xBottom, want.xBottom, tol) << what;
  EXPECT_NEAR(got.yBottom, want.yBottom, tol) << what;
  EXPECT_NEAR(got.xTop, want.xTop, tol) << what;
  EXPECT_NEAR(got.yTop, want.yTop, tol) << what;
}

// Tolerance 1e-12 of the largest moment: the rotation's rounding.
TEST(WoodArmerAt, TheRulesOnTheRotatedTensor) {
  const struct {
    double mx, my, mxy;
  } states[] = {{10, 0, 0}, {-3, 7, 2}, {4, 4, -5}, {-12, 2, 3}, {1e6, -2e6, 5e5}};
  for (const auto& s : states) {
    const double scale = 1e-12 * (std::abs(s.mx) + std::abs(s.my) + std::abs(s.mxy));
    const ReinforcementMoments plain = WoodArmer(s.mx, s.my, s.mxy);
    for (const double degrees : {0.0, 15.0, 30.0, 45.0, -60.0, 90.0, 135.0, 180.0}) {
      const std::string what = std::to_string(s.mx) + " at " + std::to_string(degrees);
      const Tensor t = Rotated(s.mx, s.my, s.mxy, degrees);
      const ReinforcementMoments got = WoodArmerAt(s.mx, s.my, s.mxy, degrees);
      ExpectNear(got, WoodArmer(t.xi, t.eta, t.twist), scale, what);
      // Steel at right angles is the same two layers the other way round; a half turn is none.
      if (degrees == 90.0)
        ExpectNear(got, {plain.yBottom, plain.xBottom, plain.yTop, plain.xTop}, scale, what);
      if (degrees == 180.0) ExpectNear(got, plain, scale, what);
    }
    // No turn is the x/y result to the last bit.
    const ReinforcementMoments zero = WoodArmerAt(s.mx, s.my, s.mxy, 0.0);
    EXPECT_EQ(zero.xBottom, plain.xBottom);
    EXPECT_EQ(zero.yTop, plain.yTop);
  }
  // Pure sagging Mx = 10 with steel at 45 degrees: Mxi = Meta = 5 and Mxieta = -5, so each
  // bottom layer carries 5 + 5 = 10 and the top none (-5 + 5 = 0).
  ExpectNear(WoodArmerAt(10, 0, 0, 45), {10, 10, 0, 0}, 1e-12, "pure Mx at 45 degrees");
  ExpectNear(WoodArmerAt(-10, 0, 0, 45), {0, 0, 10, 10}, 1e-12, "pure hogging at 45 degrees");
}

// The two-material example with its outline's steel at -20 degrees and the inner square's
// (150 < x, y < 300) at 30: every element and every node inside one polygon meets the yield
// condition in its polygon's axes, and the inner square's results differ from x/y steel.
TEST(WoodArmerAt, YieldConditionHoldsOnASolvedPlateWithAngledSteel) {
  TObjCont job;
  ASSERT_TRUE(job.LoadJob(std::string(TAVRIN_SOURCE_DIR) + "/examples/two-materials.sam"));
  ASSERT_EQ(job.SetPolygonReinforcementAngle(0, -20), StatusCode::Done);
  ASSERT_EQ(job.SetPolygonReinforcementAngle(1, 30), StatusCode::Done);
  job.PrepareForMeshing();
  MeshParameters p;
  p.maxArea = 900;
  p.animate = false;
  FEM mesh(p);
  mesh.GenerateMesh(job);
  CaseSolution s;
  ASSERT_EQ(s.Solve(mesh, job, ElementKind::Dkt, AnalysisOptions{}), "");
  const ResultSet& set = s.Sets()[0];
  const DesignColumns& design = s.Design()[0];
  auto inside = [](double x, double y) { return x > 150 && x < 300 && y > 150 && y < 300; };
  auto onInner = [](double x, double y) {
    const bool side = x >= 150 && x <= 300 && y >= 150 && y <= 300;
    return side && (x == 150 || x == 300 || y == 150 || y == 300);
  };

  double scale = 0;
  for (int v = 0; v < set.nodes; ++v)
    for (int c = 6; c < 9; ++c) scale = std::max(scale, std::abs(set.Node(v, c)));
  ASSERT_GT(scale, 0);
  const double tol = 1e-9 * scale;
  int turned = 0, checked = 0;
  // One point: sagging-positive moments (the solver's negated) and its four design values.
  auto check = [&](const double* m, double wx, double wy, double wxTop, double wyTop,
                   double degrees, const std::string& what) {
    const Tensor t = Rotated(-m[0], -m[1], -m[2], degrees);
    const double face[2][4] = {{wx, wy, t.xi, t.eta}, {wxTop, wyTop, -t.xi, -t.eta}};
    for (const auto& f : face) {
      EXPECT_GE(f[0], 0.0) << what;
      EXPECT_GE(f[1], 0.0) << what;
      EXPECT_GE(f[0], f[2] - tol) << what;
      EXPECT_GE(f[1], f[3] - tol) << what;
      EXPECT_GE((f[0] - f[2]) * (f[1] - f[3]), t.twist * t.twist - tol * scale) << what;
    }
    const ReinforcementMoments plain = WoodArmer(-m[0], -m[1], -m[2]);
    if (degrees == 30 && std::abs(plain.xBottom - wx) > 1e-3 * scale) ++turned;
    ++checked;
  };
  for (int v = 0; v < set.nodes; ++v) {
    const double x = s.X()[static_cast<std::size_t>(v)], y = s.Y()[static_cast<std::size_t>(v)];
    if (onInner(x, y)) continue;
    const double m[3] = {set.Node(v, 6), set.Node(v, 7), set.Node(v, 8)};
    check(m, design.Node(v, 6), design.Node(v, 7), design.Node(v, 8), design.Node(v, 9),
          inside(x, y) ? 30 : -20, "node " + std::to_string(v));
  }
  for (int e = 0; e < set.elements; ++e) {
    double x = 0, y = 0;
    for (const int v : s.Triangles()[static_cast<std::size_t>(e)]) {
      x += s.X()[static_cast<std::size_t>(v)] / 3;
      y += s.Y()[static_cast<std::size_t>(v)] / 3;
    }
    const double m[3] = {set.Element(e, 4), set.Element(e, 5), set.Element(e, 6)};
    check(m, design.Element(e, 6), design.Element(e, 7), design.Element(e, 8), design.Element(e, 9),
          inside(x, y) ? 30 : -20, "element " + std::to_string(e));
  }
  EXPECT_GT(checked, 500);
  EXPECT_GT(turned, 20);
}

}  // namespace
}  // namespace tavrin
