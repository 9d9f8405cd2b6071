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

// What the mesher can aim for. A minimal angle from 0 to kMaxMinAngle degrees: the refinement
// reaches about 33 degrees at best and ends short of anything higher with an unusable mesh (no
// triangle at all has three angles above 60). A maximal area positive and finite: with 0 every
// triangle is too large and the refinement never ends.
inline constexpr double kMaxMinAngle = 35.0;
bool MinAngleAccepted(double degrees);
bool MaxAreaAccepted(double area);

// The one instance of each for the whole process.
MeshParameters& GlobalMeshParameters();
MeshStatistics& GlobalMeshStatistics();

}  // namespace tavrin
