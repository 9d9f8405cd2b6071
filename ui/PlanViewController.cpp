#include "ui/PlanViewController.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>

#include "model/TObjCont.h"
#include "ui/FringeRenderer.h"
#include "ui/JobDrawing.h"
#include "ui/PlanView.h"
#include "ui/ResultViewController.h"
#include "ui/ViewNavigation.h"
#include "ui/ViewTransform.h"

namespace tavrin {

PlanViewController::PlanViewController(PlanView& view, std::function<void()> redraw,
                                       QObject* timerParent)
    : view_(view), redraw_(std::move(redraw)), wholePicture_(new QTimer(timerParent)) {
  wholePicture_->setSingleShot(true);
  wholePicture_->setInterval(kWholePictureDelayMs);
  QObject::connect(wholePicture_, &QTimer::timeout, [this] { redraw_(); });
}

void PlanViewController::Draw(const TObjCont& job, const FEM* mesh, ResultViewController& results,
                              bool vector) {
  QElapsedTimer clock;
  clock.start();
  const bool resultView = results.ViewIndex() > 0;
  const ViewTransform& t = CurrentViewTransform();
  if (resultView && results.FringesShown()) {
    FringeView& fringes = results.Fringes();
    RedrawPlan(view_, job, nullptr, nullptr, t, [&] {
      view_.Paint([&](QPainter& p) {
        if (vector)
          DrawFringePolygons(p, fringes.Field(), fringes.Scale(), t);
        else
          p.drawImage(0, 0, fringes.Image(t));
      });
    });
    view_.Paint([&](QPainter& p) { fringes.DrawOverlay(p, t); });
  } else {
    RedrawPlan(view_, job, resultView ? nullptr : mesh, resultView ? &results.Isolines() : nullptr,
               t);
    if (resultView) view_.Paint([&](QPainter& p) { results.DrawIsolineOverlay(p, t); });
  }
  lastDrawSeconds_ = clock.nsecsElapsed() * 1e-9;
}

void PlanViewController::Fit(const TObjCont& job, const ResultViewController& results) {
  ViewTransform& t = CurrentViewTransform();
  t.canvasHeight = view_.height();
  t.canvasWidth = view_.width();
  fittedWithLegend_ = results.FringesShown();
  const int legend = fittedWithLegend_ ? results.Fringes().LegendReserve(t.canvasHeight) : 0;
  FitToBox(t, JobBox(job), kFitMargin, legend);
  placedByProgram_ = true;
}

void PlanViewController::RefitForLegend(const TObjCont& job, const ResultViewController& results) {
  if (results.FringesShown() == fittedWithLegend_) return;
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

void PlanViewController::SetWholePictureDelay(int ms) { wholePicture_->setInterval(ms); }
bool PlanViewController::WholePicturePending() const { return wholePicture_->isActive(); }
void PlanViewController::CancelPending() { wholePicture_->stop(); }

}  // namespace tavrin
