// The entities of a DXF drawing as the importer uses them, in drawing units and world
// coordinates (an entity drawn with a mirrored extrusion is already mirrored back), before any
// layer filter or joining. Plain values: the reader fills it, the import reads it.
#pragma once

#include <string>
#include <vector>

namespace tavrin::dxf {

struct Vertex {
  double x = 0.0;
  double y = 0.0;
  double bulge = 0.0;  // of the segment that starts here: tan(included angle / 4), + = CCW
};

struct Polyline {  // LWPOLYLINE or 2D POLYLINE
  std::string layer;
  std::vector<Vertex> vertices;
  bool closed = false;
};

struct Line {
  std::string layer;
  double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
};

struct Arc {  // counter-clockwise from startDegrees to endDegrees
  std::string layer;
  double cx = 0.0, cy = 0.0, radius = 0.0;
  double startDegrees = 0.0, endDegrees = 0.0;
};

struct Circle {
  std::string layer;
  double cx = 0.0, cy = 0.0, radius = 0.0;
};

struct Point {
  std::string layer;
  double x = 0.0, y = 0.0;
};

struct Unsupported {  // an entity the importer has no meaning for
  std::string type;   // its DXF name: "TEXT", "SPLINE", "INSERT", ...
  std::string layer;
};

struct Drawing {
  std::vector<Polyline> polylines;
  std::vector<Line> lines;
  std::vector<Arc> arcs;
  std::vector<Circle> circles;
  std::vector<Point> points;
  std::vector<Unsupported> unsupported;
  std::vector<std::string> layers;  // the layer table, then layers only entities name
  int insunits = -1;                // $INSUNITS; -1 when the header has none
};

// Reads the model space of a DXF file (entities inside block definitions are not drawn by
// themselves and are skipped; an INSERT counts as unsupported). False with a one-line reason
// when the file cannot be opened or read.
bool ReadDrawing(const std::string& path, Drawing& drawing, std::string& error);

}  // namespace tavrin::dxf
