// Small jobs built in code for the mesher's tests.
#pragma once

#include <initializer_list>

#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/TObjCont.h"

namespace tavrin::testing {

// Closes a polygon through the points, in order; returns its index.
inline int AddPolygon(TObjCont& job, std::initializer_list<MeshPoint> points) {
  const int first = job.NodeCount();
  const int n = static_cast<int>(points.size());
  for (MeshPoint p : points) job.AddNode(p.x, p.y);
  for (int i = 0; i < n; ++i) job.AddPolygonEdge(first + i, first + (i + 1) % n);
  job.ClosePolygon();
  return job.PolygonCount() - 1;
}

inline void AddSquare(TObjCont& job, double x0, double y0, double size) {
  AddPolygon(job, {{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}});
}

// Sets the process-wide parameters for one test and restores them afterwards.
class ScopedMeshParameters {
 public:
  ScopedMeshParameters(float minAngle, float maxArea, bool animate = false)
      : saved_(GlobalMeshParameters()) {
    GlobalMeshParameters() = MeshParameters{minAngle, maxArea, animate};
  }
  ~ScopedMeshParameters() { GlobalMeshParameters() = saved_; }

 private:
  MeshParameters saved_;
};

}  // namespace tavrin::testing
