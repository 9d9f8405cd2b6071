// The result views of the plan view: the view selector's items in order, the status bar label
// of each, the results each needs, the field its isolines trace and the value it reads out at a
// mesh node. Every view is one row of the table, so a further field (moments, an error
// estimate, another picture of the same field) is one more row and one more case where the
// value is read.
#pragma once

#include <span>

#include "analysis/TGlobMatrix.h"

namespace tavrin {

// The results a view is drawn from.
enum class ResultNeed { none, staticSolution, stresses };

struct ResultView {
  const char* item;   // text in the view selector
  const char* label;  // status bar panel 2; empty for the plain view
  ResultNeed needs;
  ResultField field;  // what the isolines trace and the read-out shows; unused by the plain view
  // The element error estimate: one value per triangle (field unused), drawn as flat colour
  // fringes whatever the drawing chosen (it has no nodal values to trace isolines through).
  bool perElement = false;
  // The foundation pressure k w at each node (0 where no foundation is; field unused), drawn as
  // colour fringes whatever the drawing chosen: the isoline tracer follows the solver's own
  // result fields only.
  bool foundation = false;
  // A design column (kDesignColumnNames index) instead of `field`, -1 for none: computed from
  // the moments, stresses and shear forces of the result set shown.
  int design = -1;
  // Drawn as colour fringes even where isolines are chosen.
  bool FringesOnly() const { return perElement || foundation; }
};

// The view's column among a result set's node columns: ResultSet's nine, then the design
// columns (NodeEnvelope's numbering).
int NodeColumnOf(const ResultView& view);

// Index 0 is the plain view ("Normal View").
std::span<const ResultView> ResultViews();

bool ResultsAvailable(ResultNeed need, bool staticSolved, bool stressSolved);

// What the user has to run before a view can be shown, for the status bar.
const char* MissingResultsText(ResultNeed need);

// The view's field at a mesh node (the solver's own numbering is applied here); for the error
// estimate, the largest error of the triangles that meet at the node (a scan of all of them);
// for a design column, computed from the whole solve (linear in the mesh: the views read their
// own copy instead).
double ResultValueAt(const ResultView& view, const TGlobMatrix& solver, int meshNode);

}  // namespace tavrin
