// The clamped square under uniform load by superposition of Levy series (thin-plate theory):
// the simply supported square under the load, plus the simply supported square under edge
// moments sum E_m sin(m pi s) on its two edges y = 0, 1, plus the same on x = 0, 1 (the square's
// symmetry makes both sets of E_m equal). The E_m come from the edges' zero slope, expanded in
// the same sines: a dense system of `terms` odd harmonics whose coupling integrals (the slope of
// one edge pair's moments seen along the other edge) are done by composite Gauss quadrature.
// Unit side, load and rigidity: w = q a^4 / D * Deflection(x / a, y / a), M = q a^2 * Moments.
// Sign convention: w along the load, M = -D (w_xx + nu w_yy) and so on, M_xy = -D (1 - nu) w_xy.
// Cost: terms^2 * 10^4 for the set-up, about 100 * terms flops per evaluation (the hyperbolic and
// trigonometric factors of the harmonics are geometric in m, so each is a product).
// TrueError measures a solve of the square against it in the norm of the error estimate.
#pragma once

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "analysis/TGlobMatrix.h"

namespace tavrin::testing {

class ClampedSquareSeries {
 public:
  ClampedSquareSeries(double nu, int terms) : nu_(nu), n_(terms) {
    for (int i = 0; i < n_; ++i) {
      const double lambda = kPi * (2 * i + 1), c = lambda / 2, th = std::tanh(c);
      const double p = 4 / (kPi * (2 * i + 1)) / std::pow(lambda, 4);
      Levy load{p, 0, p / 2}, moment{0, 0, -1 / (2 * lambda * lambda)};
      load.a = -p - load.b * c * th;
      moment.a = -moment.b * c * th;
      load_.push_back(load);
      moment_.push_back(moment);
      tail_.push_back(1 + std::exp(-2 * c));
    }
    // K[m][n]: the slope along y = 1 (as sine coefficient m) of the unit moment harmonic n laid
    // on x = 0, 1. Its integrand is symmetric about x = 1/2, so the half [0, 1/2] is doubled.
    constexpr int kPanels = 1000;
    constexpr std::array<double, 5> kGx = {-0.9061798459386640, -0.5384693101056831, 0.0,
                                           0.5384693101056831, 0.9061798459386640};
    constexpr std::array<double, 5> kGw = {0.2369268850561891, 0.4786286704993665,
                                           0.5688888888888889, 0.4786286704993665,
                                           0.2369268850561891};
    std::vector<double> xs, ws;
    const double width = 0.5 / kPanels;
    for (int p = 0; p < kPanels; ++p)
      for (int g = 0; g < 5; ++g) {
        xs.push_back(width * (p + 0.5 * (1 + kGx[g])));
        ws.push_back(0.5 * width * kGw[g]);
      }
    std::vector<std::vector<double>> sines(n_), shapes(n_);
    for (int i = 0; i < n_; ++i)
      for (const double x : xs) {
        sines[i].push_back(std::sin(kPi * (2 * i + 1) * x));
        shapes[i].push_back(Value(moment_[i], i, x - 0.5)[0]);
      }
    std::vector<std::vector<double>> k(n_, std::vector<double>(n_ + 1, 0.0));
    for (int m = 0; m < n_; ++m) {
      for (int n = 0; n < n_; ++n) {
        double sum = 0;
        for (std::size_t q = 0; q < xs.size(); ++q) sum += ws[q] * shapes[n][q] * sines[m][q];
        k[m][n] = -2 * kPi * (2 * n + 1) * 2 * sum;
      }
      k[m][m] += Value(moment_[m], m, 0.5)[1];
      k[m][n_] = -Value(load_[m], m, 0.5)[1];
    }
    edge_ = Solve(std::move(k));
  }

  // Deflection and moments {w, Mx, My, Mxy} at (x, y) of the unit square.
  std::array<double, 4> At(double x, double y) const {
    double w = 0, wxx = 0, wyy = 0, wxy = 0;
    Harmonics alongX(x), alongY(y);
    for (int i = 0; i < n_; ++i) {
      const double lambda = kPi * (2 * i + 1);
      const std::array<double, 3> own = alongY.Value(load_[i], lambda, y - 0.5, tail_[i]);
      const std::array<double, 3> edge = alongY.Value(moment_[i], lambda, y - 0.5, tail_[i]);
      const std::array<double, 3> other = alongX.Value(moment_[i], lambda, x - 0.5, tail_[i]);
      const double e = edge_[i], sx = alongX.sine, cx = alongX.cosine;
      const double sy = alongY.sine, cy = alongY.cosine;
      const double v = own[0] + e * edge[0], d1 = own[1] + e * edge[1], d2 = own[2] + e * edge[2];
      w += sx * v + e * sy * other[0];
      wxx += -lambda * lambda * sx * v + e * sy * other[2];
      wyy += sx * d2 - lambda * lambda * e * sy * other[0];
      wxy += lambda * cx * d1 + e * lambda * cy * other[1];
      alongX.Next();
      alongY.Next();
    }
    return {w, -(wxx + nu_ * wyy), -(wyy + nu_ * wxx), -(1 - nu_) * wxy};
  }

  // The edge moment coefficients (E_m of harmonic 2 i + 1).
  const std::vector<double>& EdgeMoments() const { return edge_; }

 private:
  static constexpr double kPi = 3.14159265358979323846;

  // Y(eta) = p + a cosh(l eta) / cosh(c) + b l eta sinh(l eta) / cosh(c), c = l / 2.
  struct Levy {
    double p, a, b;
  };

  // Y, Y', Y'' of harmonic i at eta in [-1/2, 1/2], without overflow for high harmonics.
  static std::array<double, 3> Value(const Levy& f, int i, double eta) {
    const double lambda = kPi * (2 * i + 1), c = lambda / 2, t = lambda * std::fabs(eta);
    return Shape(f, lambda, eta, std::exp(t - c) / (1 + std::exp(-2 * c)), std::exp(-2 * t));
  }

  // The same from scale = exp(t - c) / (1 + exp(-2 c)) and decay = exp(-2 t), t = lambda |eta|.
  static std::array<double, 3> Shape(const Levy& f, double lambda, double eta, double scale,
                                     double decay) {
    const double ch = scale * (1 + decay), sh = (eta < 0 ? -1 : 1) * scale * (1 - decay);
    const double le = lambda * eta;
    return {f.p + f.a * ch + f.b * le * sh, lambda * (f.a * sh + f.b * (sh + le * ch)),
            lambda * lambda * (f.a * ch + f.b * (2 * ch + le * sh))};
  }

  // The factors of harmonic m = 1, 3, 5, ... at one coordinate u (eta = u - 1/2): sin and cos
  // of m pi u, exp(m pi (|eta| - 1/2)) and exp(-2 m pi |eta|), each the last times a constant.
  struct Harmonics {
    explicit Harmonics(double u)
        : sine(std::sin(kPi * u)),
          cosine(std::cos(kPi * u)),
          stepCos(std::cos(2 * kPi * u)),
          stepSin(std::sin(2 * kPi * u)),
          grow(std::exp(kPi * (std::fabs(u - 0.5) - 0.5))),
          fall(std::exp(-2 * kPi * std::fabs(u - 0.5))),
          power(grow),
          decay(fall) {
      grow *= grow;
      fall *= fall;
    }
    std::array<double, 3> Value(const Levy& f, double lambda, double eta, double tail) const {
      return Shape(f, lambda, eta, power / tail, decay);
    }
    void Next() {
      const double s = sine * stepCos + cosine * stepSin;
      cosine = cosine * stepCos - sine * stepSin;
      sine = s;
      power *= grow;
      decay *= fall;
    }
    double sine, cosine, stepCos, stepSin, grow, fall, power, decay;
  };

  // Gaussian elimination with partial pivoting of an augmented system.
  static std::vector<double> Solve(std::vector<std::vector<double>> k) {
    const int n = static_cast<int>(k.size());
    for (int col = 0; col < n; ++col) {
      int pivot = col;
      for (int r = col + 1; r < n; ++r)
        if (std::fabs(k[r][col]) > std::fabs(k[pivot][col])) pivot = r;
      std::swap(k[col], k[pivot]);
      for (int r = col + 1; r < n; ++r) {
        const double f = k[r][col] / k[col][col];
        for (int j = col; j <= n; ++j) k[r][j] -= f * k[col][j];
      }
    }
    std::vector<double> x(n);
    for (int r = n - 1; r >= 0; --r) {
      double s = k[r][n];
      for (int j = r + 1; j < n; ++j) s -= k[r][j] * x[j];
      x[r] = s / k[r][r];
    }
    return x;
  }

  double nu_;
  int n_;
  std::vector<Levy> load_, moment_;
  std::vector<double> tail_;  // 1 + exp(-m pi) of harmonic m
  std::vector<double> edge_;
};

// The error a solved unit square (side 1, pressure q, modulus e, ratio nu, thickness t) makes
// in the estimate's norm: sqrt(sum over elements of the integral of dM . C dM), dM the series'
// moments less the element's own, C the bending compliance; integrated with the fifth-order
// rule of seven points on each element. The twisting moment's sign convention is taken from
// the solution itself (the series and the elements agree in it wherever the twist is large).
inline double TrueError(const TGlobMatrix& s, const ClampedSquareSeries& series, double q, double e,
                        double nu, double t) {
  const auto energy = [&](const double m[3]) {
    return 12 / (e * t * t * t) *
           (m[0] * m[0] + m[1] * m[1] - 2 * nu * m[0] * m[1] + 2 * (1 + nu) * m[2] * m[2]);
  };
  const double a1 = 0.0597158717, b1 = 0.4701420641, a2 = 0.7974269853, b2 = 0.1012865073;
  const double points[7][3] = {{1 / 3.0, 1 / 3.0, 1 / 3.0},
                               {a1, b1, b1},
                               {b1, a1, b1},
                               {b1, b1, a1},
                               {a2, b2, b2},
                               {b2, a2, b2},
                               {b2, b2, a2}};
  const double weights[7] = {0.225,        0.1323941527, 0.1323941527, 0.1323941527,
                             0.1259391805, 0.1259391805, 0.1259391805};
  const int n = s.ResultTriangleCount();
  double twist = 0;
  for (int k = 0; k < n; ++k) {
    double x = 0, y = 0;
    for (int c = 0; c < 3; ++c) {
      x += s.NodeX(s.TriangleCorner(k, c)) / 3;
      y += s.NodeY(s.TriangleCorner(k, c)) / 3;
    }
    twist += s.ElementMoment(k, 2) * q * series.At(x, y)[3];
  }
  const double sign = twist < 0 ? -1 : 1;
  double sum = 0;
  for (int k = 0; k < n; ++k) {
    const int c[3] = {s.TriangleCorner(k, 0), s.TriangleCorner(k, 1), s.TriangleCorner(k, 2)};
    const double area =
        0.5 * std::fabs((s.NodeX(c[1]) - s.NodeX(c[0])) * (s.NodeY(c[2]) - s.NodeY(c[0])) -
                        (s.NodeY(c[1]) - s.NodeY(c[0])) * (s.NodeX(c[2]) - s.NodeX(c[0])));
    const double own[3] = {s.ElementMoment(k, 0), s.ElementMoment(k, 1), s.ElementMoment(k, 2)};
    for (int p = 0; p < 7; ++p) {
      double x = 0, y = 0;
      for (int j = 0; j < 3; ++j) {
        x += points[p][j] * s.NodeX(c[j]);
        y += points[p][j] * s.NodeY(c[j]);
      }
      const std::array<double, 4> m = series.At(x, y);
      const double d[3] = {q * m[1] - own[0], q * m[2] - own[1], sign * q * m[3] - own[2]};
      sum += weights[p] * area * energy(d);
    }
  }
  return std::sqrt(sum);
}

}  // namespace tavrin::testing
