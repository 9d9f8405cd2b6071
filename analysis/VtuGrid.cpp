#include "analysis/VtuGrid.h"

namespace tavrin {

void BeginVtuGrid(std::FILE* f, int nodes, int triangles, const char* scalars) {
  std::fprintf(f,
               "<?xml version=\"1.0\"?>\n"
               "<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" byte_order=\"LittleEndian\" "
               "header_type=\"UInt64\">\n"
               "  <UnstructuredGrid>\n"
               "    <Piece NumberOfPoints=\"%d\" NumberOfCells=\"%d\">\n",
               nodes, triangles);
  if (scalars)
    std::fprintf(f, "      <PointData Scalars=\"%s\">\n", scalars);
  else
    std::fprintf(f, "      <PointData>\n");
}

}  // namespace tavrin
