// Random plates for the mesher's tests, from a seed: a star-shaped outline of 3 to 200 sides
// (so with corners of every angle, sharp ones among them), up to two holes or inserts inside
// it, and a few free nodes, with sides from about half a unit to 500 units, and a maximal area
// that gives some tens to a few thousand elements.
#pragma once

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "mesh/MeshGeometry.h"
#include "model/TObjCont.h"

namespace tavrin::testing {

struct RandomPlate {
  TObjCont job;  // prepared for meshing
  double maxArea = 0;
  std::string description;
};

namespace random_plates {

inline double DistanceToSegment(MeshPoint p, MeshPoint a, MeshPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double squared = dx * dx + dy * dy;
  double s = squared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / squared : 0;
  s = std::fmax(0.0, std::fmin(1.0, s));
  return std::hypot(p.x - a.x - s * dx, p.y - a.y - s * dy);
}

inline double DistanceToPolygon(MeshPoint p, const std::vector<MeshPoint>& polygon) {
  double d = INFINITY;
  for (std::size_t i = 0; i < polygon.size(); ++i)
    d = std::fmin(d, DistanceToSegment(p, polygon[i], polygon[(i + 1) % polygon.size()]));
  return d;
}

inline bool Inside(MeshPoint q, const std::vector<MeshPoint>& pts) {
  bool in = false;
  for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
    const MeshPoint a = pts[i], b = pts[j];
    if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

// A star-shaped polygon around c: sorted angles at least a fifth of the mean gap apart, radii
// between rmin and rmax.
inline std::vector<MeshPoint> Star(std::mt19937& random, MeshPoint c, int sides, double rmin,
                                   double rmax) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<double> angles;
  const double gap = 2 * M_PI / sides;
  double a = unit(random) * gap;
  for (int k = 0; k < sides; ++k) {
    angles.push_back(a);
    a += gap * (0.2 + 1.6 * unit(random));
  }
  const double scale = 2 * M_PI / a;  // close the turn
  std::vector<MeshPoint> points;
  for (double angle : angles) {
    const double r = rmin + (rmax - rmin) * unit(random);
    points.push_back({c.x + r * std::cos(angle * scale), c.y + r * std::sin(angle * scale)});
  }
  return points;
}

inline double Area(const std::vector<MeshPoint>& pts) {
  double twice = 0;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const MeshPoint a = pts[i], b = pts[(i + 1) % pts.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return std::fabs(twice) / 2;
}

inline void AddClosed(TObjCont& job, const std::vector<MeshPoint>& pts) {
  const int first = job.NodeCount();
  const int n = static_cast<int>(pts.size());
  for (MeshPoint p : pts) job.AddNode(p.x, p.y);
  for (int i = 0; i < n; ++i) job.AddPolygonEdge(first + i, first + (i + 1) % n);
  job.ClosePolygon();
}

}  // namespace random_plates

inline constexpr double kSmallestMaxArea = 0.05;
inline constexpr double kSmallestSide = 0.5;

inline RandomPlate MakeRandomPlate(std::uint32_t seed) {
  using namespace random_plates;
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  RandomPlate plate;
  // Sides from 3 to 200, the small counts as likely as the large ones on a log scale.
  const int sides = static_cast<int>(std::lround(std::exp(unit(random) * std::log(200.0 / 3)) * 3));
  // Sides of about 0.5 to 500 units: the outline's mean radius is about 0.72 size.
  const double side = 0.5 * std::pow(1000.0, unit(random));
  const double size = side * sides / (2 * M_PI * 0.72);
  const MeshPoint centre{(unit(random) - 0.5) * size, (unit(random) - 0.5) * size};
  const std::vector<MeshPoint> outline = Star(random, centre, sides, 0.45 * size, size);
  AddClosed(plate.job, outline);
  double area = Area(outline);

  const int inner = static_cast<int>(unit(random) * 3);
  std::vector<std::vector<MeshPoint>> inners;
  std::vector<bool> holes;
  for (int k = 0; k < inner; ++k) {
    const double r = size * (0.04 + 0.12 * unit(random));
    const MeshPoint c{centre.x + (unit(random) - 0.5) * size,
                      centre.y + (unit(random) - 0.5) * size};
    if (r < kSmallestSide || !Inside(c, outline) || DistanceToPolygon(c, outline) < 1.5 * r)
      continue;
    bool apart = true;
    for (const auto& other : inners)
      apart = apart && !Inside(c, other) && DistanceToPolygon(c, other) > 2.5 * r;
    if (!apart) continue;
    const int innerSides = 3 + static_cast<int>(unit(random) * 10);
    inners.push_back(Star(random, c, innerSides, 0.4 * r, r));
    AddClosed(plate.job, inners.back());
    const bool hole = unit(random) < 0.5;
    const int p = plate.job.PolygonCount() - 1;
    plate.job.SetPolygonPhysics(p, -0.01, hole ? 210000 : 70000, 0.3, 10, hole);
    holes.push_back(hole);
    if (hole) area -= Area(inners.back());
    plate.description += hole ? " hole" : " insert";
  }

  const int free = static_cast<int>(unit(random) * 6);
  const double clearance = std::fmax(0.05 * size, 0.2 * kSmallestSide);
  for (int k = 0; k < free; ++k) {
    const MeshPoint q{centre.x + (unit(random) - 0.5) * 2 * size,
                      centre.y + (unit(random) - 0.5) * 2 * size};
    bool fine = Inside(q, outline) && DistanceToPolygon(q, outline) > clearance;
    for (std::size_t i = 0; i < inners.size(); ++i)
      fine = fine && DistanceToPolygon(q, inners[i]) > clearance &&
             !(holes[i] && Inside(q, inners[i]));
    for (int i = 0; i < plate.job.NodeCount() && fine; ++i)
      fine = std::hypot(plate.job.NodeX(i) - q.x, plate.job.NodeY(i) - q.y) > clearance;
    if (!fine) continue;
    plate.job.AddFreeNode(q.x, q.y);
    plate.description += " free-node";
  }
  // Some tens to a few thousand elements, none much below a tenth of a unit across (the
  // mesher's absolute tolerances, 0.0001 on doubled areas, are made for larger elements).
  plate.maxArea = std::fmax(area / (40 * std::pow(40.0, unit(random))), kSmallestMaxArea);
  plate.description = "seed " + std::to_string(seed) + ": " + std::to_string(sides) +
                      " sides, size " + std::to_string(size) + plate.description;
  plate.job.PrepareForMeshing();
  return plate;
}

}  // namespace tavrin::testing
