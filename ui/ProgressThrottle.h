// ProgressThrottle: when a progress window refreshes its figures and lets pending events through.
// The mesher reports once per refinement pass and the solver once per equation, far more often
// than a repaint pays: a window refreshes and processes events at each new stage (a new caption,
// the first report after it shows or hides) and otherwise at most once per interval. Owns the
// caption of the latest report and a clock (a steady one unless replaced); every call costs
// constant time.
#pragma once

#include <QtGlobal>
#include <functional>
#include <string>

namespace tavrin {

class ProgressThrottle {
 public:
  // Events and repaints between reports cost far more than a refinement pass or a factorization
  // row of a large job.
  static constexpr qint64 kDefaultIntervalMs = 40;

  explicit ProgressThrottle(qint64 intervalMs = kDefaultIntervalMs);
  // In: a clock in milliseconds; tests step one by hand.
  void SetClock(std::function<qint64()> nowMs) { nowMs_ = std::move(nowMs); }

  // Records a report of the stage named caption; true when the window should refresh its
  // figures now (a new stage, or the interval since the last events has run out).
  bool Report(const std::string& caption);
  const std::string& Caption() const { return caption_; }
  // The window showed or hid: the next report and the next events are due at once.
  void NewStage() { stageChanged_ = true; }
  // True when pending events are due; it then starts a new interval.
  bool TakeEventsTurn();

 private:
  bool Due() const;

  qint64 intervalMs_;
  std::string caption_;
  bool stageChanged_ = true;
  std::function<qint64()> nowMs_;
  bool eventsSeen_ = false;
  qint64 lastEventsMs_ = 0;
};

}  // namespace tavrin
