// The message boxes the plan view shows for the job model's editing statuses. The texts are the
// workbench's own and differ by operation (a crossing while drawing is reported in other words
// than one while moving a node), so the operation is part of the question.
#pragma once

#include <optional>

#include "model/Status.h"

namespace tavrin {

enum class EditOperation {
  AddPolygonVertex,  // a click while a polygon is drawn
  MoveNode,          // typed or dragged coordinates applied to a node
};

struct EditMessage {
  const char* text;
  const char* caption;
};

// The message for a status of an operation; none where the workbench stays silent (a vertex
// added, a node moved, a click that does not close the polygon).
std::optional<EditMessage> MessageFor(EditOperation operation, StatusCode status);

}  // namespace tavrin
