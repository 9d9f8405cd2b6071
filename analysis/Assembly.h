// Assembly: local stiffness matrices scattered into the system matrix of a solve.
//
// Every stiffness term of the plate goes through ScatterNodes: the plate elements (9 x 9 over a
// triangle's corners) and any term that acts on freedoms of nodes, such as a spring (3 x 3 on one
// node) or a foundation (9 x 9 over a triangle). A coefficient in the row of a prescribed
// freedom is dropped (that equation is not solved); one in the column of a prescribed freedom
// with a non-zero value moves to the right-hand side as -k u; only the lower triangle of the
// free block is stored. Cost: (3 n)^2 per call for n nodes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "analysis/DofNumbering.h"
#include "analysis/PlateElement.h"
#include "analysis/PlateMesh.h"
#include "analysis/SolveCode.h"
#include "analysis/SolveProgress.h"
#include "analysis/SystemMatrix.h"

namespace tavrin {

class Assembly {
 public:
  // Adds into `matrix` and `rhs` (reduced numbering, sized FreeCount); neither is owned.
  Assembly(const DofNumbering& numbering, SystemMatrix& matrix, std::vector<long double>& rhs)
      : numbering_(numbering), matrix_(matrix), rhs_(rhs) {}

  // Adds k(i, j), local index i = 3 a + r for node a of `nodes` (solver numbers) and freedom r,
  // in the order a, b, r, c. False when the storage lacks an entry.
  template <typename Coefficient>
  [[nodiscard]] bool ScatterNodes(const int* nodes, int count, Coefficient&& k);

  // The plate elements of every triangle, built by an element of `kind`. Returns Ok, or
  // DegenerateElement / AssemblyFailed / Stopped with `element` and `message` set.
  SolveCode AddPlateElements(const PlateMesh& mesh, ElementKind kind, SolveProgress* progress,
                             int& element, std::string& message);

 private:
  const DofNumbering& numbering_;
  SystemMatrix& matrix_;
  std::vector<long double>& rhs_;
};

template <typename Coefficient>
bool Assembly::ScatterNodes(const int* nodes, int count, Coefficient&& k) {
  for (int a = 0; a < count; ++a) {
    for (int b = 0; b < count; ++b) {
      for (int r = 0; r < 3; ++r) {
        const int row = 3 * nodes[a] + r;
        if (numbering_.IsFixed(row)) continue;
        const int rr = numbering_.Reduced(row);
        for (int c = 0; c < 3; ++c) {
          const int col = 3 * nodes[b] + c;
          const long double value = matrix_.Stored(k(3 * a + r, 3 * b + c));
          if (numbering_.IsFixed(col)) {
            if (numbering_.Prescribed(col) != 0.0) rhs_[rr] -= value * numbering_.Prescribed(col);
            continue;
          }
          if (row < col) continue;  // upper triangle implied by symmetry
          if (!matrix_.Add(rr, numbering_.Reduced(col), value)) return false;
        }
      }
    }
  }
  return true;
}

}  // namespace tavrin
