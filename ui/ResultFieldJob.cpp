#include "ui/ResultFieldJob.h"

#include <utility>

#include "ui/FieldProbe.h"
#include "ui/FringeField.h"
#include "ui/PictureLayer.h"
#include "ui/PlanView.h"

namespace tavrin {

void BuildResultField(const ResultFieldRequest& request, const std::function<bool()>& abandoned,
                      const std::function<void(ResultFieldPart)>& deliver) {
  const TGlobMatrix& solver = *request.solver;
  const ResultView& view = request.view;
  std::vector<double> values = request.choice.NodeValues(view, solver);
  const bool ownValues = !values.empty();
  auto isolines = [&] {
    ResultFieldPart part;
    auto set = std::make_shared<TIsolines>();
    if (ownValues)
      BuildIsolines(*set, values, solver, &part.levels);
    else if (!view.FringesOnly())
      BuildIsolines(*set, static_cast<int>(view.field), solver, &part.levels);
    part.isolineLayer = MakeIsolineLayer(*set, PlanView::Lime());
    part.isolines = std::move(set);
    return part;
  };
  ResultFieldPart first;
  if (request.isolinesShown) first = isolines();
  if (abandoned()) return;
  first.field = std::make_shared<const FringeField>(ownValues ? BuildFringeField(solver, values)
                                                              : BuildFringeField(solver, view));
  const std::shared_ptr<const FringeField> field = first.field;
  deliver(std::move(first));
  if (abandoned()) return;
  ResultFieldPart probe;
  probe.field = field;
  probe.probe = std::make_shared<const FieldProbe>(*field);
  deliver(std::move(probe));
  if (request.isolinesShown || abandoned()) return;
  deliver(isolines());
}

}  // namespace tavrin
