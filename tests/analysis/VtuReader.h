// A small reader of the ASCII VTK unstructured grids the export writes: every named DataArray of
// PointData and CellData, the points and the cells. Enough to compare a written file with the
// values it came from; not a general VTK parser (no binary, no appended data).
#pragma once

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tavrin::testing {

struct VtuGrid {
  int pointCount = -1, cellCount = -1;
  std::map<std::string, std::vector<double>> pointData, cellData;
  std::vector<double> points;  // x y z per point
  std::vector<double> connectivity, offsets, types;
  bool ok = false;
};

namespace vtu_detail {

inline std::string Attribute(const std::string& tag, const std::string& name) {
  const size_t at = tag.find(" " + name + "=\"");
  if (at == std::string::npos) return "";
  const size_t start = at + name.size() + 3;
  return tag.substr(start, tag.find('"', start) - start);
}

inline std::vector<double> Numbers(const std::string& text) {
  std::vector<double> values;
  const char* p = text.c_str();
  for (;;) {
    char* end = nullptr;
    const double v = std::strtod(p, &end);
    if (end == p) break;
    values.push_back(v);
    p = end;
  }
  return values;
}

}  // namespace vtu_detail

inline VtuGrid ReadVtu(const std::string& path) {
  using namespace vtu_detail;
  VtuGrid g;
  std::ifstream in(path);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  if (text.find("<VTKFile type=\"UnstructuredGrid\"") == std::string::npos) return g;
  const size_t piece = text.find("<Piece ");
  if (piece == std::string::npos) return g;
  const std::string pieceTag = text.substr(piece, text.find('>', piece) - piece);
  g.pointCount = std::atoi(Attribute(pieceTag, "NumberOfPoints").c_str());
  g.cellCount = std::atoi(Attribute(pieceTag, "NumberOfCells").c_str());
  // The section an array belongs to is the last section opened before it.
  size_t at = 0;
  while ((at = text.find("<DataArray", at)) != std::string::npos) {
    const size_t tagEnd = text.find('>', at);
    const size_t close = text.find("</DataArray>", tagEnd);
    if (tagEnd == std::string::npos || close == std::string::npos) return g;
    const std::string tag = text.substr(at, tagEnd - at);
    if (Attribute(tag, "format") != "ascii") return g;
    std::vector<double> values = Numbers(text.substr(tagEnd + 1, close - tagEnd - 1));
    const std::string before = text.substr(0, at);
    const size_t sections[] = {before.rfind("<PointData"), before.rfind("<CellData"),
                               before.rfind("<Points"), before.rfind("<Cells")};
    int section = -1;
    size_t latest = 0;
    for (int k = 0; k < 4; ++k)
      if (sections[k] != std::string::npos && (section < 0 || sections[k] > latest)) {
        section = k;
        latest = sections[k];
      }
    const std::string name = Attribute(tag, "Name");
    if (section == 0) g.pointData[name] = std::move(values);
    if (section == 1) g.cellData[name] = std::move(values);
    if (section == 2) g.points = std::move(values);
    if (section == 3) {
      if (name == "connectivity") g.connectivity = std::move(values);
      if (name == "offsets") g.offsets = std::move(values);
      if (name == "types") g.types = std::move(values);
    }
    at = close;
  }
  g.ok = text.find("</VTKFile>") != std::string::npos;
  return g;
}

}  // namespace tavrin::testing
