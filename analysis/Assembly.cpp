// Assembly of the plate elements: one element object for the whole pass, each triangle's
// stiffness built and scattered. Linear in the triangles (81 coefficients each).
#include "analysis/Assembly.h"

namespace tavrin {

SolveCode Assembly::AddPlateElements(const PlateMesh& mesh, ElementKind kind,
                                     SolveProgress* progress, int& element, std::string& message) {
  const int triangles = mesh.TriangleCount();
  auto plate = MakePlateElement(kind);
  double in[10];
  for (int t = 0; t < triangles; ++t) {
    if (progress) {
      progress->ShowSolveProgress("Generating local stiffness matrix #", t, t, triangles);
      progress->ProcessEvents();
      if (progress->StopRequested()) return SolveCode::Stopped;
    }
    mesh.ElementInput(t, in);
    const ElementPhysics& m = mesh.materials[t];
    if (!(m.eModulus > 0) || !(m.thickness > 0) || !(m.nu > -1 && m.nu < 1)) {
      element = t;
      message = "Element " + std::to_string(t) +
                " has no valid material (E, thickness and Poisson ratio).";
      return SolveCode::DegenerateElement;
    }
    if (plate->BuildStiffness(in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7], in[8],
                              in[9]) != ElementCode::Ok) {
      element = t;
      const auto& c = mesh.triangles[t];
      message = "Element " + std::to_string(t) + " (mesh nodes " + std::to_string(c[0]) + ", " +
                std::to_string(c[1]) + ", " + std::to_string(c[2]) + ") is degenerate.";
      return SolveCode::DegenerateElement;
    }
    const auto& nodes = numbering_.TriangleNodes()[t];
    if (!ScatterNodes(nodes.data(), 3, [&](int i, int j) { return plate->StiffnessAt(i, j); })) {
      element = t;
      message = "Element " + std::to_string(t) + " falls outside the matrix profile.";
      return SolveCode::AssemblyFailed;
    }
  }
  return SolveCode::Ok;
}

}  // namespace tavrin
