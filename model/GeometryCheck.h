// The check a job passes before it is meshed: whatever the drawing or a job file holds, the
// mesher and the plate element get only plates they can work with, and the user learns what is
// wrong with the drawing instead of getting a broken mesh, endless refinement or NaN results.
//
// Run it on the prepared job (TObjCont::PrepareForMeshing, so that polygon 0 is the outline)
// right before the first triangulation. It reads the job and changes nothing. Cost: O(n log n)
// in the nodes and about linear in the edges (a grid of cells near the mean edge length); free
// nodes and polygons are located by rays through that grid, each costing the edges of one row.
//
// What passes:
// - at least one closed polygon; no edges outside a closed polygon (a polygon being drawn);
// - every closed polygon with edges is one loop: each of its nodes on exactly two of its edges,
//   all its edges connected; polygons share no node. Polygons without edges are ignored;
// - every coordinate finite with magnitude at most kMaxCoordinate (1e12), and the outline's
//   extent at least kMinRelativeExtent (1e-6) of the largest coordinate magnitude. The mesher's
//   tolerances are absolute (1e-4 on squared lengths and doubled areas) and a double resolves
//   about 1e-16 of a coordinate: beyond these bounds its area and angle tests read rounding
//   noise, and squared coordinates stay far below the overflow of a double;
// - every load, prescribed displacement and pressure finite with magnitude at most
//   kMaxPhysicalValue (1e30); the physics of every polygon that is not a hole: E modulus and
//   thickness positive and at most 1e30 and 1e12, Poisson ratio strictly between -1 and 1 (the
//   element's range), the reinforcement angle finite; every spring stiffness and foundation modulus
//   not negative and at most kMaxPhysicalValue, and no freedom both held rigidly and on a spring
//   (SupportCheck.h). Then the element's products (E t^3, pressure times area, stiffness times
//   displacement) stay below 1e110, far from overflow;
// - every polygon encloses an area (not all its nodes on one line);
// - every prescribed displacement within what double precision carries next to the plate's
//   own deflections (DisplacementBound: 1e9 times the larger of the span and the loads'
//   deflection scale; a rotation times the span);
// - no two nodes closer than the clearance: kMinNodeDistance (0.1), or kMinRelativeSpacing
//   (1e-6) of the outline's extent when that is larger. The mesher's tolerances are absolute: a
//   length below 0.01 reads as zero and a doubled area below 1e-4 as none, so features of 0.01
//   give triangles of no area (found so by random plates); at 0.1 they lie a hundred times
//   above. The editor itself keeps a moved node 0.3 from every vertex. In a very large plate
//   the side tests of the triangulation resolve only a fraction of its span, and a node a few
//   units off an edge 1e11 long meshed to nothing (found by fuzzing);
// - every arc edge sound (model/ArcCheck.h): a bulge of at most a half turn, standing off its
//   chord by at least the clearance, clear of the nodes and crossing no edge;
// - no node within the clearance of an edge it is not an end of, and no two edges crossing:
//   edges meet only at their common nodes;
// - every free node, and every polygon after the outline, inside the outline and not inside a
//   hole; holes may hold neither.
//
// Messages number nodes, edges and polygons as the editor does ("Node# 3", "Edge# 7",
// "Polygon# 1"): the job's own 0-based indices, the index comments of a job file as read, and
// polygon slots after the preparation (the outline is polygon 0). When several problems exist,
// the first in the order above is named.
#pragma once

#include <string>

namespace tavrin {

class TObjCont;

inline constexpr double kMaxCoordinate = 1e12;
inline constexpr double kMinRelativeExtent = 1e-6;
inline constexpr double kMinRelativeSpacing = 1e-6;
inline constexpr double kMinNodeDistance = 0.1;
inline constexpr double kMaxPhysicalValue = 1e30;
inline constexpr double kMaxThickness = 1e12;

struct GeometryCheckResult {
  bool ok = true;
  std::string message;  // one sentence for the user when !ok, naming the entities at fault
  explicit operator bool() const { return ok; }
};

GeometryCheckResult CheckGeometry(const TObjCont& job);

}  // namespace tavrin
