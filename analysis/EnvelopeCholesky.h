// EnvelopeCholesky: a symmetric positive definite matrix stored as the envelope (profile) of its
// lower triangle plus the diagonal, factored in place into L L^T, then used to solve for a load
// vector. Everything in long double.
//
// Row i keeps its off-diagonal entries for columns i - L to i - 1 (L = its envelope length), all
// rows in one flat array. The factor fills no entry outside the envelope, which is why the
// profile is worth minimising.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/SolveProgress.h"

namespace tavrin {

class EnvelopeCholesky {
 public:
  enum class [[nodiscard]] Code{
      Ok,
      Outside,      // an entry left of the envelope
      FirstPivot,   // the first pivot is not positive
      NotPositive,  // a later pivot is not positive or too small
      Stopped,      // the progress reporter asked to stop
  };

  // A relative pivot test: a pivot that falls below this fraction of its row's diagonal before
  // factorization means the matrix is singular to working precision (a mechanism).
  static constexpr long double kPivotRatio = 1e-10L;

  // Sizes the matrix: rowLength[i] off-diagonal entries for row i, all zero.
  void Allocate(const std::vector<int>& rowLength);
  int Size() const { return static_cast<int>(diagonal_.size()); }
  int RowLength(int i) const { return static_cast<int>(rowStart_[i + 1] - rowStart_[i]); }
  std::int64_t EntryCount() const { return rowStart_.empty() ? 0 : rowStart_.back(); }

  // Adds v at (row, col), row >= col. Returns Ok, or Outside when col is left of the envelope.
  Code Add(int row, int col, long double v);
  long double Entry(int row, int col) const;  // 0 outside the envelope or above the diagonal
  long double Diagonal(int i) const { return diagonal_[i]; }

  // Factors in place. Returns Ok, FirstPivot (row 0) or NotPositive; then `failedRow` is the
  // row whose pivot was not positive or fell below kPivotRatio of its original diagonal.
  // Progress: one report per row from 1 on, and Stopped (nothing usable left) as soon as the
  // reporter's StopRequested answers true. Cost: sum over rows of (envelope length)^2 / 2.
  Code Factor(SolveProgress* progress, int& failedRow);
  // Solves L L^T x = b in place after Factor. Zero entries of b are skipped, never small ones.
  void Solve(std::vector<long double>& b) const;

 private:
  // Solves the lower-triangular block of L with rows first .. first + m - 1 for v (m entries),
  // skipping the dot products that could only read zeros.
  void Forward(int m, int first, long double* v) const;
  void Back(std::vector<long double>& b) const;

  std::vector<std::int64_t> rowStart_;
  std::vector<long double> rows_;
  std::vector<long double> diagonal_;
};

const char* Message(EnvelopeCholesky::Code code);

}  // namespace tavrin
