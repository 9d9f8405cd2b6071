// Closed loops from the pieces of a drawing: a closed polyline or a circle is a loop by itself;
// lines, arcs and open polylines are joined end to end where their ends lie within a tolerance,
// and each chain so joined must close. Cost: O(n log n) in the piece ends, plus the points.
#pragma once

#include <string>
#include <vector>

#include "importer/ArcChords.h"

namespace tavrin::dxf {

struct Piece {
  std::vector<XY> points;  // in drawing order; chords of arcs already made
  bool closed = false;     // the last point joins the first
  std::string type;        // the DXF entity: "LINE", "ARC", "LWPOLYLINE", ...
  std::string layer;
};

struct Loop {
  std::vector<XY> points;  // corners, not repeated; consecutive corners farther than tolerance
  std::string name;        // for messages: "the CIRCLE on layer HOLES", "a chain of 4 LINE ..."
};

struct LoopAssembly {
  std::vector<Loop> loops;  // closed pieces first, in drawing order, then the chains
  std::string refusal;      // one sentence naming the open chain or the branch; empty when fine
  explicit operator bool() const { return refusal.empty(); }
};

// Ends closer than `tolerance` are one point (the first end met stands for them all); corners
// of a piece closer than that to the previous one are dropped. A chain that does not close is
// refused with its two end points; a point where more than two ends meet, with the pieces.
LoopAssembly AssembleLoops(const std::vector<Piece>& pieces, double tolerance);

// "(12.5, -3)": a drawing point as messages print it.
std::string PointText(XY p);

}  // namespace tavrin::dxf
