// Arc edges drawn as chains of chords, where only straight segments will do: the nesting of a
// drawing's loops and the import preview. The job itself keeps the arcs (importer/ArcEdges.h).
// Cost: linear in the chords made.
#pragma once

#include <vector>

#include "importer/DxfDrawing.h"

namespace tavrin::dxf {

// The largest angle one chord spans. 10 degrees keeps a chord within 0.4 % of the arc's radius
// (1 - cos 5 degrees), closer than any loop of a drawing can come to another without the
// geometry check, which compares the true arcs, refusing the plate.
inline constexpr double kMaxChordDegrees = 10.0;

struct XY {
  double x = 0.0;
  double y = 0.0;
};

// Appends the points after `from` of the arc from `from` to `to` with the given bulge
// (tan(included angle / 4), positive counter-clockwise), ending with `to` itself; only `to`
// for a straight segment (|bulge| below 1e-12).
void AppendBulge(XY from, XY to, double bulge, std::vector<XY>& out);

// The closed loop through the corners, each corner's bulge on the segment to the next, as
// chords: the corners themselves and the points between them, not repeated.
std::vector<XY> Chords(const std::vector<Vertex>& corners);

}  // namespace tavrin::dxf
