// Envelope (profile) Cholesky factorization, row by row: each row of L is found by a forward
// substitution against the rows above it within its envelope, so row i costs about L_i^2 / 2
// multiply-adds and the whole factor the sum of those. The solves cost one pass over the
// envelope each.
#include "analysis/EnvelopeCholesky.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

namespace {
// Four independent partial sums keep the floating-point pipeline busy; the dot products of the
// factorization are where nearly all of the solve time goes.
long double Dot(const long double* a, const long double* b, int n) {
  long double s0 = 0.0L, s1 = 0.0L, s2 = 0.0L, s3 = 0.0L;
  int k = 0;
  for (; k + 4 <= n; k += 4) {
    s0 += a[k] * b[k];
    s1 += a[k + 1] * b[k + 1];
    s2 += a[k + 2] * b[k + 2];
    s3 += a[k + 3] * b[k + 3];
  }
  for (; k < n; ++k) s0 += a[k] * b[k];
  return (s0 + s1) + (s2 + s3);
}
}  // namespace

void EnvelopeCholesky::Allocate(const std::vector<int>& rowLength) {
  const size_t n = rowLength.size();
  rowStart_.assign(n + 1, 0);
  for (size_t i = 0; i < n; ++i) rowStart_[i + 1] = rowStart_[i] + rowLength[i];
  rows_.assign(static_cast<size_t>(rowStart_[n]), 0.0L);
  diagonal_.assign(n, 0.0L);
}

EnvelopeCholesky::Code EnvelopeCholesky::Add(int row, int col, long double v) {
  if (row == col) {
    diagonal_[row] += v;
    return Code::Ok;
  }
  const int len = RowLength(row);
  const int s = row - col;
  if (s > len) return Code::Outside;
  rows_[rowStart_[row] + (len - s)] += v;
  return Code::Ok;
}

long double EnvelopeCholesky::Entry(int row, int col) const {
  if (row == col) return diagonal_[row];
  if (col > row) return 0.0L;
  const int len = RowLength(row);
  const int s = row - col;
  if (s > len) return 0.0L;
  return rows_[rowStart_[row] + (len - s)];
}

void EnvelopeCholesky::Forward(int m, int first, long double* v) const {
  int i0 = 0;
  while (i0 < m - 1 && v[i0] == 0.0L) ++i0;
  int last = -1;  // index of the last non-zero result so far
  for (int i = i0; i < m; ++i) {
    const int row = first + i;
    const int len = RowLength(row);
    const int q = std::min(len, i);
    long double s = v[i];
    const int j = i - q;
    if (q > 0 && last >= j) {
      const long double* r = &rows_[rowStart_[row] + (len - q)];
      s -= Dot(r, v + j, q);
    }
    if (s != 0.0L) {
      v[i] = s / diagonal_[row];
      last = i;
    } else {
      v[i] = 0.0L;
    }
  }
}

EnvelopeCholesky::Code EnvelopeCholesky::Factor(SolveProgress* progress, int& failedRow) {
  failedRow = -1;
  const int n = Size();
  if (n == 0) return Code::Ok;
  const long double first = diagonal_[0];
  if (!(first > 0.0L)) {
    failedRow = 0;
    return Code::FirstPivot;
  }
  diagonal_[0] = std::sqrt(first);
  for (int i = 1; i < n; ++i) {
    if (progress) {
      progress->ShowSolveProgress("Stiffness matrix factorization", i, i, n);
      progress->ProcessEvents();
      if (progress->StopRequested()) return Code::Stopped;
    }
    const long double original = diagonal_[i];
    const int len = RowLength(i);
    long double d = original;
    if (len > 0) {
      long double* row = &rows_[rowStart_[i]];
      Forward(len, i - len, row);
      d -= Dot(row, row, len);
    }
    if (!(d > 0.0L) || !(d >= kPivotRatio * original)) {
      failedRow = i;
      return Code::NotPositive;
    }
    diagonal_[i] = std::sqrt(d);
  }
  return Code::Ok;
}

void EnvelopeCholesky::Back(std::vector<long double>& b) const {
  for (int i = Size() - 1; i >= 0; --i) {
    if (b[i] == 0.0L) continue;
    const long double x = b[i] / diagonal_[i];
    b[i] = x;
    const int len = RowLength(i);
    const int q = std::min(len, i);
    if (q == 0) continue;
    const long double* r = &rows_[rowStart_[i] + (len - q)];
    long double* target = &b[i - q];
    for (int k = 0; k < q; ++k) target[k] -= x * r[k];
  }
}

void EnvelopeCholesky::Solve(std::vector<long double>& b) const {
  if (Size() == 0) return;
  Forward(Size(), 0, b.data());
  Back(b);
}

const char* Message(EnvelopeCholesky::Code code) {
  switch (code) {
    case EnvelopeCholesky::Code::Ok:
      return "The envelope is factored.";
    case EnvelopeCholesky::Code::Outside:
      return "An entry falls outside the envelope.";
    case EnvelopeCholesky::Code::FirstPivot:
      return "The first pivot of the envelope factorization is not positive.";
    case EnvelopeCholesky::Code::NotPositive:
      return "A pivot of the envelope factorization is not positive or too small.";
    case EnvelopeCholesky::Code::Stopped:
      return "The envelope factorization was stopped.";
  }
  return "";
}

}  // namespace tavrin
