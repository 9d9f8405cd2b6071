// PlateElement: a three-node plate-bending triangle with three freedoms per corner (LinZ = w,
// RotX = dw/dy, RotY = -dw/dx), giving its 9 x 9 stiffness in the global axes and recovering
// centroid stresses and deflection from the corner displacements. One object serves a whole pass
// over a mesh; nothing of one triangle survives into the next.
//
// The element result record exchanges 20 doubles: slots 0 to 5 the corners (x1, y1, x2, y2, x3,
// y3), 6 E, 7 E again, 8 nu, 9 t, 10 to 18 the nine corner displacements in element order. On
// return slots 10 to 18 hold three copies of (sigma X, sigma Y, tau XY) and slot 19 the centroid
// deflection. Stresses are those of the +Z surface, so sigma = 6 M / t^2 with the moment signs.
#pragma once

#include <memory>
#include <string>

namespace tavrin {

// Which plate element a solve uses. Dkt converges to plate theory and is the default; Cubic is
// the older complete-cubic element, kept so its results can be reproduced.
enum class ElementKind { Dkt, Cubic };

// Whether the element's stiffness leaves every rigid motion of the plate (lift and tilts)
// without forces, so that loads and reactions balance to round-off in the vertical forces and
// in the moments. The cubic element does not: a rigid lift leaves forces of 1e-10 to 1e-8 and a
// tilt moments of 1e-7 to 1e-5 of the load's, one face of its failing to converge.
bool BalancesExactly(ElementKind kind);
// A one-line warning for an element that does not converge to plate theory, or nullptr.
const char* ConvergenceWarning(ElementKind kind);

// How building or recovering one element ended.
enum class [[nodiscard]] ElementCode{
    Ok,
    ProductFailed,  // a matrix product of the recovery had mismatched sizes
    Degenerate,     // the triangle has no area (collinear or repeated corners)
};
const char* Message(ElementCode code);

class PlateElement {
 public:
  virtual ~PlateElement() = default;

  // Computes K9 for the triangle. Returns ElementCode::Ok or ElementCode::Degenerate (then K9 is
  // zero).
  virtual ElementCode BuildStiffness(double x1, double y1, double x2, double y2, double x3,
                                     double y3, double e, double e2, double nu, double t) = 0;
  // K9[i][j] of the last BuildStiffness; 0.0 for an index outside 0 to 8.
  long double StiffnessAt(int i, int j) const;
  // Fills slots 10 to 19 of the record. Returns Ok, Degenerate or ProductFailed.
  virtual ElementCode RecoverStress(double record[20]) = 0;
  // A pass recovering several displacement sets of one mesh may keep, per triangle, what the
  // recovery computes from the corners alone: RecoveryOperatorSize() long doubles, or none (0),
  // and then RecoverStress serves every set. PrepareRecovery fills them from slots 0 to 5 of
  // the record (Ok or Degenerate); RecoverWith then fills slots 10 to 19 of a record exactly
  // as RecoverStress would, to the bit.
  virtual int RecoveryOperatorSize() const { return 0; }
  virtual ElementCode PrepareRecovery(const double record[20], long double* op);
  virtual ElementCode RecoverWith(const long double* op, double record[20]) const;
  // Writes K9 as nine lines of nine %g numbers, each followed by two spaces. False on a file
  // error.
  [[nodiscard]] bool WriteStiffness(const std::string& fileName) const;

 protected:
  long double k9_[9][9] = {};
};

// A new element object of the given kind, for one pass over a mesh.
std::unique_ptr<PlateElement> MakePlateElement(ElementKind kind);

}  // namespace tavrin
