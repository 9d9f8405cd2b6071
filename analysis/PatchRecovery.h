// PatchRecovery: nodal values of fields that the elements know at their centroids, by
// superconvergent patch recovery. Around each interior node a polynomial is fitted by least
// squares to the centroid values of the elements of its patch, and the node takes the fit's
// value at its own position. A boundary node, where no patch surrounds it, takes the mean of the
// fits of the interior patches it belongs to, each evaluated at its position; a boundary node
// that no interior patch reaches (a corner element, a strip one element wide) gets a fit of its
// own over its elements and their neighbours.
//
// Patches: the elements around the node, widened by the elements around their corners when
// they are too few (no more than the polynomial's terms) or too nearly in line for it. A fit that
// stays singular falls back to a lower degree and finally to the plain mean, so every node gets a
// finite value when the element values are finite.
//
// Owns the node-to-element lists and the boundary flags of one mesh (linear in its size), and
// the fits' geometry once made; a first recovery of k fields costs one small least-squares
// solve per node, a later one the k right-hand sides and substitutions per node.
#pragma once

#include <array>
#include <vector>

namespace tavrin {

class PatchRecovery {
 public:
  // Polynomial of the patches: 1 + x + y, or with x^2, x y, y^2 added (then always over the
  // widened patch). Linear everywhere is the default: on the clamped square and circle it met
  // every edge figure with the larger margin (square mid-edges within 1.7 % at 2,000 elements
  // and 0.15 % at 10,000, the circle's edge within 0.7 % and 0.5 %, against 1.7 % and 1.4 %
  // for the circle with quadratic boundary fits).
  enum class Degree { Linear = 1, Quadratic = 2 };
  // The most values per triangle one recovery fits (a group of load cases' stresses and moments).
  static constexpr int kMaxComponents = 96;

  // The mesh: node coordinates and triangles by their corner node indices. Nodes of no
  // triangle are allowed and recover zeros.
  PatchRecovery(const std::vector<double>& x, const std::vector<double>& y,
                const std::vector<std::array<int, 3>>& triangles);

  void SetDegree(Degree interior, Degree boundary) {
    interior_ = interior;
    boundary_ = boundary;
    interiorPlans_.clear();
    boundaryPlans_.clear();
  }

  // Makes the next recovery keep the geometry of every fit (its patch, monomials and factored
  // normal equations, a few hundred bytes a node), so that later ones, of other values on the
  // same mesh, cost only the fits' right-hand sides; the values come out the same to the bit.
  void KeepFits() { keep_ = true; }

  // `elementValues` holds `components` values per triangle (triangle t at components * t);
  // `nodeValues` receives as many per node.
  void Recover(const std::vector<double>& elementValues, int components,
               std::vector<double>& nodeValues);
  // Values kept elsewhere than side by side in one array (a group of load cases' stresses and
  // moments, each case its own arrays): component c of triangle t is read at
  // in[c][inStride * t] and the node v's written at out[c][outStride * v], zero for a node of
  // no triangle. At most kMaxComponents components; the arrays belong to the caller.
  struct Layout {
    std::vector<const double*> in;
    std::size_t inStride = 1;
    std::vector<double*> out;
    std::size_t outStride = 1;
  };
  void Recover(const Layout& layout);

  bool IsBoundary(int node) const { return onBoundary_[node] != 0; }
  // Triangles around a node.
  int TriangleCount(int node) const { return start_[node + 1] - start_[node]; }
  int Triangle(int node, int k) const { return list_[start_[node] + k]; }

 private:
  struct Fit;
  // What a fit around a node needs before it reads any value: the polynomial of the degree, or
  // a lower one, over the patch, widened when needed, or the plain mean of the patch when
  // nothing else is determined.
  struct Plan {
    double x0 = 0, y0 = 0, scale = 1;
    int terms = 0;                    // 0: the plain mean of the elements
    std::vector<int> elements;        // the patch
    std::vector<double> basis;        // `terms` monomials per element, at its scaled centroid
    std::vector<long double> factor;  // terms x terms: the normal equations' Cholesky factor
  };
  // Elements around `node`, widened once by the elements around their corners.
  void Patch(int node, bool widened, std::vector<int>& elements) const;
  void MakePlan(int node, Degree degree, Plan& plan) const;
  // The fit of `plan` to the first `components` centroid values of the layout.
  void Apply(const Plan& plan, const Layout& values, int components, Fit& fit) const;

  std::vector<double> x_, y_;
  std::vector<double> cx_, cy_;  // centroids
  std::vector<std::array<int, 3>> triangles_;
  std::vector<int> start_, list_;  // node -> triangles
  std::vector<unsigned char> onBoundary_;
  Degree interior_ = Degree::Linear;
  Degree boundary_ = Degree::Linear;  // of the fits that give the boundary nodes their values
  // Per node, kept from the first recovery after KeepFits: the fit of an interior node, and the fit
  // at the boundary degree an interior node gives its boundary nodes (when the degrees differ) or a
  // boundary node no interior patch reaches makes for itself.
  std::vector<Plan> interiorPlans_, boundaryPlans_;
  bool keep_ = false;  // KeepFits was called
};

}  // namespace tavrin
