// Colour fringes of a result field in the plan view's screen coordinates.
//
// RenderFringes fills every pixel whose centre lies in a triangle of the field with the colour
// of the band of the value there: nodal values interpolated linearly over the triangle (by
// barycentric weights of the pixel centre), or the triangle's own value for a per-element
// field. Pixels outside the mesh are left as they are. The cost is one pass over the triangles
// plus one evaluation per covered pixel, whatever the mesh's size against the view's.
//
// DrawFringePolygons paints the same bands as filled polygons, for vector pictures: each
// triangle cut along the band boundaries that cross it (the linear field's level lines), each
// piece filled with its band's colour. One to a few polygons per triangle.
//
// DrawBandLines draws the band boundaries (isolines at the legend's values) over the fringes:
// in each triangle, the straight segment where the linear field crosses each boundary level
// (ForEachBandSegment finds them; RasterBandLines writes them into an image without a painter).
// DrawExtremeMarkers marks the smallest and the largest value where they occur.
#pragma once

#include <QColor>
#include <QImage>
#include <functional>

class QPainter;

namespace tavrin {

struct FringeField;
class FringeScale;
struct ViewTransform;

// Asked every few thousand triangles whether to give up (a newer picture is wanted).
using Abandoned = std::function<bool()>;

// False when abandoned, the image then partly drawn.
bool RenderFringes(QImage& image, const FringeField& field, const FringeScale& scale,
                   const ViewTransform& t, const Abandoned& abandoned = {});
void DrawFringePolygons(QPainter& painter, const FringeField& field, const FringeScale& scale,
                        const ViewTransform& t);
void DrawBandLines(QPainter& painter, const FringeField& field, const FringeScale& scale,
                   const ViewTransform& t, const QColor& colour);
// Each band boundary's segment in each triangle, in world coordinates; false when abandoned.
bool ForEachBandSegment(const FringeField& field, const FringeScale& scale,
                        const std::function<void(double, double, double, double)>& segment,
                        const Abandoned& abandoned = {});
bool RasterBandLines(QImage& image, const FringeField& field, const FringeScale& scale,
                     const ViewTransform& t, QRgb colour, const Abandoned& abandoned = {});
// A triangle pointing down at the minimum and up at the maximum, with "min" and "max" beside.
void DrawExtremeMarkers(QPainter& painter, const FringeField& field, const ViewTransform& t);

}  // namespace tavrin
