// TSolveInformer, the "Solve information" progress window of a static solve. It implements the
// solver's progress reporting: the first report places it at the upper right of the plan view
// and shows it, every report updates the stage, the item index and the percentage, and the
// end of the solve hides it. Between reports the application processes pending events.
// A large solve reports once per equation, so the window refreshes its figures and lets
// events through at most every few hundredths of a second (and whenever the stage changes);
// the figures it answers with are always those of the latest report.
//
// Its Stop button runs the owner's onStop (the workbench stops the run on its worker thread) and
// makes StopRequested answer true until ClearStop, for a solver that reports here directly.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "analysis/SolveProgress.h"
#include "ui/ProgressThrottle.h"

class QLabel;
class QProgressBar;

namespace tavrin {

class TSolveInformer : public QWidget, public SolveProgress {
  Q_OBJECT
 public:
  explicit TSolveInformer(QWidget* parent = nullptr);

  void ShowSolveProgress(const std::string& caption, int position, int index, int total) override;
  void HideSolveProgress() override;
  void ProcessEvents() override;
  bool StopRequested() override { return stopRequested_; }
  void RequestStop() { stopRequested_ = true; }
  void ClearStop() { stopRequested_ = false; }

  // The stop was taken: the run ends at its next check or is left to finish alone.
  void ShowStopping();
  // Replaces the throttle's clock (milliseconds), so that its interval can be stepped.
  void SetProgressClock(std::function<qint64()> nowMs) { throttle_.SetClock(std::move(nowMs)); }

  // Gives the top-left corner for a window of the given width when it first shows.
  std::function<QPoint(int width)> placement;
  std::function<void()> onStop;

  int Percent() const;
  QString ActionText() const;
  QString IndexText() const;

 private:
  QLabel* currentAction_;
  QLabel* currentIndex_;
  QProgressBar* actionProgress_;

  void Refresh();

  ProgressThrottle throttle_;
  int percent_ = 0;
  int index_ = 0;
  bool stopRequested_ = false;
};

}  // namespace tavrin
