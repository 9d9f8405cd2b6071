// ResultFieldJob: the data a result view is drawn and read out from, built off the GUI thread
// when the view is chosen: the fringe field copied out of the solver (or the chosen case's
// values on the solver's mesh), the isolines with their levels and picture layer, and the
// read-out's point location (FieldProbe). Each is linear in the mesh; at 2 10^6 triangles
// together they take far longer than a frame, the isolines (fifteen passes over the triangles)
// and the probe most.
//
// Two steps, so that the picture is not held up by what only a read-out between nodes or a
// change of drawing style needs: BuildViewField makes the field (with the isolines when they
// are the picture); BuildFieldDetails then makes the probe and the isolines not made yet, each
// handed on as soon as it is made, asking between them whether it was abandoned.
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
  bool isolinesShown = false;  // the isolines are the picture: made with the field
};

// One part of the data; the members not in this part are null.
struct ResultFieldPart {
  std::shared_ptr<const FringeField> field;
  // The field's values are the chosen set's own, not the solver's field (isolines are traced
  // through them).
  bool ownValues = false;
  std::shared_ptr<const TIsolines> isolines;  // with levels and layer
  std::vector<IsolineLevel> levels;
  std::shared_ptr<const PictureLayer> isolineLayer;
  std::shared_ptr<const FieldProbe> probe;  // reads `field`, which comes along
};

// The field of the view, with the isolines when they are shown.
ResultFieldPart BuildViewField(const ResultFieldRequest& request);
// The probe of part.field, then its isolines when part has none; returns early when abandoned.
void BuildFieldDetails(const ResultFieldRequest& request, const ResultFieldPart& part,
                       const std::function<bool()>& abandoned,
                       const std::function<void(ResultFieldPart)>& deliver);

}  // namespace tavrin
