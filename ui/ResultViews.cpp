#include "ui/ResultViews.h"

#include <algorithm>

#include "analysis/ResultSet.h"
#include "ui/ResultColumns.h"

namespace tavrin {

namespace {

const ResultView kViews[] = {
    {"Normal View", "", ResultNeed::none, ResultField::LinZ},
    {"UX Lin. Displacement isolines", "Lin. Z displacement:", ResultNeed::staticSolution,
     ResultField::LinZ},
    {"RX Rot. Displacement isolines", "Rot. X displacement:", ResultNeed::staticSolution,
     ResultField::RotX},
    {"RY Rot. Displacement isolines", "Rot. Y displacement:", ResultNeed::staticSolution,
     ResultField::RotY},
    {"Sigma X stress isolines", "Sigma X stress:", ResultNeed::stresses, ResultField::SigmaX},
    {"Sigma Y stress isolines", "Sigma Y stress:", ResultNeed::stresses, ResultField::SigmaY},
    {"Tau XY stress isolines", "Tau XY stress:", ResultNeed::stresses, ResultField::TauXY},
    {"Mx bending moment", "Mx moment:", ResultNeed::stresses, ResultField::MomentX},
    {"My bending moment", "My moment:", ResultNeed::stresses, ResultField::MomentY},
    {"Mxy twisting moment", "Mxy moment:", ResultNeed::stresses, ResultField::MomentXY},
    {"Error estimate", "Error estimate:", ResultNeed::stresses, ResultField::LinZ, true},
    // The design columns, in kDesignColumnNames order.
    {"M1 principal moment", "M1 moment:", ResultNeed::stresses, ResultField::LinZ, false, false, 0},
    {"M2 principal moment", "M2 moment:", ResultNeed::stresses, ResultField::LinZ, false, false, 1},
    {"M1 direction", "M1 angle, degrees:", ResultNeed::stresses, ResultField::LinZ, false, false,
     2},
    {"Qx shear force", "Qx shear force:", ResultNeed::stresses, ResultField::LinZ, false, false, 3},
    {"Qy shear force", "Qy shear force:", ResultNeed::stresses, ResultField::LinZ, false, false, 4},
    {"Q resultant shear force", "Q shear force:", ResultNeed::stresses, ResultField::LinZ, false,
     false, 5},
    {"Wood-Armer x bottom", "Wood-Armer Mx* bottom:", ResultNeed::stresses, ResultField::LinZ,
     false, false, 6},
    {"Wood-Armer y bottom", "Wood-Armer My* bottom:", ResultNeed::stresses, ResultField::LinZ,
     false, false, 7},
    {"Wood-Armer x top", "Wood-Armer Mx* top:", ResultNeed::stresses, ResultField::LinZ, false,
     false, 8},
    {"Wood-Armer y top", "Wood-Armer My* top:", ResultNeed::stresses, ResultField::LinZ, false,
     false, 9},
    {"Von Mises stress top", "Von Mises top:", ResultNeed::stresses, ResultField::LinZ, false,
     false, 10},
    {"Von Mises stress bottom", "Von Mises bottom:", ResultNeed::stresses, ResultField::LinZ, false,
     false, 11},
    {"Foundation pressure", "Foundation pressure:", ResultNeed::staticSolution, ResultField::LinZ,
     false, true},
};

}  // namespace

std::span<const ResultView> ResultViews() { return kViews; }

int NodeColumnOf(const ResultView& view) {
  return view.design >= 0 ? ResultSet::kNodeColumns + view.design : static_cast<int>(view.field);
}

bool ResultsAvailable(ResultNeed need, bool staticSolved, bool stressSolved) {
  switch (need) {
    case ResultNeed::staticSolution:
      return staticSolved;
    case ResultNeed::stresses:
      return stressSolved;
    default:
      return true;
  }
}

const char* MissingResultsText(ResultNeed need) {
  switch (need) {
    case ResultNeed::staticSolution:
      return "Needs Solve Static";
    case ResultNeed::stresses:
      return "Needs Solve Stress";
    default:
      return "";
  }
}

double ResultValueAt(const ResultView& view, const TGlobMatrix& solver, int meshNode) {
  const int node = solver.NewNumberOf(meshNode);
  if (view.foundation) return solver.FoundationPressure(node);
  if (view.design >= 0) {
    const ResultColumns columns(solver);
    return columns.NodeValue(columns.Find(kDesignColumnNames[view.design]), node);
  }
  if (!view.perElement) return solver.NodeValue(node, view.field);
  double largest = kNoValue;
  for (int t = 0; t < solver.ResultTriangleCount(); ++t)
    for (int c = 0; c < 3; ++c)
      if (solver.TriangleCorner(t, c) == node) {
        const double e = solver.ElementError(t);
        largest = largest == kNoValue ? e : std::max(largest, e);
      }
  return largest;
}

}  // namespace tavrin
