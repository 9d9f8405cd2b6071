// TRollup, the "Node Properties" tool window: shows the node, edge or polygon picked in the plan
// view on four pages (geometry, loads, constraints, polygon physics), validates what the user
// typed when Apply is pressed, writes the validated values into the shared EditRequest and asks
// its host (the main window) to carry them out.
//
// Owns only its controls and its copy of the selection (kind, index, six coordinates, the chosen
// edge end, and the attribute values shown). Expects a host that outlives it; the host owns the
// EditRequest and fills its loads, prescribed values, constraint code and physics (and, for a
// polygon, the name) before calling ShowSelection. The editor keeps its own copy of those
// values, updated by every successful Apply, so that showing the selection again never shows
// the zeros the host leaves in the request after carrying it out.
#pragma once

#include <QWidget>
#include <array>
#include <span>

#include "ui/EditRequest.h"

class QLabel;
class QLineEdit;
class QCheckBox;
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
};

class TRollupSketch;

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
  SelectionKind Kind() const { return kind_; }
  int Id() const { return id_; }
  bool EndSelected() const { return endSelected_; }
  // Toggle the chosen edge end, as a click on the far point of the sketch does.
  void ToggleEdgeEnd();
  // A mouse press in the sketch box at (x, y) box pixels.
  void SketchClick(int x, int y);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  friend class TRollupSketch;
  void BuildControls();
  void RefreshSelection();  // shows the stored selection again, replacing unapplied edits
  void RefreshGeometryFields();
  void ComputeEdgeSketch();
  void ClearDirty();
  void Changed(bool& flag);
  void AddressRequest(EditRequest& r, bool withEnd) const;
  bool ValidateGeometry(EditRequest& r);
  bool ValidateLoads(EditRequest& r);
  bool ValidateConstraints(EditRequest& r);
  bool ReadThree(QLineEdit* const (&fields)[3], const char* const (&messages)[3], double (&out)[3]);
  bool ValidatePhysics(EditRequest& r);

  TRollupHost& host_;
  SelectionKind kind_ = SelectionKind::none;
  int id_ = -1;
  std::array<double, 6> c_{};
  EditRequest shown_;                 // attribute values of the selection as last shown or applied
  unsigned selectionGeneration_ = 0;  // counts ShowSelection calls
  bool endSelected_ = false;
  int p1x_ = 0, p1y_ = 0, p2x_ = 0, p2y_ = 0;  // sketch points, box pixels (y up)
  bool geometryDirty_ = false, loadsDirty_ = false, constraintsDirty_ = false,
       physicsDirty_ = false;
  bool filling_ = false;  // programmatic field updates do not mark pages dirty

  QLabel* selectLabel_ = nullptr;
  QTabWidget* pageControl_ = nullptr;
  QPushButton* mainButton_ = nullptr;
  QLineEdit* valueX_ = nullptr;
  QLineEdit* valueY_ = nullptr;
  TRollupSketch* drawBox_ = nullptr;
  QLabel* selectedEnd_ = nullptr;
  QPushButton* selBegin_ = nullptr;
  QPushButton* selEnd_ = nullptr;
  QCheckBox* vector_ = nullptr;
  QLineEdit* forceUZ_ = nullptr;
  QLineEdit* forceRX_ = nullptr;
  QLineEdit* forceRY_ = nullptr;
  QCheckBox* enableDZ_ = nullptr;
  QCheckBox* enableRX_ = nullptr;
  QCheckBox* enableRY_ = nullptr;
  QLineEdit* dispUZ_ = nullptr;
  QLineEdit* dispRX_ = nullptr;
  QLineEdit* dispRY_ = nullptr;
  QLineEdit* pressure_ = nullptr;
  QLineEdit* eModulus_ = nullptr;
  QLineEdit* nuModulus_ = nullptr;
  QLineEdit* thickness_ = nullptr;
  QCheckBox* isHole_ = nullptr;
  QLineEdit* polyName_ = nullptr;
};

}  // namespace tavrin
