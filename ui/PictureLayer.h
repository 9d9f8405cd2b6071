// PictureLayer: the part of a plan picture whose cost grows with the mesh (the colour fringes
// with their band lines, the mesh's edges, the isolines), drawn into a transparent image of the
// view's size apart from the rest of the picture (job outline, symbols, legend), which stays
// cheap whatever the mesh. A layer has a part drawn under the job's outline (the fringes, the
// mesh's edges) and one drawn over it (the band lines and the isolines, which must stay
// readable where they run along an edge), each in an image of its own. A layer is immutable once
// made: it owns a copy of what it draws, so that a render thread may draw it while the window goes
// on and replaces its own data.
//
// Every layer is written straight into the image without a painter: triangles by a scanline
// fill of the pixel centres, lines by Bresenham. That is level of detail by construction: a
// triangle smaller than a pixel costs its bounding box test and sets at most the pixel it
// covers, an edge within one pixel sets that pixel, so a zoomed-out picture of 2 10^6 triangles
// costs one pass over them plus the view's pixels, not a path per triangle.
//
// DrawLayerMoved draws a layer image made for one view where another view puts the same world
// points (scaled for a zoom, shifted for a pan, moved for a resize): the picture a view change
// shows at once while the exact layer is rendered.
#pragma once

#include <QColor>
#include <QImage>
#include <cstddef>
#include <memory>
#include <vector>

#include "ui/FringeRenderer.h"
#include "ui/FringeScale.h"

class QPainter;

namespace tavrin {

class FEM;
class TIsolines;
struct FringeField;
struct ViewTransform;

class PictureLayer {
 public:
  virtual ~PictureLayer() = default;
  // The triangles, edges or segments a render walks: the measure of its cost.
  virtual std::size_t Elements() const = 0;
  // The parts the layer has: under the job's outline, over it.
  virtual bool DrawsUnder() const { return true; }
  virtual bool DrawsOver() const { return false; }
  // Draws the part under (over) the outline over image (transparent, the view's canvas size)
  // for view t; false when abandoned.
  virtual bool Render(QImage& image, const ViewTransform& t,
                      const Abandoned& abandoned = {}) const = 0;
  virtual bool RenderOver(QImage& /*image*/, const ViewTransform& /*t*/,
                          const Abandoned& /*abandoned*/ = {}) const {
    return true;
  }
};

// The fringes of field in the bands of scale, with the band boundaries in lineColour over the
// outline.
std::shared_ptr<const PictureLayer> MakeFringeLayer(std::shared_ptr<const FringeField> field,
                                                    const FringeScale& scale, QColor lineColour);
// The mesh's edges in colour (copied out of the mesh).
std::shared_ptr<const PictureLayer> MakeMeshLayer(const FEM& mesh, QColor colour);
// The isoline segments in colour (copied out of the isolines), drawn over the outline.
std::shared_ptr<const PictureLayer> MakeIsolineLayer(const TIsolines& isolines, QColor colour);

// A new transparent image of the canvas size of t, for Render.
QImage NewLayerImage(const ViewTransform& t);

void DrawLayerMoved(QPainter& painter, const QImage& layer, const ViewTransform& from,
                    const ViewTransform& to);

}  // namespace tavrin
