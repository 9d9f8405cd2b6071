// DktElement: the Discrete Kirchhoff Triangle. Two quadratic rotation fields tied to the corner
// freedoms by the Kirchhoff conditions at the corners and mid-sides; curvatures are linear over
// the element, and the stiffness is integrated exactly by a three-point rule. Passes the
// constant-curvature patch test and converges to thin-plate theory. All arithmetic in long
// double; a triangle of zero area or with a zero-length side is degenerate.
//
// Holds the geometry of the last prepared triangle (corners, signed area, side coefficients and
// the rotation-field tables) and its K9; corners may come in either orientation.
#pragma once

#include "analysis/PlateElement.h"

namespace tavrin {

class DktElement : public PlateElement {
 public:
  ElementCode BuildStiffness(double x1, double y1, double x2, double y2, double x3, double y3,
                             double e, double e2, double nu, double t) override;
  ElementCode RecoverStress(double record[20]) override;
  // The operator is the curvature matrix at the centroid, 27 values.
  int RecoveryOperatorSize() const override { return 27; }
  ElementCode PrepareRecovery(const double record[20], long double* op) override;
  ElementCode RecoverWith(const long double* op, double record[20]) const override;

  // Curvature-to-freedom matrix B (3 x 9) at natural coordinates (xi, eta) of the last
  // prepared triangle: (bx,x, by,y, bx,y + by,x) = B U, which is -(w,xx, w,yy, 2 w,xy).
  void CurvatureMatrix(long double xi, long double eta, long double b[3][9]) const;
  // Side coefficients a, b, c, d, e of sides 4 (2-3), 5 (3-1), 6 (1-2), by index 0 to 2.
  long double SideA(int s) const { return a_[s]; }
  long double SideB(int s) const { return b_[s]; }
  long double SideC(int s) const { return c_[s]; }
  long double SideD(int s) const { return d_[s]; }
  long double SideE(int s) const { return e_[s]; }
  // Sets up the geometry without computing the stiffness. Returns ElementCode::Ok or
  // ElementCode::Degenerate.
  ElementCode Prepare(double x1, double y1, double x2, double y2, double x3, double y3);

 private:
  long double x_[3] = {}, y_[3] = {};
  long double twoA_ = 0;
  long double a_[3] = {}, b_[3] = {}, c_[3] = {}, d_[3] = {}, e_[3] = {};
  long double tx_[9][6] = {}, ty_[9][6] = {};  // rotation fields as combinations of N1..N6
};

}  // namespace tavrin
