// Design fields against hand results and closed forms: principal moments, Wood–Armer moments,
// von Mises stresses, and the shear forces of the simply supported square against the series
// solution of thin-plate theory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "analysis/DesignFields.h"
#include "analysis/ShearForces.h"
#include "analysis/StructuredPlate.h"
#include "analysis/TGlobMatrix.h"
#include "analysis/WoodArmer.h"

namespace tavrin {
namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(DesignFields, PrincipalMomentsAreTheTensorsEigenpairs) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> m(-100, 100);
  std::vector<std::array<double, 3>> states = {{5, 5, 0},  {5, -5, 0},        {0, 0, 3},
                                               {-2, 7, 0}, {1e-9, 3e8, -2e8}, {4, 4, -1}};
  for (int k = 0; k < 200; ++k) states.push_back({m(random), m(random), m(random)});
  for (const auto& [mx, my, mxy] : states) {
    const PrincipalMoments p = Principal(mx, my, mxy);
    const double scale = std::abs(mx) + std::abs(my) + std::abs(mxy);
    EXPECT_GE(p.m1, p.m2);
    EXPECT_GT(p.angle, -90.0);
    EXPECT_LE(p.angle, 90.0);
    // Trace and determinant, and the direction an eigenvector of m1: to 1e-12 of the scale.
    EXPECT_NEAR(p.m1 + p.m2, mx + my, 1e-12 * scale);
    EXPECT_NEAR(p.m1 * p.m2, mx * my - mxy * mxy, 1e-12 * scale * scale);
    const double c = std::cos(p.angle * kPi / 180), s = std::sin(p.angle * kPi / 180);
    EXPECT_NEAR(mx * c + mxy * s, p.m1 * c, 1e-12 * scale) << mx << " " << my << " " << mxy;
    EXPECT_NEAR(mxy * c + my * s, p.m1 * s, 1e-12 * scale) << mx << " " << my << " " << mxy;
  }
}

TEST(DesignFields, VonMisesOfTheBasicStates) {
  const struct {
    double sx, sy, txy, expected;
  } rows[] = {{120, 0, 0, 120},
              {0, -80, 0, 80},
              {0, 0, 10, 10 * std::sqrt(3.0)},
              {50, 50, 0, 50},
              {50, -50, 0, 50 * std::sqrt(3.0)},
              {0, 0, 0, 0}};
  for (const auto& r : rows) EXPECT_NEAR(VonMises(r.sx, r.sy, r.txy), r.expected, 1e-12 * 120);
}

TEST(WoodArmer, HandResultsOfEachRule) {
  const struct {
    const char* state;
    double mx, my, mxy;
    ReinforcementMoments expected;  // bottom x, bottom y, top x, top y
  } rows[] = {
      {"pure sagging Mx", 10, 0, 0, {10, 0, 0, 0}},
      {"pure hogging Mx", -10, 0, 0, {0, 0, 10, 0}},
      {"pure torsion", 0, 0, 5, {5, 5, 5, 5}},
      {"pure torsion, other sign", 0, 0, -5, {5, 5, 5, 5}},
      {"general on both faces", 2, 1, 5, {7, 6, 3, 4}},
      // bottom My* < 0: My* = 0, Mx* = 10 + 16/8; top Mx* < 0: Mx* = 0, My* = 8 + 16/10
      {"one trial moment negative on each face", 10, -8, 4, {12, 0, 0, 9.6}},
      // bottom Mx* < 0: Mx* = 0, My* = 2 + 9/12; top general
      {"bottom Mx* below zero", -12, 2, 3, {0, 2.75, 15, 1}},
      // bottom My* < 0 and then Mx* = -3 + 16/20 < 0: both 0; top general
      {"bottom both zero", -3, -20, 4, {0, 0, 7, 24}},
  };
  for (const auto& r : rows) {
    const ReinforcementMoments w = WoodArmer(r.mx, r.my, r.mxy);
    EXPECT_NEAR(w.xBottom, r.expected.xBottom, 1e-12) << r.state;
    EXPECT_NEAR(w.yBottom, r.expected.yBottom, 1e-12) << r.state;
    EXPECT_NEAR(w.xTop, r.expected.xTop, 1e-12) << r.state;
    EXPECT_NEAR(w.yTop, r.expected.yTop, 1e-12) << r.state;
  }
}

// The least Mx* + My* over Mx* >= max(Mx, 0), My* >= max(My, 0) and the yield condition, by a
// scan: for a trial Mx* the least My* is max(0, My + Mxy^2 / (Mx* - Mx)).
double LeastSum(double mx, double my, double mxy) {
  const double t = std::abs(mxy);
  if (t == 0) return std::max(mx, 0.0) + std::max(my, 0.0);
  double best = 1e300;
  const double from = std::max(mx, 0.0);
  const double span = 4 * (std::abs(mx) + std::abs(my) + t);
  for (int k = 1; k <= 50000; ++k) {
    const double x = from + span * std::pow(k / 50000.0, 3);  // dense near the bound
    best = std::min(best, x + std::max(0.0, my + mxy * mxy / (x - mx)));
  }
  return best;
}

// The yield condition and its least pair, as every node of a solve must meet them (used below
// on random states and on a solved plate).
void ExpectWoodArmerSound(double mx, double my, double mxy, const ReinforcementMoments& w,
                          double scale, bool checkLeast) {
  const double tol = 1e-9 * scale;
  const double face[2][4] = {{w.xBottom, w.yBottom, mx, my}, {w.xTop, w.yTop, -mx, -my}};
  for (const auto& f : face) {
    EXPECT_GE(f[0], 0.0);
    EXPECT_GE(f[1], 0.0);
    EXPECT_GE(f[0], f[2] - tol);
    EXPECT_GE(f[1], f[3] - tol);
    EXPECT_GE((f[0] - f[2]) * (f[1] - f[3]), mxy * mxy - tol * scale)
        << mx << " " << my << " " << mxy;
    if (checkLeast) {
      EXPECT_LE(f[0] + f[1], LeastSum(f[2], f[3], mxy) + 1e-6 * scale);
    }
  }
}

TEST(WoodArmer, YieldConditionHoldsWithTheLeastPair) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> m(-50, 50);
  for (int k = 0; k < 300; ++k) {
    const double mx = m(random), my = m(random), mxy = m(random) / (1 + k % 4);
    ExpectWoodArmerSound(mx, my, mxy, WoodArmer(mx, my, mxy), 50, k < 40);
  }
}

TEST(ShearForces, AQuadraticMomentFieldGivesItsShearExactly) {
  StructuredPlate plate;
  plate.width = 3;
  plate.height = 2;
  plate.cellsX = 6;
  plate.cellsY = 4;  // even: every corner's cell is cut through the corner
  plate.pattern = DiagonalPattern::UnionJack;
  const PlateMesh mesh = plate.Build();
  // Mx = x^2 - y, My = 0.5 x + 2 y^2, Mxy = 2 - x y: Qx = 2x - x, Qy = -y + 4y.
  std::vector<double> moments;
  for (const auto& t : mesh.triangles) {
    double x = 0, y = 0;
    for (int v : t) {
      x += mesh.x[static_cast<std::size_t>(v)] / 3;
      y += mesh.y[static_cast<std::size_t>(v)] / 3;
    }
    moments.insert(moments.end(), {x * x - y, 0.5 * x + 2 * y * y, 2 - x * y});
  }
  std::vector<double> node, element;
  RecoverShearForces(mesh.x, mesh.y, mesh.triangles, moments, node, element);
  ASSERT_EQ(node.size(), 2 * mesh.x.size());
  for (std::size_t v = 0; v < mesh.x.size(); ++v) {
    EXPECT_NEAR(node[2 * v], mesh.x[v], 1e-10);
    EXPECT_NEAR(node[2 * v + 1], 3 * mesh.y[v], 1e-10);
  }
  ASSERT_EQ(element.size(), 2 * mesh.triangles.size());
}

// Simply supported square, side a, uniform load q, about 10^4 elements: the shear at the middle
// of an edge against Navier's series, Qx(0, a/2) = 4 q a / pi^2 sum over odd n of
// (-1)^((n-1)/2) tanh(n pi / 2) / n^2 (the sum over m done in closed form), 0.3376 q a; the
// shear through the whole boundary against the load; Wood–Armer at every node.
TEST(ShearForces, SimplySupportedSquareAgainstTheSeries) {
  const double a = 2, q = -0.01;
  StructuredPlate plate;
  plate.width = plate.height = a;
  plate.cellsX = plate.cellsY = 70;
  plate.pattern = DiagonalPattern::UnionJack;
  plate.material = {210000, 0.3, 0.02, q};
  TGlobMatrix s;
  s.SetOptions({SolverKind::Sparse, RecoveryKind::Patch, 0});
  ASSERT_EQ(s.SolveStatic(plate.Build()), SolveCode::Ok) << s.Failure().message;
  ASSERT_EQ(s.SolveStress(), StressCode::Ok);
  const int n = s.ResultNodeCount();
  std::vector<double> x, y, moments, elementMoments;
  for (int v = 0; v < n; ++v) {
    x.push_back(s.NodeX(v));
    y.push_back(s.NodeY(v));
    for (int c = 0; c < 3; ++c) moments.push_back(s.NodeMoment(v, c));
  }
  std::vector<std::array<int, 3>> triangles;
  for (int t = 0; t < s.ResultTriangleCount(); ++t) {
    triangles.push_back({s.TriangleCorner(t, 0), s.TriangleCorner(t, 1), s.TriangleCorner(t, 2)});
    for (int c = 0; c < 3; ++c) elementMoments.push_back(s.ElementMoment(t, c));
  }
  EXPECT_GT(triangles.size(), 9000u);
  std::vector<double> node, element;
  RecoverShearForces(x, y, triangles, elementMoments, node, element);

  double series = 0;
  for (int k = 0; k < 200; ++k) {
    const int m = 2 * k + 1;
    series += (k % 2 == 0 ? 1 : -1) * std::tanh(m * kPi / 2) / (m * m);
  }
  const double expected = 4 * std::abs(q) * a / (kPi * kPi) * series;
  ASSERT_NEAR(expected / (std::abs(q) * a), 0.338, 0.0005);
  const int mid = s.NewNumberOf(plate.GridNode(0, 35));
  ASSERT_EQ(x[static_cast<std::size_t>(mid)], 0.0);
  EXPECT_NEAR(std::abs(node[2 * static_cast<std::size_t>(mid)]), expected, 0.01 * expected);

  // The outward shear through the boundary, by the trapezoid rule along each side.
  double through = 0;
  const int cells = plate.cellsX;
  for (int side = 0; side < 4; ++side) {
    for (int k = 0; k < cells; ++k) {
      auto at = [&](int i) {
        const int g = side == 0   ? plate.GridNode(0, i)       // x = 0, outward -x
                      : side == 1 ? plate.GridNode(cells, i)   // x = a, outward +x
                      : side == 2 ? plate.GridNode(i, 0)       // y = 0, outward -y
                                  : plate.GridNode(i, cells);  // y = a, outward +y
        const auto v = static_cast<std::size_t>(s.NewNumberOf(g));
        const double sign = side == 0 || side == 2 ? -1 : 1;
        return sign * node[2 * v + (side < 2 ? 0 : 1)];
      };
      through += 0.5 * (at(k) + at(k + 1)) * a / cells;
    }
  }
  EXPECT_NEAR(std::abs(through), std::abs(q) * a * a, 0.01 * std::abs(q) * a * a);

  double scale = 0;
  for (double m : moments) scale = std::max(scale, std::abs(m));
  for (int v = 0; v < n; ++v) {
    const auto i = 3 * static_cast<std::size_t>(v);
    // The solver's moments are hogging-positive; Wood–Armer takes sagging-positive.
    const double mx = -moments[i], my = -moments[i + 1], mxy = -moments[i + 2];
    ExpectWoodArmerSound(mx, my, mxy, WoodArmer(mx, my, mxy), scale, false);
  }
}

}  // namespace
}  // namespace tavrin
