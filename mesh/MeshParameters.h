// The mesher's process-wide settings and the figures it publishes after each generation.
// The parameters dialog reads and writes MeshParameters; every new FEM copies them when it is
// constructed. MeshStatistics is written at the end of every FEM::GenerateMesh.
#pragma once

namespace tavrin {

struct MeshParameters {
  float minAngle = 31.0f;  // degrees; the refinement aims for no smaller angle
  float maxArea = 200.0f;  // world units squared; no larger triangle is accepted
  bool animate = true;     // show the refinement as it goes (frames of what changed)
};

struct MeshStatistics {
  int nodeCount = 0;  // 0 until the first generation: "no data"
  int elementCount = 0;
  float minAngle = 0.0f;  // degrees
};

// The one instance of each for the whole process.
MeshParameters& GlobalMeshParameters();
MeshStatistics& GlobalMeshStatistics();

}  // namespace tavrin
