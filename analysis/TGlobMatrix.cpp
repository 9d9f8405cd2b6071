// Static solve: renumbering, constraints, assembly of the element stiffnesses into the reduced
// system (compressed sparse columns or the envelope), loads, factorization, solution and its
// check. Cost is dominated by the factorization (see SparseCholesky and EnvelopeCholesky);
// assembly is linear in the number of triangles.
#include "analysis/TGlobMatrix.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <utility>

#include "analysis/EnvelopeCholesky.h"
#include "analysis/MemoryBudget.h"
#include "analysis/Renumbering.h"
#include "analysis/SparseCholesky.h"

namespace tavrin {

namespace {
const char* const kFreedomNames[3] = {"lin. Z", "rot. X", "rot. Y"};
const char kStoppedMessage[] = "The solve was stopped.";
}  // namespace

TGlobMatrix::TGlobMatrix(ElementKind element, SolveProgress* progress)
    : elementKind_(element), progress_(progress), options_(GlobalAnalysisOptions()) {}

TGlobMatrix::~TGlobMatrix() = default;

void TGlobMatrix::Progress(const std::string& caption, int position, int index, int total) const {
  if (!progress_) return;
  progress_->ShowSolveProgress(caption, position, index, total);
  progress_->ProcessEvents();
}

int TGlobMatrix::Fail(int code, const std::string& message) {
  failure_.code = code;
  failure_.message = message;
  solved_ = false;
  if (progress_) progress_->HideSolveProgress();
  return code;
}

void TGlobMatrix::ElementInput(int t, double record[10]) const {
  const auto& tri = mesh_.triangles[t];
  for (int k = 0; k < 3; ++k) {
    record[2 * k] = mesh_.x[tri[k]];
    record[2 * k + 1] = mesh_.y[tri[k]];
  }
  const PlateMaterial& m = mesh_.materials[t];
  record[6] = m.eModulus;
  record[7] = m.eModulus;
  record[8] = m.nu;
  record[9] = m.thickness;
}

void TGlobMatrix::ClearResults() {
  solved_ = false;
  hasStresses_ = false;
  elementStress_.clear();
  nodeStress_.clear();
  elementMoment_.clear();
  nodeMoment_.clear();
  centroidDeflection_.clear();
  elementError_.clear();
  errorEstimate_ = 0;
  freeCount_ = 0;
  envelopeSize_ = factorEntries_ = 0;
  loadZ_ = reactionZ_ = 0;
  relativeResidual_ = loadImbalance_ = 0;
  matrix_.reset();
  sparse_.reset();
  // Nothing of an earlier solve may answer for this mesh, even when this one stops early.
  meshToNew_.clear();
  newToMesh_.clear();
  triangleNodes_.clear();
  nodeEnvelopeStart_.clear();
  fixed_.clear();
  prescribed_.clear();
  reducedIndex_.clear();
  rhs_.clear();
  loads_.clear();
  reactions_.clear();
}

int TGlobMatrix::SolveStatic(PlateMesh mesh) {
  failure_ = SolveFailure();
  ClearResults();
  mesh_ = std::move(mesh);
  nodeCount_ = mesh_.NodeCount();
  triangleCount_ = mesh_.TriangleCount();
  equationCount_ = 3 * nodeCount_;
  int rc = kSolveOk;
  try {
    rc = Solve();
  } catch (const std::bad_alloc&) {
    // Whatever the checks before the factor missed (the mesh copy, the tables) ends here.
    ClearResults();
    rc = Fail(kSolveOutOfMemory, "The solve ran out of memory.");
  }
  // A failure leaves no matrix behind: its memory is the first thing a user wants back.
  if (rc != kSolveOk) {
    matrix_.reset();
    sparse_.reset();
  }
  return rc;
}

int TGlobMatrix::Solve() {
  if (nodeCount_ == 0 || triangleCount_ == 0)
    return Fail(kSolveEmptyMesh, "The mesh has no elements.");
  if (mesh_.y.size() != mesh_.x.size() || mesh_.nodeDof.size() != mesh_.x.size() ||
      mesh_.edgeDof.size() != mesh_.edges.size() ||
      mesh_.materials.size() != mesh_.triangles.size())
    return Fail(kSolveAdjacencyFailed,
                "The mesh's node, edge and element tables differ in length.");
  for (int t = 0; t < triangleCount_; ++t) {
    for (int k = 0; k < 3; ++k) {
      const int n = mesh_.triangles[t][k];
      if (n < 0 || n >= nodeCount_) {
        failure_.element = t;
        return Fail(kSolveAdjacencyFailed,
                    "Element " + std::to_string(t) + " refers to a node outside the mesh.");
      }
    }
  }
  const auto stopped = [this] { return Fail(kSolveStopped, kStoppedMessage); };

  Progress("Cuthill-McKee renumbering", 1, 0, 10);
  if (const int rc = Renumber(); rc != kSolveOk) return rc;
  Progress("Cuthill-McKee renumbering", 10, 0, 10);
  if (StopRequested()) return stopped();

  MarkConstraints();
  if (const int rc = Assemble(); rc != kSolveOk) return rc;
  if (StopRequested()) return stopped();

  Progress("Loads and constrains", 1, 0, 10);
  ApplyLoads();
  Progress("Loads and constrains", 10, 0, 10);
  if (StopRequested()) return stopped();

  if (const int rc = Factorize(); rc != kSolveOk) return rc;
  if (StopRequested()) return stopped();
  long double loadNorm = 0.0L;
  for (long double f : rhs_) loadNorm += f * f;
  loadNorm = std::sqrt(loadNorm);
  std::vector<long double> reducedLoad;
  if (sparse_) reducedLoad = rhs_;
  if (sparse_) {
    if (freeCount_ > 0 && sparse_->Solve(rhs_) != SparseCholesky::kOk)
      return Fail(kSolveOutOfMemory, "The solve ran out of memory in the substitutions.");
  } else {
    matrix_->Solve(rhs_);
  }
  // The factor passes relative pivot tests only, so a modulus of 1e-300 solves "successfully"
  // with displacements beyond a double, and the stresses computed from them are NaN.
  for (std::size_t i = 0; i < rhs_.size(); ++i) {
    if (std::isfinite(static_cast<double>(rhs_[i]))) continue;
    return FailAtRow(static_cast<int>(i), kSolveOutOfRange, "The displacement at",
                     "is out of range: the plate is far too soft for its loads.");
  }
  solved_ = true;
  if (const int rc = CheckSolution(loadNorm, reducedLoad); rc != kSolveOk) return rc;
  if (progress_) progress_->HideSolveProgress();
  return kSolveOk;
}

int TGlobMatrix::CheckSolution(long double loadNorm, const std::vector<long double>& reducedLoad) {
  ComputeReactions(loadNorm, reducedLoad);
  char text[320];
  if (!(relativeResidual_ <= kResidualLimit)) {
    std::snprintf(
        text, sizeof text,
        "The solution is not accurate: the relative residual of the equations is %.3g (a sound "
        "solve stays below %.0e); the mesh has elements too thin or stiffnesses too far apart for "
        "the "
        "precision of the numbers.",
        relativeResidual_, kResidualLimit);
    return Fail(kSolveInaccurate, text);
  }
  if (!(loadImbalance_ <= kImbalanceLimit)) {
    std::snprintf(text, sizeof text,
                  "The solution is not accurate: the reactions (%.6g) do not balance the loads "
                  "(%.6g), a relative "
                  "imbalance of %.3g; the mesh has elements too thin or stiffnesses too far apart "
                  "for the precision of the "
                  "numbers.",
                  reactionZ_, loadZ_, loadImbalance_);
    return Fail(kSolveInaccurate, text);
  }
  return kSolveOk;
}

int TGlobMatrix::Renumber() {
  Renumbering numbering;
  if (numbering.BuildAdjacency(nodeCount_, mesh_.edges) != Renumbering::kOk)
    return Fail(kSolveAdjacencyFailed, "An edge of the mesh refers to a node outside the mesh.");
  if (numbering.Number() != Renumbering::kOk)
    return Fail(kSolveNoRoot, "The node renumbering found no starting node.");
  meshToNew_ = numbering.MeshToNew();
  newToMesh_ = numbering.NewToMesh();
  triangleNodes_.resize(triangleCount_);
  for (int t = 0; t < triangleCount_; ++t)
    for (int k = 0; k < 3; ++k) triangleNodes_[t][k] = meshToNew_[mesh_.triangles[t][k]];
  int isolated = -1;
  if (numbering.EnvelopeStarts(nodeEnvelopeStart_, isolated) != Renumbering::kOk) {
    failure_.meshNode = isolated;
    failure_.node = meshToNew_[isolated];
    char text[200];
    std::snprintf(text, sizeof text, "Mesh node %d (x %g, y %g) is not connected to any element.",
                  isolated, mesh_.x[isolated], mesh_.y[isolated]);
    return Fail(kSolveIsolatedNode, text);
  }
  return kSolveOk;
}

void TGlobMatrix::MarkConstraints() {
  fixed_.assign(equationCount_, 0);
  prescribed_.assign(equationCount_, 0.0);
  std::vector<unsigned char> valueTaken(equationCount_, 0);
  // Edges first, in edge order: the lowest-index edge that fixes a freedom gives its value.
  for (int e = 0; e < mesh_.EdgeCount(); ++e) {
    const DofData& dof = mesh_.edgeDof[e];
    if (dof.code == 0) continue;
    const auto fixed = DecodeConstraintCode(dof.code);
    for (int d = 0; d < 3; ++d) {
      if (!fixed[d]) continue;
      for (int end = 0; end < 2; ++end) {
        const int eq = 3 * meshToNew_[mesh_.edges[e][end]] + d;
        fixed_[eq] = 1;
        if (!valueTaken[eq]) {
          prescribed_[eq] = dof.displacement[d];
          valueTaken[eq] = 1;
        }
      }
    }
  }
  // A node's own constraint overrides the value its edges give.
  for (int i = 0; i < nodeCount_; ++i) {
    const DofData& dof = mesh_.nodeDof[i];
    if (dof.code == 0) continue;
    const auto fixed = DecodeConstraintCode(dof.code);
    for (int d = 0; d < 3; ++d) {
      if (!fixed[d]) continue;
      const int eq = 3 * meshToNew_[i] + d;
      fixed_[eq] = 1;
      prescribed_[eq] = dof.displacement[d];
    }
  }
  reducedIndex_.assign(equationCount_, 0);
  int fixedSoFar = 0;
  for (int e = 0; e < equationCount_; ++e) {
    reducedIndex_[e] = e - fixedSoFar;
    if (fixed_[e]) ++fixedSoFar;
  }
  freeCount_ = equationCount_ - fixedSoFar;
}

int TGlobMatrix::AllocateEnvelope() {
  // Row lengths of the reduced system: every equation of node v starts at column 3 m(v); in
  // reduced numbering that is the first free equation at or after it.
  std::vector<int> length(freeCount_, 0);
  std::int64_t entries = freeCount_;
  for (int e = 0; e < equationCount_; ++e) {
    if (fixed_[e]) continue;
    const int startColumn = 3 * nodeEnvelopeStart_[e / 3];
    length[reducedIndex_[e]] = reducedIndex_[e] - reducedIndex_[startColumn];
    entries += length[reducedIndex_[e]];
  }
  // The envelope is the factor: it is factored in place.
  std::string message;
  if (!FitsInMemory(entries * static_cast<std::int64_t>(sizeof(long double)),
                    options_.memoryLimitBytes, "The envelope of the stiffness matrix", message))
    return Fail(kSolveOutOfMemory, message);
  matrix_ = std::make_unique<EnvelopeCholesky>();
  matrix_->Allocate(length);
  envelopeSize_ = matrix_->EntryCount();
  factorEntries_ = envelopeSize_ + freeCount_;
  return kSolveOk;
}

int TGlobMatrix::AllocateSparse() {
  // Nodes coupled by an element, each node with itself, in solver numbering and sorted: since
  // reduced indices grow with the equation, the rows of every column come out sorted too.
  std::vector<int> start(nodeCount_ + 1, 0), coupled;
  for (const auto& tn : triangleNodes_)
    for (int k = 0; k < 3; ++k) start[tn[k] + 1] += 3;
  for (int v = 0; v < nodeCount_; ++v) start[v + 1] += start[v];
  coupled.resize(start[nodeCount_]);
  std::vector<int> fill(start.begin(), start.end() - 1);
  for (const auto& tn : triangleNodes_)
    for (int k = 0; k < 3; ++k)
      for (int j = 0; j < 3; ++j) coupled[fill[tn[k]]++] = tn[j];
  std::vector<int> columnStart(freeCount_ + 1, 0), rows;
  rows.reserve(static_cast<size_t>(coupled.size()) * 3 / 2);
  for (int v = 0; v < nodeCount_; ++v) {
    auto first = coupled.begin() + start[v], last = coupled.begin() + start[v + 1];
    std::sort(first, last);
    last = std::unique(first, last);
    for (int d = 0; d < 3; ++d) {
      const int e = 3 * v + d;
      if (fixed_[e]) continue;
      const int column = reducedIndex_[e];
      for (auto w = first; w != last; ++w)
        for (int f = 0; f < 3; ++f)
          if (!fixed_[3 * *w + f] && reducedIndex_[3 * *w + f] >= column)
            rows.push_back(reducedIndex_[3 * *w + f]);
      columnStart[column + 1] = static_cast<int>(rows.size());
    }
  }
  sparse_ = std::make_unique<SparseCholesky>();
  if (sparse_->SetPattern(freeCount_, columnStart, rows) != SparseCholesky::kOk)
    return Fail(kSolveOutOfMemory, "The stiffness matrix does not fit in memory.");
  return kSolveOk;
}

int TGlobMatrix::Assemble() {
  rhs_.assign(freeCount_, 0.0L);
  if (const int rc =
          options_.solver == SolverKind::Envelope ? AllocateEnvelope() : AllocateSparse();
      rc != kSolveOk)
    return rc;
  // The envelope takes each coefficient rounded to double, as it always has; the sparse solver
  // keeps them as the element computed them, which its refinement then honours.
  const auto add = [this](int row, int col, long double k) {
    return sparse_ ? sparse_->Add(row, col, k) : matrix_->Add(row, col, k) == EnvelopeCholesky::kOk;
  };

  auto element = MakePlateElement(elementKind_);
  double in[10];
  for (int t = 0; t < triangleCount_; ++t) {
    Progress("Generating local stiffness matrix #", t, t, triangleCount_);
    if (StopRequested()) return Fail(kSolveStopped, kStoppedMessage);
    ElementInput(t, in);
    const PlateMaterial& m = mesh_.materials[t];
    if (!(m.eModulus > 0) || !(m.thickness > 0) || !(m.nu > -1 && m.nu < 1)) {
      failure_.element = t;
      return Fail(kSolveDegenerateElement,
                  "Element " + std::to_string(t) +
                      " has no valid material (E, thickness and Poisson ratio).");
    }
    if (element->BuildStiffness(in[0], in[1], in[2], in[3], in[4], in[5], in[6], in[7], in[8],
                                in[9]) != kElementOk) {
      failure_.element = t;
      const auto& c = mesh_.triangles[t];
      return Fail(kSolveDegenerateElement, "Element " + std::to_string(t) + " (mesh nodes " +
                                               std::to_string(c[0]) + ", " + std::to_string(c[1]) +
                                               ", " + std::to_string(c[2]) + ") is degenerate.");
    }
    const auto& tn = triangleNodes_[t];
    for (int a = 0; a < 3; ++a) {
      for (int b = 0; b < 3; ++b) {
        for (int r = 0; r < 3; ++r) {
          const int row = 3 * tn[a] + r;
          if (fixed_[row]) continue;
          const int rr = reducedIndex_[row];
          for (int c = 0; c < 3; ++c) {
            const int col = 3 * tn[b] + c;
            const long double exact = element->StiffnessAt(3 * a + r, 3 * b + c);
            const long double k =
                sparse_ ? exact : static_cast<long double>(static_cast<double>(exact));
            if (fixed_[col]) {
              // A held freedom with a non-zero value moves its column to the load side.
              if (prescribed_[col] != 0.0) rhs_[rr] -= k * prescribed_[col];
              continue;
            }
            if (row < col) continue;  // upper triangle implied by symmetry
            if (!add(rr, reducedIndex_[col], k)) {
              failure_.element = t;
              return Fail(kSolveAssemblyFailed,
                          "Element " + std::to_string(t) + " falls outside the matrix profile.");
            }
          }
        }
      }
    }
  }
  return kSolveOk;
}

void TGlobMatrix::ApplyLoads() {
  // Summed in extended precision, like the system they go into; kept rounded to double.
  std::vector<long double> load(equationCount_, 0.0L);
  for (int t = 0; t < triangleCount_; ++t) {
    const auto& c = mesh_.triangles[t];
    const double twiceArea = (mesh_.x[c[1]] - mesh_.x[c[0]]) * (mesh_.y[c[2]] - mesh_.y[c[0]]) -
                             (mesh_.y[c[1]] - mesh_.y[c[0]]) * (mesh_.x[c[2]] - mesh_.x[c[0]]);
    const double f = static_cast<double>(static_cast<long double>(mesh_.materials[t].pressure) *
                                         (std::fabs(twiceArea) * 0.5) * (1.0L / 3.0L));
    for (int k = 0; k < 3; ++k) load[3 * meshToNew_[c[k]]] += f;
  }
  for (int i = 0; i < nodeCount_; ++i)
    for (int d = 0; d < 3; ++d) load[3 * meshToNew_[i] + d] += mesh_.nodeDof[i].force[d];
  for (int e = 0; e < mesh_.EdgeCount(); ++e) {
    const int a = mesh_.edges[e][0], b = mesh_.edges[e][1];
    const double dx = mesh_.x[a] - mesh_.x[b], dy = mesh_.y[a] - mesh_.y[b];
    const double h = std::sqrt(dx * dx + dy * dy) * 0.5;
    for (int end : {a, b})
      for (int d = 0; d < 3; ++d) load[3 * meshToNew_[end] + d] += mesh_.edgeDof[e].force[d] * h;
  }
  loads_.assign(equationCount_, 0.0);
  long double sumZ = 0.0L;
  for (int e = 0; e < equationCount_; ++e) {
    loads_[e] = static_cast<double>(load[e]);
    if (e % 3 == 0) sumZ += load[e];
    if (!fixed_[e]) rhs_[reducedIndex_[e]] += load[e];
  }
  loadZ_ = static_cast<double>(sumZ);
}

int TGlobMatrix::Factorize() {
  int failedRow = -1;
  int rc = kSolveOk;
  if (sparse_) {
    if (freeCount_ == 0) return kSolveOk;
    Progress("Stiffness matrix ordering", 1, 0, 10);
    const int analysed = sparse_->Analyze();
    if (analysed == SparseCholesky::kTooLarge)
      return Fail(
          kSolveOutOfMemory,
          "The factor of the stiffness matrix is too large for the sparse solver's indices.");
    if (analysed != SparseCholesky::kOk)
      return Fail(kSolveOutOfMemory, "The ordering of the stiffness matrix ran out of memory.");
    factorEntries_ = sparse_->FactorEntries();
    std::string message;
    if (!FitsInMemory(sparse_->FactorBytes(), options_.memoryLimitBytes,
                      "The factor of the stiffness matrix", message))
      return Fail(kSolveOutOfMemory, message);
    Progress("Stiffness matrix factorization", 1, 0, 10);
    if (StopRequested()) return Fail(kSolveStopped, kStoppedMessage);
    const int factored = sparse_->Factor(failedRow);
    if (factored == SparseCholesky::kOutOfMemory)
      return Fail(kSolveOutOfMemory,
                  "The factorization of the stiffness matrix ran out of memory.");
    Progress("Stiffness matrix factorization", 10, 0, 10);
    if (factored == SparseCholesky::kOk) return kSolveOk;
    rc = failedRow == 0 ? kSolveFirstPivot : kSolveNotPositive;
  } else {
    const int factored = matrix_->Factor(progress_, failedRow);
    if (factored == EnvelopeCholesky::kOk) return kSolveOk;
    if (factored == EnvelopeCholesky::kStopped) return Fail(kSolveStopped, kStoppedMessage);
    rc = factored == EnvelopeCholesky::kFirstPivot ? kSolveFirstPivot : kSolveNotPositive;
  }
  return FailAtRow(failedRow, rc, "The stiffness matrix is singular at",
                   "the plate is not held enough by its constraints.");
}

// Names the equation of a row of the reduced system, its node, position and freedom.
int TGlobMatrix::FailAtRow(int row, int code, const char* what, const char* why) {
  int equation = -1;
  for (int e = 0; e < equationCount_; ++e)
    if (!fixed_[e] && reducedIndex_[e] == row) {
      equation = e;
      break;
    }
  failure_.equation = equation;
  failure_.node = equation / 3;
  failure_.freedom = equation % 3;
  failure_.meshNode = newToMesh_[failure_.node];
  char text[320];
  std::snprintf(text, sizeof text, "%s equation %d (node %d at x %g, y %g, %s)%s %s", what,
                equation, failure_.node, mesh_.x[failure_.meshNode], mesh_.y[failure_.meshNode],
                kFreedomNames[failure_.freedom], code == kSolveOutOfRange ? "" : ":", why);
  return Fail(code, text);
}

long double TGlobMatrix::Displacement(int node, int dof) const {
  if (!solved_ || node < 0 || node >= nodeCount_ || dof < 0 || dof > 2) return kNoValue;
  const int e = 3 * node + dof;
  if (fixed_[e]) return prescribed_[e];
  return rhs_[reducedIndex_[e]];
}

bool TGlobMatrix::IsConstrained(int node, int dof) const {
  if (fixed_.empty() || node < 0 || node >= nodeCount_ || dof < 0 || dof > 2) return false;
  return fixed_[3 * node + dof] != 0;
}

double TGlobMatrix::Reaction(int node, int dof) const {
  if (!solved_ || node < 0 || node >= nodeCount_ || dof < 0 || dof > 2) return kNoValue;
  return reactions_[3 * node + dof];
}

int TGlobMatrix::NewNumberOf(int meshNode) const {
  if (meshNode < 0 || meshNode >= static_cast<int>(meshToNew_.size())) return -1;
  return meshToNew_[meshNode];
}

int TGlobMatrix::MeshNodeOf(int node) const {
  if (node < 0 || node >= static_cast<int>(newToMesh_.size())) return -1;
  return newToMesh_[node];
}

int TGlobMatrix::TriangleCorner(int triangle, int corner) const {
  if (triangle < 0 || triangle >= static_cast<int>(triangleNodes_.size()) || corner < 0 ||
      corner > 2)
    return -1;
  return triangleNodes_[triangle][corner];
}

double TGlobMatrix::NodeX(int node) const {
  const int m = MeshNodeOf(node);
  return m < 0 ? kNoValue : mesh_.x[m];
}

double TGlobMatrix::NodeY(int node) const {
  const int m = MeshNodeOf(node);
  return m < 0 ? kNoValue : mesh_.y[m];
}

std::int64_t TGlobMatrix::EnvelopeLength(int equation) const {
  if (!matrix_ || equation < 0 || equation >= matrix_->Size()) return -1;
  return matrix_->RowLength(equation);
}

}  // namespace tavrin
