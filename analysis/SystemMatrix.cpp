// The solver choice, made once where the matrix is created, and the several right-hand sides.
#include "analysis/SystemMatrix.h"

namespace tavrin {

std::unique_ptr<SystemMatrix> MakeSystemMatrix(SolverKind kind) {
  return kind == SolverKind::Envelope ? MakeEnvelopeSystem() : MakeSparseSystem();
}

SolveCode SystemMatrix::SolveColumns(std::vector<std::vector<long double>>& loads,
                                     std::vector<std::vector<long double>>& answers,
                                     std::vector<long double>* residualSquares,
                                     std::string& message) const {
  if (residualSquares) residualSquares->clear();
  answers = std::move(loads);
  loads.clear();
  for (auto& b : answers)
    if (const SolveCode rc = Solve(b, message); rc != SolveCode::Ok) return rc;
  return SolveCode::Ok;
}

}  // namespace tavrin
