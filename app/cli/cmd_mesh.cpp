// tavrin-cli mesh: loads a job, prepares it, meshes it and prints the mesh figures; optionally
// writes a picture of the mesh, the prepared job, or the mesh tables for comparing meshes.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "CliMeshing.h"
#include "Commands.h"
#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace tavrin::cli {

namespace {

bool WriteDump(const FEM& mesh, const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return false;
  std::fprintf(f, "nodes %d\n", mesh.NodeCount());
  for (int i = 0; i < mesh.NodeCount(); ++i)
    std::fprintf(f, "%d %.17g %.17g\n", i, mesh.NodeX(i), mesh.NodeY(i));
  std::fprintf(f, "edges %d\n", mesh.EdgeCount());
  for (int e = 0; e < mesh.EdgeCount(); ++e)
    std::fprintf(f, "%d %d %d %d %d %d\n", e, mesh.EdgeBegin(e), mesh.EdgeEnd(e),
                 mesh.IsSegment(e) ? 1 : 0, mesh.EdgeTriangle(e, 1), mesh.EdgeTriangle(e, 2));
  std::fprintf(f, "triangles %d\n", mesh.TriangleCount());
  for (int t = 0; t < mesh.TriangleCount(); ++t)
    std::fprintf(f, "%d %d %d %d %d %d %d\n", t, mesh.TriangleEdge(t, 1), mesh.TriangleEdge(t, 2),
                 mesh.TriangleEdge(t, 3), mesh.TriangleNode(t, 0), mesh.TriangleNode(t, 1),
                 mesh.TriangleNode(t, 2));
  // The nodes on arc edges, only for a plate that has any, so other dumps stay as they were.
  const std::vector<std::uint8_t> onArc = mesh.NodesOnArcs();
  int arcNodes = 0;
  for (std::uint8_t on : onArc) arcNodes += on;
  if (arcNodes > 0) {
    std::fprintf(f, "arc-nodes %d\n", arcNodes);
    for (int i = 0; i < mesh.NodeCount(); ++i)
      if (onArc[static_cast<std::size_t>(i)]) std::fprintf(f, "%d\n", i);
  }
  const bool ok = std::ferror(f) == 0;
  return std::fclose(f) == 0 && ok;
}

// The plate fitted into a 1000-pixel picture: triangles filled (holes stay white, each
// material its own tint), mesher edges thin and light, input segments dark and thicker.
bool WriteSvg(const FEM& mesh, const std::string& path) {
  double xmin = 0, xmax = 1, ymin = 0, ymax = 1;
  for (int i = 0; i < mesh.NodeCount(); ++i) {
    const double x = mesh.NodeX(i), y = mesh.NodeY(i);
    if (i == 0 || x < xmin) xmin = x;
    if (i == 0 || x > xmax) xmax = x;
    if (i == 0 || y < ymin) ymin = y;
    if (i == 0 || y > ymax) ymax = y;
  }
  const double size = 1000.0, margin = 20.0;
  double span = std::fmax(xmax - xmin, ymax - ymin);
  if (!(span > 0)) span = 1.0;
  const double scale = (size - 2 * margin) / span;
  const double width = (xmax - xmin) * scale + 2 * margin;
  const double height = (ymax - ymin) * scale + 2 * margin;
  auto sx = [&](double x) { return margin + (x - xmin) * scale; };
  auto sy = [&](double y) { return margin + (ymax - y) * scale; };

  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return false;
  std::fprintf(f,
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
               "viewBox=\"0 0 %.3f %.3f\">\n<rect width=\"100%%\" height=\"100%%\" "
               "fill=\"white\"/>\n<g fill=\"#dce8f4\" stroke=\"none\">\n",
               std::ceil(width), std::ceil(height), width, height);
  // One tint per distinct physics, so that regions of different material stand apart.
  static const char* const kTints[] = {"#dce8f4", "#f4e2c8", "#d8efd2", "#eedcf0", "#f0f0c8"};
  std::vector<ElementPhysics> kinds;
  for (int t = 0; t < mesh.TriangleCount(); ++t) {
    ElementPhysics physics;
    mesh.GetPhysics(t, physics);
    size_t kind = 0;
    while (kind < kinds.size() && !(kinds[kind] == physics)) ++kind;
    if (kind == kinds.size()) kinds.push_back(physics);
    const int a = mesh.TriangleNode(t, 0), b = mesh.TriangleNode(t, 1), c = mesh.TriangleNode(t, 2);
    std::fprintf(f, "<polygon fill=\"%s\" points=\"%.3f,%.3f %.3f,%.3f %.3f,%.3f\"/>\n",
                 kTints[kind % 5], sx(mesh.NodeX(a)), sy(mesh.NodeY(a)), sx(mesh.NodeX(b)),
                 sy(mesh.NodeY(b)), sx(mesh.NodeX(c)), sy(mesh.NodeY(c)));
  }
  for (int pass = 0; pass < 2; ++pass) {
    const bool segments = pass == 1;
    std::fprintf(f, "</g>\n<g stroke=\"%s\" stroke-width=\"%s\" stroke-linecap=\"round\">\n",
                 segments ? "#101010" : "#6f8fb0", segments ? "2" : "0.6");
    for (int e = 0; e < mesh.EdgeCount(); ++e) {
      if (mesh.IsSegment(e) != segments) continue;
      const int a = mesh.EdgeBegin(e), b = mesh.EdgeEnd(e);
      std::fprintf(f, "<line x1=\"%.3f\" y1=\"%.3f\" x2=\"%.3f\" y2=\"%.3f\"/>\n",
                   sx(mesh.NodeX(a)), sy(mesh.NodeY(a)), sx(mesh.NodeX(b)), sy(mesh.NodeY(b)));
    }
  }
  std::fprintf(f, "</g>\n</svg>\n");
  const bool ok = std::ferror(f) == 0;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int RunMesh(const Args& args) {
  std::string svg, saveJob, dump;
  MeshOptions options;
  const auto read = [&](const Args& a, std::size_t& i) {
    if (const OptionResult r = ParseMeshOption(a, i, options); r != OptionResult::NotMine) return r;
    if (a[i] == "--svg") return TakeValue(a, i, svg);
    if (a[i] == "--save-job") return TakeValue(a, i, saveJob);
    if (a[i] == "--dump") return TakeValue(a, i, dump);
    return OptionResult::NotMine;
  };
  std::vector<std::string> positional;
  if (!ParseArguments(args, read, 1, positional)) return UsageError(kMeshUsage);
  const std::string& job = positional[0];

  TObjCont structure;
  std::unique_ptr<FEM> meshPtr;
  if (const int rc = LoadAndMesh(job, "mesh", options, structure, meshPtr); rc != 0) return rc;
  const FEM& mesh = *meshPtr;

  if (!svg.empty() && !WriteSvg(mesh, svg)) {
    std::fprintf(stderr, "tavrin-cli mesh: cannot write %s\n", svg.c_str());
    return 1;
  }
  if (!saveJob.empty()) {
    if (JobFileResult r = structure.SaveJob(saveJob); !r) {
      std::fprintf(stderr, "tavrin-cli mesh: %s\n", r.error.c_str());
      return 1;
    }
  }
  if (!dump.empty() && !WriteDump(mesh, dump)) {
    std::fprintf(stderr, "tavrin-cli mesh: cannot write %s\n", dump.c_str());
    return 1;
  }
  return 0;
}

}  // namespace tavrin::cli
