// TDMatrix: a small dense matrix of extended-precision reals, the toolkit the cubic plate element
// is written with. Created zero-filled. Operations return status codes instead of throwing; the
// element decides what to do with them. Sized for element work (up to 10 x 10 for inversion).
#pragma once

#include <string>
#include <vector>

namespace tavrin {

class TDMatrix {
 public:
  TDMatrix(int rows, int cols);

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  // Valid indices are required.
  long double get(int i, int j) const { return a_[static_cast<size_t>(i) * cols_ + j]; }
  // 1 if stored, -1 when (i, j) is outside the matrix (nothing stored).
  int set(int i, int j, long double value);
  void fill(long double value);

  int scale(long double s);              // 0
  int subtract(const TDMatrix& b);       // this -= b; 2 when the shapes differ (nothing changed)
  int transposeInto(TDMatrix& b) const;  // b[j][i] = this[i][j]; entries outside b are skipped
  // c = a * b; entries outside c are skipped. 2 when a.cols != b.rows (nothing computed).
  static int multiply(const TDMatrix& a, const TDMatrix& b, TDMatrix& c);

  // Inverts in place by Gauss-Jordan sweeps on the diagonal, taking at each step the unswept
  // index with the smallest pivot magnitude of at least 1e-6 (see the .cpp). Returns 0, or 1 when
  // no acceptable pivot remains; serves square matrices up to 10 x 10. Cost n^3.
  int invertInPlace();

  // Writes the rows as lines of entries in %g format, each followed by two spaces.
  // Returns 0, or 1 when the file cannot be written.
  int writeText(const std::string& fileName) const;

 private:
  long double& at(int i, int j) { return a_[static_cast<size_t>(i) * cols_ + j]; }
  void sweep(int k);

  int rows_, cols_;
  std::vector<long double> a_;
};

}  // namespace tavrin
