// Closed loops from the pieces of a drawing: a closed polyline or a circle is a loop by itself;
// lines, arcs and open polylines are joined end to end where their ends lie within a tolerance,
// and each chain so joined must close. Arcs travel as the bulges of their corners, their sign
// turned where a piece is walked backwards. Cost: O(n log n) in the piece ends, plus the corners.
#pragma once

#include <string>
#include <vector>

#include "importer/ArcChords.h"
#include "importer/DxfDrawing.h"

namespace tavrin::dxf {

struct Piece {
  // In drawing order, each bulge on the segment to the next corner (the last corner's on the
  // segment back to the first when closed, else unused).
  std::vector<Vertex> corners;
  bool closed = false;  // the last point joins the first
  std::string type;     // the DXF entity: "LINE", "ARC", "LWPOLYLINE", ...
  std::string layer;
};

struct Loop {
  // Not repeated, consecutive corners farther apart than the tolerance; each bulge on the
  // segment to the next corner.
  std::vector<Vertex> corners;
  std::vector<XY> points;  // the loop as chords, for the nesting; empty until the caller fills it
  std::string name;        // for messages: "the CIRCLE on layer HOLES", "a chain of 4 LINE ..."
};

struct LoopAssembly {
  std::vector<Loop> loops;  // closed pieces first, in drawing order, then the chains
  std::string refusal;      // one sentence naming the open chain or the branch; empty when fine
  explicit operator bool() const { return refusal.empty(); }
};

// Ends closer than `tolerance` are one point (the first end met stands for them all); corners
// of a piece closer than that to the previous one are dropped (the segment from the corner kept
// takes the dropped one's bulge). A chain that does not close is
// refused with its two end points; a point where more than two ends meet, with the pieces.
LoopAssembly AssembleLoops(const std::vector<Piece>& pieces, double tolerance);

// "(12.5, -3)": a drawing point as messages print it.
std::string PointText(XY p);

}  // namespace tavrin::dxf
