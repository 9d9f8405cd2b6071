// Reinforcement directions of the job: the angle column of the polygon physics and its job file
// record. A polygon whose steel does not run along x and y is written as
//   RA, polygon index, angle in degrees from x
// after every other record, only for such polygons, so a job with x/y steel everywhere writes
// exactly what it always did, and a reader that does not know the record skips the line (no
// other record starts with R) and designs for x/y steel.
#include <ostream>

#include "model/TObjCont.h"

namespace tavrin {

double TObjCont::ReinforcementAngle(int p) const {
  return p >= 0 && p < polygonCount_
             ? polygons_[static_cast<std::size_t>(p)].physics.reinforcementAngle
             : 0.0;
}

StatusCode TObjCont::SetPolygonReinforcementAngle(int p, double degrees) {
  if (p < 0 || p >= polygonCount_) return StatusCode::BadPolygon;
  polygons_[static_cast<std::size_t>(p)].physics.reinforcementAngle = degrees;
  return StatusCode::Done;
}

void TObjCont::WriteReinforcement(std::ostream& out) const {
  bool first = true;
  for (int p = 0; p < polygonCount_; ++p) {
    const double angle = ReinforcementAngle(p);
    if (angle == 0.0) continue;
    if (first) {
      out << "\n; RA (reinforcement angle), polygon index, degrees from x\n";
      first = false;
    }
    // The shortest text that reads back to the same double: the round trip is lossless.
    out << "RA, " << p << ", " << ShortestNumber(angle) << "\n";
  }
}

}  // namespace tavrin
