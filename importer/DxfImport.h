// A job from a DXF drawing: the selected layers' closed loops become the plate outline and its
// holes, their points free nodes. The whole drawing is checked before the job is built, and the
// built job must pass the geometry check, so a drawing is imported whole or not at all.
//
// Read: closed LWPOLYLINE and POLYLINE, chains of LINE, ARC and open polylines joined end to end
// within kJoinTolerance of the drawing's size, CIRCLE, POINT. Bulges, arcs and circles become
// arc edges (see ArcEdges.h: a circle is four quarter arcs, an arc of more than a half turn is
// split). Refused: an open chain (its ends named), loops that cross or touch, a loop
// inside a hole, more than one outermost loop, entities of other types in the selected layers
// (counted by type), a layer the drawing lacks, an empty selection. The numbers stay as drawn;
// $INSUNITS is only reported. Cost: reading is linear in the file; see LoopAssembly.h and
// LoopNesting.h for the joining and the nesting.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "importer/ArcChords.h"
#include "importer/DxfDrawing.h"
#include "model/TObjCont.h"

namespace tavrin::dxf {

// Ends of pieces closer than this fraction of the selection's bounding-box diagonal are joined:
// far above the rounding of coordinates written by CAD programs, far below any feature a plate
// can be meshed with (the geometry check asks for 1e-6 of the outline's extent between nodes).
inline constexpr double kJoinTolerance = 1e-7;

struct ImportOptions {
  std::vector<std::string> layers;  // layers to read, compared without case; empty: all
};

struct LayerSummary {
  std::string name;
  int entities = 0;  // model-space entities on it, of any type
  bool selected = false;
};

struct ImportedLoop {           // the loop as it becomes a polygon of the job
  std::vector<Vertex> corners;  // counter-clockwise; each bulge on the edge to the next corner
  std::vector<XY> points;       // the same loop as chords, for a preview
  double area = 0.0;            // enclosed, arcs included (positive)
  bool hole = false;
  std::string name;  // which entities it came from
};

// What the drawing holds; filled as far as the reading got, also for a refused drawing.
struct ImportReport {
  std::vector<LayerSummary> layers;        // in the drawing's order
  std::map<std::string, int> read;         // supported entities of the selection, by DXF type
  std::map<std::string, int> unsupported;  // other entities of the selection, by DXF type
  int insunits = -1;                       // the header's $INSUNITS, -1 when absent
  std::vector<ImportedLoop> loops;         // outline first, then the holes
  std::vector<XY> freeNodes;
  double outlineArea = 0.0;  // of the outline polygon, arcs included, holes not taken off
};

enum class ImportFailure {
  None,
  Unreadable,  // the file cannot be opened or read
  Drawing,     // the drawing cannot make a plate (message names what)
  Geometry,    // the job built fails the geometry check (its message)
};

struct ImportResult {
  ImportFailure failure = ImportFailure::None;
  std::string message;  // one or two sentences for the user when failed
  TObjCont job;         // the imported job; empty when failed
  ImportReport report;
  explicit operator bool() const { return failure == ImportFailure::None; }
};

ImportResult ImportDxf(const std::string& path, const ImportOptions& options = {});

// "millimetres" for $INSUNITS 4, "unitless" for 0 or absent, "unit code 99" for an unknown one.
std::string UnitName(int insunits);

}  // namespace tavrin::dxf
