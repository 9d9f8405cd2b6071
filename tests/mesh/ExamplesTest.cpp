// Every example job meshed at the start-up parameters: the mesh checker finds nothing, the
// mesh is usable, each region keeps its physics, and the mesh is the one this mesher has
// always made for the job (counts and a coordinate checksum, exact: the mesher does not
// depend on the compiler's use of fused multiply-add).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "MeshChecker.h"
#include "TestJobs.h"
#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace tavrin {
namespace {

struct Expected {
  int nodes, edges, triangles;
  double checksum;  // sum of x + 2y over all nodes, in node order
};

const std::map<std::string, Expected> kKnownMeshes = {
    {"l-shaped.sam", {1122, 3234, 2113, 839103.97843408398}},
    {"plate-with-circular-hole.sam", {824, 2322, 1498, 555526.21668062464}},
    {"plate-with-hole.sam", {871, 2455, 1584, 585979.09861286485}},
    {"raft-on-foundation.sam", {860, 2452, 1593, 579875.68538678123}},
    {"square-load-cases.sam", {860, 2452, 1593, 579875.68538678123}},
    {"square.sam", {860, 2452, 1593, 579875.68538678123}},
    {"two-materials.sam", {910, 2600, 1691, 609774.59169427771}},
};

std::vector<std::filesystem::path> ExampleJobs() {
  std::vector<std::filesystem::path> jobs;
  const std::filesystem::path dir = std::filesystem::path(TAVRIN_SOURCE_DIR) / "examples";
  if (std::filesystem::exists(dir))
    for (const auto& entry : std::filesystem::directory_iterator(dir))
      if (entry.path().extension() == ".sam") jobs.push_back(entry.path());
  return jobs;
}

TEST(ExampleJobs, MeshCleanlyAtTheStartUpParameters) {
  const auto jobs = ExampleJobs();
  ASSERT_FALSE(jobs.empty());
  for (const auto& path : jobs) {
    SCOPED_TRACE(path.filename().string());
    TObjCont job;
    ASSERT_TRUE(job.LoadJob(path.string()).ok);
    job.PrepareForMeshing();
    FEM mesh(testing::Parameters(31.0f, 200.0f));
    mesh.GenerateMesh(job);

    const auto problems = CheckMesh(mesh, job);
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems, first: " << problems.front();
    EXPECT_TRUE(mesh.IsUsable());

    // Each triangle carries the physics of the region it lies in.
    for (int t = 0; t < mesh.TriangleCount(); ++t) {
      const MeshPoint c = TriangleCentroid(mesh, t);
      int region = 0;
      for (int p = 1; p < job.PolygonCount(); ++p)
        if (!job.IsHole(p) && InsideJobPolygon(job, p, c)) region = p;
      std::array<double, 5> want{};
      job.GetPolygonPhysics(region, want);
      ElementPhysics got;
      mesh.GetPhysics(t, got);
      ASSERT_EQ(got, (ElementPhysics{want[0], want[1], want[2], want[3], job.Foundation(region)}))
          << "triangle " << t;
    }

    double checksum = 0;
    for (int i = 0; i < mesh.NodeCount(); ++i) checksum += mesh.NodeX(i) + 2 * mesh.NodeY(i);
    const auto known = kKnownMeshes.find(path.filename().string());
    char line[200];
    std::snprintf(line, sizeof line, "{\"%s\", {%d, %d, %d, %.17g}},",
                  path.filename().string().c_str(), mesh.NodeCount(), mesh.EdgeCount(),
                  mesh.TriangleCount(), checksum);
    // An example without its known mesh would be checked for soundness only: it fails, with the
    // line to add to kKnownMeshes once the mesh has been looked at.
    if (known == kKnownMeshes.end()) {
      ADD_FAILURE() << "no known mesh for this example; its mesh is " << line;
      continue;
    }
    EXPECT_EQ(mesh.NodeCount(), known->second.nodes) << line;
    EXPECT_EQ(mesh.EdgeCount(), known->second.edges) << line;
    EXPECT_EQ(mesh.TriangleCount(), known->second.triangles) << line;
    EXPECT_EQ(checksum, known->second.checksum) << line;
  }
}

}  // namespace
}  // namespace tavrin
