// How a static solve and a stress recovery end. The numeric values are the ones the workbench
// has always shown in its failure message ("code N"); ToCode gives them, and nothing else reads
// a code as a number.
#pragma once

namespace tavrin {

enum class [[nodiscard]] SolveCode{
    Ok,
    AssemblyFailed,   // an element coefficient fell outside the matrix's storage
    AdjacencyFailed,  // an edge or a corner names a node the mesh lacks, or tables differ in length
    NoRoot,           // the root search of the renumbering failed
    IsolatedNode,     // a node belongs to no edge
    FirstPivot,       // the first pivot of the factorization is not usable
    NotPositive,      // a later pivot is not usable: too few constraints, or a mechanism
    DegenerateElement,  // an element without area or without a valid material
    EmptyMesh,
    OutOfRange,   // a displacement does not fit a double: the plate is far too soft for its loads
    OutOfMemory,  // the factor would not fit in the memory available (checked before it is made)
    Stopped,      // SolveProgress::StopRequested answered true
    Inaccurate,   // the solution fails its check: residual or balance far above round-off
};

// The documented number of a code: 0 for Ok, -1 for AssemblyFailed, 3 to 16 for the others.
int ToCode(SolveCode code);
// A generic one-line description; the solver's Failure().message names the entities.
const char* Message(SolveCode code);

enum class [[nodiscard]] StressCode{
    Ok,
    NoSolution,  // no successful SolveStatic to recover from
    OutOfRange,  // the stresses exceed a double, as from an enormous prescribed displacement
    Stopped,     // SolveProgress::StopRequested answered true; the static solution stands
};

// The documented number of a code: 0, 1, 2, 3 in the order above.
int ToCode(StressCode code);
// One line for a message box.
const char* Message(StressCode code);

}  // namespace tavrin
