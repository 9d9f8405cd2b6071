#include "CliMeshing.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "mesh/FEM.h"
#include "mesh/MeshCanvas.h"
#include "mesh/MeshParameters.h"
#include "mesh/MeshProgress.h"
#include "model/GeometryCheck.h"
#include "model/TObjCont.h"

namespace tavrin::cli {

OptionResult ParseMeshOption(const Args& args, std::size_t& i, MeshOptions& options) {
  const std::string& a = args[i];
  if (a != "--min-angle" && a != "--max-area" && a != "--max-nodes") return OptionResult::NotMine;
  std::string text;
  if (TakeValue(args, i, text) != OptionResult::Taken) return OptionResult::Bad;
  --i;  // left on the option until the value is accepted
  double v = 0;
  if (!ParseDecimal(text, v)) return RefuseValue(a, text, "is not a decimal number");
  if (a == "--min-angle") {
    if (!MinAngleAccepted(v)) {
      std::fprintf(stderr, "tavrin-cli: --min-angle %s is outside 0 to %g degrees\n",
                   args[i + 1].c_str(), kMaxMinAngle);
      return OptionResult::Bad;
    }
    options.minAngle = v;
  }
  if (a == "--max-area") {
    if (!MaxAreaAccepted(v)) {
      std::fprintf(stderr, "tavrin-cli: --max-area %s is not positive\n", args[i + 1].c_str());
      return OptionResult::Bad;
    }
    options.maxArea = v;
  }
  if (a == "--max-nodes") {
    if (v < 0 || v != std::floor(v) || v > 2e9)
      return RefuseValue(a, text, "is not a whole number from 0 to 2000000000");
    options.maxNodes = v;
  }
  ++i;
  return OptionResult::Taken;
}

int LoadAndMesh(const std::string& job, const char* command, const MeshOptions& options,
                TObjCont& structure, std::unique_ptr<FEM>& meshOut) {
  if (JobFileResult r = structure.LoadJob(job); !r) {
    std::fprintf(stderr, "tavrin-cli %s: %s\n", command, r.error.c_str());
    return 1;
  } else if (!r.read.supportSkipped.empty()) {
    std::fprintf(stderr, "tavrin-cli %s: %s\n", command, r.read.supportSkipped.c_str());
    return 1;
  }
  structure.PrepareForMeshing();
  if (const GeometryCheckResult check = CheckGeometry(structure); !check) {
    std::fprintf(stderr, "tavrin-cli %s: %s\n", command, check.message.c_str());
    return 1;
  }

  MeshParameters parameters;
  parameters.minAngle = static_cast<float>(options.minAngle);
  parameters.maxArea = StoredMaxArea(options.maxArea);
  parameters.animate = false;
  if (options.maxNodes >= 0) parameters.maxNodes = static_cast<int>(options.maxNodes);
  meshOut = std::make_unique<FEM>(parameters);
  FEM& mesh = *meshOut;
  MeshCanvas canvas;
  MeshProgress progress;
  const MeshStatistics statistics = mesh.GenerateMesh(structure, canvas, progress);

  double area = 0.0;
  for (int t = 0; t < mesh.TriangleCount(); ++t) area += mesh.TriangleArea(t);
  std::printf("nodes: %d\nedges: %d\nelements: %d\nmin-angle: %g\nusable: %s\narea: %.10g\n",
              statistics.nodeCount, mesh.EdgeCount(), statistics.elementCount,
              static_cast<double>(statistics.minAngle), mesh.IsUsable() ? "yes" : "no", area);
  // The smallest angle away from sharp input corners, the triangles at them, and a stop.
  const char* const stops[] = {"no", "user", "node-limit"};
  std::printf("min-angle-free: %g\ninput-corner-triangles: %d\nstopped: %s%s\n",
              static_cast<double>(statistics.minAngleFree), statistics.inputCornerTriangles,
              stops[static_cast<int>(statistics.stop)],
              statistics.stop == MeshStop::None ? "" : " (elements may exceed the maximal area)");
  std::printf("largest-area: %.10g\n", statistics.largestArea);
  if (!statistics.reason.empty()) std::printf("reason: %s\n", statistics.reason.c_str());
  std::fflush(stdout);
  return 0;
}

}  // namespace tavrin::cli
