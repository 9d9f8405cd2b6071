// Copying a solver's results into a set, and the factored sums of combinations.
#include "analysis/ResultSet.h"

#include "analysis/TGlobMatrix.h"

namespace tavrin {

ResultSet ResultSet::FromSolver(const TGlobMatrix& s, const TGlobMatrix& reference,
                                const std::string& name) {
  ResultSet r;
  r.name = name;
  r.nodes = reference.ResultNodeCount();
  r.elements = reference.ResultTriangleCount();
  r.node.resize(static_cast<std::size_t>(kNodeColumns) * static_cast<std::size_t>(r.nodes));
  r.reaction.resize(3 * static_cast<std::size_t>(r.nodes));
  for (int v = 0; v < r.nodes; ++v) {
    const int own = s.NewNumberOf(reference.MeshNodeOf(v));
    const auto at = static_cast<std::size_t>(v);
    for (int k = 0; k < kNodeColumns; ++k)
      r.node[kNodeColumns * at + static_cast<std::size_t>(k)] =
          s.NodeValue(own, static_cast<ResultField>(k));
    for (int d = 0; d < 3; ++d)
      r.reaction[3 * at + static_cast<std::size_t>(d)] = s.Reaction(own, d);
  }
  r.element.resize(static_cast<std::size_t>(kElementColumns) *
                   static_cast<std::size_t>(r.elements));
  for (int t = 0; t < r.elements; ++t) {
    const auto at = kElementColumns * static_cast<std::size_t>(t);
    r.element[at] = s.CentroidDeflection(t);
    for (int k = 0; k < 3; ++k) {
      r.element[at + 1 + static_cast<std::size_t>(k)] = s.ElementStress(t, k);
      r.element[at + 4 + static_cast<std::size_t>(k)] = s.ElementMoment(t, k);
    }
  }
  r.loadZ = s.LoadZ();
  r.reactionZ = s.ReactionZ();
  return r;
}

ResultSet ResultSet::ZeroLike(const std::string& newName) const {
  ResultSet r = *this;
  r.name = newName;
  for (auto* values : {&r.node, &r.element, &r.reaction}) values->assign(values->size(), 0.0);
  r.loadZ = r.reactionZ = 0;
  return r;
}

void ResultSet::AddScaled(const ResultSet& other, double factor) {
  for (std::size_t i = 0; i < node.size(); ++i) node[i] += factor * other.node[i];
  for (std::size_t i = 0; i < element.size(); ++i) element[i] += factor * other.element[i];
  for (std::size_t i = 0; i < reaction.size(); ++i) reaction[i] += factor * other.reaction[i];
  loadZ += factor * other.loadZ;
  reactionZ += factor * other.reactionZ;
}

}  // namespace tavrin
