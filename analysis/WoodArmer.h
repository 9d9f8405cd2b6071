// Wood–Armer reinforcement moments for an orthogonal x/y reinforcement.
//
// A slab element under bending moments Mx, My and twisting moment Mxy needs, in the steel of
// each direction, a moment capacity such that no section of any direction yields. For the
// bottom face the normal-moment condition in every direction reduces to
//     (Mx* - Mx)(My* - My) >= Mxy^2,   Mx* >= Mx,   My* >= My,
// and the method takes the pair of least total Mx* + My* that also keeps Mx*, My* >= 0:
//     Mx* = Mx + |Mxy|,  My* = My + |Mxy|            (the general case), unless
//     Mx* < 0: Mx* = 0,  My* = My + Mxy^2 / |Mx|,    or
//     My* < 0: My* = 0,  Mx* = Mx + Mxy^2 / |My|,    and 0 where that is still negative.
// The top face is the same with every moment's sign reversed. Constant time.
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

// The bottom face's pair alone, for sagging-positive moments (the top face is this pair of the
// negated moments).
void WoodArmerBottom(double mx, double my, double mxy, double& mxStar, double& myStar);

}  // namespace tavrin
