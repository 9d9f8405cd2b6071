// SystemMatrix: the reduced stiffness matrix of a solve, whichever solver stores and factors it.
//
// Assembly adds coefficients through Add without knowing the storage; the solve factors once and
// then solves as many right-hand sides as it has (Solve, SolveColumns), each in place, in the
// reduced numbering of DofNumbering. Two implementations: the sparse one (CHOLMOD, compressed
// columns; its cost grows little faster than the equations of a plate) and the envelope one
// (profile Cholesky in extended precision over the Cuthill-McKee numbering; its work grows with
// the square of the equations).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "analysis/AnalysisOptions.h"
#include "analysis/DofNumbering.h"
#include "analysis/SolveCode.h"
#include "analysis/SolveProgress.h"

namespace tavrin {

class SystemMatrix {
 public:
  virtual ~SystemMatrix() = default;

  // Sizes the storage for the couplings of the free equations of `numbering`, all zero. Returns
  // Ok, or OutOfMemory with a one-line `message` when it would pass `memoryLimit` bytes (0: what
  // the system leaves available).
  virtual SolveCode Allocate(const DofNumbering& numbering, std::int64_t memoryLimit,
                             std::string& message) = 0;
  // The coefficient as this storage keeps it: the envelope rounds each to double, as it always
  // has; the sparse matrix keeps them as computed, which its refinement then honours.
  virtual long double Stored(long double exact) const = 0;
  // Adds `value` at reduced (row, col), row >= col. False when the entry is not stored.
  [[nodiscard]] virtual bool Add(int row, int col, long double value) = 0;
  // Factors the assembled matrix. Returns Ok; FirstPivot or NotPositive with `failedRow` the
  // reduced row whose pivot failed (-1 when the storage cannot say); OutOfMemory with `message`;
  // or Stopped when the reporter asked.
  virtual SolveCode Factor(SolveProgress* progress, std::int64_t memoryLimit, int& failedRow,
                           std::string& message) = 0;
  // Solves for `b` in place after Factor. Returns Ok, or OutOfMemory with `message`.
  virtual SolveCode Solve(std::vector<long double>& b, std::string& message) const = 0;
  // Solves for every column of `loads` with the one factor, into `answers` (a column each), as
  // Solve solves each; stops at the first failure. A storage that can substitute several columns
  // in one pass over its factor does so. A storage that keeps its assembled matrix leaves the
  // loads as they are and fills `residualSquares` (when not null): per column, the sum of
  // squares of A x - b for the answer x, in extended precision, as the sum over Multiply's
  // product gives it to the bit, which its refinement has formed already. One that does not
  // solves the loads in place and moves them into the answers (its check reads neither), and
  // leaves `residualSquares` empty.
  virtual SolveCode SolveColumns(std::vector<std::vector<long double>>& loads,
                                 std::vector<std::vector<long double>>& answers,
                                 std::vector<long double>* residualSquares,
                                 std::string& message) const;

  // True when the assembled matrix survives the factorization, so Multiply may be called.
  virtual bool KeepsAssembledMatrix() const = 0;
  // y = A x over the assembled matrix in extended precision; `magnitude`, when given, gets the
  // sum of |a_ij x_j| of every row. Only when KeepsAssembledMatrix.
  virtual void Multiply(const std::vector<long double>& x, std::vector<long double>& y,
                        std::vector<long double>* magnitude) const = 0;

  virtual std::int64_t FactorEntries() const = 0;          // stored entries of the factor
  virtual std::int64_t EnvelopeEntries() const = 0;        // off-diagonal envelope entries, or 0
  virtual std::int64_t EnvelopeLength(int row) const = 0;  // of a reduced row, or -1
};

// An empty matrix of the given solver.
std::unique_ptr<SystemMatrix> MakeSystemMatrix(SolverKind kind);
std::unique_ptr<SystemMatrix> MakeEnvelopeSystem();
std::unique_ptr<SystemMatrix> MakeSparseSystem();

}  // namespace tavrin
