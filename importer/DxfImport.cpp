// The import in order: read the drawing, select layers, turn entities into pieces (arcs as the
// bulges of their corners), join pieces into loops, make their arcs fit for a job, nest them, and
// only then build the job and run the geometry check on a prepared copy. Every refusal comes before
// anything is built.
#include "importer/DxfImport.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "importer/ArcEdges.h"
#include "importer/DxfDrawing.h"
#include "importer/LoopAssembly.h"
#include "importer/LoopNesting.h"
#include "model/GeometryCheck.h"

namespace tavrin::dxf {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

ImportResult Refuse(ImportResult&& result, ImportFailure failure, std::string message) {
  result.failure = failure;
  result.message = std::move(message);
  result.job.Clear();
  return std::move(result);
}

std::string CountsText(const std::map<std::string, int>& counts) {
  std::string text;
  for (const auto& [type, count] : counts)
    text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + type;
  return text;
}

struct Extent {
  double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
  void Add(double x, double y, double r = 0.0) {
    x0 = std::min(x0, x - r), y0 = std::min(y0, y - r);
    x1 = std::max(x1, x + r), y1 = std::max(y1, y + r);
  }
  double Diagonal() const { return x1 >= x0 ? std::hypot(x1 - x0, y1 - y0) : 0.0; }
};

bool AllFinite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Adds each loop as a closed polygon: the outline first, so that it takes slot 0 as drawn.
void BuildJob(const std::vector<ImportedLoop>& loops, const std::vector<XY>& points,
              TObjCont& job) {
  job.Clear();
  for (const ImportedLoop& loop : loops) {
    const int first = job.NodeCount();
    const int n = static_cast<int>(loop.corners.size());
    for (const Vertex& v : loop.corners) job.AddNode(v.x, v.y);
    for (int k = 0; k < n; ++k) {
      job.AddPolygonEdge(first + k, first + (k + 1) % n);
      const double bulge = loop.corners[static_cast<std::size_t>(k)].bulge;
      if (bulge != 0.0) job.SetEdgeBulge(job.EdgeCount() - 1, bulge);
    }
    job.ClosePolygon();  // the first closed polygon is the plate, the later ones holes
  }
  for (const XY& p : points) job.AddFreeNode(p.x, p.y);
}

}  // namespace

std::string UnitName(int insunits) {
  static const char* const kNames[] = {"unitless",
                                       "inches",
                                       "feet",
                                       "miles",
                                       "millimetres",
                                       "centimetres",
                                       "metres",
                                       "kilometres",
                                       "microinches",
                                       "mils",
                                       "yards",
                                       "angstroms",
                                       "nanometres",
                                       "microns",
                                       "decimetres",
                                       "decametres",
                                       "hectometres",
                                       "gigametres",
                                       "astronomical units",
                                       "light years",
                                       "parsecs",
                                       "US survey feet",
                                       "US survey inches",
                                       "US survey yards",
                                       "US survey miles"};
  if (insunits < 0) return "unitless";
  if (insunits < static_cast<int>(std::size(kNames))) return kNames[insunits];
  return "unit code " + std::to_string(insunits);
}

ImportResult ImportDxf(const std::string& path, const ImportOptions& options) {
  ImportResult result;
  Drawing drawing;
  std::string error;
  if (!ReadDrawing(path, drawing, error))
    return Refuse(std::move(result), ImportFailure::Unreadable, error);
  ImportReport& report = result.report;
  report.insunits = drawing.insunits;

  std::vector<std::string> wanted;
  for (const std::string& layer : options.layers) wanted.push_back(Lower(layer));
  for (const std::string& name : drawing.layers) {
    const bool selected =
        wanted.empty() || std::find(wanted.begin(), wanted.end(), Lower(name)) != wanted.end();
    report.layers.push_back({name, 0, selected});
  }
  for (const std::string& layer : options.layers) {
    if (std::none_of(drawing.layers.begin(), drawing.layers.end(),
                     [&](const std::string& n) { return Lower(n) == Lower(layer); })) {
      std::string names;
      for (const std::string& n : drawing.layers) names += (names.empty() ? "" : ", ") + n;
      return Refuse(std::move(result), ImportFailure::Drawing,
                    "The drawing has no layer \"" + layer + "\"; its layers are " + names + ".");
    }
  }
  // Counts the entity on its layer and tells whether the selection reads it.
  const auto take = [&](const std::string& layer) {
    for (LayerSummary& summary : report.layers)
      if (summary.name == layer) {
        ++summary.entities;
        return summary.selected;
      }
    return false;
  };

  std::vector<Piece> pieces;
  Extent extent;
  bool finite = true;
  for (const Polyline& p : drawing.polylines) {
    if (!take(p.layer) || p.vertices.empty()) continue;
    ++report.read[p.closed ? "closed POLYLINE" : "open POLYLINE"];
    Piece piece{p.vertices, p.closed, "POLYLINE", p.layer};
    // An open polyline's last bulge belongs to no segment.
    if (!p.closed) piece.corners.back().bulge = 0.0;
    for (const Vertex& v : piece.corners) {
      finite = finite && AllFinite({v.x, v.y, v.bulge});
      extent.Add(v.x, v.y);
    }
    pieces.push_back(std::move(piece));
  }
  for (const Line& l : drawing.lines) {
    if (!take(l.layer)) continue;
    ++report.read["LINE"];
    finite = finite && AllFinite({l.x1, l.y1, l.x2, l.y2});
    pieces.push_back({{{l.x1, l.y1, 0.0}, {l.x2, l.y2, 0.0}}, false, "LINE", l.layer});
    extent.Add(l.x1, l.y1), extent.Add(l.x2, l.y2);
  }
  for (const Arc& a : drawing.arcs) {
    if (!take(a.layer)) continue;
    ++report.read["ARC"];
    finite = finite && AllFinite({a.cx, a.cy, a.radius, a.startDegrees, a.endDegrees});
    if (!finite) continue;
    std::vector<Vertex> corners = ArcCorners(a.cx, a.cy, a.radius, a.startDegrees, a.endDegrees);
    if (corners.empty())  // a full turn: the circle itself
      pieces.push_back({CircleCorners(a.cx, a.cy, a.radius), true, "ARC", a.layer});
    else
      pieces.push_back({std::move(corners), false, "ARC", a.layer});
    extent.Add(a.cx, a.cy, a.radius);
  }
  for (const Circle& c : drawing.circles) {
    if (!take(c.layer)) continue;
    ++report.read["CIRCLE"];
    finite = finite && AllFinite({c.cx, c.cy, c.radius});
    if (!finite) continue;
    pieces.push_back({CircleCorners(c.cx, c.cy, c.radius), true, "CIRCLE", c.layer});
    extent.Add(c.cx, c.cy, c.radius);
  }
  std::vector<XY> points;
  for (const Point& p : drawing.points) {
    if (!take(p.layer)) continue;
    ++report.read["POINT"];
    finite = finite && AllFinite({p.x, p.y});
    points.push_back({p.x, p.y});
    extent.Add(p.x, p.y);
  }
  for (const Unsupported& u : drawing.unsupported)
    if (take(u.layer)) ++report.unsupported[u.type];

  if (!report.unsupported.empty())
    return Refuse(std::move(result), ImportFailure::Drawing,
                  "The selected layers hold entities that cannot be imported: " +
                      CountsText(report.unsupported) +
                      ". Only lines, arcs, polylines, circles and points make a plate; choose "
                      "the layers that hold the plate.");
  if (report.read.empty())
    return Refuse(std::move(result), ImportFailure::Drawing,
                  wanted.empty() ? "The drawing holds no entity to import."
                                 : "The selected layers hold no entity to import.");
  if (!finite)
    return Refuse(std::move(result), ImportFailure::Drawing,
                  "The drawing holds a coordinate that is not a finite number.");

  const double tolerance = kJoinTolerance * extent.Diagonal();
  LoopAssembly assembly = AssembleLoops(pieces, tolerance);
  if (!assembly) return Refuse(std::move(result), ImportFailure::Drawing, assembly.refusal);
  for (Loop& loop : assembly.loops) {
    FinishLoop(loop.corners, tolerance);
    loop.points = Chords(loop.corners);
  }
  const Nesting nesting = NestLoops(assembly.loops);
  if (!nesting) return Refuse(std::move(result), ImportFailure::Drawing, nesting.refusal);

  // Counter-clockwise throughout, as the editor's examples are drawn.
  const auto add = [&](int index, bool hole) {
    Loop& loop = assembly.loops[static_cast<std::size_t>(index)];
    double area = LoopArea(loop.corners);
    if (area < 0.0) {
      loop.corners = Reversed(loop.corners, true);
      std::reverse(loop.points.begin(), loop.points.end());
      area = -area;
    }
    report.loops.push_back({loop.corners, loop.points, area, hole, loop.name});
  };
  add(nesting.outline, false);
  for (int h : nesting.holes) add(h, true);
  report.outlineArea = report.loops.front().area;
  report.freeNodes = points;

  BuildJob(report.loops, points, result.job);
  TObjCont prepared = result.job;
  prepared.PrepareForMeshing();
  if (const GeometryCheckResult check = CheckGeometry(prepared); !check)
    return Refuse(std::move(result), ImportFailure::Geometry,
                  "The imported plate fails the geometry check: " + check.message);
  return result;
}

}  // namespace tavrin::dxf
