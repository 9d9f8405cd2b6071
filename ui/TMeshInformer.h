// TMeshInformer, the "Delaunay Refinement" progress window of a mesh generation. It implements
// the mesher's progress reporting: the first report places it at the upper right of the plan
// view and shows it; each report shows the caption, the node and element figures and the
// current minimal angle on a bar where 35 degrees is full. Key strokes it receives go to the
// owner (the main window), so the stop keys work while it has the focus; its Stop button asks
// the owner to stop the refinement as they do (onStop).
//
// Refinement reports once per pass, and passes on a large mesh follow each other within a
// millisecond: the window refreshes its figures and lets events through (repaints, key
// strokes, hence the stop keys) at most every few hundredths of a second, and whenever the
// caption changes; the figures it answers with are always those of the latest report.
#pragma once

#include <QWidget>
#include <functional>

#include "mesh/MeshProgress.h"
#include "ui/ProgressThrottle.h"

class QLabel;
class QProgressBar;

namespace tavrin {

class TMeshInformer : public QWidget, public MeshProgress {
  Q_OBJECT
 public:
  explicit TMeshInformer(QWidget* parent = nullptr);

  void ShowMeshProgress(const std::string& caption, int nodes, int elements,
                        double angleDeg) override;
  void HideMeshProgress() override;
  // Runs the owner's hook (which finishes pending drawing), then, when due, the pending
  // window events.
  void ProcessEvents() override;

  // The stop was taken: the refinement ends after its current pass.
  void ShowStopping();
  // Replaces the throttle's clock (milliseconds), so that its interval can be stepped.
  void SetProgressClock(std::function<qint64()> nowMs) { throttle_.SetClock(std::move(nowMs)); }

  std::function<QPoint(int width)> placement;
  std::function<void(int key)> onKeyPressed;
  std::function<void(int key)> onKeyReleased;
  std::function<void()> beforeEvents;
  std::function<void()> onStop;

  int AngleBar() const;
  QString ElementsText() const;
  QString NodesText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  QProgressBar* currentMinAngle_;
  QLabel* numberOfElements_;
  QLabel* numberOfNodes_;

  void Refresh();

  ProgressThrottle throttle_;
  int nodes_ = 0, elements_ = 0, bar_ = 0;
};

}  // namespace tavrin
