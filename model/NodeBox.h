// The plan extent of a job: the box the default maximal area and the random tests scale from.
#pragma once

namespace tavrin {

class TObjCont;

struct PlanBox {
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  double Width() const { return xmax - xmin; }
  double Height() const { return ymax - ymin; }
};

// The smallest axis-parallel box holding every node of the job; all zero for a job without
// nodes. A coordinate that is not a number is passed over (fmin/fmax), so one bad node does not
// spoil the box of the others. Costs one pass over the nodes.
PlanBox NodeBox(const TObjCont& job);

}  // namespace tavrin
