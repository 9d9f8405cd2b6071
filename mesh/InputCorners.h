// InputCorners: the plate's input segments as the mesh holds them (chains of segment pieces
// between job nodes), the corners where they meet, and which triangles owe their small angle
// to a corner sharper than the minimal angle.
//
// At a corner where two input segments meet at an angle below the bound, no triangle touching
// the corner can beat the corner's own angle, and the triangles that cross the wedge between
// two nodes at equal distance from the corner (the concentric shells a refinement cuts there)
// cannot be improved without cutting ever smaller ones. Such a triangle is exempt from the
// bound: its shortest side joins a node on one segment to a node on the other, the two
// segments share a job node, both nodes lie at the same distance from it (to 0.1 %), and the
// triangle lies in the wedge between the two segments. Its corner angle is the angle between
// the segments at that node; it is exempt at any bound above that angle.
//
// Owns: the input segments (their two job nodes), the input segment of every segment piece
// and of every node the mesher put on a segment, and per job node the input segments at it.
// Built in time linear in the mesh; the queries cost a constant. The mesh is read, never
// changed; a refinement that splits a piece tells it through NoteSplit.
#pragma once

#include <array>
#include <span>
#include <vector>

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
  // The corner angle (radians) of triangle t, or kNoCorner; see above.
  double CornerAngle(int t) const;

  int SegmentCount() const { return static_cast<int>(ends_.size()); }
  std::array<int, 2> SegmentEnds(int s) const { return ends_[static_cast<std::size_t>(s)]; }

 private:
  bool IsInputNode(int v) const { return v < inputNodes_; }
  // The input segments node v lies on: the one of a node on a piece, all those ending at a
  // job node, none for a node off the segments.
  std::span<const int> SegmentsAt(int v) const;
  int FarEnd(int s, int corner) const;
  double SegmentAngle(int s, int t, int corner) const;

  const FEM& mesh_;
  int inputNodes_;
  std::vector<std::array<int, 2>> ends_;         // per input segment, its two end nodes
  std::vector<std::array<bool, 2>> shellAtEnd_;  // per input segment, a corner at each end
  std::vector<int> pieceSegment_;                // per edge, -1 for no piece
  std::vector<int> nodeSegment_;                 // per node, -1 for none (or a job node)
  std::vector<int> firstAt_;                     // per job node + 1: offsets into segmentsAt_
  std::vector<int> segmentsAt_;
};

}  // namespace tavrin
