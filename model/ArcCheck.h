// The geometry check's part for arc edges (model/GeometryCheck.h runs it once the loops, the
// magnitudes and the node spacing have passed, so every arc edge joins two distinct nodes of a
// closed polygon with finite coordinates). Returns "" when every arc passes, else one sentence
// naming the first arc edge at fault:
// - a bulge that is not finite, or of magnitude above kMaxBulge (more than a half turn);
// - an arc too flat to tell from its chord: its sagitta below the clearance (the least distance
//   the mesher keeps between a node and an edge). Such an arc is refused rather than meshed as
//   its chord, so that what is meshed is always what the job says;
// - an arc passing within the clearance of a node not on it;
// - an arc crossing another edge (straight or arc).
// Cost: per arc edge, one pass over the nodes and one over the edges whose boxes meet its
// circle's box, each edge compared as polylines of up to 64 pieces per half turn.
#pragma once

#include <string>

namespace tavrin {

class TObjCont;

std::string CheckArcs(const TObjCont& job, double clearance);

// The same checks for edge e alone ("" for a straight edge), as the editor runs them on the edge
// it changed: its bulge, then where it runs. The edge must join two distinct nodes.
std::string CheckArc(const TObjCont& job, int e, double clearance);

}  // namespace tavrin
