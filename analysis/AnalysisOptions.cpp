#include "analysis/AnalysisOptions.h"

#include <cstring>
#include <initializer_list>

namespace tavrin {

AnalysisOptions& GlobalAnalysisOptions() {
  static AnalysisOptions options;
  return options;
}

const char* SolverName(SolverKind kind) {
  return kind == SolverKind::Envelope ? "envelope" : "sparse";
}
const char* RecoveryName(RecoveryKind kind) {
  return kind == RecoveryKind::Average ? "average" : "patch";
}

const char* EdgeLoadName(EdgeLoadKind kind) {
  return kind == EdgeLoadKind::Consistent ? "consistent" : "lumped";
}

bool ParseEdgeLoadName(const char* text, EdgeLoadKind& kind) {
  for (EdgeLoadKind k : {EdgeLoadKind::Lumped, EdgeLoadKind::Consistent})
    if (std::strcmp(text, EdgeLoadName(k)) == 0) {
      kind = k;
      return true;
    }
  return false;
}

bool ParseSolverName(const char* text, SolverKind& kind) {
  for (SolverKind k : {SolverKind::Sparse, SolverKind::Envelope})
    if (std::strcmp(text, SolverName(k)) == 0) {
      kind = k;
      return true;
    }
  return false;
}

bool ParseRecoveryName(const char* text, RecoveryKind& kind) {
  for (RecoveryKind k : {RecoveryKind::Patch, RecoveryKind::Average})
    if (std::strcmp(text, RecoveryName(k)) == 0) {
      kind = k;
      return true;
    }
  return false;
}

}  // namespace tavrin
