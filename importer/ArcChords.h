// Arcs of a drawing as chains of chords: the job model has straight edges only, so an arc, a
// circle and a polyline bulge become chords each spanning at most kMaxChordDegrees of arc.
// Cost: linear in the chords made.
#pragma once

#include <vector>

namespace tavrin::dxf {

// The largest angle one chord spans. 10 degrees keeps a chord within 0.4 % of the arc's radius
// (1 - cos 5 degrees) and a full circle's area within 0.51 % (1 - sin(10 deg) / (10 deg)),
// while a circle needs no more than 36 nodes.
inline constexpr double kMaxChordDegrees = 10.0;

struct XY {
  double x = 0.0;
  double y = 0.0;
};

// Appends the points after `from` of the arc from `from` to `to` with the given bulge
// (tan(included angle / 4), positive counter-clockwise), ending with `to` itself; only `to`
// for a straight segment (|bulge| below 1e-12).
void AppendBulge(XY from, XY to, double bulge, std::vector<XY>& out);

// The points of the counter-clockwise arc of centre (cx, cy) and radius r from startDegrees to
// endDegrees, both ends included. Equal angles give the full circle, first point repeated.
std::vector<XY> ArcPoints(double cx, double cy, double r, double startDegrees, double endDegrees);

// The corners of the circle's chord polygon, counter-clockwise from angle 0, not repeated.
std::vector<XY> CirclePoints(double cx, double cy, double r);

}  // namespace tavrin::dxf
