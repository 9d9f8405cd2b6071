// TDMatrix: a small dense matrix of extended-precision reals, the toolkit the cubic plate element
// is written with. Created zero-filled. Operations return a MatrixCode instead of throwing; the
// element decides what to do with it. Sized for element work (up to 10 x 10 for inversion).
#pragma once

#include <string>
#include <vector>

namespace tavrin {

// How a matrix operation ended. ToCode gives the documented number of each operation's result:
// Ok 0, Stored 1 (set), Outside -1 (set), ShapeMismatch 2, NoPivot 1, CannotWrite 1.
enum class MatrixCode { Ok, Stored, Outside, ShapeMismatch, NoPivot, CannotWrite };
int ToCode(MatrixCode code);

class TDMatrix {
 public:
  TDMatrix(int rows, int cols);

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  // Valid indices are required.
  long double get(int i, int j) const { return a_[static_cast<size_t>(i) * cols_ + j]; }
  // Stored, or Outside when (i, j) is outside the matrix (nothing stored).
  MatrixCode set(int i, int j, long double value);
  void fill(long double value);

  MatrixCode scale(long double s);  // Ok
  // this -= b; ShapeMismatch when the shapes differ (nothing changed).
  MatrixCode subtract(const TDMatrix& b);
  // b[j][i] = this[i][j]; entries outside b are skipped. Ok.
  MatrixCode transposeInto(TDMatrix& b) const;
  // c = a * b; entries outside c are skipped. ShapeMismatch when a.cols != b.rows (nothing
  // computed).
  static MatrixCode multiply(const TDMatrix& a, const TDMatrix& b, TDMatrix& c);

  // Inverts in place by Gauss-Jordan sweeps on the diagonal, taking at each step the unswept
  // index with the smallest pivot magnitude of at least 1e-6 (see the .cpp). Returns Ok, or
  // NoPivot when no acceptable pivot remains; serves square matrices up to 10 x 10. Cost n^3.
  MatrixCode invertInPlace();

  // Writes the rows as lines of entries in %g format, each followed by two spaces.
  // Returns Ok, or CannotWrite when the file cannot be written.
  MatrixCode writeText(const std::string& fileName) const;

 private:
  long double& at(int i, int j) { return a_[static_cast<size_t>(i) * cols_ + j]; }
  void sweep(int k);

  int rows_, cols_;
  std::vector<long double> a_;
};

}  // namespace tavrin
