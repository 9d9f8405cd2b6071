// Small jobs built in code for the mesher's tests.
#pragma once

#include <initializer_list>

#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "mesh/MeshProgress.h"
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

// Parameters for a test's mesh, from the numbers a test states.
inline MeshParameters Parameters(double minAngle, double maxArea, bool animate = false,
                                 int maxNodes = MeshParameters{}.maxNodes) {
  return MeshParameters{static_cast<float>(minAngle), static_cast<float>(maxArea), animate,
                        maxNodes};
}

// Ends a refinement once the mesh has more nodes than the limit, as a user's stop key would.
class NodeLimit : public MeshProgress {
 public:
  NodeLimit(FEM& mesh, int limit) : mesh_(mesh), limit_(limit) {}
  void ProcessEvents() override {
    if (mesh_.NodeCount() > limit_) mesh_.RequestStop();
  }

 private:
  FEM& mesh_;
  int limit_;
};

}  // namespace tavrin::testing
