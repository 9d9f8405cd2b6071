#include "mesh/MeshParameters.h"

namespace tavrin {

MeshParameters& GlobalMeshParameters() {
  static MeshParameters parameters;
  return parameters;
}

MeshStatistics& GlobalMeshStatistics() {
  static MeshStatistics statistics;
  return statistics;
}

}  // namespace tavrin
