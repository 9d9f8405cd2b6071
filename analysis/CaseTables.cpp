// Writers of the case tables and the case grid, all through stdio with the plain tables' format.
#include "analysis/CaseTables.h"

#include <cstdio>

#include "analysis/VtkExport.h"
#include "analysis/VtuGrid.h"

namespace tavrin {

namespace {

const char* const kElementColumnNames[ResultSet::kElementColumns] = {
    "deflection", "sigma_x", "sigma_y", "tau_xy", "m_x", "m_y", "m_xy"};

void DesignHeader(std::FILE* f) {
  for (const char* name : kDesignColumnNames) std::fprintf(f, ",%s", name);
  std::fputc('\n', f);
}

// Characters that would break the grid's XML attribute are written as entities.
std::string Escaped(const std::string& s) {
  std::string out;
  for (const char c : s) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

}  // namespace

void AppendDesignRow(std::FILE* f, const DesignColumns& design, int index, bool element) {
  for (int k = 0; k < kDesignColumns; ++k)
    std::fprintf(f, ",%.10g", element ? design.Element(index, k) : design.Node(index, k));
}

ExportResult WriteSetTables(const CaseSolution& solution, int s, const std::string& nodesFile,
                            const std::string& elementsFile, const std::string& reactionsFile) {
  const ResultSet& set = solution.Sets()[static_cast<std::size_t>(s)];
  const DesignColumns& design = solution.Design()[static_cast<std::size_t>(s)];
  const TGlobMatrix& first = solution.First();
  std::FILE* f = std::fopen(nodesFile.c_str(), "w");
  if (!f) return ExportResult::CannotCreate;
  // The foundation's column only where a foundation exists, as in the plain nodes table.
  const bool foundation = first.FoundationZ() != 0.0;
  std::fprintf(f, "node,mesh_node,x,y,w,rot_x,rot_y,sigma_x,sigma_y,tau_xy,m_x,m_y,m_xy");
  for (const char* name : kDesignColumnNames) std::fprintf(f, ",%s", name);
  std::fprintf(f, "%s\n", foundation ? ",foundation_pressure" : "");
  for (int v = 0; v < set.nodes; ++v) {
    std::fprintf(f, "%d,%d,%.10g,%.10g", v, first.MeshNodeOf(v), solution.X()[v], solution.Y()[v]);
    for (int k = 0; k < ResultSet::kNodeColumns; ++k) std::fprintf(f, ",%.10g", set.Node(v, k));
    AppendDesignRow(f, design, v, false);
    if (foundation) std::fprintf(f, ",%.10g", first.FoundationPressure(v, set.Node(v, 0)));
    std::fputc('\n', f);
  }
  if (CloseExport(f) != ExportResult::Written) return ExportResult::CannotCreate;

  f = std::fopen(elementsFile.c_str(), "w");
  if (!f) return ExportResult::CannotCreate;
  std::fprintf(f, "element,n0,n1,n2,x,y,deflection,sigma_x,sigma_y,tau_xy,m_x,m_y,m_xy");
  DesignHeader(f);
  for (int t = 0; t < set.elements; ++t) {
    const auto& c = solution.Triangles()[static_cast<std::size_t>(t)];
    double x = 0, y = 0;
    for (const int v : c) {
      x += solution.X()[static_cast<std::size_t>(v)] / 3;
      y += solution.Y()[static_cast<std::size_t>(v)] / 3;
    }
    std::fprintf(f, "%d,%d,%d,%d,%.10g,%.10g", t, c[0], c[1], c[2], x, y);
    for (int k = 0; k < ResultSet::kElementColumns; ++k)
      std::fprintf(f, ",%.10g", set.Element(t, k));
    AppendDesignRow(f, design, t, true);
    std::fputc('\n', f);
  }
  if (CloseExport(f) != ExportResult::Written) return ExportResult::CannotCreate;

  f = std::fopen(reactionsFile.c_str(), "w");
  if (!f) return ExportResult::CannotCreate;
  std::fprintf(f, "node,mesh_node,fz,mx,my\n");
  for (int v = 0; v < set.nodes; ++v) {
    if (!first.IsConstrained(v, 0) && !first.IsConstrained(v, 1) && !first.IsConstrained(v, 2))
      continue;
    const auto at = 3 * static_cast<std::size_t>(v);
    std::fprintf(f, "%d,%d,%.10g,%.10g,%.10g\n", v, first.MeshNodeOf(v), set.reaction[at],
                 set.reaction[at + 1], set.reaction[at + 2]);
  }
  return CloseExport(f);
}

ExportResult WriteEnvelopeTable(const CaseSolution& solution, const std::string& fileName) {
  std::FILE* f = std::fopen(fileName.c_str(), "w");
  if (!f) return ExportResult::CannotCreate;
  std::fprintf(f, "envelope,field,node,mesh_node,x,y,max,max_combination,min,min_combination\n");
  for (const NodeEnvelope& e : solution.Envelopes()) {
    for (int k = 0; k < NodeEnvelope::kColumns; ++k) {
      for (int v = 0; v < e.nodes; ++v) {
        const std::size_t at = e.At(v, k);
        std::fprintf(f, "%s,%s,%d,%d,%.10g,%.10g,%.10g,%s,%.10g,%s\n", e.name.c_str(),
                     NodeEnvelope::ColumnName(k), v, solution.First().MeshNodeOf(v),
                     solution.X()[static_cast<std::size_t>(v)],
                     solution.Y()[static_cast<std::size_t>(v)], e.max[at],
                     e.combinations[static_cast<std::size_t>(e.maxFrom[at])].c_str(), e.min[at],
                     e.combinations[static_cast<std::size_t>(e.minFrom[at])].c_str());
      }
    }
  }
  return CloseExport(f);
}

ExportResult WriteCasesVtu(const CaseSolution& solution, const std::string& fileName) {
  if (solution.Sets().empty()) return ExportResult::NoSolution;
  std::FILE* f = std::fopen(fileName.c_str(), "w");
  if (!f) return ExportResult::CannotCreate;
  const TGlobMatrix& first = solution.First();
  const int nodes = solution.Sets()[0].nodes, triangles = solution.Sets()[0].elements;
  BeginVtuGrid(f, nodes, triangles, nullptr);
  WriteMeshNodeArray(f, nodes, [&](int v) { return first.MeshNodeOf(v); });
  for (std::size_t s = 0; s < solution.Sets().size(); ++s) {
    const ResultSet& set = solution.Sets()[s];
    const DesignColumns& design = solution.Design()[s];
    const std::string at = std::string(1, '@').append(Escaped(set.name));
    for (int k = 0; k < ResultSet::kNodeColumns; ++k)
      WriteFloatArray(f, (VtkFieldName(k) + at).c_str(), nodes,
                      [&](int v) { return set.Node(v, k); });
    for (int k = 0; k < kDesignColumns; ++k)
      WriteFloatArray(f, (kDesignColumnNames[k] + at).c_str(), nodes,
                      [&](int v) { return design.Node(v, k); });
    if (first.FoundationZ() != 0.0)
      WriteFloatArray(f, ("foundation_pressure" + at).c_str(), nodes,
                      [&](int v) { return first.FoundationPressure(v, set.Node(v, 0)); });
  }
  for (const NodeEnvelope& e : solution.Envelopes()) {
    for (int k = 0; k < NodeEnvelope::kColumns; ++k) {
      const std::string column = NodeEnvelope::ColumnName(k);
      WriteFloatArray(f, (column + "_max@" + Escaped(e.name)).c_str(), nodes,
                      [&](int v) { return e.max[e.At(v, k)]; });
      WriteFloatArray(f, (column + "_min@" + Escaped(e.name)).c_str(), nodes,
                      [&](int v) { return e.min[e.At(v, k)]; });
    }
  }
  std::fprintf(f, "      </PointData>\n      <CellData>\n");
  for (std::size_t s = 0; s < solution.Sets().size(); ++s) {
    const ResultSet& set = solution.Sets()[s];
    const DesignColumns& design = solution.Design()[s];
    const std::string at = std::string(1, '@').append(Escaped(set.name));
    for (int k = 0; k < ResultSet::kElementColumns; ++k)
      WriteFloatArray(f, (kElementColumnNames[k] + at).c_str(), triangles,
                      [&](int t) { return set.Element(t, k); });
    for (int k = 0; k < kDesignColumns; ++k)
      WriteFloatArray(f, (kDesignColumnNames[k] + at).c_str(), triangles,
                      [&](int t) { return design.Element(t, k); });
  }
  EndVtuGrid(
      f, nodes, triangles, [&](int v) { return solution.X()[static_cast<std::size_t>(v)]; },
      [&](int v) { return solution.Y()[static_cast<std::size_t>(v)]; },
      [&](int t, int k) {
        return solution.Triangles()[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)];
      });
  return CloseExport(f);
}

}  // namespace tavrin
