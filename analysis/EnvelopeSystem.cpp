// The system matrix on the envelope solver: rows sized from the Cuthill-McKee envelope starts,
// factored in place (the envelope is the factor, so nothing of the assembled matrix survives).
// Storage is the envelope in extended precision; factor cost the sum of squared row lengths / 2.
#include "analysis/EnvelopeCholesky.h"
#include "analysis/MemoryBudget.h"
#include "analysis/SystemMatrix.h"

namespace tavrin {

namespace {

class EnvelopeSystem final : public SystemMatrix {
 public:
  SolveCode Allocate(const DofNumbering& numbering, std::int64_t memoryLimit,
                     std::string& message) override {
    // Every equation of node v starts at column 3 m(v); in reduced numbering that is the first
    // free equation at or after it.
    const int free = numbering.FreeCount();
    std::vector<int> length(free, 0);
    std::int64_t entries = free;
    for (int e = 0; e < numbering.EquationCount(); ++e) {
      if (numbering.IsFixed(e)) continue;
      const int startColumn = 3 * numbering.EnvelopeStarts()[e / 3];
      const int row = numbering.Reduced(e);
      length[row] = row - numbering.Reduced(startColumn);
      entries += length[row];
    }
    if (!FitsInMemory(entries * static_cast<std::int64_t>(sizeof(long double)), memoryLimit,
                      "The envelope of the stiffness matrix", message))
      return SolveCode::OutOfMemory;
    matrix_.Allocate(length);
    return SolveCode::Ok;
  }
  long double Stored(long double exact) const override {
    return static_cast<long double>(static_cast<double>(exact));
  }
  bool Add(int row, int col, long double value) override {
    return matrix_.Add(row, col, value) == EnvelopeCholesky::Code::Ok;
  }
  SolveCode Factor(SolveProgress* progress, std::int64_t, int& failedRow, std::string&) override {
    switch (matrix_.Factor(progress, failedRow)) {
      case EnvelopeCholesky::Code::Ok:
      case EnvelopeCholesky::Code::Outside:  // never from Factor
        return SolveCode::Ok;
      case EnvelopeCholesky::Code::Stopped:
        return SolveCode::Stopped;
      case EnvelopeCholesky::Code::FirstPivot:
        return SolveCode::FirstPivot;
      case EnvelopeCholesky::Code::NotPositive:
        return SolveCode::NotPositive;
    }
    return SolveCode::NotPositive;
  }
  SolveCode Solve(std::vector<long double>& b, std::string&) const override {
    matrix_.Solve(b);
    return SolveCode::Ok;
  }
  bool KeepsAssembledMatrix() const override { return false; }
  void Multiply(const std::vector<long double>&, std::vector<long double>& y,
                std::vector<long double>*) const override {
    y.clear();
  }
  std::int64_t FactorEntries() const override { return matrix_.EntryCount() + matrix_.Size(); }
  std::int64_t EnvelopeEntries() const override { return matrix_.EntryCount(); }
  std::int64_t EnvelopeLength(int row) const override {
    return row < 0 || row >= matrix_.Size() ? -1 : matrix_.RowLength(row);
  }

 private:
  EnvelopeCholesky matrix_;  // the reduced stiffness, then its factor
};

}  // namespace

std::unique_ptr<SystemMatrix> MakeEnvelopeSystem() { return std::make_unique<EnvelopeSystem>(); }

}  // namespace tavrin
