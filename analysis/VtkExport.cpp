// VTK XML unstructured grid writer: the header, then one DataArray per result column.
#include "analysis/VtkExport.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "analysis/TGlobMatrix.h"
#include "analysis/VtuGrid.h"

namespace tavrin {

namespace {

const char* const kFieldNames[kResultFieldCount] = {
    "w", "rot_x", "rot_y", "sigma_x", "sigma_y", "tau_xy", "m_x", "m_y", "m_xy"};

}  // namespace

const char* VtkFieldName(int field) {
  return field >= 0 && field < kResultFieldCount ? kFieldNames[field] : "";
}

ExportResult WriteVtu(const TGlobMatrix& s, const std::string& fileName) {
  if (!s.IsSolved()) return ExportResult::NoSolution;
  std::FILE* f = std::fopen(fileName.c_str(), "w");
  if (!f) return ExportResult::CannotCreate;
  const int nodes = s.ResultNodeCount(), triangles = s.ResultTriangleCount();
  const int fields = s.HasStresses() ? kResultFieldCount : 3;
  BeginVtuGrid(f, nodes, triangles, "w");
  WriteMeshNodeArray(f, nodes, [&](int v) { return s.MeshNodeOf(v); });
  // Only a plate with arc edges has the column, so every other file stays as it was.
  if (const std::vector<std::uint8_t>& onArc = s.Mesh().nodeOnArc; !onArc.empty()) {
    std::fprintf(f, "        <DataArray type=\"UInt8\" Name=\"on_arc\" format=\"ascii\">\n");
    for (int v = 0; v < nodes; ++v) {
      const int m = s.MeshNodeOf(v);
      const bool on = m >= 0 && static_cast<std::size_t>(m) < onArc.size() &&
                      onArc[static_cast<std::size_t>(m)] != 0;
      std::fprintf(f, (v % 16 == 15 || v + 1 == nodes) ? "%d\n" : "%d ", on ? 1 : 0);
    }
    std::fprintf(f, "        </DataArray>\n");
  }
  for (int k = 0; k < fields; ++k)
    WriteFloatArray(f, kFieldNames[k], nodes,
                    [&](int v) { return s.NodeValue(v, static_cast<ResultField>(k)); });
  std::fprintf(f, "      </PointData>\n      <CellData>\n");
  if (s.HasStresses()) {
    WriteFloatArray(f, "deflection", triangles, [&](int t) { return s.CentroidDeflection(t); });
    for (int k = 3; k < kResultFieldCount; ++k)
      WriteFloatArray(f, kFieldNames[k], triangles,
                      [&](int t) { return s.ElementValue(t, static_cast<ResultField>(k)); });
    WriteFloatArray(f, "error", triangles, [&](int t) { return s.ElementError(t); });
  }
  EndVtuGrid(
      f, nodes, triangles, [&](int v) { return s.NodeX(v); }, [&](int v) { return s.NodeY(v); },
      [&](int t, int k) { return s.TriangleCorner(t, k); });
  return CloseExport(f);
}

}  // namespace tavrin
