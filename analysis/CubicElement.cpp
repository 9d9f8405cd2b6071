// Complete-cubic plate triangle with condensed centroid deflection. Cost per triangle: one
// 10 x 10 sweep inversion (about 1,000 operations, repeated when corner 3 has to move) and two
// 10 x 10 products.
#include "analysis/CubicElement.h"

#include <cmath>

namespace tavrin {

namespace {
const long double kThird = 1.0L / 3.0L;
const long double kOne24th = 1.0L / 24.0L;
}  // namespace

CubicElement::CubicElement()
    : c_(10, 10), h_(10, 10), w_(10, 10), k10_(10, 10), t_(10, 10), dps_(3, 3), b_(3, 10) {}

// Area from the line through corners 1 and 2; zero when that side is shorter than 0.01.
long double CubicElement::Area() const {
  const long double a = static_cast<long double>(y2_) - y1_;
  const long double b = static_cast<long double>(x1_) - x2_;
  const long double c = -b * y1_ - a * x1_;
  const long double ab = a * a + b * b;
  if (static_cast<double>(std::fabs(ab)) < 1e-4) return 0.0L;
  const long double dx = static_cast<long double>(x1_) - x2_,
                    dy = static_cast<long double>(y1_) - y2_;
  return std::fabs(a * x3_ + b * y3_ + c) / std::sqrt(ab) * std::sqrt(dx * dx + dy * dy) * 0.5L;
}

void CubicElement::BuildC() {
  const long double xc = xc_, yc = yc_;
  const long double r0[10] = {1,       xc,           yc,           xc * xc,      xc * yc,
                              yc * yc, xc * xc * xc, xc * xc * yc, xc * yc * yc, yc * yc * yc};
  for (int j = 0; j < 10; ++j) c_.set(0, j, r0[j]);
  const double xs[3] = {x1_, x2_, x3_}, ys[3] = {y1_, y2_, y3_};
  for (int k = 0; k < 3; ++k) {
    const long double x = xs[k], y = ys[k];
    const int r = 3 * k + 1;
    const long double w[10] = {1,     x,         y,         x * x,     x * y,
                               y * y, x * x * x, x * x * y, x * y * y, y * y * y};
    const long double rx[10] = {0, 0, 1, 0, x, 2 * y, 0, x * x, 2 * x * y, 3 * y * y};
    const long double ry[10] = {0, -1, 0, -2 * x, -y, 0, -3 * x * x, -2 * x * y, -y * y, 0};
    for (int j = 0; j < 10; ++j) {
      c_.set(r, j, w[j]);
      c_.set(r + 1, j, rx[j]);
      c_.set(r + 2, j, ry[j]);
    }
  }
}

void CubicElement::BuildH(long double nu) {
  const long double g = (1.0L - nu) / 2.0L;
  const long double area = Area();
  const long double xm[3] = {(static_cast<long double>(x1_) + x2_) / 2,
                             (static_cast<long double>(x2_) + x3_) / 2,
                             (static_cast<long double>(x1_) + x3_) / 2};
  const long double ym[3] = {(static_cast<long double>(y1_) + y2_) / 2,
                             (static_cast<long double>(y2_) + y3_) / 2,
                             (static_cast<long double>(y1_) + y3_) / 2};
  const long double f = 8 * (area * kOne24th);
  const long double ix = (xm[0] + xm[1] + xm[2]) * f;
  const long double iy = (ym[0] + ym[1] + ym[2]) * f;
  const long double ixx = (xm[0] * xm[0] + xm[1] * xm[1] + xm[2] * xm[2]) * f;
  const long double iyy = (ym[0] * ym[0] + ym[1] * ym[1] + ym[2] * ym[2]) * f;
  const long double ixy = (xm[0] * ym[0] + xm[1] * ym[1] + xm[2] * ym[2]) * f;
  auto put = [this](int i, int j, long double v) {
    h_.set(i, j, v);
    h_.set(j, i, v);
  };
  put(3, 3, 4 * area);
  put(4, 4, g * area);
  put(5, 5, 4 * area);
  put(6, 6, 36 * ixx);
  put(7, 7, 4 * iyy + 4 * g * ixx);
  put(8, 8, 4 * ixx + 4 * g * iyy);
  put(9, 9, 36 * iyy);
  put(3, 5, 4 * nu * area);
  put(3, 6, 12 * ix);
  put(3, 7, 4 * iy);
  put(3, 8, 4 * nu * ix);
  put(3, 9, 12 * nu * iy);
  put(4, 7, 2 * g * ix);
  put(4, 8, 2 * g * iy);
  put(5, 6, 12 * nu * ix);
  put(5, 7, 4 * nu * iy);
  put(5, 8, 4 * ix);
  put(5, 9, 12 * iy);
  put(6, 7, 12 * ixy);
  put(6, 8, 12 * nu * ixx);
  put(6, 9, 36 * nu * ixy);
  put(7, 8, (4 * nu + 4 * g) * ixy);
  put(7, 9, 12 * nu * iyy);
  put(8, 9, 12 * ixy);
  put(3, 4, 0);
  put(4, 5, 0);
  put(4, 6, 0);
  put(4, 9, 0);
}

ElementCode CubicElement::Setup(double x1, double y1, double x2, double y2, double x3, double y3,
                                double nu) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  x3_ = x3;
  y3_ = y3;
  xc_ = static_cast<double>((static_cast<long double>(x1) + x2 + x3) * kThird);
  yc_ = static_cast<double>((static_cast<long double>(y1) + y2 + y3) * kThird);
  moves_ = 0;
  // A first side shorter than 0.01 makes the area, and so H, zero: nothing to condense.
  const double dx = x1 - x2, dy = y1 - y2;
  if (dx * dx + dy * dy < 1e-4) return ElementCode::Degenerate;
  while (true) {
    BuildC();
    if (c_.invertInPlace() == MatrixCode::Ok) break;
    if (moves_ == kMaxCornerMoves) return ElementCode::Degenerate;
    const long double s = std::sqrt(Area());
    x3_ = static_cast<double>(x3_ + 0.001L * s);
    y3_ = static_cast<double>(y3_ + 0.00125L * s);
    ++moves_;
  }
  BuildH(nu);
  return ElementCode::Ok;
}

ElementCode CubicElement::BuildStiffness(double x1, double y1, double x2, double y2, double x3,
                                         double y3, double e, double /*e2*/, double nu, double t) {
  for (auto& row : k9_)
    for (long double& v : row) v = 0;
  if (Setup(x1, y1, x2, y2, x3, y3, nu) != ElementCode::Ok) return ElementCode::Degenerate;
  c_.transposeInto(w_);
  TDMatrix::multiply(w_, h_, t_);
  TDMatrix::multiply(t_, c_, k10_);
  const long double le = e, lt = t, lnu = nu;
  k10_.scale(2 * lt * lt * lt * le / ((1 - lnu * lnu) * 12));
  const long double k00 = k10_.get(0, 0);
  if (!(std::fabs(k00) > 0)) return ElementCode::Degenerate;
  for (int i = 1; i < 10; ++i)
    for (int j = 1; j < 10; ++j)
      k9_[i - 1][j - 1] = k10_.get(i, j) - k10_.get(i, 0) * (1.0L / k00) * k10_.get(0, j);
  return ElementCode::Ok;
}

ElementCode CubicElement::RecoverStress(double record[20]) {
  const double nu = record[8], e = record[6], t = record[9];
  if (Setup(record[0], record[1], record[2], record[3], record[4], record[5], nu) !=
      ElementCode::Ok) {
    for (int s = 10; s < 20; ++s) record[s] = 0;
    return ElementCode::Degenerate;
  }
  c_.transposeInto(w_);
  TDMatrix::multiply(w_, h_, t_);
  TDMatrix::multiply(t_, c_, k10_);
  const long double lt = t, le = e, lnu = nu;
  k10_.scale(lt * lt * lt * le / (12 * (1 - lnu * lnu)));
  const long double k00 = k10_.get(0, 0);
  if (!(std::fabs(k00) > 0)) {
    for (int s = 10; s < 20; ++s) record[s] = 0;
    return ElementCode::Degenerate;
  }
  long double sum = 0;
  for (int j = 1; j < 10; ++j) sum += k10_.get(0, j) * static_cast<long double>(record[9 + j]);
  const long double wc = -sum / k00;
  TDMatrix d10(10, 1);
  d10.set(0, 0, wc);
  for (int j = 1; j < 10; ++j) d10.set(j, 0, record[9 + j]);

  const double ep = e / (1 - nu * nu);
  dps_.fill(0);
  dps_.set(0, 0, 1);
  dps_.set(0, 1, nu);
  dps_.set(1, 0, nu);
  dps_.set(1, 1, 1);
  dps_.set(2, 2, (1 - static_cast<long double>(nu)) / 2);
  dps_.scale(ep);
  const long double x = xc_, y = yc_;
  const long double r[3][10] = {{0, 0, 0, 2, 0, 0, 6 * x, 2 * y, 0, 0},
                                {0, 0, 0, 0, 0, 2, 0, 0, 2 * x, 6 * y},
                                {0, 0, 0, 0, 2, 0, 0, 4 * x, 4 * y, 0}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 10; ++j) b_.set(i, j, r[i][j]);
  const double v = -t * 0.7407407407407407;
  b_.scale(v);
  TDMatrix a(10, 1), bcd(3, 1), s(3, 1);
  if (TDMatrix::multiply(c_, d10, a) != MatrixCode::Ok ||
      TDMatrix::multiply(b_, a, bcd) != MatrixCode::Ok ||
      TDMatrix::multiply(dps_, bcd, s) != MatrixCode::Ok)
    return ElementCode::ProductFailed;
  for (int c = 0; c < 3; ++c)
    for (int k = 0; k < 3; ++k) record[10 + 3 * c + k] = static_cast<double>(s.get(k, 0));
  record[19] = static_cast<double>(wc);
  return ElementCode::Ok;
}

}  // namespace tavrin
