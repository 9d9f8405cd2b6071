// SizeField: a maximal triangle area that varies over the plate, given on a background mesh
// (usually the previous mesh of the same plate, with a target area per element).
//
// Graded: sizes are lengths h = sqrt(area) at the background nodes (each node the smallest of
// its elements' targets), then limited by h_i <= h_j + g |x_i - x_j| along background edges
// (Dijkstra from the smallest sizes: exact, O(E log V)), so neighbouring triangles of the new
// mesh differ in size by a bounded ratio instead of jumping from a column's fine mesh to the
// span's coarse one in one layer. AreaAt interpolates h linearly over the background element
// that holds the point and squares it.
//
// Point location: a uniform grid of about one cell per background element, each element listed
// in the cells its bounding box covers; a query costs the few elements of one cell. A point
// outside every element (a new mesh's boundary node on an arc, or rounding) takes the size of
// the nearest element of its cell, or of the nearest background node when the cell is empty.
//
// Immutable once built; shared by the meshes made with it (MeshParameters holds a shared_ptr).
#pragma once

#include <array>
#include <vector>

#include "mesh/MeshGeometry.h"

namespace tavrin {

class SizeField {
 public:
  // Inputs: background node coordinates x, y; its triangles as node indices; a target area per
  // triangle (positive and finite: others are ignored, the triangle then takes its
  // neighbours' sizes through its nodes); the grading g (h may grow by g per unit length;
  // 0 or less: no grading).
  SizeField(std::vector<double> x, std::vector<double> y, std::vector<std::array<int, 3>> triangles,
            const std::vector<double>& targetArea, double gradation);

  // The target area at p (positive; the largest target when the field has no usable target).
  double AreaAt(MeshPoint p) const;
  // The smallest target area anywhere (the square of the smallest node size).
  double SmallestArea() const { return smallest_ * smallest_; }
  // The graded size (length) at background node i.
  double NodeSize(int i) const { return h_[static_cast<std::size_t>(i)]; }

 private:
  void GradeSizes(double gradation);
  void BuildGrid();
  // The cell of (x, y), clamped to the grid.
  int CellOf(double x, double y) const;

  std::vector<double> x_, y_;
  std::vector<std::array<int, 3>> triangles_;
  std::vector<double> h_;  // graded size per node
  double smallest_ = 0;
  double largest_ = 0;
  // Grid.
  double x0_ = 0, y0_ = 0, cell_ = 1;
  int columns_ = 1, rows_ = 1;
  std::vector<int> cellStart_;  // columns_ * rows_ + 1 offsets into cellTriangles_
  std::vector<int> cellTriangles_;
};

}  // namespace tavrin
