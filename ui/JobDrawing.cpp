#include "ui/JobDrawing.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "analysis/TIsolines.h"
#include "mesh/FEM.h"
#include "model/ArcGeometry.h"
#include "model/TObjCont.h"
#include "ui/PlanView.h"
#include "ui/ViewTransform.h"

namespace tavrin {

Symbols JobSymbols(const TObjCont& job, int index, bool isNode) {
  Symbols s;
  s.constraintCode = job.GetConstraintCode(index, isNode);  // -1 draws no constraint
  const std::array<double, 3> k = isNode ? job.NodeSprings(index) : job.EdgeSprings(index);
  for (std::size_t d = 0; d < k.size(); ++d) s.springs[d] = k[d] != 0.0;
  s.loadLinZ = job.HasLinZLoad(index, isNode);
  s.loadRotX = job.HasRotXLoad(index, isNode);
  s.loadRotY = job.HasRotYLoad(index, isNode);
  return s;
}

void DrawNode(PlanView& view, const TObjCont& job, const QColor& colour, int sx, int sy, int node) {
  if (node < 0) {
    view.NodeSquare(colour, sx, sy, nullptr);
    return;
  }
  Symbols s = JobSymbols(job, node, true);
  view.NodeSquare(colour, sx, sy, &s);
}

void DrawEdge(PlanView& view, const TObjCont& job, const QColor& colour, int sx1, int sy1, int sx2,
              int sy2, int edge) {
  if (edge < 0) {
    view.EdgeLine(colour, sx1, sy1, sx2, sy2, nullptr);
    return;
  }
  Symbols s = JobSymbols(job, edge, false);
  view.EdgeLine(colour, sx1, sy1, sx2, sy2, &s);
}

namespace {

// Arcs are drawn as chords of at most 6 degrees each, finer than the eye tells from the arc at
// any zoom the plan allows.
int ArcPieces(const Arc& arc) {
  return std::max(2, static_cast<int>(std::ceil(std::fabs(arc.sweep) / 0.1)));
}

// An arc edge drawn in such chords, with the edge's symbols on the middle one.
void DrawArcEdge(PlanView& view, const TObjCont& job, const ViewTransform& t, const QColor& colour,
                 int e, bool symbols) {
  const int b = job.EdgeBegin(e), f = job.EdgeEnd(e);
  const Arc arc =
      ArcThrough(job.NodeX(b), job.NodeY(b), job.NodeX(f), job.NodeY(f), job.EdgeBulge(e));
  const int pieces = ArcPieces(arc);
  int px = t.ScreenX(job.NodeX(b)), py = t.ScreenY(job.NodeY(b));
  for (int k = 1; k <= pieces; ++k) {
    double x = job.NodeX(f), y = job.NodeY(f);
    if (k < pieces) ArcPointAt(arc, static_cast<double>(k) / pieces, x, y);
    const int sx = t.ScreenX(x), sy = t.ScreenY(y);
    if (symbols) {
      DrawEdge(view, job, colour, px, py, sx, sy, k == (pieces + 1) / 2 ? e : -1);
    } else {
      view.SetPen(colour);
      view.Line(px, py, sx, sy);
    }
    px = sx;
    py = sy;
  }
}

}  // namespace

void DrawPolygon(PlanView& view, const TObjCont& job, const ViewTransform& t, const QColor& colour,
                 int polygon) {
  int count = job.PolygonEdgeCount(polygon);
  for (int k = 0; k < count; ++k) {
    int e = job.PolygonEdge(polygon, k);
    int b = job.EdgeBegin(e), en = job.EdgeEnd(e);
    if (b < 0 || en < 0) continue;
    int bx = t.ScreenX(job.NodeX(b)), by = t.ScreenY(job.NodeY(b));
    int ex = t.ScreenX(job.NodeX(en)), ey = t.ScreenY(job.NodeY(en));
    if (job.IsArcEdge(e)) {
      DrawArcEdge(view, job, t, colour, e, false);
    } else {
      view.SetPen(colour);
      view.Line(bx, by, ex, ey);
    }
    DrawNode(view, job, colour, bx, by, b);
    DrawNode(view, job, colour, ex, ey, en);
  }
}

void DrawIsolines(PlanView& view, const TIsolines& isolines, const ViewTransform& t) {
  view.SetPen(PlanView::Lime());
  for (int k = 0; k < isolines.SegmentCount(); ++k) {
    int a = isolines.SegmentStart(k), b = isolines.SegmentEnd(k);
    view.Line(t.ScreenX(isolines.PointX(a)), t.ScreenY(isolines.PointY(a)),
              t.ScreenX(isolines.PointX(b)), t.ScreenY(isolines.PointY(b)));
  }
}

namespace {

// The polygon's area on the screen, its arc edges along their arcs (edges in list order, each
// from its begin node).
QPolygonF ScreenPolygon(const TObjCont& job, const ViewTransform& t, int polygon) {
  QPolygonF points;
  for (int k = 0; k < job.PolygonEdgeCount(polygon); ++k) {
    const int e = job.PolygonEdge(polygon, k);
    const int b = job.EdgeBegin(e), f = job.EdgeEnd(e);
    if (b < 0) continue;
    points << QPointF(t.ScreenX(job.NodeX(b)), t.ScreenY(job.NodeY(b)));
    if (!job.IsArcEdge(e)) continue;
    const Arc arc =
        ArcThrough(job.NodeX(b), job.NodeY(b), job.NodeX(f), job.NodeY(f), job.EdgeBulge(e));
    const int pieces = ArcPieces(arc);
    for (int j = 1; j < pieces; ++j) {
      double x = 0, y = 0;
      ArcPointAt(arc, static_cast<double>(j) / pieces, x, y);
      points << QPointF(t.ScreenX(x), t.ScreenY(y));
    }
  }
  return points;
}

}  // namespace

void DrawPressures(PlanView& view, const TObjCont& job, const ViewTransform& t) {
  std::vector<int> loaded, holes;
  for (int p = 0; p < job.PolygonCount(); ++p) {
    const PolygonPhysics physics = job.Physics(p);
    if (physics.isHole)
      holes.push_back(p);
    else if (physics.pressure != 0.0)
      loaded.push_back(p);
  }
  if (loaded.empty()) return;
  view.Paint([&](QPainter& painter) {
    painter.setPen(Qt::NoPen);
    // Polygons in job order: one inside another draws over it, as its own pressure replaces
    // the outer one's there.
    for (int p : loaded) {
      painter.setBrush(job.Physics(p).pressure < 0 ? QColor(0, 110, 255, 45)
                                                   : QColor(255, 140, 0, 45));
      painter.drawPolygon(ScreenPolygon(job, t, p));
    }
    painter.setBrush(view.Background());
    for (int p : holes) painter.drawPolygon(ScreenPolygon(job, t, p));
    painter.setPen(QColor(0, 60, 140));
    for (int p : loaded) {
      const QRectF box = ScreenPolygon(job, t, p).boundingRect();
      const QString text =
          QStringLiteral("qZ = ") + QString::number(job.Physics(p).pressure, 'g', 6);
      // Along the top of the polygon's box, clear of the centre where a hole often is.
      painter.drawText(QRectF(box.left(), box.top() + 4, box.width(), 20),
                       Qt::AlignHCenter | Qt::AlignTop, text);
    }
  });
}

void RedrawPlan(PlanView& view, const TObjCont& job, const FEM* mesh, const TIsolines* isolines,
                const ViewTransform& t, const std::function<void()>& underlay, bool meshLines) {
  view.ClearCanvas();
  if (underlay) underlay();
  if (!underlay && !isolines) DrawPressures(view, job, t);
  const QColor black = PlanView::Black();
  for (int i = 0; i < job.NodeCount(); ++i)
    DrawNode(view, job, black, t.ScreenX(job.NodeX(i)), t.ScreenY(job.NodeY(i)), i);
  if (!mesh) {
    for (int e = 0; e < job.EdgeCount(); ++e) {
      if (job.IsArcEdge(e)) {
        DrawArcEdge(view, job, t, black, e, true);
        continue;
      }
      int b = job.EdgeBegin(e), en = job.EdgeEnd(e);
      DrawEdge(view, job, black, t.ScreenX(job.NodeX(b)), t.ScreenY(job.NodeY(b)),
               t.ScreenX(job.NodeX(en)), t.ScreenY(job.NodeY(en)), e);
    }
  } else if (!meshLines) {
    // Only the edges with a job edge's index carry symbols.
    for (int e = 0; e < std::min(mesh->EdgeCount(), job.EdgeCount()); ++e) {
      const int b = mesh->EdgeBegin(e), en = mesh->EdgeEnd(e);
      view.DrawSymbols((t.ScreenX(mesh->NodeX(b)) + t.ScreenX(mesh->NodeX(en))) / 2,
                       (t.ScreenY(mesh->NodeY(b)) + t.ScreenY(mesh->NodeY(en))) / 2,
                       JobSymbols(job, e, false));
    }
  } else {
    for (int e = 0; e < mesh->EdgeCount(); ++e) {
      int b = mesh->EdgeBegin(e), en = mesh->EdgeEnd(e);
      DrawEdge(view, job, black, t.ScreenX(mesh->NodeX(b)), t.ScreenY(mesh->NodeY(b)),
               t.ScreenX(mesh->NodeX(en)), t.ScreenY(mesh->NodeY(en)), e);
    }
  }
  if (isolines) DrawIsolines(view, *isolines, t);
  view.DrawAxes();
}

}  // namespace tavrin
