// The solver choice, made once where the matrix is created, and the several right-hand sides.
#include "analysis/SystemMatrix.h"

namespace tavrin {

std::unique_ptr<SystemMatrix> MakeSystemMatrix(SolverKind kind) {
  return kind == SolverKind::Envelope ? MakeEnvelopeSystem() : MakeSparseSystem();
}

SolveCode SystemMatrix::SolveEach(std::vector<std::vector<long double>>& columns,
                                  std::string& message) const {
  for (auto& b : columns)
    if (const SolveCode rc = Solve(b, message); rc != SolveCode::Ok) return rc;
  return SolveCode::Ok;
}

void SystemMatrix::MultiplyEach(const std::vector<std::vector<long double>>& x,
                                std::vector<std::vector<long double>>& y) const {
  y.resize(x.size());
  for (std::size_t c = 0; c < x.size(); ++c) Multiply(x[c], y[c], nullptr);
}

}  // namespace tavrin
