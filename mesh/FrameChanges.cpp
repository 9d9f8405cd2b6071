// Frame numbers mark the edges drawn in a frame, so nothing is cleared per edge between frames.
#include "mesh/FrameChanges.h"

namespace tavrin {

void FrameChanges::Record(bool on) {
  recording_ = on;
  whole_ = on;
  drawn_.clear();
  gone_.clear();
  drawnInFrame_.clear();
  placedInFrame_.clear();
  frame_ = 1;
}

void FrameChanges::EdgePlaced(int e, MeshPoint a, MeshPoint b) {
  if (!recording_) return;
  const auto i = static_cast<std::size_t>(e);
  if (i >= placedInFrame_.size()) placedInFrame_.resize(i + 1 + placedInFrame_.size(), 0);
  placedInFrame_[i] = frame_;
  if (!whole_) drawn_.push_back({e, Line(a, b)});
}

void FrameChanges::EdgeMoving(int e, MeshPoint a, MeshPoint b) {
  if (!Recording()) return;
  const auto i = static_cast<std::size_t>(e);
  if (i < placedInFrame_.size() && placedInFrame_[i] == frame_) return;
  gone_.push_back(Line(a, b));
}

void FrameChanges::Collapse() {
  whole_ = true;
  drawn_ = std::vector<Edge>();
  gone_ = std::vector<Line>();
}

void FrameChanges::NextFrame() {
  whole_ = false;
  drawn_.clear();
  gone_.clear();
  ++frame_;
}

}  // namespace tavrin
