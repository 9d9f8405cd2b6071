// CHOLMOD wrapper. The matrix is stored once, as CHOLMOD's own compressed sparse object, so
// assembly writes straight into the array the factorization reads: no triplet form and no copy.
#include "analysis/SparseCholesky.h"

#include <cholmod.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace tavrin {

struct SparseCholesky::Library {
  cholmod_common common;
  cholmod_sparse* matrix = nullptr;
  cholmod_factor* factor = nullptr;
  // The strict upper triangle by rows, for the refinement's residuals (Residuals): row i's entries
  // are at upperStart[i] .. upperStart[i + 1] - 1, each its column and its position in the
  // lower triangle's values. Made with the pattern: 8 bytes an entry off the diagonal.
  std::vector<int> upperStart, upperColumn, upperPosition;

  Library() {
    cholmod_start(&common);
    common.print = 0;  // failures are reported through the codes, never printed
    common.supernodal = CHOLMOD_SUPERNODAL;
    common.final_ll = 1;
  }
  ~Library() {
    cholmod_free_factor(&factor, &common);
    cholmod_free_sparse(&matrix, &common);
    cholmod_finish(&common);
  }
  const int* ColumnStart() const { return static_cast<const int*>(matrix->p); }
  const int* Rows() const { return static_cast<const int*>(matrix->i); }
  double* Values() const { return static_cast<double*>(matrix->x); }
  // Position of (row, col) in the value array, or -1.
  long Find(int row, int col) const {
    const int* rows = Rows();
    const int* begin = rows + ColumnStart()[col];
    const int* end = rows + ColumnStart()[col + 1];
    const int* at = std::lower_bound(begin, end, row);
    return at != end && *at == row ? at - rows : -1;
  }
};

SparseCholesky::SparseCholesky() : lib_(std::make_unique<Library>()) {}
SparseCholesky::~SparseCholesky() = default;

SparseCholesky::Code SparseCholesky::SetPattern(int size, const std::vector<int>& columnStart,
                                                const std::vector<int>& rows) {
  cholmod_free_factor(&lib_->factor, &lib_->common);
  cholmod_free_sparse(&lib_->matrix, &lib_->common);
  // Lower triangle stored (stype -1), columns sorted and packed.
  lib_->matrix =
      cholmod_allocate_sparse(size, size, rows.size(), 1, 1, -1, CHOLMOD_REAL, &lib_->common);
  if (!lib_->matrix) return Code::OutOfMemory;
  std::copy(columnStart.begin(), columnStart.end(), static_cast<int*>(lib_->matrix->p));
  std::copy(rows.begin(), rows.end(), static_cast<int*>(lib_->matrix->i));
  std::fill_n(lib_->Values(), rows.size(), 0.0);
  values_.assign(rows.size(), 0.0L);
  // The upper triangle by rows: each row's entries in column order.
  std::vector<int>& upperStart = lib_->upperStart;
  upperStart.assign(static_cast<std::size_t>(size) + 1, 0);
  for (int j = 0; j < size; ++j)
    for (int p = columnStart[j]; p < columnStart[j + 1]; ++p)
      if (rows[p] != j) ++upperStart[static_cast<std::size_t>(rows[p]) + 1];
  for (int i = 0; i < size; ++i) upperStart[i + 1] += upperStart[i];
  lib_->upperColumn.resize(static_cast<std::size_t>(upperStart[size]));
  lib_->upperPosition.resize(lib_->upperColumn.size());
  std::vector<int> next(upperStart.begin(), upperStart.end() - 1);
  for (int j = 0; j < size; ++j)
    for (int p = columnStart[j]; p < columnStart[j + 1]; ++p) {
      if (rows[p] == j) continue;
      const int k = next[rows[p]]++;
      lib_->upperColumn[k] = j;
      lib_->upperPosition[k] = p;
    }
  return Code::Ok;
}

int SparseCholesky::Size() const { return lib_->matrix ? static_cast<int>(lib_->matrix->ncol) : 0; }

std::int64_t SparseCholesky::StoredEntries() const {
  return lib_->matrix ? lib_->ColumnStart()[lib_->matrix->ncol] : 0;
}

bool SparseCholesky::Add(int row, int col, long double v) {
  const long at = lib_->Find(row, col);
  if (at < 0) return false;
  values_[at] += v;
  return true;
}

long double SparseCholesky::Entry(int row, int col) const {
  if (!lib_->matrix || row < 0 || col < 0 || row >= Size() || col >= Size()) return 0.0L;
  const long at = row >= col ? lib_->Find(row, col) : lib_->Find(col, row);
  return at < 0 ? 0.0L : values_[at];
}

SparseCholesky::Code SparseCholesky::Analyze() {
  cholmod_free_factor(&lib_->factor, &lib_->common);
  std::transform(values_.begin(), values_.end(), lib_->Values(),
                 [](long double v) { return static_cast<double>(v); });
  lib_->factor = cholmod_analyze(lib_->matrix, &lib_->common);
  if (!lib_->factor)
    return lib_->common.status == CHOLMOD_OUT_OF_MEMORY ? Code::OutOfMemory : Code::TooLarge;
  // The int interface addresses the factor's values with 32-bit offsets.
  if (lib_->factor->xsize > static_cast<size_t>(INT_MAX) ||
      lib_->common.lnz > static_cast<double>(INT_MAX))
    return Code::TooLarge;
  return Code::Ok;
}

std::int64_t SparseCholesky::FactorEntries() const {
  if (!lib_->factor) return 0;
  return lib_->factor->is_super ? static_cast<std::int64_t>(lib_->factor->xsize)
                                : static_cast<std::int64_t>(lib_->common.lnz);
}

std::int64_t SparseCholesky::FactorBytes() const {
  if (!lib_->factor) return 0;
  const cholmod_factor* L = lib_->factor;
  std::int64_t bytes = FactorEntries() * static_cast<std::int64_t>(sizeof(double));
  if (L->is_super)
    bytes += static_cast<std::int64_t>(L->ssize * sizeof(int) + L->maxcsize * sizeof(double) +
                                       (L->nsuper + 1) * 3 * sizeof(int));
  else
    bytes += FactorEntries() * static_cast<std::int64_t>(sizeof(int));
  return bytes + static_cast<std::int64_t>(Size()) * 6 * static_cast<std::int64_t>(sizeof(int));
}

SparseCholesky::Code SparseCholesky::Factor(int& failedRow) {
  failedRow = -1;
  cholmod_common& c = lib_->common;
  cholmod_factor* L = lib_->factor;
  if (!cholmod_factorize(lib_->matrix, L, &c) || c.status == CHOLMOD_OUT_OF_MEMORY)
    return c.status == CHOLMOD_NOT_POSDEF ? Code::NotPositive : Code::OutOfMemory;
  const int* perm = static_cast<const int*>(L->Perm);
  const int n = Size();
  if (c.status == CHOLMOD_NOT_POSDEF) {
    const int column = static_cast<int>(std::min<size_t>(L->minor, n - 1));
    failedRow = perm ? perm[column] : column;
    return Code::NotPositive;
  }
  // The smallest column in the factor's order whose squared pivot fell below kPivotRatio of
  // the matrix's diagonal there.
  const double* x = static_cast<const double*>(L->x);
  auto pivotTooSmall = [&](int k, double pivot) {
    const int row = perm ? perm[k] : k;
    const double diagonal = static_cast<double>(Entry(row, row));
    return !(pivot * pivot >= kPivotRatio * diagonal);
  };
  if (L->is_super) {
    const int* super = static_cast<const int*>(L->super);
    const int* pi = static_cast<const int*>(L->pi);
    const int* px = static_cast<const int*>(L->px);
    for (size_t s = 0; s < L->nsuper; ++s) {
      const int nsrow = pi[s + 1] - pi[s];
      for (int k = super[s]; k < super[s + 1]; ++k) {
        const int local = k - super[s];
        if (pivotTooSmall(k, x[px[s] + local + static_cast<long>(local) * nsrow])) {
          failedRow = perm ? perm[k] : k;
          return Code::NotPositive;
        }
      }
    }
  } else {
    const int* p = static_cast<const int*>(L->p);
    for (int k = 0; k < n; ++k)
      if (pivotTooSmall(k, x[p[k]])) {
        failedRow = perm ? perm[k] : k;
        return Code::NotPositive;
      }
  }
  return Code::Ok;
}

void SparseCholesky::Multiply(const std::vector<long double>& x, std::vector<long double>& y,
                              std::vector<long double>* magnitude) const {
  const int n = Size();
  y.assign(n, 0.0L);
  if (magnitude) magnitude->assign(n, 0.0L);
  const int* start = lib_->ColumnStart();
  const int* rows = lib_->Rows();
  const long double* v = values_.data();
  for (int j = 0; j < n; ++j) {
    long double sum = 0.0L;
    for (int k = start[j]; k < start[j + 1]; ++k) {
      const int i = rows[k];
      sum += v[k] * x[i];
      if (i != j) y[i] += v[k] * x[j];
      if (magnitude) {
        (*magnitude)[j] += std::fabs(v[k] * x[i]);
        if (i != j) (*magnitude)[i] += std::fabs(v[k] * x[j]);
      }
    }
    y[j] += sum;
  }
}

// One column of a refinement step's residuals: r = b * inverse - A x, rounded to double into
// `out`.
struct SparseCholesky::ResidualColumn {
  const long double* x;
  const long double* b;
  long double inverse;  // a power of two: the scaling is exact
  double* out;
};

namespace {

// The residuals of W columns in one pass over the matrix, row by row, every sum held in a
// register: a row's terms of the upper triangle (the lower one's columns that hold the row, in
// column order), then the sum down its own column, added last. That is Multiply's order to the
// bit, without Multiply's additions into other rows in memory, which in extended precision
// cost a store of ten bytes a term. Each residual goes out rounded, as the next substitution
// reads it, and its square into the column's sum in extended precision, rows in order.
template <int W, typename Column>
void ResidualBlock(int n, const int* start, const int* rows, const long double* v,
                   const int* upperStart, const int* upperColumn, const int* upperPosition,
                   const Column* column, long double* squares) {
  for (int i = 0; i < n; ++i) {
    long double upper[W], own[W];
    for (int c = 0; c < W; ++c) upper[c] = own[c] = 0.0L;
    for (int k = upperStart[i]; k < upperStart[i + 1]; ++k) {
      const long double a = v[upperPosition[k]];
      const int j = upperColumn[k];
      for (int c = 0; c < W; ++c) upper[c] += a * column[c].x[j];
    }
    for (int p = start[i]; p < start[i + 1]; ++p) {
      const long double a = v[p];
      const int r = rows[p];
      for (int c = 0; c < W; ++c) own[c] += a * column[c].x[r];
    }
    for (int c = 0; c < W; ++c) {
      const long double r = column[c].b[i] * column[c].inverse - (upper[c] + own[c]);
      squares[c] += r * r;
      column[c].out[i] = static_cast<double>(r);
    }
  }
}

// A refinement step that leaves more than this many times the share of the residual its solve's
// accuracy promises has met the residual's round-off. On the plates measured, a step that meets
// it leaves some 10^5 times the promised share; a step short of it leaves about that share.
constexpr long double kRoundOffLeft = 1000.0L;

}  // namespace

void SparseCholesky::Residuals(const std::vector<ResidualColumn>& columns,
                               std::vector<long double>& squares) const {
  const int n = Size();
  const int* start = lib_->ColumnStart();
  const int* rows = lib_->Rows();
  const long double* v = values_.data();
  const int* upperStart = lib_->upperStart.data();
  const int* upperColumn = lib_->upperColumn.data();
  const int* upperPosition = lib_->upperPosition.data();
  squares.assign(columns.size(), 0.0L);
  // Pairs of columns: the x87 registers hold two pairs of sums beside the terms.
  std::size_t c = 0;
  for (; c + 2 <= columns.size(); c += 2)
    ResidualBlock<2>(n, start, rows, v, upperStart, upperColumn, upperPosition, &columns[c],
                     &squares[c]);
  if (c < columns.size())
    ResidualBlock<1>(n, start, rows, v, upperStart, upperColumn, upperPosition, &columns[c],
                     &squares[c]);
}

SparseCholesky::Code SparseCholesky::Solve(std::vector<long double>& b,
                                           long double* residualSquares) const {
  std::vector<std::vector<long double>> loads(1), answers;
  loads[0].swap(b);
  std::vector<long double> squares;
  const Code rc = SolveMany(loads, answers, &squares);
  if (rc != Code::Ok) {
    b.swap(loads[0]);
    return rc;
  }
  b.swap(answers[0]);
  if (residualSquares) *residualSquares = squares[0];
  return rc;
}

SparseCholesky::Code SparseCholesky::SolveMany(const std::vector<std::vector<long double>>& b,
                                               std::vector<std::vector<long double>>& x,
                                               std::vector<long double>* residualSquares) const {
  const int n = Size();
  x.assign(b.size(), {});
  std::vector<long double> norm(b.size(), 0.0L);  // of the residual of each x as it stands
  // Each column is solved for over the power of two just above its largest entry: loads from a
  // displacement held near the top of the double range still fit a double, and the scaling
  // being exact, the answer scaled back and its residual are the unscaled system's to the bit.
  // Zero loads solve to zero and a column not finite is answered with itself (its check fails
  // it), so such columns take no part.
  std::vector<long double> scale(b.size(), 1.0L);
  std::vector<std::size_t> active;  // columns of b still refined, in order
  for (std::size_t c = 0; c < b.size(); ++c) {
    long double largest = 0.0L;
    for (long double v : b[c]) largest = std::max(largest, std::fabs(v));
    if (n == 0 || largest == 0.0L || !std::isfinite(largest)) {
      x[c] = b[c];
      if (!(largest == 0.0L)) norm[c] = std::numeric_limits<long double>::quiet_NaN();
      continue;
    }
    int exponent = 0;
    static_cast<void>(std::frexp(largest, &exponent));
    scale[c] = std::ldexp(1.0L, exponent);
    active.push_back(c);
  }
  auto report = [&] {
    if (residualSquares) {
      residualSquares->resize(b.size());
      for (std::size_t c = 0; c < b.size(); ++c)
        (*residualSquares)[c] = norm[c] * scale[c] * scale[c];
    }
    return Code::Ok;
  };
  if (active.empty()) return report();
  const auto rows = static_cast<std::size_t>(n);
  cholmod_common& c = lib_->common;
  // The columns in CHOLMOD's dense form, solved together: the substitutions read the factor once
  // for all of them instead of once per column. The right-hand side, the answer and CHOLMOD's
  // workspaces are made once and serve every step (a step with fewer columns uses the first
  // ones): fresh memory for each would cost as much as the substitutions in page faults.
  struct Dense {
    cholmod_common& common;
    cholmod_dense *rhs = nullptr, *x = nullptr, *y = nullptr, *e = nullptr;
    ~Dense() {
      for (cholmod_dense** d : {&rhs, &x, &y, &e}) cholmod_free_dense(d, &common);
    }
  } dense{c};
  dense.rhs = cholmod_allocate_dense(rows, active.size(), rows, CHOLMOD_REAL, &c);
  if (!dense.rhs) return Code::OutOfMemory;
  auto* rhs = static_cast<double*>(dense.rhs->x);
  // Solves for the first active.size() columns of the right-hand side; the answer is in
  // dense.x, column by column.
  auto solveActive = [&] {
    dense.rhs->ncol = active.size();
    return cholmod_solve2(CHOLMOD_A, lib_->factor, dense.rhs, nullptr, &dense.x, nullptr, &dense.y,
                          &dense.e, &c) != 0;
  };
  for (std::size_t a = 0; a < active.size(); ++a) {
    const long double inverse = 1.0L / scale[active[a]];
    for (std::size_t i = 0; i < rows; ++i)
      rhs[a * rows + i] = static_cast<double>(b[active[a]][i] * inverse);
  }
  if (!solveActive()) return Code::OutOfMemory;
  for (std::size_t a = 0; a < active.size(); ++a) {
    const auto* s = static_cast<const double*>(dense.x->x) + a * rows;
    x[active[a]].assign(s, s + rows);
  }
  // Refinement: each step solves for the residual computed in extended precision, which takes
  // the double-precision factor's answer to about the accuracy the envelope solver gets from
  // computing in extended precision throughout. Two steps are normally enough; a step that does
  // not reduce a column's residual ends that column's refinement. The residuals of a step are
  // formed together, each written where the next substitution reads it; a column that goes on
  // moves its residual up among those that go on.
  std::vector<long double> next;
  auto residuals = [&] {
    std::vector<ResidualColumn> columns;
    for (std::size_t a = 0; a < active.size(); ++a)
      columns.push_back(
          {x[active[a]].data(), b[active[a]].data(), 1.0L / scale[active[a]], rhs + a * rows});
    Residuals(columns, next);
  };
  auto goOn = [&](std::vector<std::size_t>& going, std::size_t a) {
    if (a != going.size()) std::copy_n(rhs + a * rows, rows, rhs + going.size() * rows);
    going.push_back(active[a]);
  };
  residuals();
  {
    std::vector<std::size_t> refined;
    for (std::size_t a = 0; a < active.size(); ++a) {
      norm[active[a]] = next[a];
      if (next[a] > 0.0L) goOn(refined, a);
    }
    active.swap(refined);
  }
  // The first step's correction, relative to the answer, is the relative error of the first
  // solve, and so what each step should leave of the residual it starts from. A step that leaves
  // far more than that has met the round-off of the residual itself, which no further step
  // can pass: it would only move the answer within that round-off, at the cost of another
  // substitution and another residual.
  std::vector<long double> contraction(b.size(), 0.0L);
  std::vector<std::size_t> undone;  // columns whose last step made the residual worse
  for (int step = 0; step < 4 && !active.empty(); ++step) {
    if (!solveActive()) break;
    for (std::size_t a = 0; a < active.size(); ++a) {
      long double* xa = x[active[a]].data();
      const auto* dx = static_cast<const double*>(dense.x->x) + a * rows;
      long double correction = 0.0L, answer = 0.0L;
      for (std::size_t i = 0; i < rows; ++i) {
        xa[i] += dx[i];
        correction = std::max<long double>(correction, std::fabs(dx[i]));
        answer = std::max(answer, std::fabs(xa[i]));
      }
      if (step == 0) contraction[active[a]] = answer > 0.0L ? correction / answer : 1.0L;
    }
    residuals();
    std::vector<std::size_t> going;
    for (std::size_t a = 0; a < active.size(); ++a) {
      const std::size_t col = active[a];
      if (!(next[a] < 0.25L * norm[col])) {
        // The column's last step. One that made the residual worse is taken back (to within
        // the answer's last bit: no copy of the answer before it is kept for so rare a step).
        if (next[a] <= norm[col]) {
          norm[col] = next[a];
        } else {
          const auto* dx = static_cast<const double*>(dense.x->x) + a * rows;
          long double* xa = x[col].data();
          for (std::size_t i = 0; i < rows; ++i) xa[i] -= dx[i];
          undone.push_back(col);
        }
        continue;
      }
      const long double left = std::sqrt(next[a] / norm[col]);
      norm[col] = next[a];
      if (next[a] > 0.0L && !(left > kRoundOffLeft * contraction[col])) goOn(going, a);
    }
    active.swap(going);
  }
  if (!undone.empty()) {
    // The residuals of the answers taken back, for the report.
    std::vector<double> scratch(rows);
    for (const std::size_t col : undone) {
      Residuals({{x[col].data(), b[col].data(), 1.0L / scale[col], scratch.data()}}, next);
      norm[col] = next[0];
    }
  }
  for (std::size_t col = 0; col < b.size(); ++col)
    if (scale[col] != 1.0L)
      for (long double& v : x[col]) v *= scale[col];
  return report();
}

const char* Message(SparseCholesky::Code code) {
  switch (code) {
    case SparseCholesky::Code::Ok:
      return "The sparse matrix is factored.";
    case SparseCholesky::Code::NotPositive:
      return "A pivot of the sparse factorization is not positive or too small.";
    case SparseCholesky::Code::OutOfMemory:
      return "The sparse factorization ran out of memory.";
    case SparseCholesky::Code::TooLarge:
      return "The factor of the stiffness matrix is too large for the sparse solver's indices.";
  }
  return "";
}

}  // namespace tavrin
