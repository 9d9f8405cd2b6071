// Plane geometry tests shared by the editing rules, the mesher and the workbench's picking.
// Tolerances are absolute, not scaled to the model: a cross product below 0.001 counts as
// parallel, and squared distances below 1e-4 (distances below 0.01) count as zero.
#pragma once

namespace tavrin {

// True when segment A (x1,y1)-(x2,y2) and segment B (x3,y3)-(x4,y4) cross: their carrier lines
// are not parallel (|cross product of the directions| >= 0.001) and meet strictly inside both
// segments' y ranges, or else strictly inside both x ranges; a horizontal segment and a vertical
// one, which have no such range, cross when they meet strictly inside both. Touching at an end
// point, T-junctions and collinear overlaps do not cross.
bool SegmentsCross(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                   double y4);

// Distance of two points; 0 when it is below 0.01.
double PointDistance(double x1, double y1, double x2, double y2);

// What PointSegmentDistance answers when the foot of the perpendicular lies outside the segment.
inline constexpr double kOutsideSegment = 1e200;

// Distance from P to the segment (x1,y1)-(x2,y2); 0 when it is below 0.01, and kOutsideSegment
// when the foot of the perpendicular lies outside the segment (always for a segment of zero
// length).
double PointSegmentDistance(double px, double py, double x1, double y1, double x2, double y2);

}  // namespace tavrin
