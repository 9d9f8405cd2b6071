#include "ui/MeshFrameRelay.h"

#include <QMetaObject>
#include <QObject>

namespace tavrin {

bool MeshFrameRelay::FrameDue() {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastFrame_ < std::chrono::milliseconds(1000 / kFramesPerSecond)) return false;
  lastFrame_ = now;
  return true;
}

void MeshFrameRelay::FrameDone() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (detached_) {
      frame_.clear();
      return;
    }
    pending_.insert(pending_.end(), frame_.begin(), frame_.end());
    frame_.clear();
    if (posted_) return;
    posted_ = true;
  }
  QMetaObject::invokeMethod(
      context_, [self = shared_from_this()] { self->Replay(); }, Qt::QueuedConnection);
}

void MeshFrameRelay::Detach() {
  std::lock_guard<std::mutex> hold(lock_);
  detached_ = true;
  pending_.clear();
}

void MeshFrameRelay::Replay() {
  std::vector<Stroke> batch;
  {
    std::lock_guard<std::mutex> hold(lock_);
    batch.swap(pending_);
    posted_ = false;
    if (detached_) return;
  }
  for (const Stroke& s : batch) {
    switch (s.kind) {
      case Stroke::Clear:
        target_.Clear();
        break;
      case Stroke::Pen:
        target_.SetPen(int(s.a), int(s.b), int(s.c));
        break;
      case Stroke::Line:
        target_.Line(s.a, s.b, s.c, s.d);
        break;
      case Stroke::Erase:
        target_.EraseLine(s.a, s.b, s.c, s.d);
        break;
    }
  }
  target_.FrameDone();
}

}  // namespace tavrin
