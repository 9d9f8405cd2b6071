// Delaunay refinement after Ruppert: segments encroached by a triangle's apex are split first;
// a bad triangle (too large, or with an angle below the target) gets a node at its
// circumcentre unless that point encroaches on segments, which are split instead; small angles
// between segments are protected by concentric-shell splits. When the circumcentre cannot be
// used, the neighbour across the longest side is refined at its centroid, and as a last resort
// the longest side is flipped once. The loop runs pass by pass until a pass changes nothing or
// a stop is requested. When it ends on its own short of the minimal angle, the finishing
// refinement (FinishingRefinement) takes over from the mesh it leaves.
//
// Cost: with the index on (the default), a pass looks only at the segments beside triangles
// changed since the last sweep, takes the worst and the largest triangle from heaps, and asks
// the spatial index for the nodes and segments near a new point, so a node costs about
// logarithmic time. With the plain scans every pass rescans all segments, all triangles, all
// nodes and all segments again for each new point: linear time per node, quadratic in all.
#include <cmath>
#include <cstddef>
#include <vector>

#include "mesh/FEM.h"
#include "mesh/FinishingRefinement.h"
#include "mesh/MeshCanvas.h"
#include "mesh/MeshProgress.h"
#include "model/TObjCont.h"

namespace tavrin {

MeshStatistics FEM::GenerateMesh(const TObjCont& structure) {
  MeshCanvas canvas;
  MeshProgress progress;
  return GenerateMesh(structure, canvas, progress);
}

MeshStatistics FEM::GenerateMesh(const TObjCont& structure, MeshCanvas& canvas,
                                 MeshProgress& progress) {
  progress.ShowMeshProgress("Initial triangulation", 0, 0, 0.0);
  progress.ProcessEvents();
  Triangulate(structure, canvas);
  Refine(canvas, progress);
  return statistics_;
}

void FEM::Refine(MeshCanvas& canvas, MeshProgress& progress) {
  // The loop refines to the global bounds only, as it always has. Its geometric tests have
  // absolute tolerances (kMeshTolerance in doubled areas) sized for triangles of drawing units;
  // a size field asks for triangles far below them, where the loop took points beside a side
  // for points on it and halved the same side again and again, down to nodes 1e-10 apart. The
  // field is met by the finishing stage, whose tests are exact signs and relative distances.
  minDistance_ = maxArea_ > 0 ? std::sqrt(maxArea_) * 0.5 : 0.0001;
  currentMinAngle_ = 0.0;
  for (int e = 0; e < EdgeCount(); ++e)
    if (IsSegment(e)) encroachable_.Mark(e);
  // Every edge the refinement looks up joins the node it has just added (FindEdge answers
  // those alone), so the table's hash index would only cost time and memory until a later
  // caller asks, and then it is built again.
  edges_.DropFindIndex();
  ReserveForRefinement();
  // The loop asks for the largest triangle mostly while some are too large, and then it is one
  // of those; the index answers exactly either way.
  index_.SetAreaFloor(maxArea_);
  index_.SetAngleCeiling(targetAngle_);
  // Without a single triangle there is nothing to refine (and no worst triangle to ask for).
  if (TriangleCount() > 0) {
    running_ = true;
    if (NodeCount() >= maxNodes_) StopAtNodeLimit();
    bool progressMade = true;
    bool flipTried = false;
    // The first frame shows the mesh whole, later ones what the passes since changed, at the
    // pace the canvas asks for: the animation costs about the changes, not the mesh per pass.
    changes_.Record(animate_);
    while (progressMade && running_) {
      progress.ShowMeshProgress("Delaunay refinement", NodeCount(), EdgeCount(),
                                MeshDegrees(currentMinAngle_));
      progress.ProcessEvents();
      progressMade = RefinementPass(flipTried);
      if (!animate_) continue;
      if (changes_.Size() > static_cast<std::size_t>(EdgeCount())) changes_.Collapse();
      if (canvas.FrameDue()) DrawFrame(canvas);
    }
    changes_.Record(false);
  }
  // A stop can end the loop right after a pass that changed the mesh without measuring it
  // again; the published angle (and IsUsable) must describe the mesh as it is. When the loop
  // ends on its own the last pass has just measured the final mesh, so nothing changes then.
  if (TriangleCount() > 0 && !running_) WorstTriangle();
  // Ended on its own short of the angle or the area: the loop above has no further step that
  // helps.
  if (running_ && FinishingRefinement::Applies(minAngleDegrees_) && ShortOfBounds()) {
    Finish(progress);
    WorstTriangle();
  }
  running_ = false;
  DrawWholeMesh(canvas);
  statistics_ = ClassifyAndMeasure();
  progress.HideMeshProgress();
}

// Under the area bound alone, triangles average some 0.6 of it, so the refinement makes about
// 1.7 times the domain's area over the bound; the tables are reserved for half as many again,
// within what the node limit allows. Each doubling of a table copies it into fresh pages, which
// cost about as much again as filling it; room reserved and never used is address space only.
void FEM::ReserveForRefinement() {
  if (!(maxArea_ > 0)) return;
  double area = 0;
  for (int t = 0; t < TriangleCount(); ++t) area += StoredArea(t);
  constexpr double kMostReserved = 1 << 28;
  const double expected =
      std::fmin(std::fmin(2.5 * area / maxArea_, 2.0 * maxNodes_), kMostReserved);
  if (!(expected > 0)) return;
  const auto n = static_cast<std::size_t>(expected) + static_cast<std::size_t>(TriangleCount());
  triangles_.Reserve(n);
  edges_.Reserve(n * 3 / 2 + static_cast<std::size_t>(EdgeCount()));
  nodes_.Reserve(n / 2 + static_cast<std::size_t>(NodeCount()));
  segmentMarks_.reserve(n * 3 / 2 + static_cast<std::size_t>(EdgeCount()));
  index_.Reserve(n);
}

void FEM::Finish(MeshProgress& progress) {
  finishingRan_ = true;
  FinishingRefinement(*this, inputNodes_).Run(progress);
}

void FEM::CatchUpSegmentList() {
  for (const int n = EdgeCount(); segmentListEdges_ < n; ++segmentListEdges_)
    if (IsSegment(segmentListEdges_)) segmentList_.push_back(segmentListEdges_);
}

// One pass. A step counts as progress only when it added a node: several steps report success
// after changing nothing (a failed centroid refinement of triangle 0 or 1, or a "split" of
// encroached segments that have no triangle), and counting those made the loop repeat the same
// pass for ever, already on a plain square.
bool FEM::RefinementPass(bool& flipTried) {
  bool progress = false;

  // One sweep of the segments per pass: a pass that split something returns at once, so the
  // next pass sweeps again exactly as a repeated sweep here would, but the host gets its events
  // (and a stop, or a node limit) in between. Segments that overlap or meet at a zero angle
  // encroach on each other for ever, and a sweep repeated inside the pass never returned.
  // Segments below the pass's edge count, in index order, as a walk over every edge would
  // meet them. With the index on, only the segments whose encroachment may have changed are
  // looked at: a pass then costs the few triangles the last pass touched, not the boundary.
  const auto visit = [&](int e) {
    if (!IsEncroached(e)) return;
    const int before = NodeCount();
    SplitEdge(e);
    if (NodeCount() > before) progress = true;
  };
  const int n = EdgeCount();
  if (indexedScans_) {
    for (int e = encroachable_.StartSweep(n); e != -1 && !AtNodeLimit(); e = encroachable_.Next())
      visit(e);
  } else {
    CatchUpSegmentList();
    for (std::size_t k = 0; k < segmentList_.size() && segmentList_[k] < n && !AtNodeLimit(); ++k)
      visit(segmentList_[k]);
  }

  // Each step below adds a node at most, and none after the node limit stopped the loop.
  if (!progress && !AtNodeLimit()) {
    const int w = WorstTriangle();
    const int before = NodeCount();
    const int r = RefineTriangle(w, false);
    if (r >= 0 && NodeCount() > before) {
      progress = true;
      flipTried = false;
    }
    if (r == -2) (void)RefineNeighbour(w);  // a changed mesh here is not counted as progress
  }
  if (!progress && !AtNodeLimit()) {
    const int l = LargestTriangle();
    const int before = NodeCount();
    if (RefineTriangle(l, false) >= 0 && NodeCount() > before) {
      progress = true;
      flipTried = false;
    }
  }
  if (!progress && !AtNodeLimit()) {
    const int w = WorstTriangle();
    const int before = NodeCount();
    // Progress is a node added, not a claimed change: a forced point can be refused, and a
    // loop that counted refusals would never end.
    if (RefineNeighbour(w) == NeighbourRefinement::Changed && NodeCount() > before) {
      progress = true;
      flipTried = false;
    }
  }
  if (!progress && !flipTried && currentMinAngle_ < targetAngle_) {
    FlipLongestEdge(WorstTriangle());
    progress = true;
    flipTried = true;
  }
  return progress;
}

void FEM::DrawWholeMesh(MeshCanvas& canvas) const {
  canvas.Clear();
  canvas.SetPen(0, 0, 0);
  for (int e = 0; e < EdgeCount(); ++e) DrawMeshEdge(canvas, EdgeBegin(e), EdgeEnd(e));
}

// Lines that are gone first: a new edge may run over pixels of an old one.
void FEM::DrawFrame(MeshCanvas& canvas) {
  if (changes_.Whole()) {
    DrawWholeMesh(canvas);
  } else {
    for (const FrameChanges::Line& l : changes_.Gone()) canvas.EraseLine(l.ax, l.ay, l.bx, l.by);
    canvas.SetPen(0, 0, 0);
    changes_.ForEachEdge(
        [&canvas](const FrameChanges::Line& l) { canvas.Line(l.ax, l.ay, l.bx, l.by); });
  }
  changes_.NextFrame();
  canvas.FrameDone();
}

bool FEM::Encroaches(int s, MeshPoint p) const {
  const MeshPoint b = Node(EdgeBegin(s));
  const MeshPoint e = Node(EdgeEnd(s));
  const MeshPoint m{(b.x + e.x) / 2, (b.y + e.y) / 2};
  return Shorter(p, m, b, m);
}

bool FEM::IsEncroached(int e) const {
  const MeshPoint b = Node(EdgeBegin(e));
  const MeshPoint f = Node(EdgeEnd(e));
  const MeshPoint m{(b.x + f.x) / 2, (b.y + f.y) / 2};
  for (int slot = 1; slot <= 2; ++slot) {
    const int apex = ApexAcross(e, slot);
    if (apex != -1 && Shorter(Node(apex), m, b, m)) return true;
  }
  return false;
}

int FEM::RefineTriangle(int t, bool force) {
  if (!force && !TooLarge(t) && MeasuredMinAngle(t) > targetAngle_) return -1;

  // The shortest side, lowest side number on ties; a is its end node, b its begin node.
  int shortest = triangles_.Edge(t, 1);
  double shortestLength = Length(EdgeBegin(shortest), EdgeEnd(shortest));
  for (int k = 2; k <= 3; ++k) {
    const int g = triangles_.Edge(t, k);
    const double length = Length(EdgeBegin(g), EdgeEnd(g));
    if (length < shortestLength) {
      shortestLength = length;
      shortest = g;
    }
  }
  const MeshPoint a = Node(EdgeEnd(shortest));
  const MeshPoint b = Node(EdgeBegin(shortest));
  const MeshPoint c = Node(OppositeNode(t, shortest));

  // A triangle this flat has no circumcentre, and a node at its centroid would only cut it
  // into slivers: no point is made for it, forced or not.
  const double D = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
  if (!(std::fabs(D) > kMeshTolerance)) return -1;
  MeshPoint p;
  if (force) {
    p = MeshPoint{(a.x + b.x + c.x) * (1.0 / 3), (a.y + b.y + c.y) * (1.0 / 3)};
  } else {
    const double Sb = b.x * b.x + b.y * b.y - a.x * a.x - a.y * a.y;
    const double Sc = c.x * c.x + c.y * c.y - a.x * a.x - a.y * a.y;
    p.y = ((b.x - a.x) * Sc - (c.x - a.x) * Sb) / (2 * D);
    if (std::fabs(b.x - a.x) >= 0.0001)
      p.x = (Sb - 2 * p.y * (b.y - a.y)) / (2 * (b.x - a.x));
    else
      p.x = (Sc - 2 * p.y * (c.y - a.y)) / (2 * (c.x - a.x));
  }

  if (TooClose(p)) return -1;

  std::vector<int> encroached;
  EncroachedSegments(p, encroached);
  if (!encroached.empty()) {
    for (int s : encroached) {
      if (AtNodeLimit()) break;
      SplitEdge(s);
    }
    return 0;
  }

  // Only t and its neighbours across non-segment sides are searched.
  int host = -1;
  for (int k = 1; k <= 3; ++k) {
    const int g = triangles_.Edge(t, k);
    for (int slot = 1; slot <= 2; ++slot) {
      const int u = edges_.Triangle(g, slot);
      if (u != -1 && !IsSegment(g) && host == -1 && InTriangle(u, p)) host = u;
    }
  }
  if (host == -1) return -2;

  // A point on a side of the host splits that side rather than making a sliver.
  for (int k = 1; k <= 3; ++k) {
    const int g = triangles_.Edge(host, k);
    const MeshPoint p1 = Node(EdgeBegin(g));
    const MeshPoint p2 = Node(EdgeEnd(g));
    const bool betweenX = std::fmin(p1.x, p2.x) < p.x && p.x < std::fmax(p1.x, p2.x);
    const bool betweenY = std::fmin(p1.y, p2.y) < p.y && p.y < std::fmax(p1.y, p2.y);
    const double cross = (p.x - p1.x) * (p2.y - p1.y) - (p.y - p1.y) * (p2.x - p1.x);
    if ((betweenX || betweenY) && cross > -kMeshTolerance && cross < kMeshTolerance) {
      SplitEdge(g);
      return host;
    }
  }

  InsertInTriangle(host, p);
  return t;
}

FEM::NeighbourRefinement FEM::RefineNeighbour(int t) {
  double lengths[3];
  for (int k = 1; k <= 3; ++k) {
    const int g = triangles_.Edge(t, k);
    lengths[k - 1] = Length(EdgeBegin(g), EdgeEnd(g));
  }
  int side = 1;
  if (lengths[1] > lengths[0] && lengths[1] > lengths[2])
    side = 2;
  else if (lengths[2] > lengths[0] && lengths[2] > lengths[1])
    side = 3;
  const int g = triangles_.Edge(t, side);
  const int u = edges_.Triangle(g, 1) == t ? edges_.Triangle(g, 2) : edges_.Triangle(g, 1);
  if (u == -1) return NeighbourRefinement::NoNeighbour;
  return RefineTriangle(u, true) >= 0 ? NeighbourRefinement::Changed : NeighbourRefinement::Refused;
}

void FEM::FlipLongestEdge(int t) {
  int longest = triangles_.Edge(t, 1);
  double longestLength = Length(EdgeBegin(longest), EdgeEnd(longest));
  for (int k = 2; k <= 3; ++k) {
    const int g = triangles_.Edge(t, k);
    const double length = Length(EdgeBegin(g), EdgeEnd(g));
    if (length > longestLength) {
      longestLength = length;
      longest = g;
    }
  }
  if (edges_.Triangle(longest, 1) != -1 && edges_.Triangle(longest, 2) != -1)
    Legalize(longest, -1, -1);
}

}  // namespace tavrin
