// Circular arcs between two points, fixed by their bulge as drawings give them: b = tan(theta/4)
// for the included angle theta, positive when the arc runs counter-clockwise from its first
// point to its second. b = 0 is the straight chord, b = +-1 a half circle. Everything here is a
// closed form of the two points and b (constant time); the editor, the geometry check, the
// mesher and the loads all place points on an arc through these functions, so they agree on it.
#pragma once

namespace tavrin {

// The largest |bulge| a job takes: a half circle. Beyond it an arc turns more than half way
// round and could run back over its own chord's neighbours.
inline constexpr double kMaxBulge = 1.0;

struct Arc {
  double cx = 0.0, cy = 0.0;  // centre
  double radius = 0.0;
  double startAngle = 0.0;  // polar angle of the first point about the centre (radians)
  double sweep = 0.0;       // signed included angle, counter-clockwise positive (radians)
};

// The arc from (x1, y1) to (x2, y2) with bulge b; b must be finite and non-zero and the points
// distinct (else the arc has no centre: the result is not finite).
Arc ArcThrough(double x1, double y1, double x2, double y2, double bulge);

// The point at fraction t (0 first point, 1 second) of the arc's angle: on the circle to the
// rounding of one cosine and sine, whatever t.
void ArcPointAt(const Arc& arc, double t, double& x, double& y);

// Distance of the arc's middle from its chord (|b| times half the chord), and the arc's length
// (the chord's when b = 0).
double ArcSagitta(double chord, double bulge);
double ArcLength(double chord, double bulge);

// Whether the ray from the arc's centre through (px, py) meets the arc (the point's polar angle
// lies within the sweep); the distance of such a point to the arc is |distance to centre - radius|,
// of any other the distance to the nearer end.
bool ArcFacesPoint(const Arc& arc, double px, double py);
// The distance from (px, py) to the arc, its ends included.
double DistanceToArc(const Arc& arc, double px, double py);

// Where the line y = h crosses the arc strictly between its ends, into x (at most two points;
// a line only touching the circle crosses nothing): the count. As for a straight edge, a line
// through an end point gives no crossing there, so the two edges meeting at a node agree.
int ArcCrossingsAtHeight(const Arc& arc, double h, double x[2]);

// The radius of the arc of bulge b != 0 over a chord (always positive), and back: the bulge, of
// magnitude at most 1 (the arc of at most a half turn), of the arc of radius |radius| over the
// chord, its sign that of radius. The bulge is not finite when |radius| is below half the chord
// (no circle of it reaches both ends) and 0 for radius 0 (the chord itself).
double ArcRadius(double chord, double bulge);
double BulgeForRadius(double chord, double radius);

}  // namespace tavrin
