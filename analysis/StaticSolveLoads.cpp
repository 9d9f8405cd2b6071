// Further load cases on the factor of the last solve: the steps of the static solve that
// depend on the loads (the prescribed values, the load vector, the back-substitution and the
// check), none of those that depend only on the structure. Cost per case: one pass over the
// elements when the case prescribes non-zero values, the load vector and the check, linear in
// the mesh; the back-substitutions of all the cases given at once share each pass over the
// factor, which for a large plate is most of what a case would cost alone, and their
// refinement's residuals each pass over the matrix (two columns at a time), the last of which
// serves the checks.
#include <string>
#include <utility>
#include <vector>

#include "analysis/Assembly.h"
#include "analysis/ElasticSupport.h"
#include "analysis/PatchRecovery.h"
#include "analysis/SolutionCheck.h"
#include "analysis/SystemMatrix.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {

namespace {

// Lets the assembly compute the right-hand side of prescribed values (-k u, with each k as the
// factored storage keeps it) while every stiffness coefficient is dropped: the matrix is
// already factored.
class RightHandSideOnly : public SystemMatrix {
 public:
  explicit RightHandSideOnly(const SystemMatrix& storage) : storage_(storage) {}
  SolveCode Allocate(const DofNumbering&, std::int64_t, std::string&) override {
    return SolveCode::Ok;
  }
  long double Stored(long double exact) const override { return storage_.Stored(exact); }
  bool Add(int, int, long double) override { return true; }
  SolveCode Factor(SolveProgress*, std::int64_t, int&, std::string&) override {
    return SolveCode::Ok;
  }
  SolveCode Solve(std::vector<long double>&, std::string&) const override { return SolveCode::Ok; }
  bool KeepsAssembledMatrix() const override { return false; }
  void Multiply(const std::vector<long double>&, std::vector<long double>&,
                std::vector<long double>*) const override {}
  std::int64_t FactorEntries() const override { return 0; }
  std::int64_t EnvelopeEntries() const override { return 0; }
  std::int64_t EnvelopeLength(int) const override { return -1; }

 private:
  const SystemMatrix& storage_;
};

bool SameTables(const PlateMesh& a, const PlateMesh& b) {
  if (a.x != b.x || a.y != b.y || a.edges != b.edges || a.triangles != b.triangles ||
      a.nodeDof.size() != b.nodeDof.size() || a.edgeDof.size() != b.edgeDof.size() ||
      a.materials.size() != b.materials.size())
    return false;
  for (std::size_t i = 0; i < a.nodeDof.size(); ++i)
    if (a.nodeDof[i].code != b.nodeDof[i].code) return false;
  for (std::size_t e = 0; e < a.edgeDof.size(); ++e)
    if (a.edgeDof[e].code != b.edgeDof[e].code) return false;
  for (std::size_t t = 0; t < a.materials.size(); ++t) {
    const ElementPhysics &p = a.materials[t], &q = b.materials[t];
    if (p.eModulus != q.eModulus || p.nu != q.nu || p.thickness != q.thickness) return false;
  }
  return true;
}

}  // namespace

SolveCode TGlobMatrix::SolveLoads(PlateMesh mesh) {
  std::vector<PlateMesh> one;
  one.push_back(std::move(mesh));
  return SolveLoadCases(std::move(one), [](std::size_t, SolveCode) { return true; });
}

void TGlobMatrix::ClearCaseResults() {
  std::unique_ptr<SystemMatrix> matrix = std::move(matrix_);
  DofNumbering numbering = std::move(solution_.numbering);
  const int freeCount = freeCount_;
  const std::int64_t envelopeSize = envelopeSize_, factorEntries = factorEntries_;
  std::vector<std::vector<double>> displacements = std::move(caseDisplacements_);
  std::vector<ElementValues> elements = std::move(caseElements_);
  std::vector<std::vector<double>> nodal = std::move(caseNodal_);
  std::unique_ptr<PatchRecovery> patch = std::move(patchRecovery_);
  std::unique_ptr<HeldElements> held = std::move(heldElements_);
  ClearResults();
  matrix_ = std::move(matrix);
  solution_.numbering = std::move(numbering);
  freeCount_ = freeCount;
  envelopeSize_ = envelopeSize;
  factorEntries_ = factorEntries;
  caseDisplacements_ = std::move(displacements);
  caseElements_ = std::move(elements);
  caseNodal_ = std::move(nodal);
  patchRecovery_ = std::move(patch);
  heldElements_ = std::move(held);
  keepsRecovery_ = true;
  failure_ = SolveFailure();
}

SolveCode TGlobMatrix::SolveLoadCases(std::vector<PlateMesh> meshes,
                                      const std::function<bool(std::size_t, SolveCode)>& each) {
  if (meshes.empty()) return SolveCode::Ok;
  if (!matrix_ || solution_.numbering.NodeCount() == 0) {
    const SolveCode rc = Fail(SolveCode::EmptyMesh, "There is no factored matrix to reuse.");
    each(0, rc);
    return rc;
  }
  // What a case needs from the steps before the substitutions: its right-hand side (solved in
  // place), its loads, or the failure that ends it there.
  struct Prepared {
    SolveCode code = SolveCode::Ok;
    std::string message;
    int element = -1;
    std::vector<double> loads;
    double loadZ = 0;
    long double loadNorm = 0;
  };
  const std::size_t count = meshes.size();
  std::vector<Prepared> prepared(count);
  for (std::size_t k = 0; k < count; ++k)
    if (!SameTables(mesh_, meshes[k])) prepared[k].code = SolveCode::AdjacencyFailed;
  // The springs and the foundation are the structure's, as factored: every case's balance
  // counts them.
  const ElasticTerms elastic = BuildElasticTerms(mesh_, solution_.numbering);
  DofNumbering& n = solution_.numbering;
  std::vector<std::vector<long double>> columns;
  for (std::size_t k = 0; k < count; ++k) {
    Prepared& p = prepared[k];
    if (p.code != SolveCode::Ok) continue;
    n.MarkConstraints(meshes[k]);  // the same freedoms held (checked above), new values
    std::vector<long double> rhs(static_cast<std::size_t>(freeCount_), 0.0L);
    bool prescribed = false;
    for (int e = 0; e < n.EquationCount() && !prescribed; ++e)
      prescribed = n.IsFixed(e) && n.Prescribed(e) != 0.0;
    if (prescribed) {
      RightHandSideOnly storage(*matrix_);
      Assembly assembly(n, storage, rhs);
      p.code = assembly.AddPlateElements(meshes[k], elementKind_, nullptr, p.element, p.message);
      if (p.code != SolveCode::Ok) continue;
    }
    AddLoads(meshes[k], rhs, p.loads, p.loadZ);
    p.loadNorm = LoadNorm(rhs);
    columns.push_back(std::move(rhs));
  }
  // The right-hand sides stay for the checks (when the matrix keeps them), beside the answers.
  std::vector<std::vector<long double>> answers;
  std::vector<long double> squares;
  std::string solveMessage;
  const SolveCode solved = matrix_->SolveColumns(columns, answers, &squares, solveMessage);
  // Every solved case's displacements as its recovery reads them, so that the element pass of
  // a recovery serves a group of cases at once.
  caseDisplacements_.clear();
  caseElements_.clear();
  caseNodal_.clear();
  if (solved == SolveCode::Ok) {
    std::size_t column = 0;
    for (std::size_t k = 0; k < count; ++k) {
      if (prepared[k].code != SolveCode::Ok) continue;
      n.MarkConstraints(meshes[k]);
      const std::vector<long double>& reduced = answers[column++];
      std::vector<double> u(static_cast<std::size_t>(n.EquationCount()));
      for (int e = 0; e < n.EquationCount(); ++e)
        u[static_cast<std::size_t>(e)] = static_cast<double>(
            n.IsFixed(e) ? n.Prescribed(e) : reduced[static_cast<std::size_t>(n.Reduced(e))]);
      caseDisplacements_.push_back(std::move(u));
    }
  }

  SolveCode rc = SolveCode::Ok;
  const std::vector<long double> none;  // the loads of a matrix that solved them in place
  std::size_t column = 0;
  for (std::size_t k = 0; k < count; ++k) {
    Prepared& p = prepared[k];
    if (p.code == SolveCode::AdjacencyFailed) {
      rc = Fail(SolveCode::AdjacencyFailed,
                "The load case's mesh, constraints or materials differ from those solved.");
    } else {
      // The structure's parts survive; the results of the last case go.
      ClearCaseResults();
      mesh_ = std::move(meshes[k]);
      n.MarkConstraints(mesh_);
      if (p.code != SolveCode::Ok) {
        failure_.element = p.element;
        rc = Fail(p.code, p.message);
      } else if (solved != SolveCode::Ok) {
        rc = Fail(solved, solveMessage);
      } else {
        solution_.reduced = std::move(answers[column]);
        solution_.loads = std::move(p.loads);
        solution_.loadZ = p.loadZ;
        caseColumn_ = static_cast<int>(column);
        rc = CheckSolved(p.loadNorm, column < columns.size() ? columns[column] : none, elastic,
                         column < squares.size() ? &squares[column] : nullptr);
      }
      if (p.code == SolveCode::Ok) ++column;
    }
    if (!each(k, rc)) break;
  }
  // What the recoveries kept is for the cases of this run: a solver kept to show the last case
  // does not hold it.
  keepsRecovery_ = false;
  caseDisplacements_ = {};
  caseElements_ = {};
  caseNodal_ = {};
  caseColumn_ = -1;
  patchRecovery_.reset();
  return rc;
}

}  // namespace tavrin
