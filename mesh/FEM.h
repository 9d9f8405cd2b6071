// FEM: the triangle mesh of one job.
//
// Owns a node, an edge and a triangle table (nothing is ever removed, so an index keeps its
// meaning for the life of the object), a copy of the mesh parameters taken at construction, and
// the state of the refinement. A triangle stores its three edges; an edge stores its two end
// nodes, the (at most two) triangles beside it, a segment mark and its loads; a node stores its
// position, the job polygon it came from and its loads.
//
// The nodes of triangle t, in this order: node 0 = begin of edge 1, node 1 = end of edge 1,
// node 2 = the end of edge 2 that is not on edge 1. The orientation of a triangle is not fixed.
//
// Use: construct with the parameters to mesh by (the mesh keeps its own copy: nothing it does
// reads process-wide settings), call GenerateMesh once with a prepared job
// (TObjCont::PrepareForMeshing), then only read. A mesh can also be built by hand, for tests of
// code that reads meshes: AddMeshNode, AddMeshEdge (segments carry mark 1 and the edge loads),
// then AddTriangleByNodes (or MakeTriangle on three edges) and SetTrianglePhysics.
//
// Single-threaded. RequestStop may be called from inside MeshProgress::ProcessEvents while
// GenerateMesh runs; the refinement then ends after its current pass.
#pragma once

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "mesh/FrameChanges.h"
#include "mesh/MeshGeometry.h"
#include "mesh/MeshIndex.h"
#include "mesh/MeshParameters.h"
#include "mesh/SegmentWorkList.h"
#include "mesh/TEdges.h"
#include "mesh/TTris.h"
#include "mesh/TVertexes.h"
#include "model/ArcGeometry.h"
#include "model/DofRecord.h"

namespace tavrin {

class TObjCont;
class MeshCanvas;
class FrontIndex;
class MeshProgress;

class FEM {
 public:
  FEM();  // the default MeshParameters{}: an empty mesh, or one for tests
  explicit FEM(const MeshParameters& parameters);
  ~FEM();
  FEM(const FEM&) = delete;
  FEM& operator=(const FEM&) = delete;
  FEM(FEM&&) = default;
  FEM& operator=(FEM&&) = default;

  // ---- Lifecycle and control ------------------------------------------------------------
  // Builds the mesh of the prepared job: initial constrained triangulation, then refinement
  // until no triangle is larger than maxArea and no angle below minAngle, until no step
  // helps any more, or until stopped; IsUsable tells which. When the refinement ends on its
  // own short of minAngle (bounds up to FinishingRefinement::kHighestBound), the finishing
  // refinement takes over and reaches it, except at input corners sharper than it. The
  // refinement also stops once the mesh has maxNodes nodes (checked at every new node).
  // Draws on canvas, reports through progress; returns the mesh's figures (also kept, see
  // Statistics()).
  MeshStatistics GenerateMesh(const TObjCont& structure, MeshCanvas& canvas,
                              MeshProgress& progress);
  MeshStatistics GenerateMesh(const TObjCont& structure);  // no drawing, no progress
  // The first half of GenerateMesh alone: the constrained triangulation of the job's nodes
  // with physics, before any refinement.
  void Triangulate(const TObjCont& structure, MeshCanvas& canvas);
  // The finishing refinement alone (FinishingRefinement) on the mesh as it is, until it is
  // done, stopped, or at the node limit.
  void Finish(MeshProgress& progress);
  void RequestStop() {
    if (running_) stop_ = MeshStop::User;
    running_ = false;
  }
  // Has at least one triangle, and every triangle meets the minimal angle the mesh was made
  // for (or the one given) except those exempt at input corners sharper than it
  // (InputCorners). A mesh whose refinement was stopped (Stop()) must meet the angle with
  // every triangle.
  bool IsUsable() const { return IsUsable(minAngleDegrees_); }
  bool IsUsable(double minAngleDegrees) const;  // exact to the bound (BoundRadians)
  // Why the refinement ended before its end, if it did.
  MeshStop Stop() const { return stop_; }
  // The figures of the last GenerateMesh; all zero before it.
  const MeshStatistics& Statistics() const { return statistics_; }
  // The smallest angle (radians) of the triangles not exempt at the bound (degrees), and the
  // number of those exempt; as CurrentMinAngle() and 0 until GenerateMesh has classified the
  // triangles, and pi when every triangle is exempt.
  double MinAngleFree(double boundDegrees) const;
  int InputCornerTriangles(double boundDegrees) const;
  // The angle (radians) of the input corner triangle t is exempt at, for bounds above it;
  // InputCorners::kNoCorner for a triangle at no corner.
  double CornerAngle(int t) const;
  // Nodes 0 .. InputNodeCount() - 1 are the job's (set by GenerateMesh).
  int InputNodeCount() const { return inputNodes_; }

  // ---- Queries --------------------------------------------------------------------------
  // The simple ones are inline: the mesher itself asks them in every measure it takes.
  int NodeCount() const { return nodes_.Count(); }
  int EdgeCount() const { return edges_.Count(); }
  int TriangleCount() const { return triangles_.Count(); }
  double NodeX(int i) const { return nodes_.X(i); }  // callers pass valid indices
  double NodeY(int i) const { return nodes_.Y(i); }
  MeshPoint Node(int i) const { return MeshPoint{nodes_.X(i), nodes_.Y(i)}; }
  int NodePolygon(int i) const;  // -1 for a node the mesher made
  int EdgeBegin(int e) const { return edges_.Begin(e); }
  int EdgeEnd(int e) const { return edges_.End(e); }
  // Input edge (or a piece of one). Inline: the refinement asks it of every edge in each pass.
  bool IsSegment(int e) const {
    const auto i = static_cast<std::size_t>(e);
    return i < segmentMarks_.size() ? segmentMarks_[i] != 0 : IsSegmentUncached(e);
  }
  // ---- Arc edges (mesh/MeshArcs.cpp) ---------------------------------------------------
  // A job's arc edge enters the mesh as a chain of segments, chords of the arc with every node
  // on it; each piece a split makes stays a chord of the same arc, its new node on the arc.
  // The arc edge e is a chord of, or null for a straight edge or a triangle's side.
  const Arc* SegmentArc(int e) const;
  // The length of the arc between e's ends over e's own length (1 for a straight edge): what
  // a load per unit length of the arc weighs on the chord.
  double ArcLengthRatio(int e) const;
  // The job edge segment e is a piece of, when that edge is an arc; -1 otherwise.
  int ArcJobEdge(int e) const;
  // By node: 1 for a node on some arc (an end of a piece of an arc edge), else 0.
  std::vector<std::uint8_t> NodesOnArcs() const;
  // Slot 1 or 2; -1 when empty.
  int EdgeTriangle(int e, int slot) const { return edges_.Triangle(e, slot); }
  int EdgeTriangleCount(int e) const;
  // k = 1, 2, 3; -1 otherwise.
  int TriangleEdge(int t, int k) const { return triangles_.Edge(t, k); }
  int TriangleNode(int t, int k) const;  // k = 0, 1, 2; -1 otherwise
  // The three nodes of t in TriangleNode's order, from one read of its first two edges; the
  // caller passes 0..TriangleCount()-1.
  std::array<int, 3> TriangleNodes(int t) const {
    const int e1 = triangles_.Edge(t, 1);
    const int e2 = triangles_.Edge(t, 2);
    const int n0 = edges_.Begin(e1);
    const int n1 = edges_.End(e1);
    const int b2 = edges_.Begin(e2);
    return {n0, n1, (b2 == n0 || b2 == n1) ? edges_.End(e2) : b2};
  }
  int GetNodeDof(int i, DofRecord& dof) const;           // 0, or -1 for a bad index
  int GetEdgeDof(int e, DofRecord& dof) const;           // 0, or -1 for a bad index
  int GetPhysics(int t, ElementPhysics& physics) const;  // t, or -1 for a bad index
  double StoredMinAngle(int t) const;  // radians, as stored when made or re-shaped
  double StoredArea(int t) const;
  double CurrentMinAngle() const { return currentMinAngle_; }  // radians
  double MaxArea() const { return maxArea_; }
  // The parameters the mesh was made with (animation as it was asked).
  MeshParameters Parameters() const;
  // The area a triangle must stay below: maxArea, or with a size field the smaller of it and
  // the field's target at the triangle's centroid. AboveAreaBound reads the stored area.
  double AreaBound(int t) const;
  bool AboveAreaBound(int t) const;
  bool HasSizeField() const { return sizeField_ != nullptr; }
  double TargetAngle() const { return targetAngle_; }  // radians
  // Nearest node within sqrt(maxArea + 0.0001) squared-distance units of (x, y), lower index
  // on ties; -1 when none.
  int NearestNode(double x, double y) const;

  // ---- Building (public so that small meshes can be made by hand) -----------------------
  int AddMeshNode(double x, double y, const DofRecord& dof);
  int AddMeshNode(double x, double y);  // zero loads
  void SetNodePolygon(int i, int polygon);
  // The existing edge joining a and b (newest first) with its data unchanged, else a new one.
  // arc: the index of the arc a segment is a chord of (SegmentArc), -1 for a straight one.
  int AddMeshEdge(int a, int b, const DofRecord& dof, int mark, int arc = -1);
  int AddMeshEdge(int a, int b);  // zero loads, mark 0
  // New triangle on three edges; measures from e1 and e2; attached to all three edges.
  int MakeTriangle(int e1, int e2, int e3);
  // Triangle a, b, c on the edges (a, b), (b, c), (c, a), made as needed; with physics.
  int AddTriangleByNodes(int a, int b, int c, const ElementPhysics& physics);
  int SetTrianglePhysics(int t, const ElementPhysics& physics);  // t, or -1

  // ---- Topology helpers -----------------------------------------------------------------
  int CommonNode(int e, int f) const;    // begin of f if on e, else end of f if on e, else -1
  int OppositeNode(int t, int e) const;  // node of t not on its edge e
  // The node off side e (ends a and b) of a triangle given by its three sides, as OppositeNode
  // answers, for callers that have read the sides already.
  static int ApexOf(const TEdges& edges, const int sides[3], int e, int a, int b);
  int ApexAcross(int e, int slot) const;  // node opposite e in the slot's triangle, or -1
  void AttachTriangle(int t);
  void DetachTriangle(int t);
  double Length(int a, int b) const;
  double MinAngle(int t) const;
  double MinAngle(int e, int f) const;  // triangle spanned by edges e and f
  double TriangleArea(int t) const;
  double TriangleArea(int e, int f) const;
  bool InTriangle(int t, MeshPoint p) const;

  // ---- Local operations (the only way the refinement changes the mesh) ------------------
  // With the loop's own flips (largest smallest angle, bounded propagation):
  void InsertInTriangle(int t, MeshPoint p);
  void SplitEdge(int e);
  // Whether segment e meets another segment of triangle t at a node, at less than the bound.
  bool AtCornerSharperThanBound(int e, int t) const;
  int FlipEdge(int e);  // e when flipped, else -1
  // The same, for a caller that has read the triangles in e's slots, t1 and t2 (-1 when
  // empty), and their sides: the three edges of t1, then those of t2, as the triangles list
  // them (-1 for an empty slot).
  int FlipEdge(int e, int t1, int t2, const int (&sides)[6]);
  int Legalize(int e1, int e2, int e3);  // 1 when anything flipped, else -1

  // Without flips, for a refinement with its own flip rule (FinishingRefinement). Each tells
  // the observer of every triangle it re-shapes or makes, in the order it does so.
  class TriangleObserver {
   public:
    virtual void Reshaped(int t) = 0;
    virtual void Made(int t) = 0;

   protected:
    ~TriangleObserver() = default;
  };
  // A triangle's corners in the order its pieces are listed, and its sides: side[i] faces
  // node[i].
  struct Corners {
    int node[3];
    int side[3];
  };
  // A new node at p inside triangle t, joined to its corners (in the order given): t keeps
  // the piece on side[2]; the pieces on side[0] and side[1] are made, in that order. Each
  // piece lists its side, then its two new edges around the triangle. Returns the node.
  int InsertInTriangle(int t, MeshPoint p, const Corners& corners, TriangleObserver& observer);
  // A new node at p on edge e (on an arc's piece, at SplitPoint): e keeps its begin and ends at the
  // node, a new edge (returned) runs from the node to e's old end with e's loads and mark; each
  // triangle beside e is cut from the node to its apex, keeping the piece at e's begin.
  int SplitEdgeAt(int e, MeshPoint p, TriangleObserver& observer);
  // Turns e, the diagonal of the two triangles beside it, to join their apexes, whatever
  // their angles; the caller has made sure the two form a convex quadrilateral.
  void FlipDiagonal(int e, TriangleObserver& observer);

  // ---- Refinement steps -----------------------------------------------------------------
  // -1 acceptable or refused, -2 no host triangle for the new point, >= 0 the mesh changed.
  int RefineTriangle(int t, bool force);
  // Forces a point into the neighbour across t's longest side.
  enum class NeighbourRefinement { NoNeighbour, Refused, Changed };
  [[nodiscard]] NeighbourRefinement RefineNeighbour(int t);
  void FlipLongestEdge(int t);
  bool IsEncroached(int e) const;
  bool Encroaches(int s, MeshPoint p) const;
  int WorstTriangle();  // also sets CurrentMinAngle()
  int LargestTriangle() const;
  void SetMinDistance(double d) { minDistance_ = d; }
  double MinDistance() const { return minDistance_; }

  // ---- Whole-table scans (one place each, so that an index can replace them) -------------
  int FindEdge(int a, int b) const;  // newest edge joining a and b, or -1
  bool TooClose(MeshPoint p) const;  // a node within the minDistance square
  void EncroachedSegments(MeshPoint p, std::vector<int>& out) const;
  bool IsBlocked(int a, int v) const;  // some edge not at a or v crosses a-v
  // The scans above, and the initial triangulation's search for each edge's apex, answer from
  // spatial indexes (the default) or by plain linear scans over the tables; both give the same
  // answers, so the same mesh. With the plain scans the refinement also takes no other shortcut
  // (it sweeps every segment in each pass, measures triangles again instead of reading their
  // stored angles, looks every edge up in the table's hash): the reference the shortcuts are
  // tested against.
  void SetIndexedScans(bool on) { indexedScans_ = on; }
  bool IndexedScans() const { return indexedScans_; }
  // The minimal angle (degrees) the mesh was made for; whether a refinement is running (a
  // stop request or the node limit clears it).
  double MinAngleDegrees() const { return minAngleDegrees_; }
  bool Running() const { return running_; }
  // For a refinement driven from outside (the finishing stage): marks one as running, so that
  // a stop request or the node limit can end it, or as ended.
  void SetRunning(bool running) { running_ = running; }

 private:
  void StopAtNodeLimit();
  bool AtNodeLimit() const { return stop_ == MeshStop::NodeLimit; }
  // Finds the triangles at input corners sharper than the minimal angle (cornerTriangles_)
  // and returns the figures of the mesh as it is, with the reason it misses a bound, from one
  // walk over the triangles (MeshUsability.cpp).
  MeshStatistics ClassifyAndMeasure();
  // The loop ended on its own short of a bound: the angle (exactly), or the area.
  bool ShortOfBounds();
  void LoadInput(const TObjCont& structure);
  // Job edge j between mesh nodes a and b as a chain of segments on its arc (mesh/MeshArcs.cpp).
  void LoadArcEdge(const TObjCont& structure, int j, int a, int b);
  // Where a split of segment e at chord point p puts its node: p itself on a straight piece;
  // on an arc's piece, the arc's point at the same fraction of the piece's angle as p is of the
  // chord (the parameter midpoint for the chord's midpoint).
  MeshPoint SplitPoint(int e, MeshPoint p) const;
  // index: the front's spatial index, or null for the plain scans (same triangulation).
  void SeedTriangle(MeshCanvas& canvas, int polygon, FrontIndex* index);
  bool InnerSide(int s, int polygon) const;
  void AdvanceFront(MeshCanvas& canvas, FrontIndex* index);
  void AssignPhysics(const TObjCont& structure);
  void Refine(MeshCanvas& canvas, MeshProgress& progress);
  // Reserves the tables for the triangles the refinement is expected to make.
  void ReserveForRefinement();
  bool RefinementPass(bool& flipTried);
  void CatchUpSegmentList();
  void DrawMeshEdge(MeshCanvas& canvas, int a, int b) const;
  void DrawWholeMesh(MeshCanvas& canvas) const;
  void DrawFrame(MeshCanvas& canvas);
  bool SplitArrangementValid(int e, int t) const;
  // A side of a triangle being cut at a new node, and the corners (indices into the cut's
  // corners) of its two new edges, in the order the piece lists them.
  struct Piece {
    int side;
    int first;
    int second;
  };
  // Cuts t at the new node n into the three pieces; t keeps pieces[0]; the other two take t's
  // physics. Every insertion comes through here.
  void CutTriangle(int t, int n, const int corner[3], const Piece pieces[3],
                   TriangleObserver* observer);
  // A new node at p on e as SplitEdgeAt describes, before any triangle is cut: returns the
  // edge from the node on.
  int StartSplit(int e, MeshPoint p);
  // How a triangle cut beside a split lists its new piece: the new edge first and t attached
  // after the piece is made, or the new edge last and t attached first.
  enum class CutOrder { SpokeFirst, SpokeLast };
  // Cuts t, beside edge e just split at node n (h runs on from n), from n to t's apex: t keeps
  // e and sideAtBegin, the new piece takes h and sideAtEnd. Every split comes through here.
  void CutBesideSplit(int t, int e, int h, int n, int sideAtBegin, int sideAtEnd, CutOrder order,
                      TriangleObserver* observer);
  // Turns e to join the apexes c1 and c2 (OppositeNode) of the triangles in its slots 1 and 2;
  // the new triangles' smallest angles when already measured in any order of corners (null:
  // measured here). Every flip comes through here.
  void TurnDiagonal(int e, int c1, int c2, const CornerFreeAngle* atA, const CornerFreeAngle* atB,
                    TriangleObserver* observer);
  int EdgeOf(int t, int a, int b) const;  // t's edge joining a and b, or -1
  // Moves edge e's ends; the only way an existing edge changes ends (splits and flips).
  void SetEdgeEnds(int e, int begin, int end);
  void ReshapeTriangle(int t, int e1, int e2, int e3);
  // The same with t's smallest angle as already measured on its new corners (MinAngleAnyOrder
  // in any order of them, when it says the order does not matter): a flip measures both new
  // triangles to decide, and measuring them again was a sixth of the refinement's time.
  void ReshapeTriangle(int t, int e1, int e2, int e3, double minAngle);
  void NoteTriangle(int t);  // tells the index about a new or re-shaped triangle
  // t's smallest angle: the stored one while it describes t's current edges, else measured
  // again (and always measured again with the plain scans, the reference).
  double MeasuredMinAngle(int t) const;
  // An edge of t has moved an end since t's measures were stored.
  bool Stale(int t) const {
    const auto i = static_cast<std::size_t>(t);
    return i < staleMeasures_.size() && staleMeasures_[i];
  }
  // t's area likewise: the stored one is measured from another corner, which only turns the
  // sign of the doubled area before its absolute value is taken, so it is TriangleArea(t).
  double MeasuredArea(int t) const;
  bool IsSegmentUncached(int e) const;  // extends segmentMarks_ to the edge table
  // The refinement loop's area test: MeasuredArea(t) is not below maxArea (a size field is
  // left to the finishing stage, see Refine).
  bool TooLarge(int t) const;

  bool running_ = false;
  MeshStop stop_ = MeshStop::None;
  double maxArea_;
  // Null for the documented mesh; shared with the parameters it came from (never changed).
  std::shared_ptr<const SizeField> sizeField_;
  double targetAngle_;
  double minAngleDegrees_;     // the parameter targetAngle_ was made from
  MeshStatistics statistics_;  // owned; written at the end of GenerateMesh
  bool finishingRan_ = false;
  int maxNodes_;
  bool animate_;
  int inputNodes_ = 0;
  // (triangle, corner angle) of the triangles at sharp input corners, by triangle; made at the
  // end of GenerateMesh.
  std::vector<std::pair<int, double>> cornerTriangles_;
  double currentMinAngle_ = 0.0;
  double minDistance_ = 0.0001;
  TVertexes nodes_;
  TEdges edges_;
  TTris triangles_;
  // Kept in step by MakeTriangle and ReshapeTriangle, the only places that write triangles,
  // and by the split and the flip, the only places that move an edge's end; it brings itself
  // up to date with new nodes and edges on its own.
  mutable MeshIndex index_;
  bool indexedScans_ = true;
  // The edges' marks, which never change once an edge is made; extended on demand.
  mutable std::vector<std::uint8_t> segmentMarks_;
  // The segments' indices in increasing order, for the refinement's segment pass, and how far
  // the edge table has been looked through for them. Marks never change and edges are only
  // appended, so the list only grows at its end.
  std::vector<int> segmentList_;
  int segmentListEdges_ = 0;
  // With the index on, the segment pass visits only the segments marked here: those beside a
  // triangle attached or detached since the pass last found them clear.
  SegmentWorkList encroachable_;
  // The edges made or moved since the newest node was added: every edge at that node is among
  // them, so a lookup of an edge at the newest node (every lookup of the refinement) needs no
  // hash index.
  std::vector<int> recentEdges_;
  // With animation on, what changed since the last frame drawn.
  FrameChanges changes_;
  // By triangle: an edge of it has moved an end since its measures were stored (a triangle
  // beside an edge being split, until the split re-shapes it).
  std::vector<std::uint8_t> staleMeasures_;
  // The arcs of the job's arc edges, indexed by TEdges::Arc.
  std::vector<Arc> arcs_;
  std::vector<int> arcJobEdge_;  // by arc: the job edge it came from
};

}  // namespace tavrin
