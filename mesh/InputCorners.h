// InputCorners: the plate's input segments as the mesh holds them (chains of segment pieces
// between job nodes), the corners where they meet, and which triangles owe their small angle
// to a corner sharper than the minimal angle.
//
// At a corner where two input segments meet at an angle below the bound, no triangle touching
// the corner inside the wedge between them can beat the corner's own angle, and around the
// corner the refinement cannot grade from the wedge's narrow end to the segments without
// cutting them ever nearer the corner. Around it the refinement keeps a protecting shell: the
// circle through the node nearest the corner on either segment (the innermost of the concentric
// shells it splits at). A triangle inside it could be improved only by cutting the shell
// smaller, and so on without end. So exactly these are exempt from the bound: triangles that
// touch the corner (on any side, when the sharp wedge is plate: a hole's sharp corner leaves the
// plate around it free to refine), and triangles in the wedge whose three nodes lie on or inside
// its innermost shell (to 0.1 % of the distance). Their corner angle is the angle between the
// segments; they are exempt at any bound above it. Every other triangle, however close, must meet
// the bound.
//
// Owns: the input segments (their two job nodes and the distance from each end to the nearest
// node on the segment), the input segment of every segment piece and of every node the mesher
// put on a segment, and per job node the input segments at it. Built in time linear in the
// mesh; a query costs the segments at the few job nodes near the triangle. The mesh is read,
// never changed; a refinement that splits a piece tells it through NoteSplit. One thread at a
// time (the queries share a work list).
#pragma once

#include <array>
#include <span>
#include <vector>

#include "mesh/MeshGeometry.h"

namespace tavrin {

class FEM;

class InputCorners {
 public:
  // Returned by CornerAngle for a triangle at no corner: above any angle a corner can have.
  static constexpr double kNoCorner = 4.0;

  // inputNodes: nodes 0 .. inputNodes - 1 are the job's; the others the mesher made.
  InputCorners(const FEM& mesh, int inputNodes);

  // Piece e was split at the new node n; h is the new piece beyond n.
  void NoteSplit(int e, int h, int n);

  // The input segment of segment piece e, -1 when e is no piece of one.
  int SegmentOfPiece(int e) const;
  // The job node at one end of piece e from which a split of e is measured along concentric
  // shells (at distances 0.1 * 2^k), so that the input segments meeting there are cut at the
  // same distances: a corner where another input segment ends too. Cut anywhere else, the two
  // sides of a corner keep their ratio of lengths from split to split, and so the shape of the
  // triangle between them, however bad. -1 when neither or both ends are corners (the piece
  // is then split at its middle).
  int ShellCorner(int e) const;
  // The corner angle (radians) of triangle t, or kNoCorner; see above. The second form takes
  // the triangle's nodes as FEM::TriangleNodes gives them, for a caller that has read them.
  double CornerAngle(int t) const;
  double CornerAngle(const std::array<int, 3>& nodes) const;

  int SegmentCount() const { return static_cast<int>(ends_.size()); }
  // The squared radius of the innermost shell of segment s at its end k: the squared distance
  // from that end to the nearest other node on s.
  double InnermostShell(int s, int k) const { return nearest_[static_cast<std::size_t>(s)][k]; }
  std::array<int, 2> SegmentEnds(int s) const { return ends_[static_cast<std::size_t>(s)]; }

 private:
  bool IsInputNode(int v) const { return v < inputNodes_; }
  // The input segments node v lies on: the one of a node on a piece, all those ending at a
  // job node, none for a node off the segments.
  std::span<const int> SegmentsAt(int v) const;
  int FarEnd(int s, int corner) const;
  double SegmentAngle(int s, int t, int corner) const;
  // The corner angle of triangle t (nodes v, centroid g) at job node c, or kNoCorner.
  double AngleAt(int c, const int (&v)[3], MeshPoint g) const;
  double ShellAt(int s, int corner) const;
  MeshPoint Centroid(const int (&v)[3]) const;
  bool InWedge(int c, int sa, int sb, MeshPoint g) const;  // g strictly inside the wedge

  const FEM& mesh_;
  int inputNodes_;
  std::vector<std::array<int, 2>> ends_;         // per input segment, its two end nodes
  std::vector<std::array<bool, 2>> shellAtEnd_;  // per input segment, a corner at each end
  std::vector<std::array<double, 2>> nearest_;   // per input segment, InnermostShell per end
  std::vector<double> meshedWedge_;  // per job node, its sharpest wedge holding a triangle
  std::vector<int> pieceSegment_;    // per edge, -1 for no piece
  std::vector<int> nodeSegment_;     // per node, -1 for none (or a job node)
  std::vector<int> firstAt_;         // per job node + 1: offsets into segmentsAt_
  std::vector<int> segmentsAt_;
  mutable std::vector<int> candidates_;  // CornerAngle's work list: the corners near a triangle
};

}  // namespace tavrin
