#include "ui/PlanViewController.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>

#include "mesh/FEM.h"
#include "model/TObjCont.h"
#include "ui/FringeRenderer.h"
#include "ui/JobDrawing.h"
#include "ui/PictureLayer.h"
#include "ui/PlanView.h"
#include "ui/ResultViewController.h"
#include "ui/ViewNavigation.h"
#include "ui/ViewTransform.h"

namespace tavrin {

PlanViewController::PlanViewController(PlanView& view, std::function<void()> redraw,
                                       QObject* timerParent)
    : view_(view),
      redraw_(std::move(redraw)),
      wholePicture_(new QTimer(timerParent)),
      layers_([this] { redraw_(); }) {
  wholePicture_->setSingleShot(true);
  wholePicture_->setInterval(kWholePictureDelayMs);
  QObject::connect(wholePicture_, &QTimer::timeout, [this] { redraw_(); });
}

std::shared_ptr<const PictureLayer> PlanViewController::LayerFor(const FEM* mesh,
                                                                 const ResultViewController& r) {
  // A copy of the mesh's edges is kept only while they are shown (32 bytes an edge).
  if (!mesh || r.ViewIndex() > 0) meshLayer_.reset();
  if (r.ViewIndex() > 0) return r.FringesShown() ? r.Fringes().Layer() : r.IsolineLayer();
  if (!mesh) return nullptr;
  if (!meshLayer_ || meshLayerOf_ != mesh || meshLayerEdges_ != mesh->EdgeCount()) {
    meshLayer_ = MakeMeshLayer(*mesh, PlanView::Black());
    meshLayerOf_ = mesh;
    meshLayerEdges_ = mesh->EdgeCount();
  }
  return meshLayer_;
}

void PlanViewController::Draw(const TObjCont& job, const FEM* mesh, ResultViewController& results,
                              bool vector) {
  QElapsedTimer clock;
  clock.start();
  if (vector) {
    DrawVector(job, mesh, results);
    lastDrawSeconds_ = clock.nsecsElapsed() * 1e-9;
    return;
  }
  const bool resultView = results.ViewIndex() > 0;
  const ViewTransform& t = CurrentViewTransform();
  const std::shared_ptr<const PictureLayer> layer = LayerFor(mesh, results);
  // Half a frame at most for the layer: the rest of the picture takes the other half.
  if (layer)
    layers_.Request(layer, t, fluidRedrawSeconds_ / 2);
  else
    layers_.Drop();
  // The newest picture of this layer, moved to the view (nothing of a new layer to show yet).
  const LayerRenderer::Picture* picture = layers_.Latest();
  if (picture && picture->layer != layer) picture = nullptr;
  auto drawMoved = [&](const QImage& image) {
    if (picture && !image.isNull())
      view_.Paint([&](QPainter& p) { DrawLayerMoved(p, image, picture->view, t); });
  };
  std::function<void()> underlay;
  if (layer) {
    underlay = [&] {
      if (!resultView) DrawPressures(view_, job, t);
      drawMoved(picture ? picture->images.under : QImage());
    };
  }
  RedrawPlan(view_, job, resultView ? nullptr : mesh, nullptr, t, underlay, !layer);
  // The band lines and isolines over the job's outline, as they were drawn before the layers.
  drawMoved(picture ? picture->images.over : QImage());
  if (resultView && results.FringesShown())
    view_.Paint([&](QPainter& p) { results.Fringes().DrawOverlay(p, t); });
  else if (resultView)
    view_.Paint([&](QPainter& p) { results.DrawIsolineOverlay(p, t); });
  lastDrawSeconds_ = clock.nsecsElapsed() * 1e-9;
}

void PlanViewController::DrawVector(const TObjCont& job, const FEM* mesh,
                                    ResultViewController& results) {
  const bool resultView = results.ViewIndex() > 0;
  const ViewTransform& t = CurrentViewTransform();
  if (resultView && results.FringesShown()) {
    const FringeView& fringes = results.Fringes();
    RedrawPlan(view_, job, nullptr, nullptr, t, [&] {
      view_.Paint([&](QPainter& p) { DrawFringePolygons(p, fringes.Field(), fringes.Scale(), t); });
    });
    view_.Paint([&](QPainter& p) { fringes.DrawOverlay(p, t, true); });
  } else {
    RedrawPlan(view_, job, resultView ? nullptr : mesh, resultView ? &results.Isolines() : nullptr,
               t);
    if (resultView) view_.Paint([&](QPainter& p) { results.DrawIsolineOverlay(p, t); });
  }
}

PlanViewController::Legend PlanViewController::LegendOf(const ResultViewController& results) const {
  if (results.LegendReserve(view_.height()) == 0) return Legend::None;
  return results.FringesShown() ? Legend::Fringes : Legend::Isolines;
}

void PlanViewController::Fit(const TObjCont& job, const ResultViewController& results) {
  ViewTransform& t = CurrentViewTransform();
  t.canvasHeight = view_.height();
  t.canvasWidth = view_.width();
  fittedLegend_ = LegendOf(results);
  FitToBox(t, JobBox(job), kFitMargin, results.LegendReserve(t.canvasHeight));
  placedByProgram_ = true;
}

void PlanViewController::RefitForLegend(const TObjCont& job, const ResultViewController& results) {
  if (LegendOf(results) == fittedLegend_) return;
  if (placedByProgram_ && job.NodeCount() > 0) Fit(job, results);
}

// The scale and the lower left corner stay.
void PlanViewController::Resized(const TObjCont& job, const ResultViewController& results) {
  ViewTransform& t = CurrentViewTransform();
  t.canvasHeight = view_.height();
  t.canvasWidth = view_.width();
  if (fitUntilShown_ && placedByProgram_ && job.NodeCount() > 0) Fit(job, results);
}

void PlanViewController::Dragged(int dx, int dy) {
  placedByProgram_ = false;
  if (lastDrawSeconds_ <= fluidRedrawSeconds_) {
    redraw_();
    return;
  }
  view_.Shift(dx, dy);
  if (!wholePicture_->isActive()) wholePicture_->start();
}

void PlanViewController::UserMoved() {
  placedByProgram_ = false;
  redraw_();
}

void PlanViewController::ZoomIn() {
  CurrentViewTransform().ZoomIn();
  UserMoved();
}

void PlanViewController::ZoomOut() {
  CurrentViewTransform().ZoomOut();
  UserMoved();
}

void PlanViewController::FinishPicture() {
  if (!layers_.Pending() && !wholePicture_->isActive()) return;
  layers_.Finish();
  redraw_();
}

void PlanViewController::SetWholePictureDelay(int ms) { wholePicture_->setInterval(ms); }
bool PlanViewController::WholePicturePending() const { return wholePicture_->isActive(); }
void PlanViewController::CancelPending() { wholePicture_->stop(); }

}  // namespace tavrin
