// Discrete Kirchhoff Triangle. Building K costs three evaluations of a 3 x 9 curvature matrix and
// three 9 x 9 products: a few thousand operations per triangle.
#include "analysis/DktElement.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {

void Shape(long double xi, long double eta, long double dxi[6], long double deta[6]) {
  dxi[0] = 4 * xi + 4 * eta - 3;
  dxi[1] = 4 * xi - 1;
  dxi[2] = 0;
  dxi[3] = 4 * eta;
  dxi[4] = -4 * eta;
  dxi[5] = 4 - 8 * xi - 4 * eta;
  deta[0] = 4 * xi + 4 * eta - 3;
  deta[1] = 0;
  deta[2] = 4 * eta - 1;
  deta[3] = 4 * xi;
  deta[4] = 4 - 4 * xi - 8 * eta;
  deta[5] = -4 * xi;
}

}  // namespace

ElementCode DktElement::Prepare(double x1, double y1, double x2, double y2, double x3, double y3) {
  x_[0] = x1;
  y_[0] = y1;
  x_[1] = x2;
  y_[1] = y2;
  x_[2] = x3;
  y_[2] = y3;
  const long double x12 = x_[0] - x_[1], y12 = y_[0] - y_[1];
  const long double x31 = x_[2] - x_[0], y31 = y_[2] - y_[0];
  twoA_ = x31 * y12 - x12 * y31;

  // Sides 4, 5, 6 run 2->3, 3->1, 1->2.
  const int from[3] = {1, 2, 0}, to[3] = {2, 0, 1};
  long double longest = 0;
  for (int s = 0; s < 3; ++s) {
    const long double xij = x_[from[s]] - x_[to[s]], yij = y_[from[s]] - y_[to[s]];
    const long double l2 = xij * xij + yij * yij;
    if (!(l2 > 0)) return ElementCode::Degenerate;
    longest = std::max(longest, l2);
    a_[s] = -xij / l2;
    b_[s] = 0.75L * xij * yij / l2;
    c_[s] = (0.25L * xij * xij - 0.5L * yij * yij) / l2;
    d_[s] = -yij / l2;
    e_[s] = (0.25L * yij * yij - 0.5L * xij * xij) / l2;
  }
  // A sliver whose area is lost in the rounding of its coordinates has no usable stiffness.
  if (!(std::fabs(twoA_) > 1e-12L * longest)) return ElementCode::Degenerate;

  // Corner i has shape function N_i, a side "next" starting at it and a side "prev" ending at
  // it: corner 1 -> sides 6, 5; corner 2 -> 4, 6; corner 3 -> 5, 4 (side index s = side - 4,
  // its mid-side function is N_{s+3}).
  const int next[3] = {2, 0, 1}, prev[3] = {1, 2, 0};
  for (int r = 0; r < 9; ++r)
    for (int k = 0; k < 6; ++k) tx_[r][k] = ty_[r][k] = 0;
  for (int i = 0; i < 3; ++i) {
    const int n = next[i], p = prev[i];
    const int nn = n + 3, np = p + 3;
    long double* wx = tx_[3 * i];
    long double* wy = ty_[3 * i];
    wx[nn] = 1.5L * a_[n];
    wx[np] = -1.5L * a_[p];
    wy[nn] = 1.5L * d_[n];
    wy[np] = -1.5L * d_[p];
    long double* rx = tx_[3 * i + 1];
    long double* ry = ty_[3 * i + 1];
    rx[nn] = b_[n];
    rx[np] = b_[p];
    ry[i] = -1;
    ry[nn] = e_[n];
    ry[np] = e_[p];
    long double* sx = tx_[3 * i + 2];
    long double* sy = ty_[3 * i + 2];
    sx[i] = 1;
    sx[nn] = -c_[n];
    sx[np] = -c_[p];
    sy[nn] = -b_[n];
    sy[np] = -b_[p];
  }
  return ElementCode::Ok;
}

void DktElement::CurvatureMatrix(long double xi, long double eta, long double b[3][9]) const {
  long double dxi[6], deta[6];
  Shape(xi, eta, dxi, deta);
  const long double x12 = x_[0] - x_[1], y12 = y_[0] - y_[1];
  const long double x31 = x_[2] - x_[0], y31 = y_[2] - y_[0];
  const long double inv =
      1.0L / twoA_;  // signed: the curvature sign must not depend on orientation
  for (int r = 0; r < 9; ++r) {
    long double hxXi = 0, hxEta = 0, hyXi = 0, hyEta = 0;
    for (int k = 0; k < 6; ++k) {
      hxXi += tx_[r][k] * dxi[k];
      hxEta += tx_[r][k] * deta[k];
      hyXi += ty_[r][k] * dxi[k];
      hyEta += ty_[r][k] * deta[k];
    }
    b[0][r] = (y31 * hxXi + y12 * hxEta) * inv;
    b[1][r] = (-x31 * hyXi - x12 * hyEta) * inv;
    b[2][r] = (-x31 * hxXi - x12 * hxEta + y31 * hyXi + y12 * hyEta) * inv;
  }
}

ElementCode DktElement::BuildStiffness(double x1, double y1, double x2, double y2, double x3,
                                       double y3, double e, double /*e2*/, double nu, double t) {
  for (auto& row : k9_)
    for (long double& v : row) v = 0;
  if (Prepare(x1, y1, x2, y2, x3, y3) != ElementCode::Ok) return ElementCode::Degenerate;

  const long double lt = t, le = e, lnu = nu;
  const long double dFlex = le * lt * lt * lt / (12.0L * (1.0L - lnu * lnu));
  const long double db[3][3] = {
      {dFlex, dFlex * lnu, 0}, {dFlex * lnu, dFlex, 0}, {0, 0, dFlex * (1.0L - lnu) / 2.0L}};
  // Three interior points, weight |A|/3 each: exact for the quadratic integrand.
  static const long double pts[3][2] = {
      {1.0L / 6, 1.0L / 6}, {2.0L / 3, 1.0L / 6}, {1.0L / 6, 2.0L / 3}};
  const long double weight = std::fabs(twoA_) / 6.0L;
  for (const auto& pt : pts) {
    long double b[3][9];
    CurvatureMatrix(pt[0], pt[1], b);
    long double dbB[3][9];
    for (int r = 0; r < 3; ++r)
      for (int j = 0; j < 9; ++j)
        dbB[r][j] = db[r][0] * b[0][j] + db[r][1] * b[1][j] + db[r][2] * b[2][j];
    for (int i = 0; i < 9; ++i)
      for (int j = i; j < 9; ++j)
        k9_[i][j] += weight * (b[0][i] * dbB[0][j] + b[1][i] * dbB[1][j] + b[2][i] * dbB[2][j]);
  }
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < i; ++j) k9_[i][j] = k9_[j][i];
  return ElementCode::Ok;
}

ElementCode DktElement::RecoverStress(double record[20]) {
  long double b[27];
  if (PrepareRecovery(record, b) != ElementCode::Ok) {
    for (int s = 10; s < 20; ++s) record[s] = 0;
    return ElementCode::Degenerate;
  }
  return RecoverWith(b, record);
}

ElementCode DktElement::PrepareRecovery(const double record[20], long double* op) {
  if (Prepare(record[0], record[1], record[2], record[3], record[4], record[5]) != ElementCode::Ok)
    return ElementCode::Degenerate;
  long double b[3][9];
  CurvatureMatrix(1.0L / 3, 1.0L / 3, b);
  for (int r = 0; r < 3; ++r)
    for (int k = 0; k < 9; ++k) op[9 * r + k] = b[r][k];
  return ElementCode::Ok;
}

ElementCode DktElement::RecoverWith(const long double* b, double record[20]) const {
  const long double le = record[6], lnu = record[8], lt = record[9];
  const long double x[3] = {record[0], record[2], record[4]},
                    y[3] = {record[1], record[3], record[5]};
  long double u[9];
  for (int k = 0; k < 9; ++k) u[k] = record[10 + k];

  long double kb[3] = {0, 0, 0};  // curvatures of the rotation fields, -(w,xx, w,yy, 2 w,xy)
  for (int r = 0; r < 3; ++r)
    for (int k = 0; k < 9; ++k) kb[r] += b[9 * r + k] * u[k];
  const long double ep = le / (1.0L - lnu * lnu);
  const long double half = lt / 2.0L;
  const long double sx = half * ep * (kb[0] + lnu * kb[1]);
  const long double sy = half * ep * (lnu * kb[0] + kb[1]);
  const long double txy = half * ep * (1.0L - lnu) / 2.0L * kb[2];

  // Centroid deflection, exact for any quadratic w: mean of the corner Taylor expansions to
  // first order, each weighted 1/2 on its gradient term.
  const long double xc = (x[0] + x[1] + x[2]) / 3.0L, yc = (y[0] + y[1] + y[2]) / 3.0L;
  long double wc = 0;
  for (int i = 0; i < 3; ++i) {
    const long double w = u[3 * i], gx = -u[3 * i + 2], gy = u[3 * i + 1];
    wc += w / 3.0L + (gx * (xc - x[i]) + gy * (yc - y[i])) / 6.0L;
  }
  for (int c = 0; c < 3; ++c) {
    record[10 + 3 * c] = static_cast<double>(sx);
    record[11 + 3 * c] = static_cast<double>(sy);
    record[12 + 3 * c] = static_cast<double>(txy);
  }
  record[19] = static_cast<double>(wc);
  return ElementCode::Ok;
}

}  // namespace tavrin
