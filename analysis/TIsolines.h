// TIsolines: contour segments of one result field, as a flat list of segments in world
// coordinates (no level tags, no colours). Owns four growable lists (segment starts and ends,
// point x and y); every segment appends its own two points, so segment k normally joins points
// 2k and 2k + 1. The tracing functions below expect a solved TGlobMatrix, and stresses for the
// stress and moment fields.
#pragma once

#include <vector>

#include "analysis/TGlobMatrix.h"
#include "containers/TFloats.h"
#include "containers/TInts.h"

namespace tavrin {

class TIsolines {
 public:
  int AddSegment(double x1, double y1, double x2, double y2);  // returns the segment index
  int SegmentCount() const { return starts_.Count(); }
  int PointCount() const { return px_.Count(); }
  int SegmentStart(int k) const;  // point index, -1 out of range
  int SegmentEnd(int k) const;
  double PointX(int i) const;  // -1.0 out of range
  double PointY(int i) const;

 private:
  TInts starts_, ends_;
  TFloats px_, py_;
};

// Appends the segments of one level of a field, traced by linear interpolation inside every
// triangle of the solved mesh (NodeValue: displacements for fields 0 to 2, recovered nodal
// stresses for 3 to 5 and moments for 6 to 8). Returns the number of segments added, or -1 for a
// field outside 0 to 8 or a missing result.
int TraceIsolines(TIsolines& set, double level, int field, const TGlobMatrix& solver);

// One traced level: its value and its segments firstSegment .. firstSegment + segments - 1.
struct IsolineLevel {
  double value = 0;
  int firstSegment = 0;
  int segments = 0;
};

// Replaces `set` with fifteen evenly spaced levels of a field between its extremes (nodal
// displacements for fields 0 to 2, element stresses and moments for 3 to 8). Returns the number of
// segments, or -1 when the field has no values yet. With levels given, it receives the fifteen
// levels in the order traced (highest first), for legends and labels.
int BuildIsolines(TIsolines& set, int field, const TGlobMatrix& solver,
                  std::vector<IsolineLevel>* levels = nullptr);
// The same for any field given by its values at the solved mesh's nodes (the solver's
// numbering; a load combination's, a design column): the levels spread between the nodal
// extremes. -1 when the values do not match the mesh.
int BuildIsolines(TIsolines& set, const std::vector<double>& nodeValues, const TGlobMatrix& solver,
                  std::vector<IsolineLevel>* levels = nullptr);

}  // namespace tavrin
