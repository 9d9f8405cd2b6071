// CubicElement: the older plate triangle built on the complete cubic in global coordinates, with
// a tenth freedom (the centroid deflection) condensed out, the stiffness scaled by twice the
// flexural rigidity and stresses taken with the factor 20/27 t. It does not converge to plate
// theory and is kept only so that results computed with it can be reproduced; DktElement is the
// analysis element.
//
// The 10 x 10 coefficient matrix is inverted by diagonal sweeps only; when that fails the
// element's own copy of corner 3 is nudged by (0.001, 0.00125) x sqrt(area) and the inversion
// retried, at most kMaxCornerMoves times. A triangle whose first side is shorter than 0.01, or
// that still does not invert, is degenerate.
#pragma once

#include "analysis/PlateElement.h"
#include "analysis/TDMatrix.h"

namespace tavrin {

class CubicElement : public PlateElement {
 public:
  static constexpr int kMaxCornerMoves = 50;

  CubicElement();
  ElementCode BuildStiffness(double x1, double y1, double x2, double y2, double x3, double y3,
                             double e, double e2, double nu, double t) override;
  ElementCode RecoverStress(double record[20]) override;

  // Corner moves of the last build or recovery, and the corner 3 it finally used.
  int CornerMoves() const { return moves_; }
  double UsedX3() const { return x3_; }
  double UsedY3() const { return y3_; }

 private:
  // Stores the corners, builds and inverts C (moving corner 3 as needed) and builds H.
  // Returns ElementCode::Ok or ElementCode::Degenerate.
  ElementCode Setup(double x1, double y1, double x2, double y2, double x3, double y3, double nu);
  long double Area() const;
  void BuildC();
  void BuildH(long double nu);

  double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0, x3_ = 0, y3_ = 0, xc_ = 0, yc_ = 0;
  int moves_ = 0;
  TDMatrix c_, h_, w_, k10_, t_, dps_, b_;
};

}  // namespace tavrin
