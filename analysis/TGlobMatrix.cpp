// The façade's own part: construction, clearing between solves, progress, and the queries of
// the solution by solver node number. The steps of the solve are in StaticSolve.cpp and the files
// it names.
#include "analysis/TGlobMatrix.h"

#include "analysis/PatchRecovery.h"
#include "analysis/SolutionCheck.h"
#include "analysis/SystemMatrix.h"

namespace tavrin {

TGlobMatrix::TGlobMatrix(ElementKind element, SolveProgress* progress)
    : TGlobMatrix(element, AnalysisOptions(), progress) {}

TGlobMatrix::TGlobMatrix(ElementKind element, const AnalysisOptions& options,
                         SolveProgress* progress)
    : elementKind_(element), progress_(progress), options_(options) {}

TGlobMatrix::~TGlobMatrix() = default;

void TGlobMatrix::Progress(const std::string& caption, int position, int index, int total) const {
  if (!progress_) return;
  progress_->ShowSolveProgress(caption, position, index, total);
  progress_->ProcessEvents();
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
  keepsRecovery_ = false;
  caseDisplacements_.clear();
  caseElements_.clear();
  caseNodal_.clear();
  caseColumn_ = -1;
  patchRecovery_.reset();
  heldElements_.reset();
  freeCount_ = 0;
  envelopeSize_ = factorEntries_ = 0;
  matrix_.reset();
  // Nothing of an earlier solve may answer for this mesh, even when this one stops early.
  solution_ = StaticSolution();
}

long double TGlobMatrix::Displacement(int node, int dof) const {
  if (!solved_ || node < 0 || node >= nodeCount_ || dof < 0 || dof > 2) return kNoValue;
  return solution_.Displacement(node, dof);
}

bool TGlobMatrix::IsConstrained(int node, int dof) const {
  if (!solution_.numbering.HasConstraints() || node < 0 || node >= nodeCount_ || dof < 0 || dof > 2)
    return false;
  return solution_.numbering.IsFixed(3 * node + dof);
}

double TGlobMatrix::Reaction(int node, int dof) const {
  if (!solved_ || node < 0 || node >= nodeCount_ || dof < 0 || dof > 2) return kNoValue;
  return solution_.reactions[3 * node + dof];
}

double TGlobMatrix::SpringForce(int node, int dof) const {
  if (!solved_ || node < 0 || node >= nodeCount_ || dof < 0 || dof > 2) return kNoValue;
  return solution_.springForces.empty() ? 0.0 : solution_.springForces[3 * node + dof];
}

double TGlobMatrix::FoundationPressure(int node) const {
  if (!solved_ || node < 0 || node >= nodeCount_) return kNoValue;
  if (solution_.foundationModulus.empty()) return 0.0;
  return solution_.foundationModulus[node] * static_cast<double>(Displacement(node, 0));
}

double TGlobMatrix::FoundationPressure(int node, double w) const {
  if (!solved_ || node < 0 || node >= nodeCount_) return kNoValue;
  if (solution_.foundationModulus.empty()) return 0.0;
  return solution_.foundationModulus[node] * w;
}

int TGlobMatrix::NewNumberOf(int meshNode) const {
  const auto& meshToNew = solution_.numbering.MeshToNew();
  if (meshNode < 0 || meshNode >= static_cast<int>(meshToNew.size())) return -1;
  return meshToNew[meshNode];
}

int TGlobMatrix::MeshNodeOf(int node) const {
  const auto& newToMesh = solution_.numbering.NewToMesh();
  if (node < 0 || node >= static_cast<int>(newToMesh.size())) return -1;
  return newToMesh[node];
}

int TGlobMatrix::TriangleCorner(int triangle, int corner) const {
  const auto& nodes = TriangleNodes();
  if (triangle < 0 || triangle >= static_cast<int>(nodes.size()) || corner < 0 || corner > 2)
    return -1;
  return nodes[triangle][corner];
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
  return matrix_ ? matrix_->EnvelopeLength(equation) : -1;
}

}  // namespace tavrin
