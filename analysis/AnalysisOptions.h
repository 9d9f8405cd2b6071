// The analysis's settings: which solver factors the stiffness matrix, how nodal moments and
// stresses are recovered from the element values, and how much memory a factor may take. A
// TGlobMatrix is given its own copy, so a solve keeps the settings it started with; the engine
// reads no process-wide state.
#pragma once

#include <cstdint>

namespace tavrin {

enum class SolverKind {
  Sparse,    // supernodal sparse Cholesky with a fill-reducing ordering: time and memory grow
             // little faster than the equations of a plate
  Envelope,  // the envelope (profile) Cholesky in extended precision over the Cuthill-McKee
             // numbering: its work grows with the square of the equations
};

enum class RecoveryKind {
  Patch,    // polynomial fitted over the element values around each node (superconvergent)
  Average,  // plain mean of the element values at each node
};

enum class EdgeLoadKind {
  Lumped,      // each edge's forces and moments per unit length on its end nodes, half the
               // edge's length each (the documented loading; a twisting edge moment converges
               // to the wrong moments at the boundary)
  Consistent,  // with the element's edge interpolation: a force with its end moments, the
               // twisting part of a moment as the Kirchhoff end forces it is equivalent to
};

struct AnalysisOptions {
  SolverKind solver = SolverKind::Sparse;
  RecoveryKind recovery = RecoveryKind::Patch;
  // The most memory the factor of one solve may take, in bytes; 0 uses what the system and the
  // process limits leave available.
  std::int64_t memoryLimitBytes = 0;
  EdgeLoadKind edgeLoads = EdgeLoadKind::Consistent;
};

// The workbench's setting, written by the mesh parameters dialog and read where the workbench
// starts a solve; nothing in the engine reads it.
AnalysisOptions& GlobalAnalysisOptions();

// Names used on the command line and in the dialog: "sparse", "envelope", "patch", "average".
const char* SolverName(SolverKind kind);
const char* RecoveryName(RecoveryKind kind);
const char* EdgeLoadName(EdgeLoadKind kind);  // "lumped", "consistent"
// Reads a name as above; false (and `kind` unchanged) for any other text.
bool ParseSolverName(const char* text, SolverKind& kind);
bool ParseRecoveryName(const char* text, RecoveryKind& kind);
bool ParseEdgeLoadName(const char* text, EdgeLoadKind& kind);

}  // namespace tavrin
