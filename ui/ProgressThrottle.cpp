#include "ui/ProgressThrottle.h"

namespace tavrin {

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
  sinceEvents_.restart();
  return true;
}

bool ProgressThrottle::Due() const {
  return stageChanged_ || !sinceEvents_.isValid() || sinceEvents_.elapsed() >= intervalMs_;
}

}  // namespace tavrin
