// Reading a DXF file into a Drawing with dxflib's streaming reader: one pass over the file, each
// entity handed to a callback of the adapter below; cost linear in the file. dxflib stays
// behind this file: the rest of the importer sees only the plain records of DxfDrawing.h.
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "importer/DxfDrawing.h"

namespace tavrin::dxf {

namespace {

class Collector final : public DL_CreationAdapter {
 public:
  explicit Collector(Drawing& drawing) : d_(drawing) {}

  void addLayer(const DL_LayerData& data) override { NoteLayer(data.name); }
  void addBlock(const DL_BlockData&) override { inBlock_ = true; }
  void endBlock() override { inBlock_ = false; }

  void setVariableInt(const std::string& key, int value, int) override {
    if (key == "$INSUNITS") d_.insunits = value;
  }

  void addPoint(const DL_PointData& p) override {
    if (!Take()) return;
    d_.points.push_back({Layer(), p.x, p.y});
  }
  void addLine(const DL_LineData& l) override {
    if (!Take()) return;
    d_.lines.push_back({Layer(), l.x1, l.y1, l.x2, l.y2});
  }
  void addArc(const DL_ArcData& a) override {
    if (!Take()) return;
    Arc arc{Layer(), a.cx, a.cy, a.radius, a.angle1, a.angle2};
    if (Mirrored()) {
      // Seen from the other side: x changes sign and the counter-clockwise sweep from a1 to
      // a2 becomes the one from 180 - a2 to 180 - a1.
      arc.cx = -arc.cx;
      arc.startDegrees = 180.0 - a.angle2;
      arc.endDegrees = 180.0 - a.angle1;
    }
    d_.arcs.push_back(arc);
  }
  void addCircle(const DL_CircleData& c) override {
    if (!Take()) return;
    d_.circles.push_back({Layer(), Mirrored() ? -c.cx : c.cx, c.cy, c.radius});
  }
  void addPolyline(const DL_PolylineData& p) override {
    if (!Take()) return;
    // Polygon meshes and polyface meshes are surfaces, not outlines.
    if (p.flags & (16 | 64)) {
      d_.unsupported.push_back({"POLYLINE (mesh)", Layer()});
      return;
    }
    Polyline line;
    line.layer = Layer();
    line.closed = (p.flags & 1) != 0;
    d_.polylines.push_back(std::move(line));
    polylineMirrored_ = Mirrored();
    inPolyline_ = true;
  }
  void addVertex(const DL_VertexData& v) override {
    if (inBlock_ || !inPolyline_) return;
    // A mirror reverses the turning sense of every bulge.
    d_.polylines.back().vertices.push_back(polylineMirrored_ ? Vertex{-v.x, v.y, -v.bulge}
                                                             : Vertex{v.x, v.y, v.bulge});
  }
  void endSequence() override { inPolyline_ = false; }

  void addXLine(const DL_XLineData&) override { Skip("XLINE"); }
  void addRay(const DL_RayData&) override { Skip("RAY"); }
  void addEllipse(const DL_EllipseData&) override { Skip("ELLIPSE"); }
  void addSpline(const DL_SplineData&) override { Skip("SPLINE"); }
  void addInsert(const DL_InsertData&) override { Skip("INSERT"); }
  void addTrace(const DL_TraceData&) override { Skip("TRACE"); }
  void add3dFace(const DL_3dFaceData&) override { Skip("3DFACE"); }
  void addSolid(const DL_SolidData&) override { Skip("SOLID"); }
  void addMText(const DL_MTextData&) override { Skip("MTEXT"); }
  void addText(const DL_TextData&) override { Skip("TEXT"); }
  void addArcAlignedText(const DL_ArcAlignedTextData&) override { Skip("ARCALIGNEDTEXT"); }
  void addDimAlign(const DL_DimensionData&, const DL_DimAlignedData&) override {
    Skip("DIMENSION");
  }
  void addDimLinear(const DL_DimensionData&, const DL_DimLinearData&) override {
    Skip("DIMENSION");
  }
  void addDimRadial(const DL_DimensionData&, const DL_DimRadialData&) override {
    Skip("DIMENSION");
  }
  void addDimDiametric(const DL_DimensionData&, const DL_DimDiametricData&) override {
    Skip("DIMENSION");
  }
  void addDimAngular(const DL_DimensionData&, const DL_DimAngular2LData&) override {
    Skip("DIMENSION");
  }
  void addDimAngular3P(const DL_DimensionData&, const DL_DimAngular3PData&) override {
    Skip("DIMENSION");
  }
  void addDimOrdinate(const DL_DimensionData&, const DL_DimOrdinateData&) override {
    Skip("DIMENSION");
  }
  void addLeader(const DL_LeaderData&) override { Skip("LEADER"); }
  void addHatch(const DL_HatchData&) override { Skip("HATCH"); }
  void addImage(const DL_ImageData&) override { Skip("IMAGE"); }

 private:
  // True when the entity being read belongs to the model: outside a block definition. Any
  // entity ends the vertex list of a polyline before it.
  bool Take() {
    inPolyline_ = false;
    if (inBlock_) return false;
    NoteLayer(Layer());
    return true;
  }
  void Skip(const char* type) {
    if (Take()) d_.unsupported.push_back({type, Layer()});
  }
  std::string Layer() const { return attributes.getLayer(); }
  bool Mirrored() const {
    const DL_Extrusion* e = const_cast<Collector*>(this)->getExtrusion();
    return e != nullptr && e->getDirection()[2] < 0.0;
  }
  void NoteLayer(const std::string& name) {
    if (std::find(d_.layers.begin(), d_.layers.end(), name) == d_.layers.end())
      d_.layers.push_back(name);
  }

  Drawing& d_;  // not owned
  bool inBlock_ = false;
  bool inPolyline_ = false;
  bool polylineMirrored_ = false;
};

}  // namespace

bool ReadDrawing(const std::string& path, Drawing& drawing, std::string& error) {
  drawing = Drawing{};
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = "cannot open " + path + ": no such file";
    return false;
  }
  Collector collector(drawing);
  DL_Dxf reader;
  if (!reader.in(path, &collector)) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

}  // namespace tavrin::dxf
