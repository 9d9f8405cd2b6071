// TObjCont: the job model. Owns everything the user draws and assigns: nodes (position, loads,
// prescribed displacements, polygon tag, free flag), edges between two nodes (loads, prescribed
// displacements) and polygons (an ordered edge list, physics and a name per slot). Polygon 0 is
// the plate outline; polygons 0..PolygonCount()-1 are closed and slot PolygonCount() is the open
// polygon being drawn. Nothing is ever removed, so an index keeps its element until Clear().
// Callers get values, never references into the tables. No operation throws for bad indices:
// queries return sentinels (2e200 for a coordinate, -1 for an index or code, false for a flag)
// and setters report a StatusCode (model/Status.h).
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "model/DofRecord.h"
#include "model/Geometry.h"
#include "model/LoadCases.h"
#include "model/NumberFormat.h"
#include "model/Status.h"

namespace tavrin {

class TFloats;
class TInts;

struct PolygonPhysics {
  double eModulus = 210000.0;
  double nu = 0.25;
  double thickness = 10.0;
  double pressure = 0.0;
  bool isHole = false;
  double foundation = 0.0;  // modulus of an elastic foundation under the polygon; 0 for none
  // Direction of the slab's first reinforcement layer, degrees counter-clockwise from x (the
  // second runs at right angles to it); the Wood–Armer moments are given in these axes.
  double reinforcementAngle = 0.0;
};

// What reading a job text left out: the lines that hold something other than a comment (or an
// OBJECT line) and were not applied, as each stands on its own.
struct JobReadSummary {
  int records = 0;               // lines applied
  int skipped = 0;               // lines not applied
  int firstSkippedLine = 0;      // 1-based number of the first of them; 0 when none
  std::string firstSkippedText;  // that line, cut to 40 characters
  std::string firstSkippedReason;
  bool hasComment = false;  // some line is a comment
  // The first spring or foundation line (K...) not read, as "line 12 ("KN, 3, -1, 0, 0"): a
  // stiffness or modulus it gives is negative or not finite"; "" when none was skipped. Without
  // it the plate would stand on fewer supports than the file describes, so a run refuses it.
  std::string supportSkipped;
  // "3 lines were not read. The first is line 7 ("E, 4, 9"): it names a node the job does not
  // have." Empty when nothing was skipped.
  std::string Describe() const;
};

// Outcome of reading or writing a job file; `error` is one line for the user when !ok. A read
// also tells what it skipped.
struct JobFileResult {
  bool ok = true;
  std::string error;
  JobReadSummary read;
  explicit operator bool() const { return ok; }
};

class TObjCont {
 public:
  // Node and edge records: their loads and constraints are the record the mesh copies.
  struct Node : DofRecord {
    int polygon = -1;
    double x = 0.0;
    double y = 0.0;
    bool isFree = true;
  };

  struct Edge : DofRecord {
    int begin = -1;
    int end = -1;
    double bulge = 0.0;  // 0 for a straight edge, else an arc (model/ArcGeometry.h)
  };

  TObjCont();

  // Back to the constructed state: no nodes, edges or closed polygons, an empty open polygon 0.
  void Clear();

  // ---- Queries (constant time) ----
  int NodeCount() const;
  int EdgeCount() const;
  int PolygonCount() const;   // closed polygons; also the index of the open polygon
  int LastNode() const;       // NodeCount() - 1
  double NodeX(int i) const;  // 2e200 for a bad index
  double NodeY(int i) const;
  int EdgeBegin(int e) const;  // -1 for a bad index
  int EdgeEnd(int e) const;
  // Edge count of closed polygon p or of the open polygon (p == PolygonCount()); -1 otherwise.
  int PolygonEdgeCount(int p) const;
  // k-th edge of p's list; -1 when p or k is out of range.
  int PolygonEdge(int p, int k) const;
  bool IsFreeNode(int i) const;
  // ---- Arc edges (model/JobArcs.cpp) ----
  // The edge's bulge: 0 for a straight edge (and for a bad index), else tan(theta/4) of the arc
  // it runs along, positive counter-clockwise from its begin node to its end node.
  double EdgeBulge(int e) const;
  bool IsArcEdge(int e) const { return EdgeBulge(e) != 0.0; }
  // Any finite value is stored (the geometry check judges it): Done, BadIndex, or
  // BadNumber for a value that is not finite (nothing changes).
  StatusCode SetEdgeBulge(int e, double bulge);
  int NodePolygon(int i) const;  // -1 for a bad index
  bool IsHole(int p) const;      // closed polygons only
  // |force component| > 1e-4 of node (isNode) or edge index; false for a bad index.
  bool HasLinZLoad(int index, bool isNode) const;
  bool HasRotXLoad(int index, bool isNode) const;
  bool HasRotYLoad(int index, bool isNode) const;
  int GetConstraintCode(int index, bool isNode) const;  // -1 for a bad index
  // Fills displacement lin. Z, rot. X, rot. Y, then force lin. Z, rot. X, rot. Y, and the code;
  // returns the code, or -1 (nothing filled) for a bad index.
  int GetNodeAttributes(int i, std::array<double, 6>& values, int& code) const;
  int GetEdgeAttributes(int e, std::array<double, 6>& values, int& code) const;
  // The same as one record; an empty record for an index out of range.
  DofRecord NodeDof(int i) const;
  DofRecord EdgeDof(int e) const;
  // Fills eModulus, nu, thickness, pressure, then 1.0 for a hole or -1.0; Done, or
  // BadPolygon (nothing filled) for p outside 0..PolygonCount() (the open polygon counts).
  StatusCode GetPolygonPhysics(int p, std::array<double, 5>& values) const;
  PolygonPhysics Physics(int p) const;  // defaults for a bad p
  // Polygon slot name ("" for a bad p); not stored in the job file.
  std::string PolygonName(int p) const;
  // True when the next polygon vertex starts a new polygon.
  bool NewPolygonPending() const { return newPolygonPending_; }

  // ---- Setters ----
  // Values must be finite: infinity or NaN is refused with BadNumber and nothing changes.
  StatusCode SetNodeLoads(int i, double linZ, double rotX, double rotY);  // Done / BadIndex
  StatusCode SetEdgeLoads(int e, double linZ, double rotX, double rotY);  // Done / BadIndex
  // All three values are stored whatever the code; Done, BadNode for a bad node, HeldRigidly
  // when the code holds a freedom that has a spring.
  StatusCode SetNodeConstraints(int i, int code, double linZ, double rotX, double rotY);
  StatusCode SetEdgeConstraints(int e, int code, double linZ, double rotX,
                                double rotY);  // BadIndex
  // Note the order: pressure first; the foundation and the reinforcement angle are kept. Done, or
  // BadPolygon for p outside 0..PolygonCount().
  StatusCode SetPolygonPhysics(int p, double pressure, double eModulus, double nu, double thickness,
                               bool isHole);
  StatusCode SetPolygonName(int p, const std::string& name);  // Done / BadPolygon
  void SetFreeNode(int i, bool isFree);                       // ignored for a bad index

  // ---- Elastic supports (model/ElasticSupports.cpp) ----
  // Spring stiffnesses on lin. Z, rot. X, rot. Y of a node, or of an edge per unit length; 0 is
  // no spring. Zeros for a bad index.
  std::array<double, 3> NodeSprings(int i) const;
  std::array<double, 3> EdgeSprings(int e) const;
  // The foundation modulus under closed polygon p (pressure per deflection); 0 for none or a
  // bad p.
  double Foundation(int p) const;
  // Some node or edge has a spring, or some closed polygon a foundation.
  bool HasElasticSupport() const;
  // Refused with nothing changed: BadIndex (BadPolygon) for an index out of range,
  // BadStiffness for a value that is negative or not finite, HeldRigidly for a spring on a
  // freedom the constraint code holds. A spring on a held freedom would fight the rigid
  // support: one of the two is a mistake, so the job never holds both.
  StatusCode SetNodeSprings(int i, const std::array<double, 3>& k);
  StatusCode SetEdgeSprings(int e, const std::array<double, 3>& k);
  StatusCode SetPolygonFoundation(int p, double k);  // closed polygons only
  // The constraint code and the springs of a node or an edge at once, as the editor sets them
  // (a freedom may turn from rigid to elastic in one step); the same refusals as above.
  StatusCode SetNodeSupport(int i, int code, const std::array<double, 3>& displacement,
                            const std::array<double, 3>& springs);
  StatusCode SetEdgeSupport(int e, int code, const std::array<double, 3>& displacement,
                            const std::array<double, 3>& springs);

  // ---- Reinforcement directions (model/JobReinforcement.cpp) ----
  // The reinforcement angle of closed polygon p in degrees from x; 0 for a bad p.
  double ReinforcementAngle(int p) const;
  // Any value is stored (the geometry check refuses one that is not finite): Done, or
  // BadPolygon for p outside the closed polygons.
  StatusCode SetPolygonReinforcementAngle(int p, double degrees);

  // ---- Building (no geometric checks) ----
  StatusCode AddNode(double x, double y);      // Added
  StatusCode AddFreeNode(double x, double y);  // Added
  // BadNode, Exists (same pair either way round), or Done.
  StatusCode AddEdge(int begin, int end);
  // AddEdge, then appends the edge to the open polygon: Added, or AddEdge's refusal.
  StatusCode AddPolygonEdge(int begin, int end);
  // Default physics into the open slot, PolygonCount() + 1; PolygonClosed.
  StatusCode ClosePolygon();

  // ---- Editing with geometric rules ----
  // One click of polygon drawing at (x, y); pixelSize is world units per screen pixel.
  // Added, PolygonClosed, Crossing or Rejected (also for a non-finite position).
  StatusCode AddPolygonVertex(double x, double y, double pixelSize);
  // Done, Exists, Rejected (also for a bad index or a non-finite position) or Crossing.
  StatusCode MoveNode(int i, double x, double y);
  // The first node of polygon p, walking its edge list (begin node, then end node), that lies
  // strictly within 3 * scale of (x, y) in both axes; -1 when none does.
  int FindVertexNear(int p, double x, double y, double scale) const;
  // Position in p's list of the first edge the segment crosses, or -1.
  int FindCrossedEdge(int p, double x1, double y1, double x2, double y2) const;

  // ---- Job file ----
  // Writes the job to path through a temporary file in the same folder renamed over the target,
  // so a failed save leaves any previous file intact.
  JobFileResult SaveJob(const std::string& path) const;
  // Reads path and rebuilds the model from it; on failure the model is untouched. A file that
  // defines no node and has lines not read, or that has neither a record nor a comment, is
  // refused, so that a wrong file does not open as an empty job (an empty job written here has
  // its comments).
  JobFileResult LoadJob(const std::string& path);
  // The file's text, and the model rebuilt from a text (Clear() first). A UTF-8 byte-order mark
  // at the start is skipped; the text written has none. The edges of a polygon still being
  // drawn are written after the closed polygons, without a Close, and read back as they were.
  void WriteJob(std::ostream& out) const;
  std::string JobText() const;
  JobReadSummary ReadJobText(std::string_view text);
  // Applies one line of a job file; returns a status code (Comment for a comment, a blank
  // line or an OBJECT line, UnknownRecord for another keyword).
  StatusCode ParseJobLine(std::string_view line);

  // ---- Load cases (model/JobCases.cpp) ----
  // Case 0 is the loads of the tables above (node and edge forces, prescribed values, polygon
  // pressures); the further cases, the combinations and the envelopes are in Cases().
  const LoadCases& Cases() const { return cases_; }
  // Replaces all of Cases(). Refused with a one-line message naming the fault, and nothing
  // changed, when LoadCases::Problem() finds one, a value is not finite, a case names a node,
  // an edge or a closed polygon the job does not have, or prescribes a value for a freedom
  // the constraint code does not hold. "" when done.
  std::string SetCases(LoadCases cases);
  // The loads of case k (0 .. Cases().CaseCount() - 1) as a record, with prescribed values
  // only where the constraint codes hold a freedom; an empty record for a bad k.
  LoadCase CaseLoads(int k) const;
  // The factored sum of combination c's cases; an empty record for a bad c or a combination
  // naming a missing case.
  LoadCase CombinationLoads(int c) const;
  // A copy of this job with these loads as its only case (and no combinations): what a plain
  // single-case run of them would read.
  TObjCont WithLoads(const LoadCase& loads) const;

  // ---- Mesher input ----
  // SelectOutline() then AssignNodePolygons().
  void PrepareForMeshing();
  // Moves the outermost polygon's edge list (with its physics and name) into slot 0.
  void SelectOutline();
  // Tags every node on a closed polygon, and every free node, with its polygon.
  void AssignNodePolygons();
  // The polygon a point is attributed to by a horizontal ray, or -1.
  int FindPolygonAt(double x, double y) const;

 private:
  struct PolygonSlot {
    std::vector<int> edges;
    PolygonPhysics physics;
    std::string name;
  };

  bool ValidNode(int i) const { return i >= 0 && i < NodeCount(); }
  bool ValidEdge(int e) const { return e >= 0 && e < EdgeCount(); }
  const std::array<double, 3>* Force(int index, bool isNode) const;
  // Appends the crossings of the horizontal line at height h with every closed polygon's edges,
  // in polygon and list order: the crossing's x and its polygon.
  void RayCrossings(double h, TFloats& crossX, TInts& crossPolygon) const;
  // Exchanges slot q (the outline) with slot 0, physics and name included.
  void MoveToOutlineSlot(int q);
  // The job file's records of Cases(): written after the loads with the file's edge numbers
  // (fileIndex[e] for model edge e, -1 when it is not written); one such line applied.
  void WriteCases(std::ostream& out, const std::vector<int>& fileIndex) const;
  StatusCode ParseCaseLine(std::string_view keyword, std::string_view fields);
  // The job file's spring and foundation records (model/JobFileSupports.cpp), written after the
  // loads with the file's edge numbers (fileOrder[k]: the model edge of file edge k); one such
  // line applied, its fields as the reader split them.
  void WriteSupports(std::ostream& out, const std::vector<int>& fileOrder) const;
  StatusCode ParseSupportLine(std::string_view keyword, const std::array<double, 6>& value,
                              const std::array<bool, 6>& isNumber, int fieldCount);
  // The AE records of the arc edges, with the file's edge numbers (fileOrder[k] is the model
  // edge written k-th); nothing for a job without arcs.
  void WriteArcs(std::ostream& out, const std::vector<int>& fileOrder) const;
  // The RA records of the polygons with a reinforcement angle; nothing when every angle is 0.
  void WriteReinforcement(std::ostream& out) const;

  std::vector<Node> nodes_;
  std::vector<Edge> edges_;
  // Slots 0..polygonCount_; the last one is the open polygon.
  std::vector<PolygonSlot> polygons_;
  int polygonCount_ = 0;
  bool newPolygonPending_ = true;
  // Unordered node pairs of all edges, for AddEdge's duplicate test.
  std::unordered_set<std::uint64_t> edgePairs_;
  LoadCases cases_;
  // The further case the job file reader puts LP, LN, LE, LD and LDE lines into (an index of
  // cases_.further), -1 outside an LC block.
  int caseBeingRead_ = -1;
};

}  // namespace tavrin
