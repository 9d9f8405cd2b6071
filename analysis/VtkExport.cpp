// VTK XML unstructured grid writer: the header, then one DataArray per result column.
#include "analysis/VtkExport.h"

#include <cstdio>

#include "analysis/TGlobMatrix.h"

namespace tavrin {

namespace {

const char* const kFieldNames[kResultFieldCount] = {
    "w", "rot_x", "rot_y", "sigma_x", "sigma_y", "tau_xy", "m_x", "m_y", "m_xy"};
constexpr int kVtkTriangle = 5;

// Writes one Float64 array of count values got from value(i), eight to a line.
template <class Value>
void WriteArray(std::FILE* f, const char* name, int count, Value value) {
  std::fprintf(f, "        <DataArray type=\"Float64\" Name=\"%s\" format=\"ascii\">\n", name);
  for (int i = 0; i < count; ++i)
    std::fprintf(f, (i % 8 == 7 || i + 1 == count) ? "%.10g\n" : "%.10g ", value(i));
  std::fprintf(f, "        </DataArray>\n");
}

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
  std::fprintf(f,
               "<?xml version=\"1.0\"?>\n"
               "<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" byte_order=\"LittleEndian\" "
               "header_type=\"UInt64\">\n"
               "  <UnstructuredGrid>\n"
               "    <Piece NumberOfPoints=\"%d\" NumberOfCells=\"%d\">\n"
               "      <PointData Scalars=\"w\">\n",
               nodes, triangles);
  std::fprintf(f, "        <DataArray type=\"Int32\" Name=\"mesh_node\" format=\"ascii\">\n");
  for (int v = 0; v < nodes; ++v)
    std::fprintf(f, (v % 16 == 15 || v + 1 == nodes) ? "%d\n" : "%d ", s.MeshNodeOf(v));
  std::fprintf(f, "        </DataArray>\n");
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
    WriteArray(f, kFieldNames[k], nodes,
               [&](int v) { return s.NodeValue(v, static_cast<ResultField>(k)); });
  std::fprintf(f, "      </PointData>\n      <CellData>\n");
  if (s.HasStresses()) {
    WriteArray(f, "deflection", triangles, [&](int t) { return s.CentroidDeflection(t); });
    for (int k = 3; k < kResultFieldCount; ++k)
      WriteArray(f, kFieldNames[k], triangles,
                 [&](int t) { return s.ElementValue(t, static_cast<ResultField>(k)); });
    WriteArray(f, "error", triangles, [&](int t) { return s.ElementError(t); });
  }
  std::fprintf(f,
               "      </CellData>\n      <Points>\n"
               "        <DataArray type=\"Float64\" NumberOfComponents=\"3\" format=\"ascii\">\n");
  for (int v = 0; v < nodes; ++v) std::fprintf(f, "%.10g %.10g 0\n", s.NodeX(v), s.NodeY(v));
  std::fprintf(f,
               "        </DataArray>\n      </Points>\n      <Cells>\n"
               "        <DataArray type=\"Int64\" Name=\"connectivity\" format=\"ascii\">\n");
  for (int t = 0; t < triangles; ++t)
    std::fprintf(f, "%d %d %d\n", s.TriangleCorner(t, 0), s.TriangleCorner(t, 1),
                 s.TriangleCorner(t, 2));
  std::fprintf(f,
               "        </DataArray>\n        <DataArray type=\"Int64\" Name=\"offsets\" "
               "format=\"ascii\">\n");
  for (int t = 0; t < triangles; ++t)
    std::fprintf(f, (t % 16 == 15 || t + 1 == triangles) ? "%lld\n" : "%lld ", 3LL * (t + 1));
  std::fprintf(
      f,
      "        </DataArray>\n        <DataArray type=\"UInt8\" Name=\"types\" format=\"ascii\">\n");
  for (int t = 0; t < triangles; ++t)
    std::fprintf(f, (t % 32 == 31 || t + 1 == triangles) ? "%d\n" : "%d ", kVtkTriangle);
  std::fprintf(
      f, "        </DataArray>\n      </Cells>\n    </Piece>\n  </UnstructuredGrid>\n</VTKFile>\n");
  const bool ok = std::ferror(f) == 0;
  return (std::fclose(f) == 0 && ok) ? ExportResult::Written : ExportResult::CannotCreate;
}

}  // namespace tavrin
