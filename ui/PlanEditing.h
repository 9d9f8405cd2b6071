// PlanEditing: the mouse side of editing in the plan view. It owns the editing state (polygon
// and free-vertex drawing modes, the current selection, the Shift/Space flag) and the shared
// EditRequest; it draws new polygons vertex by vertex, places free nodes, picks nodes, edges
// and polygons with a tolerance of 3 world units, highlights the pick in red, and carries out
// the edits that the property editor hands back.
//
// Expects a host (the main window) that owns the job and the view and outlives this object.
// The geometric rules (crossings, closing, moving) are the job model's; this class reacts to
// their status codes with the messages the user sees.
#pragma once

#include <array>
#include <span>
#include <string>

#include "ui/EditRequest.h"

namespace tavrin {

class PlanView;
class TObjCont;
struct ViewTransform;

// The state of polygon drawing that goes with the job: whether a polygon is being drawn,
// whether the next vertex starts one, and where the last vertex was placed.
struct PolygonDrawing {
  bool active = false;
  bool firstPoint = true;
  double lastX = 0.0, lastY = 0.0;
};

class PlanEditingHost {
 public:
  virtual ~PlanEditingHost() = default;
  virtual TObjCont& Structure() = 0;
  virtual PlanView& View() = 0;
  virtual const ViewTransform& Transform() = 0;
  // Full repaint of the plan view from the job (no highlight).
  virtual void Redraw() = 0;
  virtual void SetModified() = 0;
  // A polygon was closed: default maximal area, Generate mesh enabled.
  virtual void PolygonClosed() = 0;
  // The selection hand-over to the property editor.
  virtual void ShowSelection(SelectionKind kind, std::span<const int> ids,
                             const std::array<double, 6>& c) = 0;
};

class PlanEditing {
 public:
  static constexpr double kPickTolerance = 3.0;  // world units, for nodes and edges alike

  explicit PlanEditing(PlanEditingHost& host) : host_(host) {}

  // Back to the state of a new job: no mode, no selection, Shift released.
  void Reset();

  // The "new polygon" and "New Vertex" tool buttons.
  void NewPolygonButton();
  void NewVertexButton();

  // A mouse press at screen point (sx, sy): adds a free node, a polygon vertex, or picks.
  void pickpoint(int sx, int sy);
  // Selection of the item under a world point; returns the kind selected.
  SelectionKind PickSelection(double x, double y);
  // Selects the begin (end 0) or end (end 1) node of an edge and fetches that node's data.
  void SelectEdgeEnd(int edge, int end);
  // Carries out the validated request; see the groups in the source.
  void ApplyEdits();
  // A circle of radius r about (cx, cy) as a new closed polygon of arcs (model/JobCircle.h), a
  // hole when hole is set: "" when added (the plan is drawn again), else the message shown.
  std::string AddCircle(double cx, double cy, double r, bool hole);
  // Fetches the selected item's data and position from the job again and hands them to the
  // property editor, without highlighting: after an Apply whose move was refused, the editor
  // shows where the node really is.
  void ShowSelectionAgain();

  // The polygon drawing state, and putting one back (an undone step): the selection is dropped
  // with it, as the indices it held may be gone.
  PolygonDrawing Drawing() const;
  void RestoreDrawing(const PolygonDrawing& drawing);
  // No selection: kind none, index -1, nothing for the editor to apply.
  void ClearSelection();
  int SelectedIndex() const { return selectedIndex_; }

  EditRequest& Request() { return request_; }
  const EditRequest& Request() const { return request_; }

  bool newPolygonMode = false;
  bool firstPolygonPoint = true;
  bool newVertexMode = false;
  bool selectionActive = false;
  SelectionKind selectionKind = SelectionKind::none;
  bool shiftHeld = false;
  double lastPolygonX = 0.0, lastPolygonY = 0.0;

 private:
  void SelectNode(int node, bool freeNode);
  void SelectEdge(int edge);
  void SelectPolygon(int polygon);
  void FetchNodeData(int node);
  void FetchEdgeData(int edge);
  void StoreAttributes(const std::array<double, 6>& values, int code);
  void FetchPolygonData(int polygon);
  void NodeNeighbours(int node, std::array<double, 6>& c) const;
  // Turns edge into an arc of bulge (0: straight) unless the arc check refuses it.
  void ApplyBulge(int edge, double bulge);

  PlanEditingHost& host_;
  EditRequest request_;
  int selectedIndex_ = -1;
  std::array<double, 6> coords_{};
};

}  // namespace tavrin
