// The finishing refinement after the mesher's own loop: the plates that loop leaves short of
// the minimal angle mesh usable, random plates mesh usable at every bound from 20 to 33
// degrees, triangles are exempt only at input corners sharper than the bound, and the node
// limit holds to the node in both stages. Every mesh goes through the mesh checker (inside the
// plate, out of the holes, areas adding up, segments covering the job's edges, exemptions at
// sharp job corners only).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "MeshChecker.h"
#include "RandomPlates.h"
#include "TestJobs.h"
#include "mesh/FEM.h"
#include "mesh/FinishingRefinement.h"
#include "mesh/GeometricPredicates.h"
#include "mesh/InputCorners.h"
#include "mesh/MeshCanvas.h"
#include "mesh/MeshProgress.h"

namespace tavrin {
namespace {

using testing::AddPolygon;

// Far above any mesh below: a refinement that loops ends here, stopped, and fails the test.
constexpr int kLoopGuard = 150000;

TObjCont Circle() {  // a 128-gon of radius 100 with a node at its centre
  TObjCont job;
  const int first = job.NodeCount();
  for (int k = 0; k < 128; ++k)
    job.AddNode(100 * std::cos(2 * M_PI * k / 128), 100 * std::sin(2 * M_PI * k / 128));
  for (int k = 0; k < 128; ++k) job.AddPolygonEdge(first + k, first + (k + 1) % 128);
  job.ClosePolygon();
  job.AddFreeNode(0, 0);
  job.PrepareForMeshing();
  return job;
}

TObjCont Square200() {  // 200 x 200 with a node in the middle of each side and one at the centre
  TObjCont job;
  AddPolygon(job,
             {{0, 0}, {100, 0}, {200, 0}, {200, 100}, {200, 200}, {100, 200}, {0, 200}, {0, 100}});
  job.AddFreeNode(100, 100);
  job.PrepareForMeshing();
  return job;
}

TObjCont Wedge(double degrees) {  // a corner of the given angle at the origin, the rest blunt
  TObjCont job;
  const double a = degrees * M_PI / 180;
  AddPolygon(job, {{0, 0},
                   {300, 0},
                   {300, 150},
                   {250 * std::cos(a) + 40, 250 * std::sin(a) + 40},
                   {250 * std::cos(a), 250 * std::sin(a)}});
  job.PrepareForMeshing();
  return job;
}

TObjCont Example(const char* name) {
  TObjCont job;
  const auto path = std::filesystem::path(TAVRIN_SOURCE_DIR) / "examples" / name;
  EXPECT_TRUE(job.LoadJob(path.string()).ok) << path;
  job.PrepareForMeshing();
  return job;
}

// Meshes with the process-wide parameters set for the call; the mesh must end on its own,
// usable, and pass the checker.
void ExpectUsable(const TObjCont& job, float minAngle, float maxArea, FEM* out = nullptr) {
  SCOPED_TRACE("minimal angle " + std::to_string(minAngle) + ", maximal area " +
               std::to_string(maxArea));
  FEM mesh(testing::Parameters(minAngle, maxArea, false, kLoopGuard));
  mesh.GenerateMesh(job);
  EXPECT_EQ(mesh.Stop(), MeshStop::None) << mesh.NodeCount() << " nodes";
  EXPECT_TRUE(mesh.IsUsable()) << "smallest free angle "
                               << MeshDegrees(mesh.MinAngleFree(minAngle));
  const auto problems = CheckMesh(mesh, job);
  EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
  if (out) *out = std::move(mesh);
}

TEST(FinishingRefinement, PlatesTheLoopLeftShortMeshUsableAt31Degrees) {
  const TObjCont circle = Circle();
  for (float area = 60; area <= 200; area += 10) ExpectUsable(circle, 31, area);
  for (float area : {4.8f, 5.0f, 5.2f}) ExpectUsable(circle, 31, area);
  const TObjCont square = Square200();
  for (float area : {5.0f, 8.0f}) ExpectUsable(square, 31, area);
  const TObjCont twoMaterials = Example("two-materials.sam");
  for (float area : {15.0f, 15.5f, 16.0f, 16.5f}) ExpectUsable(twoMaterials, 31, area);
}

TEST(FinishingRefinement, AboveItsHighestBoundTheLoopsEndStands) {
  // Where the refinement is not known to end it is not tried: the circle at 34 degrees ends
  // as the loop leaves it, unusable and saying why, instead of refining on to the node limit.
  const TObjCont circle = Circle();
  FEM mesh(testing::Parameters(34, 5, false, kLoopGuard));
  mesh.GenerateMesh(circle);
  EXPECT_EQ(mesh.Stop(), MeshStop::None) << mesh.NodeCount() << " nodes";
  EXPECT_LT(mesh.NodeCount(), 20000);
  EXPECT_FALSE(mesh.IsUsable());
  EXPECT_EQ(MeshVerdict(mesh.Statistics()).rfind("Not usable: smallest angle", 0), 0u);
  const auto problems = CheckMesh(mesh, circle);
  EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
}

TEST(FinishingRefinement, SharpCornerTrianglesAreExemptAndNoOthers) {
  // A 20-degree corner: its triangles cannot beat 20 degrees, and are exempt from 31.
  const TObjCont sharp = Wedge(20);
  FEM mesh;
  ExpectUsable(sharp, 31, 100, &mesh);
  EXPECT_LT(MeshDegrees(mesh.CurrentMinAngle()), 31);
  const int exempt = mesh.InputCornerTriangles(31);
  EXPECT_GT(exempt, 0);
  EXPECT_EQ(mesh.Statistics().inputCornerTriangles, exempt);
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    if (MeshDegrees(mesh.CornerAngle(t)) >= 31) continue;  // at a blunt corner, or none
    EXPECT_NEAR(MeshDegrees(mesh.CornerAngle(t)), 20, 1e-3);
    // Nodes at the same distance from the corner, on either side of it.
    bool touchesCorner = false;
    for (int k = 0; k < 3; ++k) touchesCorner |= mesh.TriangleNode(t, k) == 0;
    if (touchesCorner) {
      EXPECT_NEAR(MeshDegrees(mesh.MinAngle(t)), 20, 0.01);
    }
  }
  // The exemption is the bound's: at 19 degrees the corner is no longer sharper, nothing is
  // exempt, and every triangle makes 19.
  EXPECT_EQ(mesh.InputCornerTriangles(19), 0);
  EXPECT_TRUE(mesh.IsUsable(19));
  EXPECT_FALSE(mesh.IsUsable(40));

  // A corner blunter than the bound is refined like any other place.
  const TObjCont blunt = Wedge(35);
  FEM bluntMesh;
  ExpectUsable(blunt, 31, 100, &bluntMesh);
  EXPECT_EQ(bluntMesh.InputCornerTriangles(31), 0);
  EXPECT_GE(MeshDegrees(bluntMesh.CurrentMinAngle()), 31);
}

TEST(FinishingRefinement, CheckerRefusesAnExemptionAwayFromSharpCorners) {
  // The checker's own test of an exemption: the triangle at the sharp corner passes, one at
  // a blunt corner and one inside the plate do not.
  const TObjCont sharp = Wedge(20);
  FEM mesh;
  ExpectUsable(sharp, 31, 400, &mesh);
  int atCorner = -1, elsewhere = -1, blunt = -1;
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    const MeshPoint c = TriangleCentroid(mesh, t);
    if (MeshDegrees(mesh.CornerAngle(t)) < 31) atCorner = t;
    // Inside the corner's angle, but far from it.
    if (std::hypot(c.x - 280, c.y - 60) < 30) elsewhere = t;
    for (int k = 0; k < 3; ++k)
      if (mesh.TriangleNode(t, k) == 1) blunt = t;  // at the right angle of (300, 0)
  }
  ASSERT_NE(atCorner, -1);
  ASSERT_NE(elsewhere, -1);
  ASSERT_NE(blunt, -1);
  EXPECT_TRUE(AtSharpJobCorner(mesh, sharp, atCorner, 31));
  EXPECT_FALSE(AtSharpJobCorner(mesh, sharp, atCorner, 19));
  EXPECT_FALSE(AtSharpJobCorner(mesh, sharp, elsewhere, 31));
  EXPECT_FALSE(AtSharpJobCorner(mesh, sharp, blunt, 60));
}

TEST(FinishingRefinement, RandomPlatesAtEveryBoundFrom20To33) {
  // A fixed sample keeps the suite short; TAVRIN_RANDOM_PLATES=N runs N plates instead, from
  // the seed TAVRIN_RANDOM_FIRST.
  const char* asked = std::getenv("TAVRIN_RANDOM_PLATES");
  const int plates = asked ? std::atoi(asked) : 10;
  const char* from = std::getenv("TAVRIN_RANDOM_FIRST");
  const int first = from ? std::atoi(from) : 0;
  std::vector<int> seeds;
  for (int seed = first; seed < first + plates; ++seed) seeds.push_back(seed);
  // Spiky outlines whose spike ends are as far from the tip as each other; the triangle
  // across a spike's end, outside it, was once exempt.
  if (!asked) seeds.insert(seeds.end(), {130, 320});
  for (int seed : seeds) {
    const testing::RandomPlate plate = testing::MakeRandomPlate(static_cast<std::uint32_t>(seed));
    SCOPED_TRACE(plate.description);
    for (int bound = 20; bound <= 33; ++bound)
      ExpectUsable(plate.job, static_cast<float>(bound), static_cast<float>(plate.maxArea));
  }
}

TEST(FinishingRefinement, AloneFromTheFirstTriangulation) {
  // Started on the first triangulation, the finishing refinement does all the work the loop
  // would: every triangle meets the bound unless exempt at a sharp job corner, and none
  // reaches the maximal area.
  for (int seed = 0; seed < 6; ++seed) {
    const testing::RandomPlate plate = testing::MakeRandomPlate(static_cast<std::uint32_t>(seed));
    SCOPED_TRACE(plate.description);
    for (const float bound : {20.0f, 27.0f, 33.0f}) {
      FEM mesh(MeshParameters{bound, static_cast<float>(plate.maxArea), false, kLoopGuard});
      MeshCanvas canvas;
      mesh.Triangulate(plate.job, canvas);
      FinishingRefinement stage(mesh, mesh.NodeCount());
      MeshProgress progress;
      stage.Run(progress);
      EXPECT_EQ(mesh.Stop(), MeshStop::None);
      EXPECT_EQ(stage.Done().refused, 0);
      EXPECT_GT(stage.Done().insertions, 0);
      const auto problems = CheckMesh(mesh, plate.job, {.checkPublished = false});
      EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
      const InputCorners corners(mesh, plate.job.NodeCount());
      for (int t = 0; t < mesh.TriangleCount(); ++t) {
        EXPECT_LT(mesh.TriangleArea(t), plate.maxArea) << "triangle " << t;
        if (MeshDegrees(mesh.MinAngle(t)) >= bound) continue;
        EXPECT_LT(MeshDegrees(corners.CornerAngle(t)), bound) << "triangle " << t;
        EXPECT_TRUE(AtSharpJobCorner(mesh, plate.job, t, bound)) << "triangle " << t;
      }
    }
  }
}

// A hole with a 6.7-degree corner and an insert with a 3.6-degree one, beside a free node.
TObjCont FewDegreeCorners() {
  TObjCont job;
  AddPolygon(job, {{300.60653456265743, 236.92443643338683},
                   {45.32774701351149, 342.0698278185439},
                   {-288.5084313720713, 501.7931534663642},
                   {-444.80231005064985, 501.6695640762139},
                   {-526.2339816151193, 531.7476254823525},
                   {-607.366269455476, 185.40485125940745},
                   {61.58039034096559, -433.49472114992994},
                   {379.6707051270903, -243.89343984865124}});
  const int hole = AddPolygon(job, {{167.58136652253154, -262.64620017315474},
                                    {198.94165880234988, -248.02573633914406},
                                    {200.29718413956502, -247.1140297403172},
                                    {209.46570227223086, -248.76580583774333}});
  const int insert = AddPolygon(job, {{276.40976710443346, 158.215559666553},
                                      {273.64055709416823, 173.82782806534615},
                                      {253.66947602732526, 127.173985313875},
                                      {213.04900559561523, 170.08392619348268},
                                      {322.7605140730561, 38.568845935483736},
                                      {315.29933967292664, 52.94148180538255}});
  job.AddFreeNode(178.4778845482636, -227.2561370502177);
  job.SetPolygonPhysics(hole, 0, 210000, 0.25, 10, true);
  job.SetPolygonPhysics(insert, 0, 70000, 0.3, 5, false);
  job.PrepareForMeshing();
  return job;
}

TEST(FinishingRefinement, AloneItEndsAtCornersOfAFewDegrees) {
  // Segments meeting that sharply encroach on each other at every split unless the corner's
  // shells are left alone, and the mesher's own loop once split them until the node limit.
  // At 31 and 33 degrees the stage cannot finish the insert's corners of 3.6 and 12.4 degrees,
  // plate on both sides: grading from a shell's chord to the corner's sides cuts the shell ever
  // smaller until the pieces are too short to split. What it leaves below the bound lies there.
  const TObjCont job = FewDegreeCorners();
  for (const float bound : {20.0f, 31.0f, 33.0f}) {
    SCOPED_TRACE("bound " + std::to_string(bound));
    FEM mesh(MeshParameters{bound, 200, false, kLoopGuard});
    MeshCanvas canvas;
    mesh.Triangulate(job, canvas);
    FinishingRefinement stage(mesh, mesh.NodeCount());
    MeshProgress progress;
    stage.Run(progress);
    EXPECT_EQ(mesh.Stop(), MeshStop::None) << mesh.NodeCount() << " nodes";
    const auto problems = CheckMesh(mesh, job, {.checkPublished = false});
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
    const SharpJobCorners sharp(mesh, job, bound);
    auto nearInsertCorner = [&](MeshPoint c) {
      for (int n : {15, 16})
        if (std::hypot(c.x - job.NodeX(n), c.y - job.NodeY(n)) < 1) return true;
      return false;
    };
    for (int t = 0; t < mesh.TriangleCount(); ++t) {
      EXPECT_GT(mesh.TriangleArea(t), 0) << "triangle " << t;
      if (MeshDegrees(mesh.MinAngle(t)) >= bound || sharp.Holds(t)) continue;
      const MeshPoint c = TriangleCentroid(mesh, t);
      EXPECT_TRUE(bound > 20 && nearInsertCorner(c))
          << "triangle " << t << " at " << c.x << ", " << c.y << ": "
          << MeshDegrees(mesh.MinAngle(t));
    }
  }
}

// No triangle of the mesh has its corners on one line (or is undecidably close to it).
void ExpectNoFlatTriangle(const FEM& mesh) {
  int flat = 0;
  for (int t = 0; t < mesh.TriangleCount(); ++t)
    flat += OrientationSign(mesh.Node(mesh.TriangleNode(t, 0)), mesh.Node(mesh.TriangleNode(t, 1)),
                            mesh.Node(mesh.TriangleNode(t, 2))) == 0;
  EXPECT_EQ(flat, 0) << "flat triangles";
}

// The whole refinement, loop and finishing stage, on a plate with corners of a few degrees:
// the loop used to split at such a corner until the node limit, every new node a few rounding
// units from the last, leaving triangles of no area. Triangles at corners sharper than the
// bound are exempt; every other one must meet it.
void ExpectEndsOnItsOwn(const TObjCont& job, float bound, float maxArea, int atMostNodes,
                        bool usable = true) {
  SCOPED_TRACE("bound " + std::to_string(bound) + ", maximal area " + std::to_string(maxArea));
  FEM mesh(testing::Parameters(bound, maxArea, false, kLoopGuard));
  mesh.GenerateMesh(job);
  EXPECT_EQ(mesh.Stop(), MeshStop::None);
  EXPECT_LT(mesh.NodeCount(), atMostNodes);
  const auto problems = CheckMesh(mesh, job);
  EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
  ExpectNoFlatTriangle(mesh);
  EXPECT_EQ(mesh.IsUsable(), usable)
      << "smallest free angle " << MeshDegrees(mesh.MinAngleFree(bound));
  if (!usable) {
    EXPECT_NE(mesh.Statistics().reason.find("after the finishing stage"), std::string::npos)
        << mesh.Statistics().reason;
  }
}

TEST(SharpInputCorners, TheWholeRefinementEndsOnItsOwnAtAFewDegrees) {
  const TObjCont job = FewDegreeCorners();
  ExpectEndsOnItsOwn(job, 0, 2000, 1000);
  ExpectEndsOnItsOwn(job, 20, 2000, 10000);
  // The insert's 3.6-degree corner, plate on both sides, is beyond the finishing stage at 31
  // and 33 degrees (see AloneItEndsAtCornersOfAFewDegrees): not usable, and it says why.
  ExpectEndsOnItsOwn(job, 31, 2000, 10000, false);
  ExpectEndsOnItsOwn(job, 33, 2000, 60000, false);
}

TEST(SharpInputCorners, AboveTheFinishingStagesBoundsTheLoopEndsUnusable) {
  // A 27-degree notch: at 33.7 to 33.9 degrees the loop once split its corner to the node limit.
  TObjCont job;
  AddPolygon(job, {{0, 0},
                   {400, 0},
                   {400, 300},
                   {248.0157518160232, 300},
                   {200, 100},
                   {151.9842481839768, 300},
                   {0, 300},
                   {-50, 150},
                   {-20, 50}});
  job.PrepareForMeshing();
  for (const float bound : {33.7f, 33.9f}) {
    SCOPED_TRACE("bound " + std::to_string(bound));
    FEM mesh(testing::Parameters(bound, 5, false, kLoopGuard));
    mesh.GenerateMesh(job);
    EXPECT_EQ(mesh.Stop(), MeshStop::None);
    EXPECT_LT(mesh.NodeCount(), 40000);
    EXPECT_FALSE(mesh.IsUsable());
    const auto problems = CheckMesh(mesh, job);
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
  }
}

TEST(SharpInputCorners, WedgesOfOneToTenDegrees) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> degrees(1, 10);
  for (int k = 0; k < 4; ++k) {
    const double corner = degrees(random);
    SCOPED_TRACE("corner of " + std::to_string(corner) + " degrees");
    const TObjCont job = Wedge(corner);
    for (const float bound : {20.0f, 31.0f}) ExpectEndsOnItsOwn(job, bound, 200, 60000);
  }
}

TEST(MeshUsability, ATriangleOnOneLineIsNeverUsable) {
  // Its smallest angle, 0, "meets" a bound of 0, yet it has no stiffness to assemble.
  FEM mesh;
  const ElementPhysics physics{};
  const int a = mesh.AddMeshNode(0, 0);
  const int b = mesh.AddMeshNode(2, 0);
  const int c = mesh.AddMeshNode(0, 2);
  mesh.AddTriangleByNodes(a, b, c, physics);
  EXPECT_TRUE(mesh.IsUsable(0));
  const int d = mesh.AddMeshNode(4, 0);
  mesh.AddTriangleByNodes(a, b, d, physics);
  EXPECT_FALSE(mesh.IsUsable(0));
}

TEST(FinishingRefinement, KeepsLoadsMarksAndPhysicsOfWhatItSplits) {
  // The plate with an insert of another material, with loads on the outline's edges: after
  // the finishing refinement every piece of a loaded edge carries that edge's loads, every
  // piece of the insert's outline is a segment, and every triangle has its region's physics.
  TObjCont job = Example("two-materials.sam");
  FEM mesh;
  ExpectUsable(job, 31, 15, &mesh);
  std::array<double, 6> values{};
  int code = 0;
  job.GetEdgeAttributes(0, values, code);
  const MeshPoint a{job.NodeX(job.EdgeBegin(0)), job.NodeY(job.EdgeBegin(0))};
  const MeshPoint b{job.NodeX(job.EdgeEnd(0)), job.NodeY(job.EdgeEnd(0))};
  int pieces = 0;
  for (int e = 0; e < mesh.EdgeCount(); ++e) {
    const MeshPoint p = mesh.Node(mesh.EdgeBegin(e)), q = mesh.Node(mesh.EdgeEnd(e));
    const bool onEdge0 = std::fabs(p.y - a.y) < 1e-9 && std::fabs(q.y - a.y) < 1e-9 &&
                         std::fmin(p.x, q.x) >= a.x - 1e-9 && std::fmax(p.x, q.x) <= b.x + 1e-9;
    if (!onEdge0) continue;
    ++pieces;
    EXPECT_TRUE(mesh.IsSegment(e));
    DofRecord dof;
    mesh.GetEdgeDof(e, dof);
    EXPECT_EQ(dof.code, code) << "edge " << e;
    EXPECT_EQ(dof.displacement[0], values[0]) << "edge " << e;
  }
  EXPECT_GT(pieces, 20);
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    const MeshPoint c = TriangleCentroid(mesh, t);
    std::array<double, 5> want{};
    job.GetPolygonPhysics(InsideJobPolygon(job, 1, c) ? 1 : 0, want);
    ElementPhysics got;
    mesh.GetPhysics(t, got);
    ASSERT_EQ(got, (ElementPhysics{want[0], want[1], want[2], want[3]})) << "triangle " << t;
  }
}

TEST(FinishingRefinement, EveryEdgeIsFoundByItsEndsAfterIt) {
  // The mesh answers edge lookups at its newest node from the edges listed since that node was
  // added; the stage's last node and its edges must be among them, as every other edge must be
  // in the table's own index.
  const TObjCont job = Example("two-materials.sam");
  FEM mesh;
  ExpectUsable(job, 31, 15, &mesh);
  const int newest = mesh.NodeCount() - 1;
  int atNewest = 0;
  for (int e = 0; e < mesh.EdgeCount(); ++e) {
    const int a = mesh.EdgeBegin(e), b = mesh.EdgeEnd(e);
    EXPECT_EQ(mesh.FindEdge(a, b), e) << "edge " << e;
    EXPECT_EQ(mesh.FindEdge(b, a), e) << "edge " << e;
    atNewest += a == newest || b == newest;
  }
  EXPECT_GE(atNewest, 2);
}

// Counts the finishing stage's reports; requests a stop at the first when asked to.
class FinishingWatcher : public MeshProgress {
 public:
  FEM* stopMesh = nullptr;
  int finishingReports = 0;
  void ShowMeshProgress(const std::string& caption, int, int, double) override {
    if (caption == "Finishing refinement") ++finishingReports;
  }
  void ProcessEvents() override {
    if (stopMesh && finishingReports > 0) stopMesh->RequestStop();
  }
};

TEST(FinishingRefinement, AStopEndsItAndTheMeshIsJudgedOnEveryTriangle) {
  const TObjCont circle = Circle();
  FEM mesh(testing::Parameters(31, 100, false, kLoopGuard));
  FinishingWatcher watcher;
  watcher.stopMesh = &mesh;
  MeshCanvas canvas;
  mesh.GenerateMesh(circle, canvas, watcher);
  ASSERT_EQ(watcher.finishingReports, 1);
  EXPECT_EQ(mesh.Stop(), MeshStop::User);
  EXPECT_EQ(mesh.Statistics().stop, MeshStop::User);
  // Stopped where the loop left it, short of the angle: not usable, though no triangle of it
  // is at a sharp corner.
  EXPECT_LT(MeshDegrees(mesh.CurrentMinAngle()), 31);
  EXPECT_FALSE(mesh.IsUsable());
  const auto problems = CheckMesh(mesh, circle);
  EXPECT_TRUE(problems.empty()) << problems.front();
  // A stop after the mesh is made changes nothing.
  FEM finished(testing::Parameters(31, 100, false, kLoopGuard));
  {
    FinishingWatcher quiet;
    finished.GenerateMesh(circle, canvas, quiet);
  }
  finished.RequestStop();
  EXPECT_EQ(finished.Stop(), MeshStop::None);
  EXPECT_TRUE(finished.IsUsable());
}

TEST(NodeLimit, HoldsToTheNodeInTheLoopAndInTheFinishingStage) {
  // The loop alone: with maximal area 0 only the limit ends it, after the very node.
  TObjCont square;
  testing::AddSquare(square, 0, 0, 450);
  square.PrepareForMeshing();
  for (int limit : {5, 40, 333, 1000}) {
    FEM mesh(testing::Parameters(31, 0, false, limit));
    mesh.GenerateMesh(square);
    EXPECT_EQ(mesh.NodeCount(), limit);
    EXPECT_EQ(mesh.Stop(), MeshStop::NodeLimit);
    EXPECT_EQ(mesh.Statistics().stop, MeshStop::NodeLimit);
    EXPECT_TRUE(CheckMesh(mesh, square).empty());
  }
  // Segments that encroach on each other split many times in one pass of the loop.
  TObjCont folded;
  AddPolygon(folded, {{0, 0}, {450, 0}, {0, 450}, {225, 225}});
  folded.PrepareForMeshing();
  {
    FEM mesh(testing::Parameters(20, 0, false, 500));
    mesh.GenerateMesh(folded);
    EXPECT_EQ(mesh.NodeCount(), 500);
  }
  // The finishing stage: the circle at area 100 leaves the loop at about 380 nodes and is
  // finished at about 490.
  const TObjCont circle = Circle();
  int finished = 0;
  {
    FEM mesh(testing::Parameters(31, 100, false, kLoopGuard));
    FinishingWatcher watcher;
    MeshCanvas canvas;
    mesh.GenerateMesh(circle, canvas, watcher);
    finished = mesh.NodeCount();
  }
  for (int limit : {finished - 60, finished - 1}) {
    FEM mesh(testing::Parameters(31, 100, false, limit));
    mesh.GenerateMesh(circle);
    EXPECT_EQ(mesh.NodeCount(), limit);
    EXPECT_EQ(mesh.Stop(), MeshStop::NodeLimit);
    const auto problems = CheckMesh(mesh, circle);
    EXPECT_TRUE(problems.empty()) << problems.front();
  }
  {  // A limit the job's own nodes already reach: no refinement at all.
    FEM mesh(testing::Parameters(31, 100, false, 3));
    mesh.GenerateMesh(circle);
    EXPECT_EQ(mesh.NodeCount(), circle.NodeCount());
    EXPECT_EQ(mesh.Stop(), MeshStop::NodeLimit);
  }
}

TEST(MeshVerdict, SaysWhetherUsableAndWhyNot) {
  MeshStatistics s;
  EXPECT_EQ(MeshVerdict(s), "");
  s.nodeCount = 10;
  EXPECT_EQ(MeshVerdict(s), "Not usable: the mesh has no elements.");
  s.elementCount = 12;
  s.minAngle = 20;
  s.minAngleFree = 29.65f;
  s.minAngleAsked = 31;
  EXPECT_EQ(MeshVerdict(s), "Not usable: smallest angle 29.65 below 31 degrees.");
  s.usable = true;
  s.inputCornerTriangles = 3;
  EXPECT_EQ(MeshVerdict(s),
            "Usable: 3 elements at input corners sharper than 31 degrees are exempt.");
  s.inputCornerTriangles = 0;
  EXPECT_EQ(MeshVerdict(s), "Usable.");
  s.stop = MeshStop::User;
  EXPECT_EQ(MeshVerdict(s),
            "Stopped by the user: usable, but elements may exceed the maximal area.");
  s.usable = false;
  s.stop = MeshStop::NodeLimit;
  EXPECT_EQ(MeshVerdict(s),
            "Stopped at the node limit: not usable, smallest angle 20 below 31 degrees; elements "
            "may exceed the maximal area.");
}

}  // namespace
}  // namespace tavrin
