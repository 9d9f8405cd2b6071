#include "ui/PlanEditing.h"

#include <string>

#include "model/ArcCheck.h"
#include "model/ArcGeometry.h"
#include "model/GeometryCheck.h"
#include "model/JobCircle.h"
#include "model/TObjCont.h"
#include "ui/CaseEditing.h"
#include "ui/EditMessages.h"
#include "ui/JobDrawing.h"
#include "ui/PlanView.h"
#include "ui/Platform.h"
#include "ui/ViewTransform.h"

namespace tavrin {

void PlanEditing::Reset() {
  newPolygonMode = false;
  firstPolygonPoint = true;
  newVertexMode = false;
  selectionActive = false;
  selectionKind = SelectionKind::none;
  shiftHeld = false;
  selectedIndex_ = -1;
  request_ = EditRequest();
}

PolygonDrawing PlanEditing::Drawing() const {
  return PolygonDrawing{newPolygonMode, firstPolygonPoint, lastPolygonX, lastPolygonY};
}

void PlanEditing::RestoreDrawing(const PolygonDrawing& drawing) {
  newPolygonMode = drawing.active;
  firstPolygonPoint = drawing.firstPoint;
  lastPolygonX = drawing.lastX;
  lastPolygonY = drawing.lastY;
  if (newPolygonMode) newVertexMode = false;  // the two modes exclude each other
  ClearSelection();
}

void PlanEditing::ClearSelection() {
  selectionActive = false;
  selectionKind = SelectionKind::none;
  selectedIndex_ = -1;
  request_.kind = SelectionKind::none;
  request_.index = -1;
  request_.geometryChanged = request_.loadsChanged = request_.constraintsChanged =
      request_.physicsChanged = request_.arcChanged = false;
}

void PlanEditing::NewPolygonButton() {
  newPolygonMode = true;
  newVertexMode = false;
  host_.SetModified();
}

void PlanEditing::NewVertexButton() {
  if (!newPolygonMode) newVertexMode = true;
  host_.SetModified();
}

void PlanEditing::pickpoint(int sx, int sy) {
  const ViewTransform& t = host_.Transform();
  double x = t.WorldX(sx), y = t.WorldY(sy);
  TObjCont& job = host_.Structure();
  PlanView& view = host_.View();
  if (newVertexMode) {
    job.AddFreeNode(x, y);
    // The mode's button marked the job already, but a save may have come in between.
    host_.SetModified();
    DrawNode(view, job, PlanView::Black(), sx, sy, -1);
    newVertexMode = false;
    return;
  }
  if (newPolygonMode) {
    const StatusCode status = job.AddPolygonVertex(x, y, t.scale);
    if (status == StatusCode::Added || status == StatusCode::PolygonClosed) host_.SetModified();
    if (status == StatusCode::Added) {
      DrawNode(view, job, PlanView::Black(), sx, sy, -1);
      if (!firstPolygonPoint)
        DrawEdge(view, job, PlanView::Black(), sx, sy, t.ScreenX(lastPolygonX),
                 t.ScreenY(lastPolygonY), -1);
      lastPolygonX = x;
      lastPolygonY = y;
      firstPolygonPoint = false;
    } else if (status == StatusCode::PolygonClosed) {
      DrawEdge(view, job, PlanView::Black(), sx, sy, t.ScreenX(lastPolygonX),
               t.ScreenY(lastPolygonY), -1);
    }
    if (const auto message = MessageFor(EditOperation::AddPolygonVertex, status))
      CurrentPlatform().ShowMessage(message->text, message->caption);
    if (status == StatusCode::PolygonClosed) {
      firstPolygonPoint = true;
      newPolygonMode = false;
      host_.PolygonClosed();
    }
    return;
  }
  PickSelection(x, y);
}

// Far ends of the first two edges (in edge order) that meet at the node into c0..c3, the node
// itself into c4, c5. A node with fewer edges repeats its own position.
void PlanEditing::NodeNeighbours(int node, std::array<double, 6>& c) const {
  const TObjCont& job = host_.Structure();
  double nx = job.NodeX(node), ny = job.NodeY(node);
  c = {nx, ny, nx, ny, nx, ny};
  int found = 0;
  for (int e = 0; e < job.EdgeCount() && found < 2; ++e) {
    int other = -1;
    if (job.EdgeBegin(e) == node)
      other = job.EdgeEnd(e);
    else if (job.EdgeEnd(e) == node)
      other = job.EdgeBegin(e);
    if (other < 0) continue;
    c[2 * found] = job.NodeX(other);
    c[2 * found + 1] = job.NodeY(other);
    ++found;
  }
}

void PlanEditing::FetchNodeData(int node) {
  std::array<double, 6> v{};
  int code = 0;
  if (host_.Structure().GetNodeAttributes(node, v, code) >= 0) StoreAttributes(v, code);
  request_.springs = host_.Structure().NodeSprings(node);
  ShowCaseValues(host_.Structure(), SelectionKind::node, node, request_);
}

void PlanEditing::FetchEdgeData(int edge) {
  std::array<double, 6> v{};
  int code = 0;
  if (host_.Structure().GetEdgeAttributes(edge, v, code) >= 0) StoreAttributes(v, code);
  request_.springs = host_.Structure().EdgeSprings(edge);
  request_.bulge = host_.Structure().EdgeBulge(edge);
  ShowCaseValues(host_.Structure(), SelectionKind::edge, edge, request_);
}

// The model hands out prescribed values first, then loads, then the code.
void PlanEditing::StoreAttributes(const std::array<double, 6>& v, int code) {
  request_.dispLinZ = v[0];
  request_.dispRotX = v[1];
  request_.dispRotY = v[2];
  request_.loadLinZ = v[3];
  request_.loadRotX = v[4];
  request_.loadRotY = v[5];
  request_.constraintCode = static_cast<std::uint16_t>(code);
}

void PlanEditing::SelectNode(int node, bool freeNode) {
  const TObjCont& job = host_.Structure();
  const ViewTransform& t = host_.Transform();
  double x = job.NodeX(node), y = job.NodeY(node);
  DrawNode(host_.View(), job, PlanView::Red(), t.ScreenX(x), t.ScreenY(y), node);
  selectionKind = SelectionKind::node;
  selectedIndex_ = node;
  if (freeNode)
    coords_ = {x, y, x, y, x, y};
  else
    NodeNeighbours(node, coords_);
  FetchNodeData(node);
}

void PlanEditing::SelectEdge(int edge) {
  const TObjCont& job = host_.Structure();
  const ViewTransform& t = host_.Transform();
  int b = job.EdgeBegin(edge), e = job.EdgeEnd(edge);
  coords_ = {job.NodeX(b), job.NodeY(b), job.NodeX(e), job.NodeY(e), 0.0, 0.0};
  DrawEdge(host_.View(), job, PlanView::Red(), t.ScreenX(coords_[0]), t.ScreenY(coords_[1]),
           t.ScreenX(coords_[2]), t.ScreenY(coords_[3]), edge);
  selectionKind = SelectionKind::edge;
  selectedIndex_ = edge;
  FetchEdgeData(edge);
}

void PlanEditing::SelectPolygon(int polygon) {
  const TObjCont& job = host_.Structure();
  DrawPolygon(host_.View(), job, host_.Transform(), PlanView::Red(), polygon);
  selectionKind = SelectionKind::polygon;
  selectedIndex_ = polygon;
  coords_ = {};
  FetchPolygonData(polygon);
}

void PlanEditing::FetchPolygonData(int polygon) {
  std::array<double, 5> physics{};
  if (host_.Structure().GetPolygonPhysics(polygon, physics) == StatusCode::Done) {
    request_.eModulus = physics[0];
    request_.poisson = physics[1];
    request_.thickness = physics[2];
    request_.pressure = physics[3];
    request_.hole = physics[4] > 0.0;
    request_.foundation = host_.Structure().Foundation(polygon);
    request_.reinforcementAngle = host_.Structure().ReinforcementAngle(polygon);
    ShowCaseValues(host_.Structure(), SelectionKind::polygon, polygon, request_);
  }
}

SelectionKind PlanEditing::PickSelection(double x, double y) {
  host_.Redraw();
  selectionActive = false;
  selectionKind = SelectionKind::none;
  selectedIndex_ = -1;
  coords_ = {};
  const TObjCont& job = host_.Structure();

  // Polygon edges: each edge's end nodes before its segment; the first hit ends the scan.
  bool hit = false;
  for (int p = 0; p < job.PolygonCount() && !hit; ++p) {
    for (int k = 0; k < job.PolygonEdgeCount(p) && !hit; ++k) {
      int e = job.PolygonEdge(p, k);
      int ends[2] = {job.EdgeBegin(e), job.EdgeEnd(e)};
      for (int node : ends) {
        if (node >= 0 && PointDistance(x, y, job.NodeX(node), job.NodeY(node)) < kPickTolerance) {
          if (shiftHeld)
            SelectPolygon(p);
          else
            SelectNode(node, false);
          hit = true;
          break;
        }
      }
      if (hit || ends[0] < 0 || ends[1] < 0) continue;
      const double x1 = job.NodeX(ends[0]), y1 = job.NodeY(ends[0]);
      const double x2 = job.NodeX(ends[1]), y2 = job.NodeY(ends[1]);
      // An arc edge is picked where it is drawn, along its arc.
      const double distance =
          job.IsArcEdge(e) ? DistanceToArc(ArcThrough(x1, y1, x2, y2, job.EdgeBulge(e)), x, y)
                           : PointSegmentDistance(x, y, x1, y1, x2, y2);
      if (distance < kPickTolerance) {
        if (shiftHeld)
          SelectPolygon(p);
        else
          SelectEdge(e);
        hit = true;
      }
    }
  }
  // Free nodes win over whatever the scan found; the last one in range is kept.
  for (int i = 0; i < job.NodeCount(); ++i) {
    if (job.IsFreeNode(i) && PointDistance(x, y, job.NodeX(i), job.NodeY(i)) < kPickTolerance)
      SelectNode(i, true);
  }
  selectionActive = selectionKind != SelectionKind::none;
  request_.kind = selectionKind;
  request_.index = selectedIndex_;
  int ids[1] = {selectedIndex_};
  host_.ShowSelection(selectionKind, ids, coords_);
  return selectionKind;
}

void PlanEditing::SelectEdgeEnd(int edge, int end) {
  const TObjCont& job = host_.Structure();
  int node = end == 0 ? job.EdgeBegin(edge) : job.EdgeEnd(edge);
  if (node < 0) return;
  host_.Redraw();
  selectionActive = true;
  SelectNode(node, false);
  request_.kind = SelectionKind::node;
  request_.index = node;
  int ids[1] = {node};
  host_.ShowSelection(SelectionKind::node, ids, coords_);
}

void PlanEditing::ApplyEdits() {
  TObjCont& job = host_.Structure();
  EditRequest& r = request_;
  const bool isNode = r.kind == SelectionKind::node;
  const bool isEdge = r.kind == SelectionKind::edge;
  if (r.geometryChanged) {
    host_.SetModified();
    if (isNode || isEdge) {
      int node =
          isNode ? r.index : (r.moveBeginNode ? job.EdgeBegin(r.index) : job.EdgeEnd(r.index));
      if (const auto message = MessageFor(EditOperation::MoveNode, job.MoveNode(node, r.x, r.y)))
        CurrentPlatform().ShowMessage(message->text, message->caption);
    } else if (r.kind != SelectionKind::polygon) {
      return;  // nothing selected: nothing to move and nothing else to apply
    }
    // A polygon cannot be moved as a whole; its other groups are still applied below.
  }
  if (r.arcChanged && isEdge) {
    host_.SetModified();
    ApplyBulge(r.index, r.bulge);
  }
  if (r.loadCase > 0 && (r.loadsChanged || r.constraintsChanged || r.physicsChanged)) {
    host_.SetModified();
    if (const std::string problem = ApplyCaseEdits(job, r); !problem.empty()) ShowError(problem);
  } else if (r.loadsChanged) {
    host_.SetModified();
    if (isEdge) job.SetEdgeLoads(r.index, r.loadLinZ, r.loadRotX, r.loadRotY);
    if (isNode) job.SetNodeLoads(r.index, r.loadLinZ, r.loadRotX, r.loadRotY);
  }
  if (r.constraintsChanged && r.loadCase <= 0) {
    host_.SetModified();
    const std::array<double, 3> displacement{r.dispLinZ, r.dispRotX, r.dispRotY};
    if (isEdge) job.SetEdgeSupport(r.index, r.constraintCode, displacement, r.springs);
    if (isNode) job.SetNodeSupport(r.index, r.constraintCode, displacement, r.springs);
  }
  if (r.physicsChanged && r.loadCase <= 0) {
    host_.SetModified();
    if (r.kind == SelectionKind::polygon)
      job.SetPolygonPhysics(r.index, r.pressure, r.eModulus, r.poisson, r.thickness, r.hole);
    if (r.kind == SelectionKind::polygon) {
      job.SetPolygonFoundation(r.index, r.foundation);
      job.SetPolygonReinforcementAngle(r.index, r.reinforcementAngle);
    }
  }
  host_.View().ClearCanvas();
  host_.Redraw();
  r.constraintCode = 0;
  r.dispLinZ = r.dispRotX = r.dispRotY = 0.0;
  r.springs = {};
  r.loadLinZ = r.loadRotX = r.loadRotY = 0.0;
}

// The arc is checked where it now runs, at the editor's clearance; a refused one is put back as
// it was and the message names the edge.
void PlanEditing::ApplyBulge(int edge, double bulge) {
  TObjCont& job = host_.Structure();
  const double before = job.EdgeBulge(edge);
  std::string problem;
  if (job.SetEdgeBulge(edge, bulge) != StatusCode::Done) {
    problem = "Edge ";
    problem += std::to_string(edge);
    problem += ": the bulge is not a finite number.";
  } else {
    problem = CheckArc(job, edge, kMinNodeDistance);
  }
  if (problem.empty()) return;
  job.SetEdgeBulge(edge, before);
  CurrentPlatform().ShowMessage(problem, "Error!");
}

std::string PlanEditing::AddCircle(double cx, double cy, double r, bool hole) {
  std::string problem = tavrin::AddCircle(host_.Structure(), cx, cy, r, hole);
  if (!problem.empty()) {
    CurrentPlatform().ShowMessage(problem, "Error!");
    return problem;
  }
  host_.SetModified();
  host_.PolygonClosed();
  host_.Redraw();
  return problem;
}

void PlanEditing::ShowSelectionAgain() {
  const TObjCont& job = host_.Structure();
  const int index = request_.index;
  switch (request_.kind) {
    case SelectionKind::node:
      if (index < 0 || index >= job.NodeCount()) return;
      NodeNeighbours(index, coords_);  // a free node has all six equal
      FetchNodeData(index);
      break;
    case SelectionKind::edge: {
      if (index < 0 || index >= job.EdgeCount()) return;
      int b = job.EdgeBegin(index), e = job.EdgeEnd(index);
      coords_ = {job.NodeX(b), job.NodeY(b), job.NodeX(e), job.NodeY(e), 0.0, 0.0};
      FetchEdgeData(index);
      break;
    }
    case SelectionKind::polygon:
      if (index < 0 || index >= job.PolygonCount()) return;
      coords_ = {};
      FetchPolygonData(index);
      break;
    default:
      return;
  }
  int ids[1] = {index};
  host_.ShowSelection(request_.kind, ids, coords_);
}

}  // namespace tavrin
