// Refusals around a solve; see the header.
#include "analysis/SolveRefusals.h"

#include "analysis/TGlobMatrix.h"

namespace tavrin {

std::string UnusableMeshRefusal(const MeshStatistics& statistics) {
  if (statistics.usable) return {};
  return "the mesh is not usable. " + MeshVerdict(statistics);
}

std::string NoFreeDeflectionRefusal(const TGlobMatrix& solver) {
  for (int v = 0; v < solver.ResultNodeCount(); ++v)
    if (!solver.IsConstrained(v, 0)) return {};
  return "the mesh has no node free to deflect (its " + std::to_string(solver.ResultNodeCount()) +
         " nodes all lie on supports), so it cannot show the plate bending; refine it with a "
         "larger --max-nodes or a smaller --max-area";
}

}  // namespace tavrin
