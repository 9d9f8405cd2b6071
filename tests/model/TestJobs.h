// Small jobs built through the model's own operations, shared by the model tests.
#pragma once

#include <initializer_list>
#include <utility>

#include "model/TObjCont.h"

namespace tavrin::testing {

// Adds a closed polygon through the vertices given (AddNode, AddPolygonEdge, ClosePolygon) and
// returns the index of its first node.
inline int AddClosedPolygon(TObjCont& job,
                            std::initializer_list<std::pair<double, double>> points) {
  const int first = job.NodeCount();
  for (const auto& [x, y] : points) job.AddNode(x, y);
  const int n = static_cast<int>(points.size());
  for (int k = 0; k < n; ++k) job.AddPolygonEdge(first + k, first + (k + 1) % n);
  job.ClosePolygon();
  return first;
}

inline int AddRectangle(TObjCont& job, double x0, double y0, double x1, double y1) {
  return AddClosedPolygon(job, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

}  // namespace tavrin::testing
