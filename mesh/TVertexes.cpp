// Node table operations: appends are amortised constant time, access is direct by index.
#include "mesh/TVertexes.h"

namespace tavrin {

int TVertexes::AddNode(double x, double y, const DofRecord& dof) {
  xy_.push_back(Position{x, y});
  polygon_.push_back(-1);
  dof_.Append(dof);
  return Count() - 1;
}

void TVertexes::Reserve(std::size_t n) {
  xy_.reserve(n);
  polygon_.reserve(n);
  dof_.Reserve(n);
}

int TVertexes::GetDof(int i, DofRecord& dof) const {
  if (!Valid(i)) return -1;
  dof = dof_.Get(i);
  return 0;
}

int TVertexes::Polygon(int i) const {
  return Valid(i) ? polygon_[static_cast<std::size_t>(i)] : -1;
}

int TVertexes::SetPolygon(int i, int p) {
  if (!Valid(i)) return -1;
  polygon_[static_cast<std::size_t>(i)] = p;
  return 0;
}

}  // namespace tavrin
