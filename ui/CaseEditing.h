// The property editor's edits of a further load case: the loads, prescribed values and pressure
// the editor shows and applies belong to the case EditRequest::loadCase names, while the
// geometry, constraint codes, springs and materials stay the structure's, shared by all cases.
// Case 0 is the job's own tables, edited as always; these functions handle cases 1 and up.
// No Qt; each costs a copy of the job's cases (small) and constant work besides.
#pragma once

#include <string>

#include "model/TObjCont.h"
#include "ui/EditRequest.h"

namespace tavrin {

// Replaces the force, prescribed values (node or edge) or pressure (polygon) in `r` with those
// of case r.loadCase for the entity `kind`/`index`; nothing for case 0 or a case the job lacks.
void ShowCaseValues(const TObjCont& job, SelectionKind kind, int index, EditRequest& r);

// Applies the validated groups of `r` for case r.loadCase > 0: forces, prescribed values and
// pressure into the case; constraint codes, springs and materials into the job with the first
// case's values left as they are. "" or the fault (TObjCont::SetCases) that kept the case as it
// was; the structure's part is applied either way.
std::string ApplyCaseEdits(TObjCont& job, const EditRequest& r);

}  // namespace tavrin
