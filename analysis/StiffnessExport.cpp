// Element stiffness file: the 9 x 9 matrix of one triangle, rebuilt with the element the solve
// used, so the file shows exactly what was assembled.
#include <memory>

#include "analysis/TGlobMatrix.h"

namespace tavrin {

ExportResult WriteElementStiffness(const PlateMesh& mesh, ElementKind element, int triangle,
                                   const std::string& fileName) {
  if (triangle < 0 || triangle >= mesh.TriangleCount()) return ExportResult::NoSuchElement;
  const auto& c = mesh.triangles[triangle];
  const ElementPhysics& m = mesh.materials[triangle];
  for (int k = 0; k < 3; ++k)
    if (c[k] < 0 || c[k] >= mesh.NodeCount()) return ExportResult::DegenerateElement;
  const auto el = MakePlateElement(element);
  if (el->BuildStiffness(mesh.x[c[0]], mesh.y[c[0]], mesh.x[c[1]], mesh.y[c[1]], mesh.x[c[2]],
                         mesh.y[c[2]], m.eModulus, m.eModulus, m.nu,
                         m.thickness) != ElementCode::Ok)
    return ExportResult::DegenerateElement;
  return el->WriteStiffness(fileName) ? ExportResult::Written : ExportResult::CannotCreate;
}

ExportResult TGlobMatrix::WriteLocalStiffness(const std::string& fileName, int triangle) const {
  if (!solved_) return ExportResult::NoSolution;
  return WriteElementStiffness(mesh_, elementKind_, triangle, fileName);
}

}  // namespace tavrin
