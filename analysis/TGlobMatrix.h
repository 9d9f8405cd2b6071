// TGlobMatrix: the static analysis of one meshed plate, the façade the workbench, the command
// line and the tests use. The work is done in steps, each in its own file:
//   DofNumbering   freedom numbering and constraints (DofNumbering.cpp)
//   SystemMatrix   the reduced stiffness on the sparse or the envelope solver (SparseSystem.cpp,
//                  EnvelopeSystem.cpp), chosen once by the options
//   Assembly       element stiffnesses and other stiffness terms into it (Assembly.cpp)
//   LoadVector     pressures, node and edge loads (LoadVector.cpp)
//   the solve      StaticSolve.cpp; its check and the reactions in SolutionCheck.cpp
//   StaticSolution what recovery, views and exports read
//   SolveStress    StressRecovery.cpp, ErrorEstimate.cpp; exports in CosmosExport.cpp,
//                  StiffnessExport.cpp
//
// Owns the solver's copy of the mesh, the system matrix (kept after a solve for its figures), the
// solution, and after SolveStress the element and nodal stresses and bending moments and the
// element error estimates. Expects a mesh whose triangles
// all have a positive thickness and modulus; reports anything it cannot solve through the code
// of SolveStatic and the Failure() record, never by an exception (running out of memory
// included).
//
// Node arguments of the result queries are the solver's node numbers (NewNumberOf converts a
// mesh node index). Value queries answer 1e200 for an index out of range or a value not yet
// computed; index queries answer -1.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/AnalysisOptions.h"
#include "analysis/ElementRecovery.h"
#include "analysis/ExportResult.h"
#include "analysis/PlateElement.h"
#include "analysis/PlateMesh.h"
#include "analysis/SolveCode.h"
#include "analysis/SolveProgress.h"
#include "analysis/StaticSolution.h"
#include "containers/Sentinels.h"

namespace tavrin {

class FEM;
class PatchRecovery;
class SystemMatrix;
struct ElasticTerms;
struct HeldElements;

// The result fields: the six of the workbench's field selector, in its order, then the three
// bending moments per unit width.
enum class ResultField {
  LinZ = 0,
  RotX = 1,
  RotY = 2,
  SigmaX = 3,
  SigmaY = 4,
  TauXY = 5,
  MomentX = 6,
  MomentY = 7,
  MomentXY = 8,
};
inline constexpr int kResultFieldCount = 9;

// What went wrong in the last SolveStatic, with the entities a message should name.
struct SolveFailure {
  SolveCode code = SolveCode::Ok;
  int element = -1;     // triangle index (degenerate element)
  int equation = -1;    // equation 3 * node + freedom in the solver's numbering (pivot failures)
  int node = -1;        // solver node number of that equation, or of the isolated node
  int meshNode = -1;    // the same node as a mesh node index
  int freedom = -1;     // 0 LinZ, 1 RotX, 2 RotY
  std::string message;  // one line, ready for a message box
};

// Writes the 9 x 9 stiffness of triangle t of a mesh, as the given element builds it, without
// solving. Never answers NoSolution.
[[nodiscard]] ExportResult WriteElementStiffness(const PlateMesh& mesh, ElementKind element,
                                                 int triangle, const std::string& fileName);

class TGlobMatrix {
 public:
  // Solves with the given options (the defaults of AnalysisOptions when none are given);
  // SetOptions replaces them before a solve. The progress reporter is not owned.
  explicit TGlobMatrix(ElementKind element = ElementKind::Dkt, SolveProgress* progress = nullptr);
  TGlobMatrix(ElementKind element, const AnalysisOptions& options,
              SolveProgress* progress = nullptr);
  ~TGlobMatrix();
  TGlobMatrix(const TGlobMatrix&) = delete;
  TGlobMatrix& operator=(const TGlobMatrix&) = delete;

  // Renumbers, assembles, applies loads and constraints, factorizes and solves. Returns Ok or
  // the failure; on failure nothing reads as solved and Failure() has the detail.
  SolveCode SolveStatic(const FEM& mesh);
  SolveCode SolveStatic(PlateMesh mesh);
  // Another load case of the mesh just solved: `mesh` has the same tables and constraint codes,
  // only its forces, prescribed values and pressures differ. Reuses the numbering and the
  // factor (StaticSolveLoads.cpp): a back-substitution and the check, no factorization. Needs
  // a successful solve; the results then answer for this case. Fails with EmptyMesh when there
  // is no factor to reuse, and with AdjacencyFailed when the tables or the constrained freedoms
  // differ (the factor is kept for a next case either way).
  SolveCode SolveLoads(PlateMesh mesh);
  // Several further load cases as SolveLoads solves each, with one pass over the factor for
  // all: every case's right-hand side is built, all are back-substituted together, and then
  // case after case is checked and made the one the results answer for, `each` hearing its
  // index and code (Ok, or the failure, Failure() telling it) before the next is taken.
  // `each` returning false ends the run. Returns the code of the last case heard. A SolveStress
  // called from `each` reuses what the one before it computed from the mesh alone (the patch
  // fits), and recovers the element values and patch fits of the next cases with its own
  // (kCasesRecoveredTogether at a time), which theirs then take: the same values to the bit.
  SolveCode SolveLoadCases(std::vector<PlateMesh> meshes,
                           const std::function<bool(std::size_t, SolveCode)>& each);
  const SolveFailure& Failure() const { return failure_; }
  bool IsSolved() const { return solved_; }
  const AnalysisOptions& Options() const { return options_; }
  void SetOptions(const AnalysisOptions& options) { options_ = options; }

  // The check every solution passes before it is reported, measured on the element matrices
  // (not on the factored storage) in extended precision: ||K u - f|| / ||f|| over the free
  // equations, and the balance of loads and reactions in the vertical forces and the moments
  // about x and y, each against the larger of the load and the reaction (StaticSolution). A
  // solve above kResidualLimit or kImbalanceLimit fails with Inaccurate (and keeps these
  // figures); the message names a material cause or a prescribed displacement at fault.
  // The residual of a sound solve grows with the system's condition, that is with the
  // refinement of the mesh: about 1e-11 from the sparse solver and 2e-9 from the envelope
  // solver (which rounds the element coefficients to double) at 150,000 equations, 2e-9 at
  // 254,000 from the envelope. Materials 1e9 times apart, or slivers that make the system
  // singular to working precision, give 1e-5 and more, and displacements with no correct
  // digit. 1e-6 keeps a margin of several hundred above the sound cases. The imbalance is
  // round-off of the sums (below 1e-15 on the examples); 1e-9 leaves a wide margin, and a load
  // lost in the round-off of a huge prescribed displacement's reactions shows far above it.
  static constexpr double kResidualLimit = 1e-6;
  static constexpr double kImbalanceLimit = 1e-9;
  double RelativeResidual() const { return solution_.relativeResidual; }
  double LoadImbalance() const { return solution_.loadImbalance; }

  // Element and nodal stresses and moments, centroid deflections and element error estimates.
  // Nodal values come from the recovery the options choose (patch fit or plain average). Needs a
  // successful SolveStatic; returns 0, 1 when there is no solution, 2 (and no stresses) when
  // they exceed a double, as from an enormous prescribed displacement, or 3 when stopped
  // (SolveProgress::StopRequested). Reports its progress every 4096 elements, as "Stress
  // recovery #" with the element index (the caller hides the progress window). It works on the
  // solver's own copy of the solved mesh.
  StressCode SolveStress();
  bool HasStresses() const { return hasStresses_; }

  // Displacement of a freedom (0 LinZ, 1 RotX, 2 RotY) of a node: the solution for a free one,
  // the prescribed value for a constrained one.
  long double Displacement(int node, int dof) const;
  double ElementStress(int triangle, int component) const;  // sigma X, sigma Y, tau XY
  double NodeStress(int node, int component) const;
  double ElementMoment(int triangle, int component) const;  // Mx, My, Mxy per unit width
  double NodeMoment(int node, int component) const;
  double CentroidDeflection(int triangle) const;
  // The value a result view shows at a node: Displacement for fields 0 to 2, NodeStress for 3
  // to 5, NodeMoment for 6 to 8.
  double NodeValue(int node, ResultField field) const;
  // The element value of a stress or moment field (3 to 8): ElementStress or ElementMoment.
  double ElementValue(int triangle, ResultField field) const;
  // Error estimate of an element: the energy norm, over the element, of the difference between
  // its own moments and the recovered moment field (interpolated linearly from the nodal
  // values), sqrt(integral of dM . C dM) with C the plate's bending compliance. Units of the
  // square root of an energy; what an adaptive mesh compares between elements.
  double ElementError(int triangle) const;
  // The global relative estimate: sqrt(sum of squared element errors / (energy + that sum)),
  // the energy being the same integral of the element moments themselves. kNoValue without
  // stresses.
  double ErrorEstimate() const;

  // Reaction at a constrained freedom (K u - f there); 0 for a free one.
  double Reaction(int node, int dof) const;
  bool IsConstrained(int node, int dof) const;
  double LoadZ() const { return solution_.loadZ; }          // sum of applied vertical loads
  double ReactionZ() const { return solution_.reactionZ; }  // sum of vertical reactions
  // Springs and foundation: the force a spring exerts on a free freedom (-k u; 0 elsewhere),
  // the sums of their vertical forces, whether the plate has any, and the foundation pressure
  // k w under a node (0 without a foundation). Node is a solver node number.
  double SpringForce(int node, int dof) const;
  double SpringZ() const { return solution_.springZ; }
  double FoundationZ() const { return solution_.foundationZ; }
  bool HasSprings() const { return !solution_.springForces.empty(); }
  double FoundationPressure(int node) const;
  // The same for a deflection w at the node from any set on this mesh (a further case, a
  // combination, an envelope's extreme): the pressure is linear in w and the modulus is the
  // structure's. 0 without a foundation.
  double FoundationPressure(int node, double w) const;
  // The solution as the recovery and the exports read it; valid after a successful SolveStatic.
  const StaticSolution& Solution() const { return solution_; }

  int ResultNodeCount() const { return nodeCount_; }
  int ResultTriangleCount() const { return triangleCount_; }
  int NewNumberOf(int meshNode) const;                 // -1 out of range
  int MeshNodeOf(int node) const;                      // -1 out of range
  int TriangleCorner(int triangle, int corner) const;  // solver node number, -1 out of range
  double NodeX(int node) const;                        // position by solver node number
  double NodeY(int node) const;
  const PlateMesh& Mesh() const { return mesh_; }
  ElementKind Element() const { return elementKind_; }

  int EquationCount() const { return freeCount_; }  // size of the reduced system
  std::int64_t EnvelopeSize() const {
    return envelopeSize_;
  }  // stored off-diagonal entries (envelope solver)
  std::int64_t EnvelopeLength(
      int equation) const;  // off-diagonal entries of reduced row; -1 for the sparse solver
  std::int64_t FactorEntries() const {
    return factorEntries_;
  }  // stored entries of the factor, either solver

  // Writes the solved model as a COSMOS input file: Written, CannotCreate or NoSolution.
  [[nodiscard]] ExportResult ExportCosmos(const std::string& fileName) const;
  // Writes the 9 x 9 stiffness of triangle t of the element the solve used; any result.
  [[nodiscard]] ExportResult WriteLocalStiffness(const std::string& fileName, int triangle) const;

 private:
  SolveCode Fail(SolveCode code, const std::string& message);
  // Fails naming the equation of a reduced row (its node, position and freedom), or the row
  // alone when no free equation has it.
  SolveCode FailAtRow(int row, SolveCode code, const char* what, const char* why);
  void Progress(const std::string& caption, int position, int index, int total) const;
  bool StopRequested() const { return progress_ && progress_->StopRequested(); }
  void ClearResults();
  SolveCode Solve();
  SolveCode CheckTables();
  SolveCode Number();
  SolveCode Factorize();
  // Adds the loads of `mesh` (numbered and marked as the solution's numbering) to the reduced
  // right-hand side `rhs` and gives their rounded vector and vertical sum for the check and the
  // reactions.
  void AddLoads(const PlateMesh& mesh, std::vector<long double>& rhs, std::vector<double>& loads,
                double& loadZ) const;
  static long double LoadNorm(const std::vector<long double>& rhs);  // Euclidean
  // Back-substitutes the right-hand side with the factor, then CheckSolved.
  SolveCode SolveAndCheck(const ElasticTerms& elastic);
  // With the solution's displacements in place: refuses a displacement beyond a double and
  // checks the solution against the reduced loads (given when the matrix keeps its assembled
  // values) and their norm, springs and foundation in the balance when any; `residualSquares`
  // as the solve gave it (SystemMatrix::SolveColumns), or null.
  SolveCode CheckSolved(long double loadNorm, const std::vector<long double>& reducedLoad,
                        const ElasticTerms& elastic, const long double* residualSquares);
  // Clears the last case's results, keeping the numbering and the factor for a next case.
  void ClearCaseResults();
  // `product`: the matrix times the displacements when already taken (CheckSolution).
  SolveCode Verify(long double loadNorm, const std::vector<long double>& reducedLoad,
                   const ElasticTerms* elastic, const long double* residualSquares);
  StressCode RecoverStresses();
  // The element values of the current case: taken from those a SolveLoadCases run recovered
  // together (recovering the group from this case on first), or recovered from the solution.
  // With a group of cases and the patch recovery, also `nodal`, the patch fits' stresses and
  // moments (six per node); otherwise `nodal` is left empty. False when stopped.
  bool CaseElementValues(ElementValues& values, std::vector<double>& nodal);
  // The patch recovery of `components` values per triangle into `nodal`, on the fits a run of
  // cases keeps (made by its first recovery).
  void PatchAtNodes(const std::vector<double>& values, int components, std::vector<double>& nodal);
  // The mesh's patch recovery: the one a run of cases keeps (made here by its first recovery,
  // then owned by the solver), or one made into `made` for this call alone.
  PatchRecovery& MeshPatchRecovery(std::unique_ptr<PatchRecovery>& made);
  void AverageAtNodes();
  void EstimateErrors();
  const std::vector<std::array<int, 3>>& TriangleNodes() const {
    return solution_.numbering.TriangleNodes();
  }

  ElementKind elementKind_;
  SolveProgress* progress_;  // not owned; may be null
  AnalysisOptions options_;
  PlateMesh mesh_;
  SolveFailure failure_;
  bool solved_ = false;
  bool hasStresses_ = false;

  int nodeCount_ = 0;
  int triangleCount_ = 0;
  int freeCount_ = 0;
  std::int64_t envelopeSize_ = 0;
  std::int64_t factorEntries_ = 0;

  std::unique_ptr<SystemMatrix> matrix_;  // reduced stiffness, then its factor; kept when solved
  StaticSolution solution_;

  std::vector<double> elementStress_, nodeStress_, elementMoment_, nodeMoment_, centroidDeflection_;
  std::vector<double> elementError_;
  double errorEstimate_ = 0;

  // What the cases of a SolveLoadCases run share (they have one mesh), kept from case to case
  // while it runs and released when it returns: the patch recovery of the mesh (made by the
  // first recovery; with its fits when the run has more than one group of cases), every solved
  // case's displacements (three per solver node, by its column among the cases solved), and
  // the element values of the cases recovered together ahead of their turn
  // (kCasesRecoveredTogether at a time, from the first case recovered; 56 bytes a triangle and
  // case). Sixteen: the nine further cases of a ten-case job in one pass.
  // caseColumn_ is the column of the case the results answer for, -1 when there is none or its
  // values were taken.
  static constexpr std::size_t kCasesRecoveredTogether = 16;
  bool keepsRecovery_ = false;
  // The stiffness of the elements at a constrained freedom, made by the first check of the
  // structure and read by the checks of its further cases (SolutionCheck).
  std::unique_ptr<HeldElements> heldElements_;
  std::vector<std::vector<double>> caseDisplacements_;
  std::vector<ElementValues> caseElements_;
  std::vector<std::vector<double>> caseNodal_;  // their patch fits (CaseElementValues)
  int caseColumn_ = -1;
  std::unique_ptr<PatchRecovery> patchRecovery_;
};

}  // namespace tavrin
