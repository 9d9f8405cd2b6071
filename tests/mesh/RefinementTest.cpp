// The refinement steps on hand-built meshes, and the refinement loop: its ending, stopping,
// reporting and drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "MeshChecker.h"
#include "TestJobs.h"
#include "mesh/FEM.h"
#include "mesh/MeshCanvas.h"
#include "mesh/MeshProgress.h"

namespace tavrin {
namespace {

using testing::AddSquare;
using testing::NodeLimit;

const ElementPhysics kPhysics{210000, 0.25, 10, 0};

FEM Triangle(MeshPoint a, MeshPoint b, MeshPoint c, float maxArea, bool segments) {
  FEM mesh(MeshParameters{31.0f, maxArea, false});
  mesh.SetMinDistance(std::sqrt(maxArea) * 0.5);
  mesh.AddMeshNode(a.x, a.y);
  mesh.AddMeshNode(b.x, b.y);
  mesh.AddMeshNode(c.x, c.y);
  if (segments) mesh.AddMeshEdge(0, 1, DofRecord{}, 1);
  mesh.AddTriangleByNodes(0, 1, 2, kPhysics);
  return mesh;
}

TEST(RefineTriangle, EachOutcome) {
  // Good enough: nothing to do.
  EXPECT_EQ(Triangle({0, 0}, {10, 0}, {5, 8}, 200, false).RefineTriangle(0, false), -1);

  // Too large; its circumcentre (5, 0.917) lies in the diametral circle of the segment below:
  // the segment is split at 0.501 instead and the point is not inserted.
  {
    FEM mesh = Triangle({0, 0}, {10, 0}, {5, 6}, 10, true);
    EXPECT_EQ(mesh.RefineTriangle(0, false), 0);
    ASSERT_EQ(mesh.NodeCount(), 4);
    EXPECT_EQ(mesh.NodeX(3), 5.01);
    EXPECT_EQ(mesh.NodeY(3), 0.0);
  }
  // The same with a minimal distance that keeps the circumcentre away from (5, 6): refused.
  {
    FEM mesh = Triangle({0, 0}, {10, 0}, {5, 6}, 10, true);
    mesh.SetMinDistance(5.2);
    EXPECT_EQ(mesh.RefineTriangle(0, false), -1);
    EXPECT_EQ(mesh.NodeCount(), 3);
  }
  // A flat triangle (doubled area 0.0001 at most) has no circumcentre, and is not cut at its
  // centroid either when forced.
  for (bool force : {false, true}) {
    FEM flat = Triangle({0, 0}, {10, 0}, {5, 0.00001}, 200, false);
    flat.SetMinDistance(0.0001);
    EXPECT_EQ(flat.RefineTriangle(0, force), -1);
    EXPECT_EQ(flat.NodeCount(), 3);
  }
  // An obtuse triangle alone: its circumcentre (5, -12) is in no triangle.
  {
    FEM mesh = Triangle({0, 0}, {10, 0}, {5, 1}, 200, false);
    EXPECT_EQ(mesh.RefineTriangle(0, false), -2);
    EXPECT_EQ(mesh.RefineNeighbour(0), FEM::NeighbourRefinement::NoNeighbour);
    EXPECT_EQ(mesh.NodeCount(), 3);
  }
  // A refused neighbour numbered 0 is a refusal, not a change (as a negated index it read 0).
  {
    FEM mesh = Triangle({0, 0}, {10, 0}, {5, 0.00001}, 200, false);
    mesh.SetMinDistance(0.0001);
    mesh.AddMeshNode(5, -1);
    mesh.AddTriangleByNodes(1, 0, 3, kPhysics);
    EXPECT_EQ(mesh.RefineNeighbour(1), FEM::NeighbourRefinement::Refused);
    EXPECT_EQ(mesh.NodeCount(), 4);
  }
}

TEST(RefineTriangle, CircumcentreOnASharedSideSplitsThatSide) {
  // The right triangle's circumcentre is the middle of the diagonal it shares.
  FEM mesh(MeshParameters{31.0f, 10.0f, false});
  mesh.SetMinDistance(1.0);
  for (MeshPoint p : {MeshPoint{0, 0}, {10, 0}, {10, 10}, {0, 10}}) mesh.AddMeshNode(p.x, p.y);
  mesh.AddMeshEdge(0, 2);
  // Triangle 0 listed so that its inside reads "not right of" all three sides: a point on a
  // side then still counts as inside it, and is found.
  mesh.AddTriangleByNodes(1, 0, 2, kPhysics);
  mesh.AddTriangleByNodes(0, 2, 3, kPhysics);
  const int host = mesh.RefineTriangle(0, false);
  EXPECT_GE(host, 0);
  EXPECT_LE(host, 1);
  ASSERT_EQ(mesh.NodeCount(), 5);
  // Split at the diagonal's own point, not at the circumcentre.
  EXPECT_EQ(mesh.NodeX(4), 5.01);
  EXPECT_EQ(mesh.NodeY(4), 5.01);
  EXPECT_EQ(mesh.TriangleCount(), 4);
  EXPECT_TRUE(CheckTopology(mesh).empty());
}

// Records what the mesher reports; optionally stops it at a given refinement report.
class Recorder : public MeshProgress {
 public:
  struct Report {
    std::string caption;
    int nodes, elements;
    double angle;
  };
  FEM* mesh = nullptr;
  int stopAtPass = -1;
  std::vector<Report> reports;
  int hides = 0;
  int refinementPasses = 0;

  void ShowMeshProgress(const std::string& caption, int nodes, int elements,
                        double angle) override {
    reports.push_back({caption, nodes, elements, angle});
    if (caption == "Delaunay refinement") ++refinementPasses;
  }
  void HideMeshProgress() override { ++hides; }
  void ProcessEvents() override {
    if (mesh && refinementPasses == stopAtPass) mesh->RequestStop();
  }
};

class LineCounter : public MeshCanvas {
 public:
  int clears = 0, lines = 0, linesBeforeFirstClear = 0, linesAfterLastClear = 0;
  bool blackPen = false;
  void Clear() override {
    ++clears;
    linesAfterLastClear = 0;
    blackPen = false;
  }
  void SetPen(int r, int g, int b) override { blackPen = r == 0 && g == 0 && b == 0; }
  void Line(double, double, double, double) override {
    ++lines;
    if (clears == 0) ++linesBeforeFirstClear;
    if (clears > 0 && blackPen) ++linesAfterLastClear;
  }
};

TEST(Refinement, PlainSquareEndsOnItsOwn) {
  // Two 45-degree triangles: the failed centroid refinement of the neighbour must not count
  // as progress, or the same pass repeats for ever.
  TObjCont job;
  AddSquare(job, 0, 0, 10);
  job.PrepareForMeshing();
  FEM mesh(testing::Parameters(31.0f, 200.0f));
  Recorder progress;
  progress.mesh = &mesh;
  progress.stopAtPass = 50;  // a safety net for this test only
  LineCounter canvas;
  mesh.GenerateMesh(job, canvas, progress);
  EXPECT_LT(progress.refinementPasses, 5);
  EXPECT_EQ(mesh.TriangleCount(), 2);
  EXPECT_NEAR(mesh.MinDistance(), 7.0710678118654755, 1e-15);  // half the root of 200
  EXPECT_TRUE(mesh.IsUsable());

  // Reports: the start with zeros, then one per pass, the first with angle 0 and the edge
  // count under the element figure; the window is closed once.
  ASSERT_GE(progress.reports.size(), 2u);
  EXPECT_EQ(progress.reports[0].caption, "Initial triangulation");
  EXPECT_EQ(progress.reports[0].nodes, 0);
  EXPECT_EQ(progress.reports[0].angle, 0.0);
  EXPECT_EQ(progress.reports[1].caption, "Delaunay refinement");
  EXPECT_EQ(progress.reports[1].nodes, 4);
  EXPECT_EQ(progress.reports[1].elements, 5);
  EXPECT_EQ(progress.reports[1].angle, 0.0);
  EXPECT_EQ(progress.hides, 1);

  // The front draws its two new sides per triangle; the end clears and draws every edge black.
  EXPECT_EQ(canvas.linesBeforeFirstClear, 4);
  EXPECT_EQ(canvas.clears, 1);  // no animation
  EXPECT_EQ(canvas.linesAfterLastClear, 5);
}

TEST(Refinement, StopRequestEndsTheLoopAfterTheCurrentPass) {
  TObjCont job;
  AddSquare(job, 0, 0, 100);
  job.PrepareForMeshing();
  // With maximal area 0 every triangle is too large: only a stop ends the refinement.
  FEM mesh(testing::Parameters(31.0f, 0.0f, true));
  Recorder progress;
  progress.mesh = &mesh;
  progress.stopAtPass = 40;
  LineCounter canvas;
  mesh.GenerateMesh(job, canvas, progress);
  EXPECT_EQ(progress.refinementPasses, 40);
  EXPECT_EQ(progress.hides, 1);
  EXPECT_EQ(mesh.MinDistance(), 0.0001);
  EXPECT_EQ(canvas.clears, 1);  // the final drawing: this canvas asks for no frames
  EXPECT_EQ(canvas.linesAfterLastClear, mesh.EdgeCount());
  // Complete and consistent, with the published angle of the mesh as it was left.
  const auto problems = CheckMesh(mesh, job);
  EXPECT_TRUE(problems.empty()) << problems.front();
}

// A screen that keeps the lines it shows, as the plan view keeps pixels: a line drawn is shown
// until it is erased or the screen is cleared. Frames come every framePass-th pass. After each
// frame it checks that the picture is the mesh: every edge is shown, and every line shown that
// is no longer an edge (an edge since split) is covered end to end by edges along it.
class Screen : public MeshCanvas {
 public:
  using Key = std::array<float, 4>;  // the positions, as the mesher's frame log keeps them
  static Key KeyOf(double x1, double y1, double x2, double y2) {
    Key k{static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
          static_cast<float>(y2)};
    if (std::pair(k[2], k[3]) < std::pair(k[0], k[1])) k = {k[2], k[3], k[0], k[1]};
    return k;
  }

  const FEM* mesh = nullptr;
  int framePass = 1;
  int passes = 0, frames = 0, clears = 0;
  long frameLines = 0, wholeLines = 0;  // lines drawn in frames; edges a whole redraw would draw
  std::vector<std::string> problems;
  std::map<Key, int> shown;  // line -> times drawn since last erased

  void Clear() override {
    ++clears;
    shown.clear();
  }
  void Line(double x1, double y1, double x2, double y2) override {
    ++shown[KeyOf(x1, y1, x2, y2)];
    if (inFrame_) ++frameLines;
  }
  void EraseLine(double x1, double y1, double x2, double y2) override {
    if (shown.erase(KeyOf(x1, y1, x2, y2)) == 0 && problems.size() < 5)
      problems.push_back("erased a line not shown, frame " + std::to_string(frames));
  }
  bool FrameDue() override {
    inFrame_ = ++passes % framePass == 0;
    return inFrame_;
  }
  void FrameDone() override {
    inFrame_ = false;
    ++frames;
    wholeLines += mesh->EdgeCount();
    CheckPicture();
  }

 private:
  void CheckPicture() {
    std::map<Key, bool> edges;
    for (int e = 0; e < mesh->EdgeCount(); ++e) {
      const MeshPoint a = mesh->Node(mesh->EdgeBegin(e)), b = mesh->Node(mesh->EdgeEnd(e));
      edges[KeyOf(a.x, a.y, b.x, b.y)] = true;
    }
    for (const auto& [edge, unused] : edges)
      if (shown.count(edge) == 0 && problems.size() < 5)
        problems.push_back("edge not shown after frame " + std::to_string(frames));
    for (const auto& [line, unused] : shown)
      if (edges.count(line) == 0 && !Covered(line, edges) && problems.size() < 5)
        problems.push_back("stale line shown after frame " + std::to_string(frames));
  }
  // Edges lying along the line cover it from end to end.
  static bool Covered(const Key& line, const std::map<Key, bool>& edges) {
    const double dx = line[2] - line[0], dy = line[3] - line[1];
    const double length2 = dx * dx + dy * dy;
    const auto along = [&](double x, double y) {
      return ((x - line[0]) * dx + (y - line[1]) * dy) / length2;
    };
    const auto off = [&](double x, double y) {
      return std::fabs((x - line[0]) * dy - (y - line[1]) * dx) / std::sqrt(length2);
    };
    std::vector<std::pair<double, double>> pieces;
    for (const auto& [e, unused] : edges) {
      if (off(e[0], e[1]) > 1e-3 || off(e[2], e[3]) > 1e-3) continue;
      const double s = along(e[0], e[1]), t = along(e[2], e[3]);
      if (std::min(s, t) < -1e-6 || std::max(s, t) > 1 + 1e-6) continue;
      pieces.push_back({std::min(s, t), std::max(s, t)});
    }
    std::sort(pieces.begin(), pieces.end());
    double reached = 0;
    for (const auto& [s, t] : pieces)
      if (s <= reached + 1e-6) reached = std::max(reached, t);
    return reached >= 1 - 1e-6;
  }
  bool inFrame_ = false;
};

// The animation draws what each pass changed, not the mesh, and the picture stays the mesh:
// with a frame after every pass, after every seventh, and with frames so rare that the changes
// outgrow the mesh and a frame redraws it whole.
TEST(Refinement, AnimationFramesDrawTheChangesAndShowTheMesh) {
  TObjCont job;
  testing::AddPolygon(job, {{0, 0}, {120, 0}, {120, 90}, {0, 90}});
  const int hole = testing::AddPolygon(job, {{40, 30}, {70, 35}, {60, 60}});
  job.SetPolygonPhysics(hole, 0, 0, 0, 0, true);
  job.PrepareForMeshing();
  for (const int framePass : {1, 7, 400}) {
    SCOPED_TRACE("a frame every " + std::to_string(framePass) + " passes");
    FEM mesh(testing::Parameters(28.0f, 12.0f, true));
    Screen screen;
    screen.mesh = &mesh;
    screen.framePass = framePass;
    MeshProgress progress;
    mesh.GenerateMesh(job, screen, progress);
    EXPECT_TRUE(screen.problems.empty()) << screen.problems.front();
    EXPECT_GT(screen.frames, 0);
    if (framePass == 400) {
      EXPECT_EQ(screen.clears, screen.frames + 1);  // every frame whole, and the final drawing
    } else {
      // Whole frames only at first (the first frame, and while the mesh is smaller than a
      // pass's changes), then only changes.
      EXPECT_LT(screen.clears, screen.frames / 4 + 2);
      EXPECT_LT(screen.frameLines * 10, screen.wholeLines);
    }
    EXPECT_GT(mesh.TriangleCount(), 300);
  }
}

TEST(Refinement, SegmentsThatEncroachForEverStillReachTheStop) {
  // The last corner lies on the middle of the second side, so the last two sides run back
  // along it: the overlapping segments encroach on each other at every split. The splits must
  // still leave the pass so that a stop ends the refinement (they used to loop inside it). The
  // mesher's loop gives up once the overlapping pieces are too short to split; the finishing
  // stage after it looks for a stop every few thousand changes.
  TObjCont job;
  testing::AddPolygon(job, {{0, 0}, {450, 0}, {0, 450}, {225, 225}});
  job.PrepareForMeshing();
  FEM mesh(testing::Parameters(20.0f, 0.0f));
  NodeLimit limit(mesh, 500);
  MeshCanvas canvas;
  mesh.GenerateMesh(job, canvas, limit);
  EXPECT_EQ(mesh.Stop(), MeshStop::User);
  EXPECT_GT(mesh.NodeCount(), 500);
  EXPECT_LT(mesh.NodeCount(), 500 + 2 * 2048);
  EXPECT_FALSE(mesh.IsUsable());
}

}  // namespace
}  // namespace tavrin
