// The static solve, step by step: check the tables, number the freedoms and mark the
// constraints, assemble the stiffness into the system matrix the options choose, build the loads,
// factor, solve, check the solution. Cost is dominated by the factorization (SparseSystem,
// EnvelopeSystem); every other step is linear in the mesh.
#include <cmath>
#include <cstdio>
#include <new>
#include <utility>

#include "analysis/Assembly.h"
#include "analysis/ElasticSupport.h"
#include "analysis/LoadVector.h"
#include "analysis/SolutionCheck.h"
#include "analysis/StiffnessDiagnosis.h"
#include "analysis/SystemMatrix.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {

namespace {
const char* const kFreedomNames[3] = {"lin. Z", "rot. X", "rot. Y"};
}  // namespace

SolveCode TGlobMatrix::SolveStatic(PlateMesh mesh) {
  failure_ = SolveFailure();
  ClearResults();
  mesh_ = std::move(mesh);
  nodeCount_ = mesh_.NodeCount();
  triangleCount_ = mesh_.TriangleCount();
  SolveCode rc = SolveCode::Ok;
  try {
    rc = Solve();
  } catch (const std::bad_alloc&) {
    // Whatever the checks before the factor missed (the mesh copy, the tables) ends here.
    ClearResults();
    rc = Fail(SolveCode::OutOfMemory, "The solve ran out of memory.");
  }
  // A failure leaves no matrix behind: its memory is the first thing a user wants back.
  if (rc != SolveCode::Ok) matrix_.reset();
  return rc;
}

SolveCode TGlobMatrix::Solve() {
  if (const SolveCode rc = CheckTables(); rc != SolveCode::Ok) return rc;
  const auto stopped = [this] { return Fail(SolveCode::Stopped, Message(SolveCode::Stopped)); };

  Progress("Cuthill-McKee renumbering", 1, 0, 10);
  if (const SolveCode rc = Number(); rc != SolveCode::Ok) return rc;
  Progress("Cuthill-McKee renumbering", 10, 0, 10);
  if (StopRequested()) return stopped();

  DofNumbering& numbering = solution_.numbering;
  numbering.MarkConstraints(mesh_);
  if (const std::string fault = CheckElasticSupport(mesh_, numbering); !fault.empty())
    return Fail(SolveCode::InvalidSpring, fault);
  const ElasticTerms elastic = BuildElasticTerms(mesh_, numbering);
  freeCount_ = numbering.FreeCount();
  matrix_ = MakeSystemMatrix(options_.solver);
  std::string message;
  if (const SolveCode rc = matrix_->Allocate(numbering, options_.memoryLimitBytes, message);
      rc != SolveCode::Ok)
    return Fail(rc, message);
  envelopeSize_ = matrix_->EnvelopeEntries();
  factorEntries_ = matrix_->FactorEntries();
  std::vector<long double>& rhs = solution_.reduced;
  rhs.assign(freeCount_, 0.0L);
  Assembly assembly(numbering, *matrix_, rhs);
  if (const SolveCode rc =
          assembly.AddPlateElements(mesh_, elementKind_, progress_, failure_.element, message);
      rc != SolveCode::Ok)
    return Fail(rc, rc == SolveCode::Stopped ? Message(rc) : message);
  if (elastic.any && !assembly.AddDiagonalTerms(elastic.spring, elastic.foundation))
    return Fail(SolveCode::AssemblyFailed, "A spring falls outside the matrix profile.");
  if (StopRequested()) return stopped();

  Progress("Loads and constrains", 1, 0, 10);
  AddLoads(mesh_, rhs, solution_.loads, solution_.loadZ);
  Progress("Loads and constrains", 10, 0, 10);
  if (StopRequested()) return stopped();

  if (const SolveCode rc = Factorize(); rc != SolveCode::Ok) return rc;
  if (StopRequested()) return stopped();
  if (const SolveCode rc = SolveAndCheck(elastic); rc != SolveCode::Ok) return rc;
  if (progress_) progress_->HideSolveProgress();
  return SolveCode::Ok;
}

void TGlobMatrix::AddLoads(const PlateMesh& mesh, std::vector<long double>& rhs,
                           std::vector<double>& loads, double& loadZ) const {
  const DofNumbering& numbering = solution_.numbering;
  LoadVector built = BuildLoads(mesh, numbering, options_.edgeLoads);
  for (int e = 0; e < numbering.EquationCount(); ++e)
    if (!numbering.IsFixed(e))
      rhs[static_cast<std::size_t>(numbering.Reduced(e))] += built.exact[e];
  loads = std::move(built.rounded);
  loadZ = built.sumZ;
}

long double TGlobMatrix::LoadNorm(const std::vector<long double>& rhs) {
  long double norm = 0.0L;
  for (long double f : rhs) norm += f * f;
  return std::sqrt(norm);
}

SolveCode TGlobMatrix::SolveAndCheck(const ElasticTerms& elastic) {
  const long double loadNorm = LoadNorm(solution_.reduced);
  std::vector<std::vector<long double>> loads(1), answers;
  loads[0] = std::move(solution_.reduced);
  std::vector<long double> squares;
  std::string message;
  if (const SolveCode rc = matrix_->SolveColumns(loads, answers, &squares, message);
      rc != SolveCode::Ok)
    return Fail(rc, message);
  solution_.reduced = std::move(answers[0]);
  const std::vector<long double> none;  // the loads of a matrix that solved them in place
  return CheckSolved(loadNorm, loads.empty() ? none : loads[0], elastic,
                     squares.empty() ? nullptr : &squares[0]);
}

SolveCode TGlobMatrix::CheckSolved(long double loadNorm,
                                   const std::vector<long double>& reducedLoad,
                                   const ElasticTerms& elastic,
                                   const long double* residualSquares) {
  const std::vector<long double>& rhs = solution_.reduced;
  // The factor passes relative pivot tests only, so a modulus of 1e-300 solves "successfully"
  // with displacements beyond a double, and the stresses computed from them are NaN.
  for (std::size_t i = 0; i < rhs.size(); ++i) {
    if (std::isfinite(static_cast<double>(rhs[i]))) continue;
    return FailAtRow(static_cast<int>(i), SolveCode::OutOfRange, "The displacement at",
                     "is out of range: the plate is far too soft for its loads.");
  }
  solved_ = true;
  return Verify(loadNorm, reducedLoad, elastic.any ? &elastic : nullptr, residualSquares);
}

SolveCode TGlobMatrix::CheckTables() {
  if (nodeCount_ == 0 || triangleCount_ == 0)
    return Fail(SolveCode::EmptyMesh, Message(SolveCode::EmptyMesh));
  if (mesh_.y.size() != mesh_.x.size() || mesh_.nodeDof.size() != mesh_.x.size() ||
      mesh_.edgeDof.size() != mesh_.edges.size() ||
      mesh_.materials.size() != mesh_.triangles.size())
    return Fail(SolveCode::AdjacencyFailed,
                "The mesh's node, edge and element tables differ in length.");
  for (int t = 0; t < triangleCount_; ++t) {
    for (int k = 0; k < 3; ++k) {
      const int n = mesh_.triangles[t][k];
      if (n < 0 || n >= nodeCount_) {
        failure_.element = t;
        return Fail(SolveCode::AdjacencyFailed,
                    "Element " + std::to_string(t) + " refers to a node outside the mesh.");
      }
    }
  }
  return SolveCode::Ok;
}

SolveCode TGlobMatrix::Number() {
  int isolated = -1;
  const Renumbering::Code rc = solution_.numbering.Number(mesh_, isolated);
  switch (rc) {
    case Renumbering::Code::Ok:
      return SolveCode::Ok;
    case Renumbering::Code::BadAdjacency:
      return Fail(SolveCode::AdjacencyFailed, Message(rc));
    case Renumbering::Code::NoRoot:
      return Fail(SolveCode::NoRoot, Message(rc));
    case Renumbering::Code::IsolatedNode:
      break;
  }
  failure_.meshNode = isolated;
  failure_.node = solution_.numbering.MeshToNew()[isolated];
  char text[200];
  std::snprintf(text, sizeof text, "Mesh node %d (x %g, y %g) is not connected to any element.",
                isolated, mesh_.x[isolated], mesh_.y[isolated]);
  return Fail(SolveCode::IsolatedNode, text);
}

SolveCode TGlobMatrix::Factorize() {
  int failedRow = -1;
  std::string message;
  const SolveCode rc = matrix_->Factor(progress_, options_.memoryLimitBytes, failedRow, message);
  factorEntries_ = matrix_->FactorEntries();
  if (rc == SolveCode::Ok) return rc;
  if (rc == SolveCode::Stopped) return Fail(rc, Message(rc));
  if (rc != SolveCode::FirstPivot && rc != SolveCode::NotPositive) return Fail(rc, message);
  // The materials are looked at first: a plate far too thin, or stiffnesses too far apart,
  // makes the matrix singular however well the plate is held.
  if (const std::string cause = DiagnoseStiffness(mesh_); !cause.empty())
    return FailAtRow(failedRow, rc, "The stiffness matrix is singular at", cause.c_str());
  return FailAtRow(failedRow, rc, "The stiffness matrix is singular at",
                   "the plate is not held enough by its constraints.");
}

SolveCode TGlobMatrix::Verify(long double loadNorm, const std::vector<long double>& reducedLoad,
                              const ElasticTerms* elastic, const long double* residualSquares) {
  if (!heldElements_) heldElements_ = std::make_unique<HeldElements>();
  CheckSolution(mesh_, elementKind_, *matrix_, loadNorm, reducedLoad, elastic, solution_,
                residualSquares, heldElements_.get());
  if (solution_.relativeResidual <= kResidualLimit && solution_.loadImbalance <= kImbalanceLimit)
    return SolveCode::Ok;
  // A pass over the materials, made only for the message of a solve that failed.
  std::string cause = DiagnoseStiffness(mesh_);
  if (cause.empty())
    cause =
        "the mesh has elements too thin or stiffnesses too far apart for the precision of "
        "the numbers.";
  char text[600];
  if (!(solution_.relativeResidual <= kResidualLimit)) {
    std::snprintf(text, sizeof text,
                  "The solution is not accurate: the relative residual of the equations is %.3g "
                  "(a sound solve stays below %.0e); %s",
                  solution_.relativeResidual, kResidualLimit, cause.c_str());
    return Fail(SolveCode::Inaccurate, text);
  }
  if (!(solution_.loadImbalance <= kImbalanceLimit)) {
    static const char* const kComponents[3] = {"vertical forces", "moments about x",
                                               "moments about y"};
    int worst = 0;
    for (int c = 1; c < 3; ++c)
      if (solution_.balance[c] > solution_.balance[worst]) worst = c;
    // A prescribed displacement far beyond the plate's own deflections leaves the loads in the
    // round-off of the reactions it causes: name the largest one.
    const DofNumbering& numbering = solution_.numbering;
    int largest = -1;
    for (int e = 0; e < numbering.EquationCount(); ++e)
      if (numbering.IsFixed(e) && numbering.Prescribed(e) != 0.0 &&
          (largest < 0 ||
           std::fabs(numbering.Prescribed(e)) > std::fabs(numbering.Prescribed(largest))))
        largest = e;
    if (largest >= 0) {
      const int node = numbering.NewToMesh()[largest / 3];
      char prescribed[300];
      std::snprintf(prescribed, sizeof prescribed,
                    "the prescribed %s of %g at mesh node %d (x %g, y %g) is beyond what the "
                    "precision of the numbers can carry next to the plate's own deflections.",
                    kFreedomNames[largest % 3], numbering.Prescribed(largest), node, mesh_.x[node],
                    mesh_.y[node]);
      cause = prescribed;
    }
    std::snprintf(text, sizeof text,
                  "The solution is not accurate: the reactions do not balance the loads in the "
                  "%s (load-z %.6g, reaction-z %.6g), a relative imbalance of %.3g; %s",
                  kComponents[worst], solution_.loadZ, solution_.reactionZ,
                  solution_.balance[worst], cause.c_str());
    return Fail(SolveCode::Inaccurate, text);
  }
  return SolveCode::Ok;
}

SolveCode TGlobMatrix::Fail(SolveCode code, const std::string& message) {
  failure_.code = code;
  failure_.message = message;
  solved_ = false;
  if (progress_) progress_->HideSolveProgress();
  return code;
}

SolveCode TGlobMatrix::FailAtRow(int row, SolveCode code, const char* what, const char* why) {
  const DofNumbering& numbering = solution_.numbering;
  const int equation = numbering.EquationOfRow(row);
  const char* separator = code == SolveCode::OutOfRange ? "" : ":";
  char text[320];
  if (equation < 0) {
    // The storage could not say which pivot failed: name the system instead of a freedom.
    std::snprintf(text, sizeof text, "%s an equation of the reduced system%s %s", what, separator,
                  why);
    return Fail(code, text);
  }
  failure_.equation = equation;
  failure_.node = equation / 3;
  failure_.freedom = equation % 3;
  failure_.meshNode = numbering.NewToMesh()[failure_.node];
  std::snprintf(text, sizeof text, "%s equation %d (node %d at x %g, y %g, %s)%s %s", what,
                equation, failure_.node, mesh_.x[failure_.meshNode], mesh_.y[failure_.meshNode],
                kFreedomNames[failure_.freedom], separator, why);
  return Fail(code, text);
}

}  // namespace tavrin
