// Deleting from the job: a free node, or a whole closed polygon with its edges and the nodes
// that no remaining edge uses. The job model never removes anything, so a deletion builds the
// job again without the deleted items: later nodes and edges move down, every kept item keeps
// its position, loads, prescribed values, physics and name, and the polygons keep their order.
// Linear in the size of the job.
#pragma once

#include "model/TObjCont.h"
#include "ui/EditRequest.h"

namespace tavrin {

// True when the selection can be deleted: a free node or a closed polygon, and no polygon is
// being drawn (its open chain hangs on the last node, which a rebuild would not keep drawing).
bool CanDelete(const TObjCont& job, SelectionKind kind, int index);

// The job without the selection; the job unchanged when CanDelete is false.
TObjCont JobWithout(const TObjCont& job, SelectionKind kind, int index);

}  // namespace tavrin
