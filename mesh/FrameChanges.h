// FrameChanges: what the refinement changed since the animation's last frame, so that a frame
// draws the changes instead of the whole mesh.
//
// Owns, while recording, a log of the lines to wipe (the old position of a flipped edge, if it
// is on the screen) and of the edges to draw (made, moved, or next to a wiped line), with their
// positions at that moment: the mesh has just read those nodes, so the log costs no lookups,
// and a frame replays it without touching the mesh. An edge logged several times is drawn once,
// at its last position, which is where it is: an edge is logged again whenever it moves. An
// edge made or moved since the last frame is not on the screen where it was, so moving it again
// wipes nothing. Positions are kept in single precision, plenty for a picture, to halve the log.
//
// Memory: proportional to the changes since the last frame, plus 8 bytes per edge; changes that
// outgrow the mesh are dropped for a whole redraw (Collapse), which then costs less than they
// would. The first frame is a whole one: the screen then shows the first triangulation only in
// part (the front draws the sides it adds, not the input edges).
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/MeshGeometry.h"

namespace tavrin {

class FrameChanges {
 public:
  struct Line {
    float ax, ay, bx, by;
    Line() = default;
    Line(MeshPoint a, MeshPoint b)
        : ax(static_cast<float>(a.x)),
          ay(static_cast<float>(a.y)),
          bx(static_cast<float>(b.x)),
          by(static_cast<float>(b.y)) {}
  };
  struct Edge {
    int e;
    Line line;
  };

  // Starts recording (forgetting everything) or stops it.
  void Record(bool on);
  bool Recording() const { return recording_ && !whole_; }

  // Edge e was made, or moved, to a-b.
  void EdgePlaced(int e, MeshPoint a, MeshPoint b);
  // Edge e, now at a-b, is about to move.
  void EdgeMoving(int e, MeshPoint a, MeshPoint b);
  // Edge e at a-b is to be drawn again (it has not moved).
  void EdgeRedrawn(int e, MeshPoint a, MeshPoint b) {
    if (Recording()) drawn_.push_back({e, Line(a, b)});
  }
  std::size_t Size() const { return drawn_.size() + gone_.size(); }
  // Forgets the changes: the next frame redraws the whole mesh.
  void Collapse();
  bool Whole() const { return whole_; }

  const std::vector<Line>& Gone() const { return gone_; }
  // Calls draw(line) for each edge logged since the last frame, once, at its last position.
  template <typename Draw>
  void ForEachEdge(const Draw& draw);
  // The frame is drawn: forget its changes.
  void NextFrame();

 private:
  bool recording_ = false;
  bool whole_ = false;
  std::vector<Edge> drawn_;
  std::vector<Line> gone_;
  std::vector<std::uint32_t> drawnInFrame_;   // by edge: the last frame it was drawn in
  std::vector<std::uint32_t> placedInFrame_;  // by edge: the last frame it was made or moved in
  std::uint32_t frame_ = 1;
};

template <typename Draw>
void FrameChanges::ForEachEdge(const Draw& draw) {
  for (auto it = drawn_.rbegin(); it != drawn_.rend(); ++it) {
    const auto i = static_cast<std::size_t>(it->e);
    if (i >= drawnInFrame_.size()) drawnInFrame_.resize(i + 1 + drawnInFrame_.size(), 0);
    if (drawnInFrame_[i] == frame_) continue;
    drawnInFrame_[i] = frame_;
    draw(it->line);
  }
}

}  // namespace tavrin
