// FinishingRefinement: the refinement that takes over when the mesher's own loop ends short of
// the minimal angle, and reaches it.
//
// It first makes the mesh constrained Delaunay (flips), then refines it in Ruppert's manner
// with the known guarantees: encroached segment pieces are split first (at their middle, or on
// concentric shells, at distances 0.1 * 2^k from a corner where input segments meet at less
// than a right angle); a triangle with an angle below the bound gets a node at its off-centre
// (the point on the bisector of its shortest side from which that side is seen under a little
// more than the bound, or the circumcentre when that is nearer), a triangle too large gets one
// at its circumcentre; a point that would encroach on a segment piece it would be joined to,
// or that lies beyond one, splits the piece instead. Triangles at input corners sharper than
// the bound are left as they are (InputCorners). New points are inserted by Delaunay flips,
// so the empty-circle property keeps every new node about as far from the others as the
// triangle it improves, and a point closer than a twentieth of that triangle's shortest side
// to a node of its own neighbourhood (the triangles whose circumcircles hold it) is refused.
// This terminates for bounds up to about 33 degrees; a stop request or the mesh's node limit
// ends it earlier.
//
// The mesh changes only through its local operations without flips (FEM::InsertInTriangle,
// SplitEdgeAt, FlipDiagonal), which tell this of every triangle they touch; the flips to make
// are chosen here.
//
// Owns: per triangle a shape version and the version it was queued at, the queues of bad
// triangles and encroached pieces, and work lists; memory linear in the mesh. Time per new
// node about constant (the walk to a far circumcentre and the flips after an insertion are
// local), plus a linear setup.
#pragma once

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "mesh/FEM.h"
#include "mesh/InputCorners.h"
#include "mesh/MeshGeometry.h"

namespace tavrin {

class MeshProgress;

class FinishingRefinement : private FEM::TriangleObserver {
 public:
  // Above this bound (degrees) the refinement is not known to end; it is not attempted. Just
  // above it, it already may not: a 128-gon of radius 100 at a maximal area of 5 meshes at 33.6
  // degrees with 8,517 nodes, and at 33.7 ran on past 300,000.
  static constexpr double kHighestBound = 33.0;
  static bool Applies(double boundDegrees) { return boundDegrees <= kHighestBound; }

  // Works on mesh with its own minimal angle and maximal area; nodes 0 .. inputNodes - 1 are
  // the job's (their segments define the corners).
  FinishingRefinement(FEM& mesh, int inputNodes);

  // Refines until no triangle is bad, or until a stop request or the mesh's node limit (both
  // clear the mesh's running flag, which this sets for its duration and checks after every
  // change). Reports progress through `progress` at the start and now and then; its
  // ProcessEvents may request the stop. The mesh's published figures are left to the caller.
  void Run(MeshProgress& progress);

  struct Figures {
    int insertions = 0;  // nodes put inside the plate
    int splits = 0;      // segment pieces split
    int flips = 0;
    int refused = 0;  // bad triangles left because their point could not be used
  };
  const Figures& Done() const { return figures_; }

 private:
  // A triangle's nodes counter-clockwise, and its edges: e[i] joins v[i + 1] and v[i + 2].
  struct TriangleView {
    int v[3];
    int e[3];
  };
  // Where a walk towards a point ended: in a triangle, before a piece or boundary it would
  // have to cross, or nowhere (a walk that went astray in a damaged mesh).
  struct Location {
    enum Kind { kInside, kBlocked, kLost } kind;
    int triangle;
    int edge;
  };

  TriangleView View(int t) const;
  MeshPoint NodeAt(int v) const;
  int Across(int e, int t) const;  // the triangle beside e other than t, or -1
  int EdgeJoining(int t, int a, int b) const;
  bool Exempt(int t) const;
  bool IsBad(int t) const;
  bool Encroaches(int s, MeshPoint p) const;
  bool IsEncroached(int s) const;

  // The mesh's word on every triangle its operations re-shape or make.
  void Reshaped(int t) override;
  void Made(int t) override;
  // Changes of the mesh, each followed by Delaunay flips.
  void InsertInTriangle(int t, MeshPoint p);
  int SplitEdgeAt(int e, MeshPoint p);  // returns the new piece beyond the new node
  bool SplitSegment(int s);             // false when the piece is too short to split
  bool ShouldFlip(int e) const;
  void Flip(int e);
  // Flips the listed edges and, after each flip, the edges around it (only those facing
  // `node` when it is not -1: the insertion's star is then all that can be illegal).
  void Legalize(int node);

  void RefineTriangle(int t);
  Location Locate(int t, MeshPoint p) const;
  void CollectCavity(int host, MeshPoint p);
  void Refuse() { ++figures_.refused; }

  // Queues.
  void Evaluate(int t);  // queues t when bad, and its encroached pieces
  void QueueSegment(int s);
  void Settle();  // evaluates every triangle noted since the last call

  FEM& mesh_;
  InputCorners corners_;
  double bound_;          // degrees
  double boundRadians_;   // the same, exactly (BoundRadians)
  double maxArea_;        // 0 or less: no area bound
  double offCentre_;      // off-centre height over the shortest side, per unit of its length
  double shortestPiece_;  // pieces shorter than this (relative to the plate) are not split

  static constexpr std::uint32_t kNotQueued = 0xFFFFFFFFu;
  std::vector<std::uint32_t> version_;   // per triangle: changes whenever it is re-shaped
  std::vector<std::uint32_t> queuedAt_;  // per triangle: version it was queued at
  std::vector<char> segmentQueued_;      // per edge
  std::deque<std::pair<int, std::uint32_t>> bad_;
  std::deque<int> encroached_;
  std::vector<int> touched_;
  std::vector<int> flips_;
  std::vector<std::uint32_t> seen_;  // per triangle: the cavity search it was last tested in
  std::uint32_t search_ = 0;
  std::vector<int> cavity_;
  std::vector<int> cavitySegments_;
  std::vector<int> cavityNodes_;
  Figures figures_;
};

}  // namespace tavrin
