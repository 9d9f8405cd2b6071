// Wood–Armer reinforcement moments for orthogonal reinforcement along x/y or along axes turned
// by an angle from x.
//
// A slab element under bending moments Mx, My and twisting moment Mxy needs, in the steel of
// each direction, a moment capacity such that no section of any direction yields. For the
// bottom face the normal-moment condition in every direction reduces to
//     (Mx* - Mx)(My* - My) >= Mxy^2,   Mx* >= Mx,   My* >= My,
// and the method takes the pair of least total Mx* + My* that also keeps Mx*, My* >= 0:
//     Mx* = Mx + |Mxy|,  My* = My + |Mxy|            (the general case), unless
//     Mx* < 0: Mx* = 0,  My* = My + Mxy^2 / |Mx|,    or
//     My* < 0: My* = 0,  Mx* = Mx + Mxy^2 / |My|,    and 0 where that is still negative.
// The top face is the same with every moment's sign reversed. Steel along axes xi, eta turned
// by theta from x takes the same rules on the moments in those axes (the tensor rotated):
//     Mxi = Mx c^2 + My s^2 + 2 Mxy s c,   Meta = Mx s^2 + My c^2 - 2 Mxy s c,
//     Mxieta = (My - Mx) s c + Mxy (c^2 - s^2),   c = cos theta, s = sin theta.
// Constant time.
//
// Moments here are positive when they put the bottom face in tension (sagging). The solver's
// moments have the opposite sign (its deflection is positive upward); SaggingFromSolver turns
// one into the other.
#pragma once

namespace tavrin {

struct ReinforcementMoments {
  double xBottom = 0;  // each >= 0: the moment the bottom (top) steel of that direction carries
  double yBottom = 0;
  double xTop = 0;  // the magnitude of the hogging moment
  double yTop = 0;
};

// Mx, My, Mxy per unit width, sagging positive.
ReinforcementMoments WoodArmer(double mx, double my, double mxy);

// The same for steel along axes turned by `degrees` from x: the "x" members are the xi layer's
// (along the angle), the "y" members the eta layer's. Exactly WoodArmer(mx, my, mxy) at 0.
ReinforcementMoments WoodArmerAt(double mx, double my, double mxy, double degrees);

// The bottom face's pair alone, for sagging-positive moments (the top face is this pair of the
// negated moments).
void WoodArmerBottom(double mx, double my, double mxy, double& mxStar, double& myStar);

}  // namespace tavrin
