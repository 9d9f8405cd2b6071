// Solving the cases on one factorization: one case solves in full, all the others together on
// its numbering and factor (TGlobMatrix::SolveLoadCases: their back-substitutions share each
// pass over the factor and their refinement's residuals each pass over the matrix, the last of
// which serves their checks, and their stress recoveries, a group of cases at a time, the
// passes over the elements and the patch fits).
// Then the linear combinations, the design columns (the shear fits made once for all sets) and
// the envelopes. Cost: one factorization, a share of the substitutions, the check and the
// stress recovery per case (linear in the mesh), linear work per combination and envelope.
#include "analysis/CaseSolution.h"

#include "analysis/CaseMeshLoads.h"
#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

SolveFigures FiguresOf(const TGlobMatrix& s) {
  return {s.EquationCount(), s.RelativeResidual(), s.LoadImbalance(), s.ErrorEstimate(),
          s.HasSprings(),    s.SpringZ(),          s.FoundationZ()};
}

}  // namespace

std::string CaseSolution::Solve(const FEM& mesh, const TObjCont& job, ElementKind element,
                                const AnalysisOptions& options, const std::vector<int>& cases,
                                SolveProgress* progress) {
  *this = CaseSolution{};
  const LoadCases& all = job.Cases();
  if (std::string problem = all.Problem(); !problem.empty()) return problem;
  std::vector<int> which = cases;
  if (which.empty())
    for (int k = 0; k < all.CaseCount(); ++k) which.push_back(k);

  std::vector<std::pair<std::string, PlateMesh>> meshes;
  const PlateMesh base = PlateMesh::FromFem(mesh);
  std::unique_ptr<CaseMeshLoads> map;
  for (const int k : which) {
    // The first case is the mesh's own records, exactly as a job without cases solves.
    if (k != 0 && !map) map = std::make_unique<CaseMeshLoads>(mesh, job);
    meshes.emplace_back(all.CaseName(k), k == 0 ? base : map->Apply(base, job.CaseLoads(k)));
  }
  if (std::string error = SolveCases(std::move(meshes), element, options, progress); !error.empty())
    return error;
  Combine(all);
  return {};
}

std::string CaseSolution::Adopt(const FEM& mesh, const TObjCont& job,
                                std::unique_ptr<TGlobMatrix> solved) {
  *this = CaseSolution{};
  const LoadCases& all = job.Cases();
  if (std::string problem = all.Problem(); !problem.empty()) return problem;
  if (all.CaseCount() != 1) return "a solved job of several cases cannot be adopted";
  if (!solved || !solved->HasStresses() || solved->ResultTriangleCount() != mesh.TriangleCount())
    return "the adopted solver has not recovered this mesh";
  const TGlobMatrix& s = *solved;
  sets_.push_back(ResultSet::FromSolver(s, s, all.CaseName(0)));
  figures_.push_back(FiguresOf(s));
  first_ = std::move(solved);
  KeepGeometry();
  Combine(all);
  return {};
}

std::string CaseSolution::SolveCases(std::vector<std::pair<std::string, PlateMesh>> cases,
                                     ElementKind element, const AnalysisOptions& options,
                                     SolveProgress* progress) {
  *this = CaseSolution{};
  if (cases.empty()) return {};
  auto solver = std::make_unique<TGlobMatrix>(element, options, progress);
  // The last case factors the matrix; the others are back-substituted together on its factor,
  // the first of them last, so that the solver is left answering for the first case.
  const std::size_t count = cases.size();
  std::vector<std::size_t> order;
  for (std::size_t k = 1; k + 1 < count; ++k) order.push_back(k);
  if (count > 1) order.push_back(0);
  sets_.resize(count);
  figures_.resize(count);
  std::string error;
  // Takes the case the solver answers for, or the message of its failure.
  auto take = [&](std::size_t k, SolveCode rc) {
    if (rc != SolveCode::Ok)
      error = solver->Failure().message;
    else if (solver->SolveStress() != StressCode::Ok)
      error =
          "the stresses exceed the range of numbers; check the prescribed displacements and the "
          "loads against the plate's stiffness";
    if (!error.empty()) {
      // A job without cases reports its failure as it always did.
      if (count > 1) error = "case '" + cases[k].first + "': " + error;
      return false;
    }
    sets_[k] = ResultSet::FromSolver(*solver, *solver, cases[k].first);
    figures_[k] = FiguresOf(*solver);
    return true;
  };
  if (take(count - 1, solver->SolveStatic(std::move(cases[count - 1].second))) && !order.empty()) {
    std::vector<PlateMesh> meshes;
    for (const std::size_t k : order) meshes.push_back(std::move(cases[k].second));
    // Every case's code reaches `take`, which keeps the message of the first failure.
    static_cast<void>(solver->SolveLoadCases(
        std::move(meshes), [&](std::size_t i, SolveCode rc) { return take(order[i], rc); }));
  }
  if (!error.empty()) {
    *this = CaseSolution{};
    return error;
  }
  first_ = std::move(solver);
  KeepGeometry();
  return {};
}

void CaseSolution::KeepGeometry() {
  if (!first_) return;
  const TGlobMatrix& first = *first_;
  for (int v = 0; v < first.ResultNodeCount(); ++v) {
    x_.push_back(first.NodeX(v));
    y_.push_back(first.NodeY(v));
  }
  for (int t = 0; t < first.ResultTriangleCount(); ++t)
    triangles_.push_back(
        {first.TriangleCorner(t, 0), first.TriangleCorner(t, 1), first.TriangleCorner(t, 2)});
}

void CaseSolution::Combine(const LoadCases& all) {
  if (sets_.empty()) return;
  const int caseSets = CaseSets();
  auto setNamed = [this](const std::string& name, int from, int to) {
    for (int s = from; s < to; ++s)
      if (sets_[static_cast<std::size_t>(s)].name == name) return s;
    return -1;
  };
  for (const Combination& combination : all.combinations) {
    bool solved = true;
    for (const CombinationTerm& term : combination.terms)
      solved = solved && setNamed(term.caseName, 0, caseSets) >= 0;
    if (!solved) continue;
    ResultSet sum = sets_[0].ZeroLike(combination.name);
    for (const CombinationTerm& term : combination.terms)
      sum.AddScaled(sets_[static_cast<std::size_t>(setNamed(term.caseName, 0, caseSets))],
                    term.factor);
    sets_.push_back(std::move(sum));
  }
  const ShearRecovery shear(x_, y_, triangles_);
  const DesignAngles angles =
      first_ ? DesignAnglesOf(first_->Mesh(), triangles_, static_cast<int>(x_.size()))
             : DesignAngles{};
  for (const ResultSet& set : sets_) design_.push_back(ComputeDesignColumns(set, shear, angles));

  const int count = static_cast<int>(sets_.size());
  for (const Envelope& envelope : all.envelopes) {
    std::vector<const ResultSet*> sets;
    std::vector<const DesignColumns*> design;
    for (const std::string& name : envelope.combinations) {
      const int s = setNamed(name, caseSets, count);
      if (s < 0) break;
      sets.push_back(&sets_[static_cast<std::size_t>(s)]);
      design.push_back(&design_[static_cast<std::size_t>(s)]);
    }
    if (sets.size() == envelope.combinations.size())
      envelopes_.push_back(BuildEnvelope(envelope.name, sets, design));
  }
}

}  // namespace tavrin
