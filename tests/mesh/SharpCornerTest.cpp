// The sharp-corner exemption: exactly the triangles touching an input corner sharper than the
// minimal angle, or inside its innermost shell, are exempt; every other triangle meets the
// bound, or the mesh is not usable and says why. The mesh checker measures the exemption from
// the mesh's nodes and the job's edges alone, both ways (SharpJobCorners).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "MeshChecker.h"
#include "TestJobs.h"
#include "mesh/FEM.h"

namespace tavrin {
namespace {

using testing::AddPolygon;

constexpr int kLoopGuard = 150000;  // far above any mesh here: a loop ends stopped, and fails

// A corner of `degrees` at the origin between arms of lengths a and b, closed beyond both ends
// by a node on its bisector (a polygon star-shaped about the corner, so never crossing itself).
TObjCont SharpCorner(double degrees, double a, double b) {
  TObjCont job;
  const double angle = degrees * M_PI / 180;
  const double r = 1.3 * std::max(a, b);
  AddPolygon(job, {{0, 0},
                   {a, 0},
                   {r * std::cos(angle / 2), r * std::sin(angle / 2)},
                   {b * std::cos(angle), b * std::sin(angle)}});
  job.PrepareForMeshing();
  return job;
}

TEST(SharpInputCorners, ExemptOnlyTouchingTheCornerOrInsideItsInnermostShell) {
  // A 10-degree corner meshed at 20 degrees once left a triangle of 3.3 degrees away from it
  // out of the free angle, and counted 8 corner triangles where 1 touched the corner. The mesh
  // checker measures the exemption from the nodes and the job's edges alone, both ways.
  struct Case {
    const char* what;
    TObjCont job;
  };
  const double a = 10 * M_PI / 180;
  TObjCont isosceles, kite;
  AddPolygon(isosceles, {{0, 0}, {100, 0}, {100 * std::cos(a), 100 * std::sin(a)}});
  isosceles.PrepareForMeshing();
  AddPolygon(kite, {{0, 0},
                    {100 * std::cos(a / 2), -100 * std::sin(a / 2)},
                    {150, 0},
                    {100 * std::cos(a / 2), 100 * std::sin(a / 2)}});
  kite.PrepareForMeshing();
  const Case cases[] = {
      {"isosceles", isosceles}, {"kite", kite}, {"wedge", SharpCorner(10, 80, 60)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FEM mesh(testing::Parameters(20, 10, false, kLoopGuard));
    mesh.GenerateMesh(c.job);
    EXPECT_TRUE(mesh.IsUsable()) << mesh.Statistics().reason;
    const auto problems = CheckMesh(mesh, c.job);
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
    EXPECT_GE(mesh.Statistics().minAngleFree, 20.0f);
    int touching = 0;
    for (int t = 0; t < mesh.TriangleCount(); ++t)
      for (int k = 0; k < 3; ++k) touching += mesh.TriangleNode(t, k) == 0;
    EXPECT_GE(mesh.Statistics().inputCornerTriangles, touching);
    EXPECT_LE(mesh.Statistics().inputCornerTriangles, touching + 2);  // the shell holds few
  }
}

TEST(SharpInputCorners, RandomCornersFromATenthOfADegreeTo30) {
  // Corners log-uniform from 0.1 to 30 degrees, arms of 20 to 400, bounds 20 to 33: every
  // mesh ends on its own; exactly the triangles touching the corner or inside its innermost
  // shell are exempt (the checker, from the nodes); every other meets the bound, or the mesh
  // is not usable and says why.
  std::mt19937 random(11);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int k = 0; k < 24; ++k) {
    const double degrees = 0.1 * std::pow(300.0, unit(random));
    const double armA = 20 + 380 * unit(random), armB = 20 + 380 * unit(random);
    const float bound = static_cast<float>(20 + 13 * unit(random));
    const float maxArea = static_cast<float>(armA * armB * (0.002 + 0.02 * unit(random)));
    SCOPED_TRACE("corner " + std::to_string(degrees) + ", arms " + std::to_string(armA) + " " +
                 std::to_string(armB) + ", bound " + std::to_string(bound));
    const TObjCont job = SharpCorner(degrees, armA, armB);
    FEM mesh(testing::Parameters(bound, maxArea, false, kLoopGuard));
    mesh.GenerateMesh(job);
    EXPECT_EQ(mesh.Stop(), MeshStop::None) << mesh.NodeCount() << " nodes";
    const auto problems = CheckMesh(mesh, job);
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
    if (!mesh.IsUsable()) {
      EXPECT_FALSE(mesh.Statistics().reason.empty());
    }
  }
}

}  // namespace
}  // namespace tavrin
