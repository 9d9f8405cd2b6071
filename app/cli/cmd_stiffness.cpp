// tavrin-cli stiffness: meshes a job as `mesh` does and writes the 9 x 9 stiffness matrix of
// one element (by its index in the mesh) with the chosen plate element.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "Commands.h"
#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"

namespace tavrin::cli {

int RunStiffness(const Args& args) {
  std::unique_ptr<FEM> mesh;
  ElementKind element;
  std::vector<std::string> positional;
  const int rc =
      MeshJobForSolve(args, "stiffness", kStiffnessUsage, 3, mesh, element, positional, nullptr);
  if (rc != 0) return rc;
  char* end = nullptr;
  errno = 0;
  const long t = std::strtol(positional[1].c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || positional[1].empty()) return UsageError(kStiffnessUsage);
  if (t < 0 || t >= mesh->TriangleCount()) {
    std::fprintf(stderr, "tavrin-cli stiffness: element %ld is outside 0 to %d\n", t,
                 mesh->TriangleCount() - 1);
    return 1;
  }
  switch (WriteElementStiffness(PlateMesh::FromFem(*mesh), element, static_cast<int>(t),
                                positional[2])) {
    case ExportResult::Written:
      return 0;
    case ExportResult::DegenerateElement:
      std::fprintf(stderr, "tavrin-cli stiffness: element %ld is degenerate\n", t);
      return 1;
    default:
      std::fprintf(stderr, "tavrin-cli stiffness: cannot write %s\n", positional[2].c_str());
      return 1;
  }
}

}  // namespace tavrin::cli
