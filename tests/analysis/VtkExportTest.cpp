// The VTK grid of a solved plate, read back and compared with the solver's own answers.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <filesystem>
#include <string>

#include "analysis/StructuredPlate.h"
#include "analysis/TGlobMatrix.h"
#include "analysis/VtkExport.h"
#include "tests/analysis/VtuReader.h"

namespace tavrin {
namespace {

using testing::ReadVtu;
using testing::VtuGrid;

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "-" + name))
      .string();
}

// Ten significant digits are written: a value reads back within 1e-9 of its size.
void ExpectClose(double written, double read, const std::string& what) {
  EXPECT_NEAR(read, written, 1e-9 * std::fabs(written) + 1e-300) << what;
}

class VtkExport : public ::testing::Test {
 protected:
  void SetUp() override {
    StructuredPlate plate;
    plate.width = 4;
    plate.height = 3;
    plate.cellsX = 4;
    plate.cellsY = 3;
    plate.pattern = DiagonalPattern::UnionJack;
    ASSERT_EQ(solver_.SolveStatic(plate.Build()), SolveCode::Ok);
  }
  TGlobMatrix solver_;
};

TEST_F(VtkExport, StaticResultsOnlyBeforeTheStresses) {
  const std::string path = TempPath("static.vtu");
  ASSERT_EQ(WriteVtu(solver_, path), ExportResult::Written);
  const VtuGrid g = ReadVtu(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(g.ok);
  EXPECT_EQ(g.pointCount, solver_.ResultNodeCount());
  EXPECT_EQ(g.cellCount, solver_.ResultTriangleCount());
  // Deflection and rotations at the points, nothing the stress recovery has not yet computed.
  EXPECT_EQ(g.pointData.size(), 4u);
  for (const char* name : {"mesh_node", "w", "rot_x", "rot_y"})
    EXPECT_EQ(g.pointData.count(name), 1u) << name;
  EXPECT_TRUE(g.cellData.empty());
}

TEST_F(VtkExport, EveryResultReadsBackAtItsPointOrCell) {
  ASSERT_EQ(solver_.SolveStress(), StressCode::Ok);
  const std::string path = TempPath("full.vtu");
  ASSERT_EQ(WriteVtu(solver_, path), ExportResult::Written);
  const VtuGrid g = ReadVtu(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(g.ok);
  const int n = solver_.ResultNodeCount(), m = solver_.ResultTriangleCount();
  ASSERT_EQ(g.points.size(), 3u * n);
  for (int v = 0; v < n; ++v) {
    ExpectClose(solver_.NodeX(v), g.points[3 * v], "x");
    ExpectClose(solver_.NodeY(v), g.points[3 * v + 1], "y");
    EXPECT_EQ(g.points[3 * v + 2], 0.0);
    EXPECT_EQ(g.pointData.at("mesh_node")[v], solver_.MeshNodeOf(v));
  }
  for (int k = 0; k < kResultFieldCount; ++k) {
    const std::string name = VtkFieldName(k);
    ASSERT_EQ(g.pointData.count(name), 1u) << name;
    ASSERT_EQ(g.pointData.at(name).size(), static_cast<size_t>(n)) << name;
    for (int v = 0; v < n; ++v)
      ExpectClose(solver_.NodeValue(v, static_cast<ResultField>(k)), g.pointData.at(name)[v], name);
    if (k < 3) continue;
    ASSERT_EQ(g.cellData.at(name).size(), static_cast<size_t>(m)) << name;
    for (int t = 0; t < m; ++t)
      ExpectClose(solver_.ElementValue(t, static_cast<ResultField>(k)), g.cellData.at(name)[t],
                  name);
  }
  ASSERT_EQ(g.cellData.at("error").size(), static_cast<size_t>(m));
  ASSERT_EQ(g.cellData.at("deflection").size(), static_cast<size_t>(m));
  for (int t = 0; t < m; ++t) {
    ExpectClose(solver_.ElementError(t), g.cellData.at("error")[t], "error");
    ExpectClose(solver_.CentroidDeflection(t), g.cellData.at("deflection")[t], "deflection");
  }
  // Triangles in the solver's corner order, three corners each.
  ASSERT_EQ(g.connectivity.size(), 3u * m);
  ASSERT_EQ(g.offsets.size(), static_cast<size_t>(m));
  ASSERT_EQ(g.types.size(), static_cast<size_t>(m));
  for (int t = 0; t < m; ++t) {
    for (int c = 0; c < 3; ++c) EXPECT_EQ(g.connectivity[3 * t + c], solver_.TriangleCorner(t, c));
    EXPECT_EQ(g.offsets[t], 3.0 * (t + 1));
    EXPECT_EQ(g.types[t], 5.0);
  }
  // The plate deflects under its pressure: the file carries the solution, not zeros.
  double largest = 0;
  for (double w : g.pointData.at("w")) largest = std::fmax(largest, std::fabs(w));
  EXPECT_GT(largest, 0);
}

TEST_F(VtkExport, RefusesWithoutSolutionOrWritableFile) {
  TGlobMatrix unsolved;
  const std::string path = TempPath("none.vtu");
  EXPECT_EQ(WriteVtu(unsolved, path), ExportResult::NoSolution);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(WriteVtu(solver_, "/nonexistent-dir/x.vtu"), ExportResult::CannotCreate);
  EXPECT_STREQ(VtkFieldName(static_cast<int>(ResultField::MomentX)), "m_x");
  EXPECT_STREQ(VtkFieldName(kResultFieldCount), "");
}

}  // namespace
}  // namespace tavrin
