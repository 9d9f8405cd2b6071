// Dense extended-precision matrix operations. Inversion is the Gauss-Jordan sweep: n sweeps of
// n^2 updates each, so n^3 for an n x n matrix.
#include "analysis/TDMatrix.h"

#include <cmath>
#include <cstdio>

namespace tavrin {

int ToCode(MatrixCode code) {
  switch (code) {
    case MatrixCode::Ok:
      return 0;
    case MatrixCode::Stored:
    case MatrixCode::NoPivot:
    case MatrixCode::CannotWrite:
      return 1;
    case MatrixCode::Outside:
      return -1;
    case MatrixCode::ShapeMismatch:
      return 2;
  }
  return -1;
}

TDMatrix::TDMatrix(int rows, int cols)
    : rows_(rows < 0 ? 0 : rows),
      cols_(cols < 0 ? 0 : cols),
      a_(static_cast<size_t>(rows_) * cols_, 0.0L) {}

MatrixCode TDMatrix::set(int i, int j, long double value) {
  if (i < 0 || j < 0 || i >= rows_ || j >= cols_) return MatrixCode::Outside;
  at(i, j) = value;
  return MatrixCode::Stored;
}

void TDMatrix::fill(long double value) {
  for (long double& v : a_) v = value;
}

MatrixCode TDMatrix::scale(long double s) {
  for (long double& v : a_) v *= s;
  return MatrixCode::Ok;
}

MatrixCode TDMatrix::subtract(const TDMatrix& b) {
  if (b.rows_ != rows_ || b.cols_ != cols_) return MatrixCode::ShapeMismatch;
  for (size_t k = 0; k < a_.size(); ++k) a_[k] -= b.a_[k];
  return MatrixCode::Ok;
}

MatrixCode TDMatrix::transposeInto(TDMatrix& b) const {
  for (int i = 0; i < rows_; ++i)
    for (int j = 0; j < cols_; ++j) b.set(j, i, get(i, j));
  return MatrixCode::Ok;
}

MatrixCode TDMatrix::multiply(const TDMatrix& a, const TDMatrix& b, TDMatrix& c) {
  if (a.cols_ != b.rows_) return MatrixCode::ShapeMismatch;
  for (int i = 0; i < a.rows_; ++i) {
    for (int j = 0; j < b.cols_; ++j) {
      long double s = 0.0L;
      for (int k = 0; k < a.cols_; ++k) s += a.get(i, k) * b.get(k, j);
      c.set(i, j, s);
    }
  }
  return MatrixCode::Ok;
}

// One sweep at index k, every update using the values from before the sweep.
void TDMatrix::sweep(int k) {
  const int n = rows_;
  const long double p = at(k, k);
  for (int i = 0; i < n; ++i) {
    if (i == k) continue;
    const long double mik = at(i, k);
    for (int j = 0; j < n; ++j) {
      if (j == k) continue;
      at(i, j) -= mik * at(k, j) / p;
    }
  }
  for (int j = 0; j < n; ++j)
    if (j != k) at(k, j) = -at(k, j) / p;
  for (int i = 0; i < n; ++i)
    if (i != k) at(i, k) = at(i, k) / p;
  at(k, k) = 1.0L / p;
}

// Pivot order: start at 0; sweep k when its pivot magnitude is at least 1e-6, otherwise the
// lowest unswept index whose pivot exceeds 1e-6 (k stays for later). The next k is the unswept
// index with the smallest pivot magnitude, ties to the lowest index. Magnitudes are compared in
// double precision. Pivoting only on the diagonal means a regular matrix can still fail.
MatrixCode TDMatrix::invertInPlace() {
  const int n = rows_;
  if (n != cols_ || n > 10) return MatrixCode::NoPivot;
  if (n == 0) return MatrixCode::Ok;
  bool used[10] = {};
  int swept = 0;
  int k = 0;
  while (true) {
    if (static_cast<double>(std::fabs(at(k, k))) >= 1e-6) {
      sweep(k);
      used[k] = true;
    } else {
      int j = -1;
      for (int c = 0; c < n; ++c) {
        if (!used[c] && static_cast<double>(std::fabs(at(c, c))) > 1e-6) {
          j = c;
          break;
        }
      }
      if (j < 0) return MatrixCode::NoPivot;
      sweep(j);
      used[j] = true;
    }
    if (++swept == n) return MatrixCode::Ok;
    k = -1;
    double smallest = 0.0;
    for (int c = 0; c < n; ++c) {
      if (used[c]) continue;
      const double m = static_cast<double>(std::fabs(at(c, c)));
      if (k < 0 || m < smallest) {
        k = c;
        smallest = m;
      }
    }
  }
}

MatrixCode TDMatrix::writeText(const std::string& fileName) const {
  std::FILE* f = std::fopen(fileName.c_str(), "w");
  if (!f) return MatrixCode::CannotWrite;
  for (int i = 0; i < rows_; ++i) {
    for (int j = 0; j < cols_; ++j) std::fprintf(f, "%g  ", static_cast<double>(get(i, j)));
    std::fputc('\n', f);
  }
  const bool ok = std::ferror(f) == 0;
  return (std::fclose(f) == 0 && ok) ? MatrixCode::Ok : MatrixCode::CannotWrite;
}

}  // namespace tavrin
