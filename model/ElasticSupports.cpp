// Springs under nodes and edges and the foundation under polygons: their queries and setters.
// A spring lives in the node's or edge's DofRecord beside its constraint code, so the mesher
// carries it wherever it carries the record; the foundation lives in the polygon's physics. The
// setters keep one rule across both: no freedom is held rigidly and on a spring at once.
#include <cmath>

#include "model/ConstraintCode.h"
#include "model/TObjCont.h"

namespace tavrin {

namespace {

bool SoundStiffness(double k) { return std::isfinite(k) && k >= 0.0; }

// Done when `code` and `springs` may stand together on one record, else why not.
StatusCode SupportStatus(int code, const std::array<double, 3>& displacement,
                         const std::array<double, 3>& springs) {
  for (double v : displacement)
    if (!std::isfinite(v)) return StatusCode::BadNumber;
  for (double k : springs)
    if (!SoundStiffness(k)) return StatusCode::BadStiffness;
  const ConstrainedFreedoms held = DecodeConstraintCode(code);
  for (std::size_t d = 0; d < held.size(); ++d)
    if (held[d] && springs[d] != 0.0) return StatusCode::HeldRigidly;
  return StatusCode::Done;
}

StatusCode SetSupport(DofRecord& record, int code, const std::array<double, 3>& displacement,
                      const std::array<double, 3>& springs) {
  const StatusCode status = SupportStatus(code, displacement, springs);
  if (status != StatusCode::Done) return status;
  record.code = static_cast<std::uint16_t>(code);
  record.displacement = displacement;
  record.spring = springs;
  return StatusCode::Done;
}

bool NonZero(const std::array<double, 3>& k) { return k[0] != 0.0 || k[1] != 0.0 || k[2] != 0.0; }

}  // namespace

std::array<double, 3> TObjCont::NodeSprings(int i) const {
  return ValidNode(i) ? nodes_[static_cast<std::size_t>(i)].spring : std::array<double, 3>{};
}

std::array<double, 3> TObjCont::EdgeSprings(int e) const {
  return ValidEdge(e) ? edges_[static_cast<std::size_t>(e)].spring : std::array<double, 3>{};
}

double TObjCont::Foundation(int p) const {
  return p >= 0 && p < polygonCount_ ? polygons_[static_cast<std::size_t>(p)].physics.foundation
                                     : 0.0;
}

bool TObjCont::HasElasticSupport() const {
  for (const Node& n : nodes_)
    if (NonZero(n.spring)) return true;
  for (const Edge& e : edges_)
    if (NonZero(e.spring)) return true;
  for (int p = 0; p < polygonCount_; ++p)
    if (Foundation(p) != 0.0) return true;
  return false;
}

StatusCode TObjCont::SetNodeSprings(int i, const std::array<double, 3>& k) {
  if (!ValidNode(i)) return StatusCode::BadIndex;
  const Node& n = nodes_[static_cast<std::size_t>(i)];
  return SetNodeSupport(i, n.code, n.displacement, k);
}

StatusCode TObjCont::SetEdgeSprings(int e, const std::array<double, 3>& k) {
  if (!ValidEdge(e)) return StatusCode::BadIndex;
  const Edge& d = edges_[static_cast<std::size_t>(e)];
  return SetEdgeSupport(e, d.code, d.displacement, k);
}

StatusCode TObjCont::SetNodeSupport(int i, int code, const std::array<double, 3>& displacement,
                                    const std::array<double, 3>& springs) {
  if (!ValidNode(i)) return StatusCode::BadIndex;
  return SetSupport(nodes_[static_cast<std::size_t>(i)], code, displacement, springs);
}

StatusCode TObjCont::SetEdgeSupport(int e, int code, const std::array<double, 3>& displacement,
                                    const std::array<double, 3>& springs) {
  if (!ValidEdge(e)) return StatusCode::BadIndex;
  return SetSupport(edges_[static_cast<std::size_t>(e)], code, displacement, springs);
}

StatusCode TObjCont::SetPolygonFoundation(int p, double k) {
  if (p < 0 || p >= polygonCount_) return StatusCode::BadPolygon;
  if (!SoundStiffness(k)) return StatusCode::BadStiffness;
  polygons_[static_cast<std::size_t>(p)].physics.foundation = k;
  return StatusCode::Done;
}

}  // namespace tavrin
