// Stress recovery: centroid stresses, moments and deflection of every element, then nodal
// values by the recovery the options choose (patch fit or the plain mean of the elements at a
// node), then the element error estimates. Linear in the number of elements. The cases of a
// SolveLoadCases run are recovered a group at a time: one pass over the elements and one over
// the patches for the group, each case then taking its own values when its turn comes.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "analysis/PatchRecovery.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {

namespace {
const char kStressRecoveryCaption[] = "Stress recovery #";
}  // namespace

StressCode TGlobMatrix::SolveStress() {
  hasStresses_ = false;
  if (!solved_) return StressCode::NoSolution;
  const StressCode rc = RecoverStresses();
  if (rc != StressCode::Ok) {
    for (auto* values : {&elementStress_, &elementMoment_, &centroidDeflection_, &nodeStress_,
                         &nodeMoment_, &elementError_})
      values->clear();
    return rc;
  }
  hasStresses_ = true;
  return StressCode::Ok;
}

bool TGlobMatrix::CaseElementValues(ElementValues& values, std::vector<double>& nodal) {
  auto goOn = [this](int t) {
    // The only reports of the recovery: they let a progress window take its Stop click.
    Progress(kStressRecoveryCaption, t, t, triangleCount_);
    return !StopRequested();
  };
  std::vector<const std::vector<double>*> sets;
  std::vector<double> own;
  const auto column = static_cast<std::size_t>(caseColumn_);
  const bool ofRun = caseColumn_ >= 0 && column < caseDisplacements_.size();
  if (ofRun && column < caseElements_.size() && !caseElements_[column].stress.empty()) {
    values = std::move(caseElements_[column]);
    if (column < caseNodal_.size()) nodal = std::move(caseNodal_[column]);
    caseColumn_ = -1;  // taken: a second recovery of the case recovers it alone
    return true;
  }
  if (ofRun) {
    // This case and the next ones of the run, in one pass over the elements.
    const std::size_t end = std::min(caseDisplacements_.size(), column + kCasesRecoveredTogether);
    for (std::size_t c = column; c < end; ++c) sets.push_back(&caseDisplacements_[c]);
  } else {
    own.resize(3 * static_cast<std::size_t>(nodeCount_));
    for (int v = 0; v < nodeCount_; ++v)
      for (int d = 0; d < 3; ++d)
        own[3 * static_cast<std::size_t>(v) + d] =
            static_cast<double>(solution_.Displacement(v, d));
    sets.push_back(&own);
  }
  std::vector<ElementValues> recovered;
  if (!RecoverElements(mesh_, elementKind_, TriangleNodes(), sets, recovered, goOn)) return false;
  const std::size_t group = recovered.size();
  if (group > 1 && options_.recovery == RecoveryKind::Patch) {
    // The group's patch fits too, all its stresses and moments side by side: each value is
    // fitted on its own, so each case's come out as its own recovery gives them, and the
    // patches are read once for the group. Read from the cases' arrays and written into each
    // case's nodal array, with no copy of the group's values in between.
    static_assert(6 * kCasesRecoveredTogether <= PatchRecovery::kMaxComponents);
    const auto nodes = static_cast<std::size_t>(nodeCount_);
    caseNodal_.resize(caseDisplacements_.size());
    PatchRecovery::Layout layout;
    layout.inStride = 3;
    layout.outStride = 6;
    for (std::size_t s = 0; s < group; ++s) {
      std::vector<double>& own = s == 0 ? nodal : caseNodal_[column + s];
      own.resize(6 * nodes);
      for (const std::vector<double>* field : {&recovered[s].stress, &recovered[s].moment})
        for (std::size_t c = 0; c < 3; ++c) layout.in.push_back(field->data() + c);
      for (std::size_t c = 0; c < 6; ++c) layout.out.push_back(own.data() + c);
    }
    std::unique_ptr<PatchRecovery> made;
    MeshPatchRecovery(made).Recover(layout);
  }
  values = std::move(recovered[0]);
  if (ofRun) {
    caseElements_.resize(caseDisplacements_.size());
    for (std::size_t s = 1; s < group; ++s) caseElements_[column + s] = std::move(recovered[s]);
    caseColumn_ = -1;
  }
  return true;
}

PatchRecovery& TGlobMatrix::MeshPatchRecovery(std::unique_ptr<PatchRecovery>& made) {
  if (patchRecovery_) return *patchRecovery_;
  std::vector<double> x(nodeCount_), y(nodeCount_);
  for (int v = 0; v < nodeCount_; ++v) {
    x[v] = NodeX(v);
    y[v] = NodeY(v);
  }
  made = std::make_unique<PatchRecovery>(x, y, TriangleNodes());
  if (!keepsRecovery_) return *made;
  // The fits are worth their memory (some 500 bytes a node) only to a run that recovers its
  // cases in more than one group.
  if (caseDisplacements_.size() > kCasesRecoveredTogether) made->KeepFits();
  patchRecovery_ = std::move(made);
  return *patchRecovery_;
}

void TGlobMatrix::PatchAtNodes(const std::vector<double>& values, int components,
                               std::vector<double>& nodal) {
  std::unique_ptr<PatchRecovery> made;
  MeshPatchRecovery(made).Recover(values, components, nodal);
}

StressCode TGlobMatrix::RecoverStresses() {
  ElementValues values;
  std::vector<double> nodal;  // the patch fits' six values per node, when recovered already
  if (!CaseElementValues(values, nodal)) return StressCode::Stopped;
  elementStress_ = std::move(values.stress);
  elementMoment_ = std::move(values.moment);
  centroidDeflection_ = std::move(values.deflection);
  // A prescribed displacement near the top of the double range solves, but the stresses from
  // it overflow: better none than NaN in the views and tables.
  for (const std::vector<double>* values : {&elementStress_, &elementMoment_, &centroidDeflection_})
    for (double x : *values)
      if (!std::isfinite(x)) return StressCode::OutOfRange;
  if (StopRequested()) return StressCode::Stopped;

  if (options_.recovery == RecoveryKind::Patch) {
    if (nodal.empty()) {
      // Stresses and moments fitted together: one patch solve serves all six.
      std::vector<double> both(6 * static_cast<size_t>(triangleCount_));
      for (int t = 0; t < triangleCount_; ++t)
        for (int c = 0; c < 3; ++c) {
          both[6 * t + c] = elementStress_[3 * t + c];
          both[6 * t + 3 + c] = elementMoment_[3 * t + c];
        }
      PatchAtNodes(both, 6, nodal);
    }
    nodeStress_.assign(3 * static_cast<size_t>(nodeCount_), 0.0);
    nodeMoment_.assign(3 * static_cast<size_t>(nodeCount_), 0.0);
    for (int v = 0; v < nodeCount_; ++v)
      for (int c = 0; c < 3; ++c) {
        nodeStress_[3 * v + c] = nodal[6 * v + c];
        nodeMoment_[3 * v + c] = nodal[6 * v + 3 + c];
      }
  } else {
    AverageAtNodes();
  }
  for (const std::vector<double>* values : {&nodeStress_, &nodeMoment_})
    for (double x : *values)
      if (!std::isfinite(x)) return StressCode::OutOfRange;
  EstimateErrors();
  return StressCode::Ok;
}

// The plain mean of the element values at each node, every element counting once whatever its
// size; a node of no triangle keeps zeros.
void TGlobMatrix::AverageAtNodes() {
  nodeStress_.assign(3 * static_cast<size_t>(nodeCount_), 0.0);
  nodeMoment_.assign(3 * static_cast<size_t>(nodeCount_), 0.0);
  std::vector<int> touching(nodeCount_, 0);
  for (int t = 0; t < triangleCount_; ++t)
    for (int k = 0; k < 3; ++k) {
      const int v = TriangleNodes()[t][k];
      ++touching[v];
      for (int c = 0; c < 3; ++c) {
        nodeStress_[3 * v + c] += elementStress_[3 * t + c];
        nodeMoment_[3 * v + c] += elementMoment_[3 * t + c];
      }
    }
  for (int v = 0; v < nodeCount_; ++v) {
    if (touching[v] == 0) continue;
    for (int c = 0; c < 3; ++c) {
      nodeStress_[3 * v + c] /= touching[v];
      nodeMoment_[3 * v + c] /= touching[v];
    }
  }
}

double TGlobMatrix::ElementStress(int triangle, int component) const {
  if (!hasStresses_ || triangle < 0 || triangle >= triangleCount_ || component < 0 || component > 2)
    return kNoValue;
  return elementStress_[3 * triangle + component];
}

double TGlobMatrix::NodeStress(int node, int component) const {
  if (!hasStresses_ || node < 0 || node >= nodeCount_ || component < 0 || component > 2)
    return kNoValue;
  return nodeStress_[3 * node + component];
}

double TGlobMatrix::ElementMoment(int triangle, int component) const {
  if (!hasStresses_ || triangle < 0 || triangle >= triangleCount_ || component < 0 || component > 2)
    return kNoValue;
  return elementMoment_[3 * triangle + component];
}

double TGlobMatrix::NodeMoment(int node, int component) const {
  if (!hasStresses_ || node < 0 || node >= nodeCount_ || component < 0 || component > 2)
    return kNoValue;
  return nodeMoment_[3 * node + component];
}

double TGlobMatrix::CentroidDeflection(int triangle) const {
  if (!hasStresses_ || triangle < 0 || triangle >= triangleCount_) return kNoValue;
  return centroidDeflection_[triangle];
}

double TGlobMatrix::NodeValue(int node, ResultField field) const {
  const int f = static_cast<int>(field);
  if (f >= 0 && f <= 2) return static_cast<double>(Displacement(node, f));
  if (f >= 3 && f <= 5) return NodeStress(node, f - 3);
  if (f >= 6 && f <= 8) return NodeMoment(node, f - 6);
  return kNoValue;
}

double TGlobMatrix::ElementValue(int triangle, ResultField field) const {
  const int f = static_cast<int>(field);
  if (f >= 3 && f <= 5) return ElementStress(triangle, f - 3);
  if (f >= 6 && f <= 8) return ElementMoment(triangle, f - 6);
  return kNoValue;
}

}  // namespace tavrin
