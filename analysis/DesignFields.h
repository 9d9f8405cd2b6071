// Design quantities of one point of a plate, from its moments and stresses: the principal
// moments with the direction of the larger, and the von Mises stress of a face. Pure functions,
// constant time; the tables of a whole result set are built from them in DesignTable.
#pragma once

namespace tavrin {

struct PrincipalMoments {
  double m1 = 0;     // the larger eigenvalue of [[Mx, Mxy], [Mxy, My]]
  double m2 = 0;     // the smaller
  double angle = 0;  // direction of m1, degrees from x, in (-90, 90]
};

// The eigenvalues by the half-sum and the radius of Mohr's circle: (Mx + My)/2 +- R with
// R = hypot((Mx - My)/2, Mxy), the direction 0.5 atan2(2 Mxy, Mx - My); an isotropic state
// (R = 0) has every direction principal and reports 0 degrees.
PrincipalMoments Principal(double mx, double my, double mxy);

// Von Mises stress of a plane stress state: sqrt(sx^2 - sx sy + sy^2 + 3 txy^2).
double VonMises(double sx, double sy, double txy);

}  // namespace tavrin
