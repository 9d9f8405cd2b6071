// The system matrix on the sparse solver: the pattern of node couplings through the elements,
// expanded to the free equations, in compressed columns; CHOLMOD orders and factors it and the
// assembled matrix stays for the refinement and the residual. Pattern cost: linear in the
// elements (a sort of each node's few neighbours).
#include <algorithm>

#include "analysis/MemoryBudget.h"
#include "analysis/SparseCholesky.h"
#include "analysis/SystemMatrix.h"

namespace tavrin {

namespace {

void Report(SolveProgress* progress, const char* caption, int position) {
  if (!progress) return;
  progress->ShowSolveProgress(caption, position, 0, 10);
  progress->ProcessEvents();
}

class SparseSystem final : public SystemMatrix {
 public:
  SolveCode Allocate(const DofNumbering& numbering, std::int64_t, std::string& message) override {
    // Nodes coupled by an element, each node with itself, in solver numbering and sorted: since
    // reduced indices grow with the equation, the rows of every column come out sorted too.
    const int nodes = numbering.NodeCount();
    const auto& triangles = numbering.TriangleNodes();
    std::vector<int> start(nodes + 1, 0), coupled;
    for (const auto& tn : triangles)
      for (int k = 0; k < 3; ++k) start[tn[k] + 1] += 3;
    for (int v = 0; v < nodes; ++v) start[v + 1] += start[v];
    coupled.resize(start[nodes]);
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (const auto& tn : triangles)
      for (int k = 0; k < 3; ++k)
        for (int j = 0; j < 3; ++j) coupled[fill[tn[k]]++] = tn[j];
    size_ = numbering.FreeCount();
    std::vector<int> columnStart(size_ + 1, 0), rows;
    rows.reserve(static_cast<size_t>(coupled.size()) * 3 / 2);
    for (int v = 0; v < nodes; ++v) {
      auto first = coupled.begin() + start[v], last = coupled.begin() + start[v + 1];
      std::sort(first, last);
      last = std::unique(first, last);
      for (int d = 0; d < 3; ++d) {
        const int e = 3 * v + d;
        if (numbering.IsFixed(e)) continue;
        const int column = numbering.Reduced(e);
        for (auto w = first; w != last; ++w)
          for (int f = 0; f < 3; ++f) {
            const int other = 3 * *w + f;
            if (!numbering.IsFixed(other) && numbering.Reduced(other) >= column)
              rows.push_back(numbering.Reduced(other));
          }
        columnStart[column + 1] = static_cast<int>(rows.size());
      }
    }
    if (matrix_.SetPattern(size_, columnStart, rows) != SparseCholesky::Code::Ok) {
      message = "The stiffness matrix does not fit in memory.";
      return SolveCode::OutOfMemory;
    }
    return SolveCode::Ok;
  }
  long double Stored(long double exact) const override { return exact; }
  bool Add(int row, int col, long double value) override { return matrix_.Add(row, col, value); }
  SolveCode Factor(SolveProgress* progress, std::int64_t memoryLimit, int& failedRow,
                   std::string& message) override {
    failedRow = -1;
    if (size_ == 0) return SolveCode::Ok;
    Report(progress, "Stiffness matrix ordering", 1);
    const SparseCholesky::Code analysed = matrix_.Analyze();
    if (analysed == SparseCholesky::Code::TooLarge) {
      message = Message(analysed);
      return SolveCode::OutOfMemory;
    }
    if (analysed != SparseCholesky::Code::Ok) {
      message = "The ordering of the stiffness matrix ran out of memory.";
      return SolveCode::OutOfMemory;
    }
    analysed_ = true;
    if (!FitsInMemory(matrix_.FactorBytes(), memoryLimit, "The factor of the stiffness matrix",
                      message))
      return SolveCode::OutOfMemory;
    Report(progress, "Stiffness matrix factorization", 1);
    if (progress && progress->StopRequested()) return SolveCode::Stopped;
    const SparseCholesky::Code factored = matrix_.Factor(failedRow);
    if (factored == SparseCholesky::Code::OutOfMemory) {
      message = "The factorization of the stiffness matrix ran out of memory.";
      return SolveCode::OutOfMemory;
    }
    Report(progress, "Stiffness matrix factorization", 10);
    if (factored == SparseCholesky::Code::Ok) return SolveCode::Ok;
    return failedRow == 0 ? SolveCode::FirstPivot : SolveCode::NotPositive;
  }
  SolveCode Solve(std::vector<long double>& b, std::string& message) const override {
    if (size_ == 0 || matrix_.Solve(b) == SparseCholesky::Code::Ok) return SolveCode::Ok;
    message = "The solve ran out of memory in the substitutions.";
    return SolveCode::OutOfMemory;
  }
  SolveCode SolveColumns(std::vector<std::vector<long double>>& loads,
                         std::vector<std::vector<long double>>& answers,
                         std::vector<long double>* residualSquares,
                         std::string& message) const override {
    if (matrix_.SolveMany(loads, answers, residualSquares) == SparseCholesky::Code::Ok)
      return SolveCode::Ok;
    message = "The solve ran out of memory in the substitutions.";
    return SolveCode::OutOfMemory;
  }
  bool KeepsAssembledMatrix() const override { return true; }
  void Multiply(const std::vector<long double>& x, std::vector<long double>& y,
                std::vector<long double>* magnitude) const override {
    matrix_.Multiply(x, y, magnitude);
  }
  std::int64_t FactorEntries() const override { return analysed_ ? matrix_.FactorEntries() : 0; }
  std::int64_t EnvelopeEntries() const override { return 0; }
  std::int64_t EnvelopeLength(int) const override { return -1; }

 private:
  SparseCholesky matrix_;  // the assembled matrix (kept) and its factor
  int size_ = 0;           // free equations
  bool analysed_ = false;  // the factor's size is known
};

}  // namespace

std::unique_ptr<SystemMatrix> MakeSparseSystem() { return std::make_unique<SparseSystem>(); }

}  // namespace tavrin
