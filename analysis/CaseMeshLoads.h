// The loads of any load case laid on a mesh made once for the job.
//
// The mesher copies the first case's records into the mesh: job node i is mesh node i, every
// piece of a split job edge carries that edge's record, and every triangle the physics of the
// polygon its region belongs to. A further case must reach the same places, so the map finds,
// once per mesh, where each mesh node, segment piece and triangle came from: the node by its
// index, a piece by walking along its job edge from the edge's begin node, a triangle by the
// region of triangles it shares without crossing a segment (one region, one polygon: the
// innermost closed polygon holding the region whose physics match the mesh's, as the mesher
// gave them). Apply then writes a case's values in those places; applied to the first case it
// reproduces the mesher's copy.
//
// Cost: building is linear in the mesh plus, per region, one point-in-polygon test against
// every job edge; Apply is linear in the mesh.
#pragma once

#include <vector>

#include "analysis/PlateMesh.h"
#include "model/LoadCases.h"

namespace tavrin {

class FEM;
class TObjCont;

class CaseMeshLoads {
 public:
  // The job as it was meshed (after PrepareForMeshing) and its mesh; neither is kept.
  CaseMeshLoads(const FEM& mesh, const TObjCont& job);

  // A copy of base (PlateMesh::FromFem of the same mesh) whose node and edge forces,
  // prescribed values and element pressures are those of `loads` (a record of
  // TObjCont::CaseLoads or CombinationLoads). Constraint codes and materials stay base's.
  PlateMesh Apply(const PlateMesh& base, const LoadCase& loads) const;

  int SourceEdge(int meshEdge) const { return edgeSource_[static_cast<std::size_t>(meshEdge)]; }
  int SourcePolygon(int triangle) const {
    return trianglePolygon_[static_cast<std::size_t>(triangle)];
  }

 private:
  int jobNodes_ = 0;
  std::vector<int> edgeSource_;       // mesh edge -> job edge it is (a piece of), or -1
  std::vector<int> trianglePolygon_;  // triangle -> job polygon whose pressure it carries
};

}  // namespace tavrin
