#include "ui/ProgressThrottle.h"

#include <chrono>

namespace tavrin {

ProgressThrottle::ProgressThrottle(qint64 intervalMs)
    : intervalMs_(intervalMs), nowMs_([] {
        return static_cast<qint64>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now().time_since_epoch())
                                       .count());
      }) {}

bool ProgressThrottle::Report(const std::string& caption) {
  if (caption != caption_) {
    caption_ = caption;
    stageChanged_ = true;
  }
  return Due();
}

bool ProgressThrottle::TakeEventsTurn() {
  if (!Due()) return false;
  stageChanged_ = false;
  eventsSeen_ = true;
  lastEventsMs_ = nowMs_();
  return true;
}

bool ProgressThrottle::Due() const {
  return stageChanged_ || !eventsSeen_ || nowMs_() - lastEventsMs_ >= intervalMs_;
}

}  // namespace tavrin
