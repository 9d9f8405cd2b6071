#include "ui/ResultViews.h"

#include <algorithm>

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
    {"Foundation pressure", "Foundation pressure:", ResultNeed::staticSolution, ResultField::LinZ,
     false, true},
};

}  // namespace

std::span<const ResultView> ResultViews() { return kViews; }

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
