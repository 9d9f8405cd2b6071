// Transverse shear forces from the moment field:
//     Qx = dMx/dx + dMxy/dy,   Qy = dMxy/dx + dMy/dy   (per unit width).
// A plate triangle's moments are good at its centroid and no better than constant across it,
// so differences of neighbouring elements say little, and the gradient of the recovered nodal
// moments inherits the recovery's extrapolation at the boundary (3 % low along a supported edge
// at 10^4 elements). Instead, around every interior node a quadratic in x and y is fitted by
// least squares to the centroid moments of the node's widened patch (its elements and those
// around their corners), and differentiated at the node. A boundary node takes the mean of the
// derivatives, at its position, of the fits of the interior nodes it shares an element with;
// one that no interior patch reaches gets a fit of its own. An element takes the mean of its
// corners. A fit that is singular falls back to a plane, then to zero shear.
//
// Cost: one 6 x 6 least-squares solve per node over a few dozen centroids; linear in the mesh.
// A moment field quadratic in x and y gives its shear exactly, at nodes and elements.
#pragma once

#include <array>
#include <vector>

namespace tavrin {

// The fits depend on the mesh alone and the shear is linear in the moments, so the fits are made
// once per mesh as weights (per node, a weight per patch element for d/dx and for d/dy) and any
// number of moment fields recovered with them, each in time linear in the mesh.
class ShearRecovery {
 public:
  // The mesh: node coordinates and triangles by corner nodes (nodes of no triangle recover 0).
  ShearRecovery(const std::vector<double>& x, const std::vector<double>& y,
                const std::vector<std::array<int, 3>>& triangles);

  // In: three moments per triangle (Mx, My, Mxy at 3 * t, the centroid values). Out: Qx, Qy per
  // node (at 2 * node) and per triangle (at 2 * t).
  void Recover(const std::vector<double>& elementMoments, std::vector<double>& nodeShear,
               std::vector<double>& elementShear) const;

 private:
  // Node v's derivative weights: entries start_[v] .. start_[v + 1] - 1.
  std::vector<int> start_;
  std::vector<int> element_;
  std::vector<double> wx_, wy_;
  std::vector<std::array<int, 3>> triangles_;
};

// ShearRecovery of the mesh, applied once.
void RecoverShearForces(const std::vector<double>& x, const std::vector<double>& y,
                        const std::vector<std::array<int, 3>>& triangles,
                        const std::vector<double>& elementMoments, std::vector<double>& nodeShear,
                        std::vector<double>& elementShear);

}  // namespace tavrin
