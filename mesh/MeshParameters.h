// What the mesher is asked for (MeshParameters, which a FEM copies when it is made) and the
// figures it returns from each generation (MeshStatistics).
#pragma once

#include <memory>
#include <string>

namespace tavrin {

class SizeField;

struct MeshParameters {
  float minAngle = 31.0f;  // degrees; the refinement aims for no smaller angle
  float maxArea = 200.0f;  // world units squared; no larger triangle is accepted
  bool animate = true;     // show the refinement as it goes (frames of what changed)
  int maxNodes = 2000000;  // the refinement stops when the mesh has this many nodes
  // A maximal area that varies over the plate, below maxArea where it asks for less; null: the
  // one global bound (the documented mesh). The refinement loop keeps to maxArea and the
  // finishing stage brings every triangle below the field. Shared, never changed once made.
  std::shared_ptr<const SizeField> sizeField = nullptr;
};

// Why a refinement ended before it was done: not at all, a stop key, or the node limit.
enum class MeshStop { None, User, NodeLimit };

struct MeshStatistics {
  int nodeCount = 0;  // 0 until the first generation: "no data"
  int elementCount = 0;
  float minAngle = 0.0f;  // degrees
  // Degrees: the smallest angle of the triangles not at input corners sharper than the
  // minimal angle, and how many triangles are at such corners (exempt from it).
  float minAngleFree = 0.0f;
  int inputCornerTriangles = 0;
  MeshStop stop = MeshStop::None;
  float minAngleAsked = 0.0f;  // degrees: the minimal angle the mesh was made for
  bool usable = false;         // at that angle
  double maxAreaAsked = 0.0;   // the maximal area the mesh was made for (0 or less: none)
  double largestArea = 0.0;    // of the largest triangle
  int trianglesAboveArea = 0;  // triangles not below maxAreaAsked, when it is positive
  bool finishingRan = false;   // the finishing stage took over from the refinement loop
  // Why the mesh is not usable, or which bound it missed, by how much, and whether the
  // finishing stage ran; empty when it meets both bounds (and before the first generation).
  std::string reason;
};

// One sentence on the last mesh for the user: usable, or why not (the reason), and whether its
// refinement was stopped (its triangles may then exceed the maximal area). Empty before the
// first generation.
std::string MeshVerdict(const MeshStatistics& statistics);

// What the mesher can aim for. A minimal angle from 0 to kMaxMinAngle degrees: the refinement
// reaches about 33 degrees at best and ends short of anything higher with an unusable mesh (no
// triangle at all has three angles above 60). A maximal area positive and finite: with 0 every
// triangle is too large and the refinement never ends.
inline constexpr double kMaxMinAngle = 35.0;
bool MinAngleAccepted(double degrees);
bool MaxAreaAccepted(double area);
// A maximal area as the settings keep it (single precision), but a positive one never rounded
// to 0 or to infinity: a bound below the smallest single-precision number is kept as that
// number, which the mesher then cannot reach and says so, instead of meshing with no bound.
float StoredMaxArea(double area);

// The workbench's settings and the figures of its last mesh, one instance of each for the
// process: the parameters dialog edits the one and shows the other. The mesher reads neither;
// the workbench passes the settings where it starts a mesh and stores the figures it gets back.
MeshParameters& GlobalMeshParameters();
MeshStatistics& GlobalMeshStatistics();

}  // namespace tavrin
