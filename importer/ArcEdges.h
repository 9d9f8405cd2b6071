// Arcs of a drawing as the arc edges of a job: an ARC entity, a CIRCLE and a polyline bulge all
// end as corners whose bulge (tan(included angle / 4), positive counter-clockwise) lies on the
// segment to the next corner, each arc turning at most half way round as a job's arc edge must.
// Everything is a closed form per corner: linear in the corners.
#pragma once

#include <vector>

#include "importer/DxfDrawing.h"

namespace tavrin::dxf {

// The corners of the counter-clockwise arc of centre (cx, cy) and radius r from startDegrees to
// endDegrees, both ends included, the last with bulge 0; an arc of more than a half turn is
// split into equal arcs of at most a half turn. Equal angles give an empty list (a full circle
// is a CIRCLE).
std::vector<Vertex> ArcCorners(double cx, double cy, double r, double startDegrees,
                               double endDegrees);

// A circle as a closed loop of two half circles from angle 0; FinishLoop makes them edges.
std::vector<Vertex> CircleCorners(double cx, double cy, double r);

// The corners of a closed loop made fit for a job: an arc standing off its chord by no more
// than `tolerance` (the drawing's own precision) becomes straight; an arc of more than a half
// turn is split into equal arcs of at most a half turn; and while the loop has fewer than three
// edges (a circle of two half arcs) every arc is halved, since a polygon needs three edges.
// New corners lie on the arcs.
void FinishLoop(std::vector<Vertex>& corners, double tolerance);

// The corners in the other direction, each bulge on its segment with its sign turned; `closed`
// when the last corner's bulge is on a segment back to the first.
std::vector<Vertex> Reversed(const std::vector<Vertex>& corners, bool closed);

// The area a closed loop encloses: the shoelace sum of its chords plus each arc's circular
// segment (r^2 / 2 (theta - sin theta) for the signed included angle theta); positive
// counter-clockwise.
double LoopArea(const std::vector<Vertex>& corners);

}  // namespace tavrin::dxf
