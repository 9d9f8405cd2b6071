// Shared part of the plate elements: stiffness access, the element stiffness file, and the
// choice of element.
#include "analysis/PlateElement.h"

#include "analysis/CubicElement.h"
#include "analysis/DktElement.h"
#include "analysis/TDMatrix.h"

namespace tavrin {

const char* Message(ElementCode code) {
  switch (code) {
    case ElementCode::Ok:
      return "The element is sound.";
    case ElementCode::ProductFailed:
      return "The element's stress recovery met matrices of mismatched sizes.";
    case ElementCode::Degenerate:
      return "The element is degenerate: its corners are collinear or repeated.";
  }
  return "";
}

// An element without an operator is never asked for one: RecoverStress serves it.
ElementCode PlateElement::PrepareRecovery(const double[20], long double*) {
  return ElementCode::ProductFailed;
}
ElementCode PlateElement::RecoverWith(const long double*, double[20]) const {
  return ElementCode::ProductFailed;
}

long double PlateElement::StiffnessAt(int i, int j) const {
  if (i < 0 || j < 0 || i > 8 || j > 8) return 0.0L;
  return k9_[i][j];
}

bool PlateElement::WriteStiffness(const std::string& fileName) const {
  TDMatrix k(9, 9);
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < 9; ++j) k.set(i, j, k9_[i][j]);
  return k.writeText(fileName) == MatrixCode::Ok;
}

bool BalancesExactly(ElementKind kind) { return kind == ElementKind::Dkt; }

const char* ConvergenceWarning(ElementKind kind) {
  if (kind == ElementKind::Dkt) return nullptr;
  return "the cubic element does not converge to plate theory: it gives about 1.9 times the "
         "deflection of a simply supported square at every mesh size; use dkt for results";
}

std::unique_ptr<PlateElement> MakePlateElement(ElementKind kind) {
  if (kind == ElementKind::Cubic) return std::make_unique<CubicElement>();
  return std::make_unique<DktElement>();
}

}  // namespace tavrin
