// Stress recovery: centroid stresses, moments and deflection of every element, then the plain
// mean of the element values at each node. Linear in the number of elements.
#include <cmath>
#include <vector>

#include "analysis/PlateElement.h"
#include "analysis/TGlobMatrix.h"

namespace tavrin {

int TGlobMatrix::SolveStress() {
  if (!solved_) return 1;
  elementStress_.assign(3 * static_cast<size_t>(triangleCount_), 0.0);
  elementMoment_.assign(3 * static_cast<size_t>(triangleCount_), 0.0);
  centroidDeflection_.assign(triangleCount_, 0.0);
  nodeStress_.assign(3 * static_cast<size_t>(nodeCount_), 0.0);
  nodeMoment_.assign(3 * static_cast<size_t>(nodeCount_), 0.0);

  auto element = MakePlateElement(elementKind_);
  double record[20];
  // Triangles touching each node (solver numbering), as counts and sums: no fixed capacity.
  std::vector<int> touching(nodeCount_, 0);
  std::vector<double> sum(3 * static_cast<size_t>(nodeCount_), 0.0);
  for (int t = 0; t < triangleCount_; ++t) {
    ElementInput(t, record);
    const auto& tn = triangleNodes_[t];
    for (int k = 0; k < 9; ++k) record[10 + k] = static_cast<double>(Displacement(tn[k / 3], k % 3));
    record[19] = 0;
    if (element->RecoverStress(record) == kElementOk) {
      const double t2 = record[9] * record[9] / 6.0;
      for (int c = 0; c < 3; ++c) {
        elementStress_[3 * t + c] = record[13 + c];
        elementMoment_[3 * t + c] = record[13 + c] * t2;
      }
      centroidDeflection_[t] = record[19];
    }
    for (int k = 0; k < 3; ++k) {
      ++touching[tn[k]];
      for (int c = 0; c < 3; ++c) sum[3 * tn[k] + c] += elementStress_[3 * t + c];
    }
  }
  // Moments are averaged the same way, through each triangle's own thickness.
  std::vector<double> momentSum(3 * static_cast<size_t>(nodeCount_), 0.0);
  for (int t = 0; t < triangleCount_; ++t)
    for (int k = 0; k < 3; ++k)
      for (int c = 0; c < 3; ++c) momentSum[3 * triangleNodes_[t][k] + c] += elementMoment_[3 * t + c];
  for (int v = 0; v < nodeCount_; ++v) {
    if (touching[v] == 0) continue;  // a node of no triangle keeps zeros
    for (int c = 0; c < 3; ++c) {
      nodeStress_[3 * v + c] = sum[3 * v + c] / touching[v];
      nodeMoment_[3 * v + c] = momentSum[3 * v + c] / touching[v];
    }
  }
  // A prescribed displacement near the top of the double range solves, but the stresses from
  // it overflow: better none than NaN in the views and tables.
  for (const std::vector<double>* values :
       {&elementStress_, &elementMoment_, &centroidDeflection_, &nodeStress_, &nodeMoment_})
    for (double x : *values)
      if (!std::isfinite(x)) return 2;
  hasStresses_ = true;
  return 0;
}

double TGlobMatrix::ElementStress(int triangle, int component) const {
  if (!hasStresses_ || triangle < 0 || triangle >= triangleCount_ || component < 0 || component > 2) return kNoValue;
  return elementStress_[3 * triangle + component];
}

double TGlobMatrix::NodeStress(int node, int component) const {
  if (!hasStresses_ || node < 0 || node >= nodeCount_ || component < 0 || component > 2) return kNoValue;
  return nodeStress_[3 * node + component];
}

double TGlobMatrix::ElementMoment(int triangle, int component) const {
  if (!hasStresses_ || triangle < 0 || triangle >= triangleCount_ || component < 0 || component > 2) return kNoValue;
  return elementMoment_[3 * triangle + component];
}

double TGlobMatrix::NodeMoment(int node, int component) const {
  if (!hasStresses_ || node < 0 || node >= nodeCount_ || component < 0 || component > 2) return kNoValue;
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
  return kNoValue;
}

}  // namespace tavrin
