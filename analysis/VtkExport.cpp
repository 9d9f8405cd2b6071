// VTK XML unstructured grid writer: the header, then one DataArray per result column.
#include "analysis/VtkExport.h"

#include <cstdio>

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
