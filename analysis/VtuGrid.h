// The pieces every VTK XML unstructured grid of this program shares (ASCII, triangles only):
// the opening tags, the "mesh_node" and Float64 data arrays, and the points, cells and closing
// tags. The single-solution grid (VtkExport) and the case grid (CaseTables) put their own arrays
// between them. Each piece is one pass over its table and writes through the caller's FILE,
// which stays the caller's to close.
#pragma once

#include <cstdio>

namespace tavrin {

// The XML header up to the opening PointData tag; scalars names the points' default array, or
// nullptr for none.
void BeginVtuGrid(std::FILE* f, int nodes, int triangles, const char* scalars);

// The Int32 array "mesh_node" of the nodes, 16 to a line.
template <class MeshNode>
void WriteMeshNodeArray(std::FILE* f, int nodes, MeshNode meshNode) {
  std::fprintf(f, "        <DataArray type=\"Int32\" Name=\"mesh_node\" format=\"ascii\">\n");
  for (int v = 0; v < nodes; ++v)
    std::fprintf(f, (v % 16 == 15 || v + 1 == nodes) ? "%d\n" : "%d ", meshNode(v));
  std::fprintf(f, "        </DataArray>\n");
}

// One Float64 array of count values got from value(i), eight to a line, 10 significant digits.
template <class Value>
void WriteFloatArray(std::FILE* f, const char* name, int count, Value value) {
  std::fprintf(f, "        <DataArray type=\"Float64\" Name=\"%s\" format=\"ascii\">\n", name);
  for (int i = 0; i < count; ++i)
    std::fprintf(f, (i % 8 == 7 || i + 1 == count) ? "%.10g\n" : "%.10g ", value(i));
  std::fprintf(f, "        </DataArray>\n");
}

// Closes the CellData, writes the points (x(v), y(v), 0) and the triangle cells (corner(t, k)),
// and closes the file's tags.
template <class X, class Y, class Corner>
void EndVtuGrid(std::FILE* f, int nodes, int triangles, X x, Y y, Corner corner) {
  std::fprintf(f,
               "      </CellData>\n      <Points>\n"
               "        <DataArray type=\"Float64\" NumberOfComponents=\"3\" format=\"ascii\">\n");
  for (int v = 0; v < nodes; ++v) std::fprintf(f, "%.10g %.10g 0\n", x(v), y(v));
  std::fprintf(f,
               "        </DataArray>\n      </Points>\n      <Cells>\n"
               "        <DataArray type=\"Int64\" Name=\"connectivity\" format=\"ascii\">\n");
  for (int t = 0; t < triangles; ++t)
    std::fprintf(f, "%d %d %d\n", corner(t, 0), corner(t, 1), corner(t, 2));
  std::fprintf(f,
               "        </DataArray>\n        <DataArray type=\"Int64\" Name=\"offsets\" "
               "format=\"ascii\">\n");
  for (int t = 0; t < triangles; ++t)
    std::fprintf(f, (t % 16 == 15 || t + 1 == triangles) ? "%lld\n" : "%lld ", 3LL * (t + 1));
  std::fprintf(
      f,
      "        </DataArray>\n        <DataArray type=\"UInt8\" Name=\"types\" format=\"ascii\">\n");
  constexpr int kVtkTriangle = 5;
  for (int t = 0; t < triangles; ++t)
    std::fprintf(f, (t % 32 == 31 || t + 1 == triangles) ? "%d\n" : "%d ", kVtkTriangle);
  std::fprintf(
      f, "        </DataArray>\n      </Cells>\n    </Piece>\n  </UnstructuredGrid>\n</VTKFile>\n");
}

}  // namespace tavrin
