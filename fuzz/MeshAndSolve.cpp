// Mesh and solve what the reader made of the input, as tavrin-cli solve would, with a node limit
// that keeps each input to milliseconds; then look at every number that comes out.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "analysis/TGlobMatrix.h"
#include "fuzz/FuzzChecks.h"
#include "mesh/FEM.h"
#include "mesh/MeshCanvas.h"
#include "mesh/MeshGeometry.h"
#include "mesh/MeshProgress.h"
#include "model/GeometryCheck.h"
#include "model/NodeBox.h"
#include "model/NumberFormat.h"
#include "model/TObjCont.h"

namespace tavrin::fuzz {

namespace {

class NodeLimit : public MeshProgress {
 public:
  explicit NodeLimit(FEM& mesh) : mesh_(mesh) {}
  void ProcessEvents() override {
    if (mesh_.NodeCount() > kFuzzNodeLimit) mesh_.RequestStop();
  }

 private:
  FEM& mesh_;
};

}  // namespace

namespace {

// Exempt triangles lie only at sharp corners: each touches a job node where two segment
// pieces meet at less than the bound, or lies within the longest piece's length of one (a
// shell is at most that wide); the published count is theirs.
std::string CheckExemptions(const FEM& mesh, double bound) {
  const int corners = mesh.InputNodeCount();
  std::vector<std::vector<MeshPoint>> directions(static_cast<std::size_t>(corners));
  std::vector<double> shell(static_cast<std::size_t>(corners), 0.0);
  for (int e = 0; e < mesh.EdgeCount(); ++e) {
    if (!mesh.IsSegment(e)) continue;
    for (const auto& [c, o] : {std::pair{mesh.EdgeBegin(e), mesh.EdgeEnd(e)},
                               std::pair{mesh.EdgeEnd(e), mesh.EdgeBegin(e)}}) {
      if (c >= corners) continue;
      const double dx = mesh.NodeX(o) - mesh.NodeX(c), dy = mesh.NodeY(o) - mesh.NodeY(c);
      directions[c].push_back({dx, dy});
      shell[c] = std::max(shell[c], dx * dx + dy * dy);
    }
  }
  std::vector<char> sharp(static_cast<std::size_t>(corners), 0);
  for (int c = 0; c < corners; ++c) {
    const auto& d = directions[c];
    for (std::size_t i = 0; i < d.size(); ++i)
      for (std::size_t j = i + 1; j < d.size(); ++j) {
        const double angle = std::atan2(std::fabs(d[i].x * d[j].y - d[i].y * d[j].x),
                                        d[i].x * d[j].x + d[i].y * d[j].y);
        if (angle * 180 / M_PI < bound) sharp[c] = 1;
      }
  }
  int exempt = 0;
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    if (!(MeshDegrees(mesh.CornerAngle(t)) < bound)) continue;
    ++exempt;
    bool atCorner = false;
    for (int c = 0; c < corners && !atCorner; ++c) {
      if (!sharp[c]) continue;
      bool inside = true;
      for (int k = 0; k < 3; ++k) {
        const int v = mesh.TriangleNode(t, k);
        atCorner = atCorner || v == c;
        const double dx = mesh.NodeX(v) - mesh.NodeX(c), dy = mesh.NodeY(v) - mesh.NodeY(c);
        inside = inside && dx * dx + dy * dy <= 1.01 * shell[c];
      }
      atCorner = atCorner || inside;
    }
    if (!atCorner)
      return "triangle " + std::to_string(t) + " is exempt away from every sharp corner";
  }
  if (exempt != mesh.Statistics().inputCornerTriangles)
    return "the published input-corner triangles are not the exempt ones";
  return {};
}

}  // namespace

std::string CheckMeshAndSolve(std::string_view data) {
  TObjCont job;
  job.ReadJobText(data);
  if (job.NodeCount() > kFuzzLargestInput || job.EdgeCount() > kFuzzLargestInput) return {};
  job.PrepareForMeshing();
  if (const GeometryCheckResult check = CheckGeometry(job); !check) {
    return check.message.empty() ? "a refusal without a message" : std::string();
  }

  // About fifty triangles' worth of area, as a default that always refines a little.
  const PlanBox box = NodeBox(job);
  const double area = box.Width() * box.Height() / 50;
  FEM mesh(MeshParameters{25.0f, static_cast<float>(std::fmax(area, 1e-3)), false});
  MeshCanvas canvas;
  NodeLimit limit(mesh);
  mesh.GenerateMesh(job, canvas, limit);
  if (mesh.TriangleCount() == 0) return "a plate that passed the check gave no triangle";
  // Every mesh that misses a bound, or is not usable, says why.
  const MeshStatistics& figures = mesh.Statistics();
  if (figures.usable != mesh.IsUsable()) return "the figures and IsUsable disagree";
  if (!figures.usable && figures.reason.empty()) return "an unusable mesh gives no reason";
  if (figures.trianglesAboveArea > 0 && figures.reason.empty())
    return "a mesh above the maximal area gives no reason";
  if (const std::string fault = CheckExemptions(mesh, 25.0); !fault.empty()) return fault;
  for (int i = 0; i < mesh.NodeCount(); ++i) {
    if (!std::isfinite(mesh.NodeX(i)) || !std::isfinite(mesh.NodeY(i)))
      return "mesh node " + std::to_string(i) + " is not finite";
  }
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    if (!std::isfinite(mesh.TriangleArea(t)))
      return "triangle " + std::to_string(t) + " has no finite area";
  }

  TGlobMatrix solver;
  const SolveCode code = solver.SolveStatic(mesh);
  if (code != SolveCode::Ok)
    return solver.Failure().message.empty() ? "a failed solve without a message" : std::string();
  // A solve that succeeds balances its vertical forces against the larger of load and reaction
  // (a prescribed displacement's reactions may dwarf the load, and must still sum to it). With
  // no vertical load the reactions balance only one another, to the round-off of the stiffness.
  // Both are sizes of the forces, not of their sums: a moment alone is carried by reactions of
  // both signs whose sum is round-off of their own size. A moment load counts as a force over
  // the plate's reach: the displacements it drives leave round-off of that size in the sum.
  const StaticSolution& balance = solver.Solution();
  double loadSize = 0, momentSize = 0, reactionSize = 0;
  for (std::size_t e = 0; e < balance.loads.size(); e += 3) {
    loadSize += std::fabs(balance.loads[e]);
    momentSize += std::fabs(balance.loads[e + 1]) + std::fabs(balance.loads[e + 2]);
  }
  double xMin = HUGE_VAL, xMax = -HUGE_VAL, yMin = HUGE_VAL, yMax = -HUGE_VAL;
  for (int v = 0; v < mesh.NodeCount(); ++v) {
    xMin = std::min(xMin, mesh.NodeX(v));
    xMax = std::max(xMax, mesh.NodeX(v));
    yMin = std::min(yMin, mesh.NodeY(v));
    yMax = std::max(yMax, mesh.NodeY(v));
  }
  const double reach = std::hypot(xMax - xMin, yMax - yMin);
  if (reach > 0) loadSize = std::max(loadSize, momentSize / reach);
  for (std::size_t e = 0; e < balance.reactions.size(); e += 3)
    reactionSize += std::fabs(balance.reactions[e]);
  const double scale = std::max({loadSize, reactionSize, std::fabs(balance.reactionZ),
                                 std::fabs(balance.springZ), std::fabs(balance.foundationZ)});
  const double sum = balance.loadZ + balance.reactionZ + balance.springZ + balance.foundationZ;
  // Loads near the bottom of the double range (subnormal) have no digits left to balance.
  if (loadSize > kFuzzSmallestLoad && !(std::fabs(sum) <= kFuzzImbalance * scale))
    return "a solve reported success with vertical forces off by " + ShortestNumber(sum) + " of " +
           ShortestNumber(scale);
  for (int v = 0; v < solver.ResultNodeCount(); ++v) {
    for (int d = 0; d < 3; ++d) {
      if (!std::isfinite(static_cast<double>(solver.Displacement(v, d))))
        return "displacement of node " + std::to_string(v) + " is not finite";
    }
  }
  if (solver.SolveStress() != StressCode::Ok)
    return {};  // refused with its own code: nothing to look at
  for (int t = 0; t < solver.ResultTriangleCount(); ++t) {
    for (int c = 0; c < 3; ++c) {
      if (!std::isfinite(solver.ElementStress(t, c)))
        return "stress of element " + std::to_string(t) + " is not finite";
    }
  }
  for (int v = 0; v < solver.ResultNodeCount(); ++v) {
    for (int c = 0; c < 3; ++c) {
      if (!std::isfinite(solver.NodeStress(v, c)))
        return "stress at node " + std::to_string(v) + " is not finite";
    }
  }
  return {};
}

}  // namespace tavrin::fuzz
