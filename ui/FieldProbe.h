// FieldProbe: the value of a result field at any point of its mesh, for the read-out under the
// mouse between nodes: the triangle holding the point, then the nodal values interpolated
// linearly over it (or the triangle's own value for a per-element field).
//
// The triangles are put in a uniform grid of about one bucket per triangle over the mesh's
// bounding box (each in the buckets its bounding box meets): building is linear in the mesh, a
// query looks at the few triangles of one bucket. Reads the field, which must outlive the probe.
#pragma once

#include <optional>
#include <vector>

namespace tavrin {

struct FringeField;

class FieldProbe {
 public:
  explicit FieldProbe(const FringeField& field);
  // The value at (x, y), or none outside every triangle.
  std::optional<double> ValueAt(double x, double y) const;

 private:
  int Bucket(double x, double y) const;

  const FringeField& field_;
  double left_ = 0, bottom_ = 0, cell_ = 1;
  int columns_ = 0, rows_ = 0;
  std::vector<int> start_;      // bucket b holds triangles entries_[start_[b] .. start_[b + 1])
  std::vector<int> triangles_;  // the entries
};

}  // namespace tavrin
