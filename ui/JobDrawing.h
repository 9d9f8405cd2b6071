// Drawing the job on the plan view: nodes and edges with their load and constraint symbols,
// whole polygons, the mesh, the isolines and the complete repaint. Stateless; every call maps
// world points through the given ViewTransform.
#pragma once

#include <functional>

class QColor;

namespace tavrin {

class FEM;
class PlanView;
class TIsolines;
class TObjCont;
struct Symbols;
struct ViewTransform;

// The symbols of node (isNode) or edge index; none for an index the job does not have.
Symbols JobSymbols(const TObjCont& job, int index, bool isNode);

// The node square at a screen point, with the node's symbols unless node is negative.
void DrawNode(PlanView& view, const TObjCont& job, const QColor& colour, int sx, int sy, int node);
// A line between two screen points, with the edge's symbols at its middle unless edge is negative.
void DrawEdge(PlanView& view, const TObjCont& job, const QColor& colour, int sx1, int sy1, int sx2,
              int sy2, int edge);
// Every edge of a polygon as a plain line, and both end nodes of each edge with their symbols.
void DrawPolygon(PlanView& view, const TObjCont& job, const ViewTransform& t, const QColor& colour,
                 int polygon);
// The isoline segments in lime.
void DrawIsolines(PlanView& view, const TIsolines& isolines, const ViewTransform& t);

// The pressure of every loaded polygon: its area tinted (orange for a positive value, blue for a
// negative one; holes left clear) and "qZ = value" along the top of its box.
void DrawPressures(PlanView& view, const TObjCont& job, const ViewTransform& t);

// The whole picture: background, the pressures (in the plain view: no underlay, no isolines),
// nodes, then either the job's edges or (mesh given) the mesh's
// edges carrying the symbols of the job edge of the same index, then the isolines if given,
// then the axes. An underlay (the colour fringes) is drawn right after the background. Without
// meshLines the mesh's edges carry their symbols only: their lines are in the underlay, which
// then draws the pressures too.
void RedrawPlan(PlanView& view, const TObjCont& job, const FEM* mesh, const TIsolines* isolines,
                const ViewTransform& t, const std::function<void()>& underlay = {},
                bool meshLines = true);

}  // namespace tavrin
