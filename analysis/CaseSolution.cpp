// Solving the cases one after the other on copies of one mesh, then the linear combinations,
// the design columns and the envelopes. The cost is one solve per case (each factorizes the
// same matrix again) plus linear work per combination and envelope.
#include "analysis/CaseSolution.h"

#include "analysis/CaseMeshLoads.h"
#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace tavrin {

std::string CaseSolution::Solve(const FEM& mesh, const TObjCont& job, ElementKind element,
                                const AnalysisOptions& options, const std::vector<int>& cases) {
  *this = CaseSolution{};
  const LoadCases& all = job.Cases();
  if (std::string problem = all.Problem(); !problem.empty()) return problem;
  std::vector<int> which = cases;
  if (which.empty())
    for (int k = 0; k < all.CaseCount(); ++k) which.push_back(k);

  const PlateMesh base = PlateMesh::FromFem(mesh);
  std::unique_ptr<CaseMeshLoads> map;
  std::vector<int> setOfCase(static_cast<std::size_t>(all.CaseCount()), -1);
  for (const int k : which) {
    auto solver = std::make_unique<TGlobMatrix>(element);
    solver->SetOptions(options);
    if (k != 0 && !map) map = std::make_unique<CaseMeshLoads>(mesh, job);
    const int rc = solver->SolveStatic(k == 0 ? base : map->Apply(base, job.CaseLoads(k)));
    const std::string name = all.CaseName(k);
    if (rc != kSolveOk) {
      const std::string message = solver->Failure().message;
      *this = CaseSolution{};
      return "case '" + name + "': " + message;
    }
    if (solver->SolveStress() != 0) {
      *this = CaseSolution{};
      return "case '" + name +
             "': the stresses exceed the range of numbers; check the prescribed displacements "
             "and the loads against the plate's stiffness";
    }
    const TGlobMatrix& reference = solvers_.empty() ? *solver : *solvers_[0];
    sets_.push_back(ResultSet::FromSolver(*solver, reference, name));
    setOfCase[static_cast<std::size_t>(k)] = static_cast<int>(solvers_.size());
    solvers_.push_back(std::move(solver));
  }

  const TGlobMatrix& first = *solvers_[0];
  for (int v = 0; v < first.ResultNodeCount(); ++v) {
    x_.push_back(first.NodeX(v));
    y_.push_back(first.NodeY(v));
  }
  for (int t = 0; t < first.ResultTriangleCount(); ++t)
    triangles_.push_back(
        {first.TriangleCorner(t, 0), first.TriangleCorner(t, 1), first.TriangleCorner(t, 2)});

  std::vector<int> setOfCombination(all.combinations.size(), -1);
  for (std::size_t c = 0; c < all.combinations.size(); ++c) {
    const Combination& combination = all.combinations[c];
    bool solved = true;
    for (const CombinationTerm& term : combination.terms)
      solved = solved && setOfCase[static_cast<std::size_t>(all.FindCase(term.caseName))] >= 0;
    if (!solved) continue;
    ResultSet sum = sets_[0].ZeroLike(combination.name);
    for (const CombinationTerm& term : combination.terms) {
      const int s = setOfCase[static_cast<std::size_t>(all.FindCase(term.caseName))];
      sum.AddScaled(sets_[static_cast<std::size_t>(s)], term.factor);
    }
    setOfCombination[c] = static_cast<int>(sets_.size());
    sets_.push_back(std::move(sum));
  }
  for (const ResultSet& set : sets_)
    design_.push_back(ComputeDesignColumns(set, x_, y_, triangles_));

  for (const Envelope& envelope : all.envelopes) {
    std::vector<const ResultSet*> sets;
    std::vector<const DesignColumns*> design;
    for (const std::string& name : envelope.combinations) {
      const int s = setOfCombination[static_cast<std::size_t>(all.FindCombination(name))];
      if (s < 0) break;
      sets.push_back(&sets_[static_cast<std::size_t>(s)]);
      design.push_back(&design_[static_cast<std::size_t>(s)]);
    }
    if (sets.size() == envelope.combinations.size())
      envelopes_.push_back(BuildEnvelope(envelope.name, sets, design));
  }
  return {};
}

}  // namespace tavrin
