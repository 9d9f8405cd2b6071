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
// in the cells its bounding box covers. A cell that lists many elements (an adapted background
// crowds thousands of tiny ones around a corner or a column into one cell) holds a grid of its
// own over its box, made the same way, down to a few levels; a query descends to the finest cell
// that holds the point and costs the few elements listed there. A point outside every element (a
// new mesh's boundary node on an arc, or rounding) takes the size of the nearest element of its
// top cell, or of the nearest background node when that cell is empty. Built in
// O(E log E) for a graded background.
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
  // A uniform grid over a box; its cells list elements, or hand the point on to a finer grid.
  struct Grid {
    double x0 = 0, y0 = 0, cell = 1;
    int columns = 1, rows = 1;
    std::vector<int> start;                // columns * rows + 1 offsets into `listed`
    std::vector<int> listed;               // element indices
    std::vector<int> finer;                // per cell: index of its finer grid in grids_, or -1
    int CellOf(double x, double y) const;  // the cell of (x, y), clamped to the grid
  };

  void GradeSizes(double gradation);
  // Adds the grid over the box of about one cell per element of `elements`, and the finer grids
  // of its crowded cells while `depth` allows; returns its index in grids_.
  int BuildGrid(const std::vector<int>& elements, double x0, double y0, double x1, double y1,
                int depth);
  // The element holding p among `elements` (or, with `nearest`, the one p is least outside
  // of), with p's barycentric coordinates clamped onto it; -1 when none.
  int Locate(MeshPoint p, const int* first, const int* last, bool nearest, double l[3]) const;

  std::vector<double> x_, y_;
  std::vector<std::array<int, 3>> triangles_;
  std::vector<double> h_;  // graded size per node
  double smallest_ = 0;
  double largest_ = 0;
  std::vector<Grid> grids_;  // the top grid first
};

}  // namespace tavrin
