// A further load case on the factor of the last solve: the steps of the static solve that
// depend on the loads (the prescribed values, the load vector, the back-substitution and the
// check), none of those that depend only on the structure. Cost: one pass over the elements
// when the case prescribes non-zero values, the load vector, one solve with the factor and
// the check; linear in the mesh apart from the back-substitution.
#include <utility>

#include "analysis/Assembly.h"
#include "analysis/ElasticSupport.h"
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
  if (!matrix_ || solution_.numbering.NodeCount() == 0)
    return Fail(SolveCode::EmptyMesh, "There is no factored matrix to reuse.");
  if (!SameTables(mesh_, mesh))
    return Fail(SolveCode::AdjacencyFailed,
                "The load case's mesh, constraints or materials differ from those solved.");
  // The structure's parts survive; the results of the last case go.
  std::unique_ptr<SystemMatrix> matrix = std::move(matrix_);
  DofNumbering numbering = std::move(solution_.numbering);
  const int freeCount = freeCount_;
  const std::int64_t envelopeSize = envelopeSize_, factorEntries = factorEntries_;
  ClearResults();
  matrix_ = std::move(matrix);
  freeCount_ = freeCount;
  envelopeSize_ = envelopeSize;
  factorEntries_ = factorEntries;
  failure_ = SolveFailure();
  mesh_ = std::move(mesh);
  numbering.MarkConstraints(mesh_);  // the same freedoms held (checked above), new values
  solution_.numbering = std::move(numbering);
  const DofNumbering& n = solution_.numbering;

  std::vector<long double>& rhs = solution_.reduced;
  rhs.assign(static_cast<std::size_t>(freeCount_), 0.0L);
  bool prescribed = false;
  for (int e = 0; e < n.EquationCount() && !prescribed; ++e)
    prescribed = n.IsFixed(e) && n.Prescribed(e) != 0.0;
  std::string message;
  if (prescribed) {
    RightHandSideOnly storage(*matrix_);
    Assembly assembly(n, storage, rhs);
    if (const SolveCode rc =
            assembly.AddPlateElements(mesh_, elementKind_, nullptr, failure_.element, message);
        rc != SolveCode::Ok)
      return Fail(rc, message);
  }
  AddLoads();
  // The springs and the foundation are the structure's: every case's balance counts them.
  return SolveAndCheck(BuildElasticTerms(mesh_, n));
}

}  // namespace tavrin
