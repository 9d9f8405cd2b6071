// SegmentWorkList: the segments whose encroachment may have changed since the refinement's
// segment pass last looked at them, handed out in increasing index order.
//
// The pass visits every segment in index order and splits those encroached by a triangle
// beside them. Whether a segment is encroached depends only on its ends and on the triangles
// beside it, so a segment found clear stays clear until a triangle is attached to it or detached
// from it. The mesh marks the segments of every triangle it attaches or detaches; a sweep then
// visits only the marked ones, in the same order as a visit to all of them, and so splits the
// same segments in the same order.
//
// Owns one flag per edge and a heap of the marked indices: memory linear in the edges; a mark
// or a hand-out costs time logarithmic in the number of marked segments.
#pragma once

#include <cstdint>
#include <vector>

namespace tavrin {

class SegmentWorkList {
 public:
  // s's encroachment may have changed; s >= 0. Marking a marked segment does nothing.
  void Mark(int s);
  bool Marked(int s) const;

  // Starts a sweep over the segments marked now or during the sweep whose indices are below
  // limit, and hands out the first (as Next). A segment marked during the sweep at or below
  // the last one handed out waits for the next sweep, as a pass in index order would meet it
  // only then.
  int StartSweep(int limit);
  // The next marked segment of the sweep, unmarked as it is handed out; -1 when the sweep is
  // over.
  int Next();

 private:
  void Push(int s);

  std::vector<std::uint8_t> marked_;  // by edge index
  std::vector<int> heap_;             // marked indices, smallest on top
  std::vector<int> waiting_;          // marked, at or below the sweep's position
  int limit_ = 0;
  int position_ = -1;  // last index handed out in the sweep
};

}  // namespace tavrin
