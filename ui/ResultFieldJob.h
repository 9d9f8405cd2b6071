// ResultFieldJob: the data a result view is drawn and read out from, built off the GUI thread
// when the view is chosen: the fringe field copied out of the solver (or the chosen case's
// values on the solver's mesh), the isolines with their levels and picture layer, and the
// read-out's point location (FieldProbe). Each is linear in the mesh; at 2 10^6 triangles
// together they take far longer than a frame.
//
// The parts are handed back in the order the picture needs them: the field first (with the
// isolines when they are the picture), then the probe, then the isolines if not yet sent, each
// part as soon as it is made, so that the picture is not held up by what only a later read-out
// or a change of drawing style needs. Between parts the job asks whether it was abandoned.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "analysis/TIsolines.h"
#include "ui/ResultChoice.h"
#include "ui/ResultViews.h"

namespace tavrin {

class FieldProbe;
class PictureLayer;
struct FringeField;

struct ResultFieldRequest {
  // Read only; the caller keeps it unchanged until the job has returned.
  const TGlobMatrix* solver = nullptr;
  ResultChoice choice;  // the job's own copy of the chosen result set
  ResultView view{};
  bool isolinesShown = false;  // the isolines are the picture: sent with the field
};

// One part of the data; the members not in this part are null.
struct ResultFieldPart {
  std::shared_ptr<const FringeField> field;
  std::shared_ptr<const TIsolines> isolines;  // with levels and layer
  std::vector<IsolineLevel> levels;
  std::shared_ptr<const PictureLayer> isolineLayer;
  std::shared_ptr<const FieldProbe> probe;  // reads `field`, which comes along
};

// Builds the view's data, handing each part to deliver; returns early when abandoned.
void BuildResultField(const ResultFieldRequest& request, const std::function<bool()>& abandoned,
                      const std::function<void(ResultFieldPart)>& deliver);

}  // namespace tavrin
