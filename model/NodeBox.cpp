#include "model/NodeBox.h"

#include <cmath>

#include "model/TObjCont.h"

namespace tavrin {

PlanBox NodeBox(const TObjCont& job) {
  PlanBox box;
  if (job.NodeCount() == 0) return box;
  box.xmin = box.xmax = job.NodeX(0);
  box.ymin = box.ymax = job.NodeY(0);
  for (int i = 1; i < job.NodeCount(); ++i) {
    box.xmin = std::fmin(box.xmin, job.NodeX(i));
    box.xmax = std::fmax(box.xmax, job.NodeX(i));
    box.ymin = std::fmin(box.ymin, job.NodeY(i));
    box.ymax = std::fmax(box.ymax, job.NodeY(i));
  }
  return box;
}

}  // namespace tavrin
