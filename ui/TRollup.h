// TRollup, the "Node Properties" tool window: shows the node, edge or polygon picked in the plan
// view on four pages (geometry, loads, constraints, polygon physics; one RollupPage class
// each), has each changed page validate what the user typed when Apply is pressed and write it
// into the shared EditRequest, and asks its host (the main window) to carry it out.
//
// Owns its controls and pages and its copy of the selection (kind, index, six coordinates, the
// chosen edge end, and the attribute values shown). Expects a host that outlives it; the host owns
// the EditRequest and fills its loads, prescribed values, constraint code and physics (and, for a
// polygon, the name) before calling ShowSelection. The editor keeps its own copy of those
// values, updated by every successful Apply, so that showing the selection again never shows
// the zeros the host leaves in the request after carrying it out.
#pragma once

#include <QWidget>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "ui/EditRequest.h"
#include "ui/RollupPage.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace tavrin {

// What the property editor needs from the main window.
class TRollupHost {
 public:
  virtual ~TRollupHost() = default;
  // The shared request: read for display, written by Apply's validation.
  virtual EditRequest& Request() = 0;
  // "Select begin" (end 0) and "Select endpoint" (end 1): select that node of the edge in the
  // plan view; the host answers with ShowSelection of the node.
  virtual void SelectEdgeEnd(int edge, int end) = 0;
  // Carry out the validated request (called only when every changed page was valid).
  virtual void ApplyEdits() = 0;
  // The job's load case names; with more than one the editor shows a case selector whose
  // choice goes to ChooseLoadCase, which sets Request().loadCase and shows the selection again.
  virtual std::vector<std::string> CaseNames() { return {}; }
  virtual void ChooseLoadCase(int k) { Request().loadCase = k; }
};

class RollupGeometryPage;
class RollupLoadsPage;
class RollupConstraintsPage;
class RollupPhysicsPage;

class TRollup : public QWidget {
  Q_OBJECT
 public:
  enum Page { TabGeometry = 0, TabLoads = 1, TabConstrains = 2, TabPhysics = 3 };

  explicit TRollup(TRollupHost& host, QWidget* parent = nullptr);
  ~TRollup() override;

  // The selection hand-over: ids[0] is the selected index; c holds c0..c5: for an edge its
  // begin point (c0, c1) and end point (c2, c3); for a node the far ends of its first two
  // edges (c0..c3) and the node itself (c4, c5). A neighbour the node does not have is passed
  // as the node's own coordinates, so a free node has all six equal.
  void ShowSelection(SelectionKind kind, std::span<const int> ids, const std::array<double, 6>& c);

  // The "Edit ..." menu items: show the window if hidden and turn to the page.
  void ShowPage(int page);

  // Place the window at the lower right inside the main window's frame.
  void Startup(const QRect& mainFrame, int statusBarHeight);

  // While a mesh or a solve runs the main window blocks Apply; the fields stay editable.
  void SetApplyBlocked(bool blocked);

  // Apply, as the button does (also used by tests).
  void Apply();

  // The editor's state, for the main window and for tests.
  SelectionKind Kind() const { return selection_.kind; }
  int Id() const { return selection_.id; }
  bool EndSelected() const { return selection_.endSelected; }
  // Toggle the chosen edge end, as a click on the far point of the sketch does.
  void ToggleEdgeEnd();
  // A mouse press in the sketch box at (x, y) box pixels.
  void SketchClick(int x, int y);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void AddPage(RollupPage* page, const QString& toolTip);
  void RefreshSelection();  // shows the stored selection again, replacing unapplied edits
  void RefreshCases();      // the case selector after the host's cases

  TRollupHost& host_;
  RollupSelection selection_;
  EditRequest shown_;                 // attribute values of the selection as last shown or applied
  unsigned selectionGeneration_ = 0;  // counts ShowSelection calls

  QLabel* selectLabel_ = nullptr;
  QComboBox* caseBox_ = nullptr;  // "LoadCase": which case the loads are edited in
  QWidget* caseRow_ = nullptr;    // the selector with its label, hidden for a single case
  QTabWidget* pageControl_ = nullptr;
  QPushButton* mainButton_ = nullptr;
  RollupGeometryPage* geometry_ = nullptr;
  RollupLoadsPage* loads_ = nullptr;
  RollupConstraintsPage* constraints_ = nullptr;
  RollupPhysicsPage* physics_ = nullptr;
  std::array<RollupPage*, 4> pages_{};  // in the order of Page and of validation
};

}  // namespace tavrin
