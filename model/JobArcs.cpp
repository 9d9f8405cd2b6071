// Arc edges of the job: the bulge column of the edge table and its job file record. An arc is
// written as "AE, edge, bulge" after the loads, only for arc edges, so a job without arcs writes
// exactly what it always did, and a reader that does not know the record skips the line and
// keeps the straight edge between the same nodes.
#include <cmath>
#include <ostream>

#include "model/TObjCont.h"

namespace tavrin {

double TObjCont::EdgeBulge(int e) const {
  return ValidEdge(e) ? edges_[static_cast<std::size_t>(e)].bulge : 0.0;
}

StatusCode TObjCont::SetEdgeBulge(int e, double bulge) {
  if (!ValidEdge(e)) return StatusCode::BadIndex;
  if (!std::isfinite(bulge)) return StatusCode::BadNumber;
  edges_[static_cast<std::size_t>(e)].bulge = bulge;
  return StatusCode::Done;
}

void TObjCont::WriteArcs(std::ostream& out, const std::vector<int>& fileOrder) const {
  bool first = true;
  for (std::size_t k = 0; k < fileOrder.size(); ++k) {
    const double bulge = edges_[static_cast<std::size_t>(fileOrder[k])].bulge;
    if (bulge == 0.0) continue;
    if (first) {
      out << "\n; AE (arc edge), edge index, bulge = tan(angle / 4), positive counter-clockwise\n";
      first = false;
    }
    // The shortest text that reads back to the same double: the round trip is lossless.
    out << "AE, " << k << ", " << ShortestNumber(bulge) << "\n";
  }
}

}  // namespace tavrin
