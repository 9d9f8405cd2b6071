// CaseSolution: every load case of a job solved on its one mesh, then its combinations as
// factored sums of the case results and its envelopes over the combinations, each with its
// design columns.
//
// Owns the one solver of all cases (factored once; left answering for the first case: it gives
// the node numbering of every set, the constraints and the COSMOS file), each case's solve
// figures, the result sets
// (cases first, in job order, then the combinations), their design columns and the envelopes. The
// first case is solved from the mesh's own records, exactly as a job without cases is; a further
// case from the same mesh with its loads laid on by CaseMeshLoads, on the factor of the one
// case that is factored, all such cases back-substituted together.
// Combinations cost no solve.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "analysis/AnalysisOptions.h"
#include "analysis/DesignTable.h"
#include "analysis/Envelopes.h"
#include "analysis/PlateElement.h"
#include "analysis/ResultSet.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {

class FEM;
class SolveProgress;
class TObjCont;
struct LoadCases;

// The figures a solve reports besides its fields.
struct SolveFigures {
  int equations = 0;
  double residual = 0;
  double imbalance = 0;
  double errorEstimate = 0;
  bool elastic = false;  // springs or a foundation carry part of the load
  double springZ = 0;
  double foundationZ = 0;
};

class CaseSolution {
 public:
  // Solves the cases of `job` (as meshed) named by index in `cases` (every case when empty),
  // then every combination all of whose cases were solved, then every envelope all of whose
  // combinations were. Returns "" or one line naming the case that could not be solved (or
  // the fault LoadCases::Problem() finds); nothing is kept then. `progress` (not owned; may
  // be null; it must outlive this object, which keeps the solver) hears every case's solve and
  // may stop it, which fails the solve as a refusal does.
  std::string Solve(const FEM& mesh, const TObjCont& job, ElementKind element,
                    const AnalysisOptions& options, const std::vector<int>& cases = {},
                    SolveProgress* progress = nullptr);
  // The results of a job of one case whose solver (owned from here on) has already solved and
  // recovered it on `mesh`, as Solve would have: its result set, figures and design columns,
  // without a second solve (the adaptive cycles estimate first and keep only the last cycle's
  // results). Returns "" or why it cannot (a job of several cases, a solver without stresses).
  std::string Adopt(const FEM& mesh, const TObjCont& job, std::unique_ptr<TGlobMatrix> solved);

  // The two steps of Solve. SolveCases takes one mesh per case, all of one structure (the same
  // nodes, edges, triangles, constraint codes and materials; forces, prescribed values and
  // pressures differ), named; "" or the message naming the case that failed. Combine adds the
  // combinations and envelopes of `all` whose cases (combinations) are among the sets, and the
  // design columns of every set.
  std::string SolveCases(std::vector<std::pair<std::string, PlateMesh>> cases, ElementKind element,
                         const AnalysisOptions& options, SolveProgress* progress = nullptr);
  void Combine(const LoadCases& all);

  int CaseSets() const { return static_cast<int>(figures_.size()); }
  // Case sets 0 .. CaseSets() - 1, then the combinations.
  const std::vector<ResultSet>& Sets() const { return sets_; }
  const std::vector<DesignColumns>& Design() const { return design_; }
  const std::vector<NodeEnvelope>& Envelopes() const { return envelopes_; }
  // The solver of case set 0, and the figures of case set i (i < CaseSets()).
  const TGlobMatrix& First() const { return *first_; }
  // Hands the first case's solver over to a caller that shows one solve (the workbench after
  // an adaptive run); First() must not be asked afterwards.
  std::unique_ptr<TGlobMatrix> TakeFirst() { return std::move(first_); }
  const SolveFigures& Figures(int i) const { return figures_[static_cast<std::size_t>(i)]; }
  // Node positions and element corners in the sets' numbering (the first solver's).
  const std::vector<double>& X() const { return x_; }
  const std::vector<double>& Y() const { return y_; }
  const std::vector<std::array<int, 3>>& Triangles() const { return triangles_; }

 private:
  // Fills the node positions and corners from the first solver.
  void KeepGeometry();

  std::unique_ptr<TGlobMatrix> first_;
  std::vector<SolveFigures> figures_;
  std::vector<ResultSet> sets_;
  std::vector<DesignColumns> design_;
  std::vector<NodeEnvelope> envelopes_;
  std::vector<double> x_, y_;
  std::vector<std::array<int, 3>> triangles_;
};

}  // namespace tavrin
