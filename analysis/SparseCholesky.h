// SparseCholesky: a symmetric positive definite matrix in compressed sparse columns (its lower
// triangle), factored by CHOLMOD's supernodal Cholesky after CHOLMOD's own fill-reducing
// ordering, then used to solve for a load vector, or for several at once (one pass over the
// factor for all of them in each substitution).
//
// Owns the compressed matrix (its pattern as CHOLMOD's object, its values both in extended
// precision, as assembled, and rounded to double for CHOLMOD), its symbolic analysis and its
// numeric factor. The extended-precision matrix is kept beside the factor: Solve refines the
// double-precision answer against residuals of that matrix, so the answer is the one of the
// system as assembled, not of its rounding. Memory: the matrix is 36 bytes a stored entry (with
// an index of its upper triangle by rows, for the refinement's residuals); the factor's size is
// known after Analyze (FactorBytes) and is typically tens of entries a row for a plate. Dense
// kernels run on the BLAS the library was linked with (OpenBLAS starts its own threads;
// OPENBLAS_NUM_THREADS caps them).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace tavrin {

class SparseCholesky {
 public:
  enum class [[nodiscard]] Code{
      Ok,
      NotPositive,  // a pivot is not positive or too small
      OutOfMemory,
      TooLarge,  // the factor passes the 32-bit index range
  };

  // The relative pivot test of the envelope factorization (EnvelopeCholesky::kPivotRatio),
  // applied to the squared diagonal of the factor: CHOLMOD itself only stops at a pivot that is
  // not positive, and a mechanism rounds to a tiny positive one as often as not.
  static constexpr double kPivotRatio = 1e-10;

  SparseCholesky();
  ~SparseCholesky();
  SparseCholesky(const SparseCholesky&) = delete;
  SparseCholesky& operator=(const SparseCholesky&) = delete;

  // Sizes the matrix: column j holds rows[columnStart[j]] .. rows[columnStart[j + 1] - 1], sorted
  // ascending, all at least j (the diagonal first). Values start at zero. Returns Ok or
  // OutOfMemory.
  Code SetPattern(int size, const std::vector<int>& columnStart, const std::vector<int>& rows);
  int Size() const;
  std::int64_t StoredEntries() const;
  // Adds v at (row, col), row >= col. Returns false when the entry is not in the pattern.
  bool Add(int row, int col, long double v);
  long double Entry(int row, int col) const;  // 0 outside the pattern; either triangle

  // Rounds the values for CHOLMOD, then orders and factorizes symbolically. Returns Ok,
  // OutOfMemory or TooLarge (a factor past the 32-bit index range).
  Code Analyze();
  // Bytes the numeric factor and its largest work array will take; known after Analyze.
  std::int64_t FactorBytes() const;
  std::int64_t FactorEntries() const;
  // Numeric factorization. Returns Ok, OutOfMemory, or NotPositive with `failedRow` the row
  // (in this matrix's numbering) of the first pivot, in the factor's order, that is not positive
  // or falls below kPivotRatio of its diagonal.
  Code Factor(int& failedRow);
  // Solves A x = b in place after Factor: a double-precision solve, then refinement steps with
  // residuals in extended precision until they stop improving (at most a few). Returns Ok or
  // OutOfMemory (b as it was). `residualSquares`, when given, is set as SolveMany sets it.
  Code Solve(std::vector<long double>& b, long double* residualSquares = nullptr) const;
  // Solve for several right-hand sides at once, the columns of `b` (each of the matrix's size,
  // left as they are), into the columns of `x`: the same answer for each as Solve gives it up to
  // the round-off of the double-precision substitutions, which the refinement removes; one pass
  // over the factor serves every column. `residualSquares`, when given, receives for each column
  // the sum of squares of b - A x over the answer, in extended precision, as Multiply's product
  // gives it to the bit: the refinement has formed that product already, so a check of the
  // answer needs none of its own (0 for a zero column, NaN for a column not finite). Returns Ok
  // or OutOfMemory (x then undefined).
  Code SolveMany(const std::vector<std::vector<long double>>& b,
                 std::vector<std::vector<long double>>& x,
                 std::vector<long double>* residualSquares = nullptr) const;
  // y = A x over the whole symmetric matrix, in extended precision; `magnitude`, when given,
  // receives the sum of |a_ij x_j| of every row (the scale of that row's round-off).
  void Multiply(const std::vector<long double>& x, std::vector<long double>& y,
                std::vector<long double>* magnitude = nullptr) const;

 private:
  struct ResidualColumn;
  // The residuals of a refinement step, two columns to a pass over the matrix, row by row, each
  // column's sums in Multiply's order, so that they agree with Multiply bit for bit; `squares`
  // gets each column's sum of squares.
  void Residuals(const std::vector<ResidualColumn>& columns,
                 std::vector<long double>& squares) const;

  struct Library;  // the CHOLMOD workspace and objects, kept out of this header
  std::unique_ptr<Library> lib_;
  std::vector<long double> values_;  // as assembled; CHOLMOD's copy is rounded to double by Analyze
};

const char* Message(SparseCholesky::Code code);

}  // namespace tavrin
