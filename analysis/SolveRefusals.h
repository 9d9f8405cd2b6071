// The sentences a solve is refused with around the solver itself, shared by every front end
// (tavrin-cli, the Python module) so that each says the same. Each returns "" when there is
// nothing to refuse. Cost: constant, or linear in the nodes for a solved mesh.
#pragma once

#include <string>

#include "mesh/MeshParameters.h"

namespace tavrin {

class TGlobMatrix;

// Before solving: a mesh not usable at the angle asked for ("the mesh is not usable. " and the
// verdict of the statistics).
std::string UnusableMeshRefusal(const MeshStatistics& statistics);

// After SolveStatic succeeded: a mesh whose every node is held in deflection cannot bend, and
// its zero deflection and zero error would read as a true answer.
std::string NoFreeDeflectionRefusal(const TGlobMatrix& solver);

// After SolveStress failed.
inline constexpr char kStressRangeRefusal[] =
    "the stresses exceed the range of numbers; check the prescribed displacements and the loads "
    "against the plate's stiffness";

}  // namespace tavrin
