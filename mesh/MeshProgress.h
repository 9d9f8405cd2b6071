// Progress reporting of a mesh generation. The mesher calls ShowMeshProgress when it starts,
// once per refinement pass, and when a finishing refinement starts and now and then while it
// runs, each time followed by ProcessEvents, which lets a host run its
// pending window events (a stop key then reaches FEM::RequestStop, which is safe to call from
// inside ProcessEvents); HideMeshProgress when it is done. Every call defaults to doing nothing.
#pragma once

#include <string>

namespace tavrin {

class MeshProgress {
 public:
  virtual ~MeshProgress() = default;

  // caption: "Initial triangulation", "Delaunay refinement" or "Finishing refinement";
  // angleDeg: the smallest angle of the mesh in degrees (0 until the first refinement pass has
  // measured it; the finishing refinement shows the angle it started from).
  virtual void ShowMeshProgress(const std::string& caption, int nodes, int elements,
                                double angleDeg) {
    (void)caption;
    (void)nodes;
    (void)elements;
    (void)angleDeg;
  }
  virtual void HideMeshProgress() {}
  virtual void ProcessEvents() {}
};

}  // namespace tavrin
