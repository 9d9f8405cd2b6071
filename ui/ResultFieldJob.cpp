#include "ui/ResultFieldJob.h"

#include <utility>

#include "ui/FieldProbe.h"
#include "ui/FringeField.h"
#include "ui/PictureLayer.h"
#include "ui/PlanView.h"

namespace tavrin {

namespace {

// The isolines of the view, through `values` when given (the chosen set's own).
ResultFieldPart Isolines(const ResultFieldRequest& request, const std::vector<double>* values) {
  ResultFieldPart part;
  auto set = std::make_shared<TIsolines>();
  if (request.view.FringesOnly()) {
    // Element values and the foundation pressure are drawn as fringes alone.
  } else if (values) {
    BuildIsolines(*set, *values, *request.solver, &part.levels);
  } else {
    BuildIsolines(*set, static_cast<int>(request.view.field), *request.solver, &part.levels);
  }
  part.isolineLayer = MakeIsolineLayer(*set, PlanView::Lime());
  part.isolines = std::move(set);
  return part;
}

}  // namespace

ResultFieldPart BuildViewField(const ResultFieldRequest& request) {
  const TGlobMatrix& solver = *request.solver;
  std::vector<double> values = request.choice.NodeValues(request.view, solver);
  const bool ownValues = !values.empty();
  ResultFieldPart part;
  if (request.isolinesShown) part = Isolines(request, ownValues ? &values : nullptr);
  part.ownValues = ownValues;
  part.field =
      std::make_shared<const FringeField>(ownValues ? BuildFringeField(solver, std::move(values))
                                                    : BuildFringeField(solver, request.view));
  return part;
}

void BuildFieldDetails(const ResultFieldRequest& request, const ResultFieldPart& part,
                       const std::function<bool()>& abandoned,
                       const std::function<void(ResultFieldPart)>& deliver) {
  if (abandoned()) return;
  ResultFieldPart probe;
  probe.field = part.field;
  probe.probe = std::make_shared<const FieldProbe>(*part.field);
  deliver(std::move(probe));
  if (part.isolines || abandoned()) return;
  deliver(Isolines(request, part.ownValues ? &part.field->values : nullptr));
}

}  // namespace tavrin
