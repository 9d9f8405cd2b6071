#include "ui/LayerRenderer.h"

#include <QElapsedTimer>
#include <algorithm>
#include <utility>

#include "ui/PictureLayer.h"

namespace tavrin {

namespace {
bool SameView(const ViewTransform& a, const ViewTransform& b) {
  return a.scale == b.scale && a.originX == b.originX && a.originY == b.originY &&
         a.canvasWidth == b.canvasWidth && a.canvasHeight == b.canvasHeight;
}
}  // namespace

LayerRenderer::LayerRenderer(std::function<void()> ready)
    : ready_(std::move(ready)), thread_([this] { Work(); }) {}

LayerRenderer::~LayerRenderer() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    ++generation_;  // abandons a render in progress
  }
  wake_.notify_one();
  thread_.join();
}

std::optional<LayerRenderer::Images> LayerRenderer::Render(const PictureLayer& layer,
                                                           const ViewTransform& t,
                                                           const std::function<bool()>& abandoned) {
  Images images;
  if (layer.DrawsUnder()) {
    images.under = NewLayerImage(t);
    if (!layer.Render(images.under, t, abandoned)) return std::nullopt;
  }
  if (layer.DrawsOver()) {
    images.over = NewLayerImage(t);
    if (!layer.RenderOver(images.over, t, abandoned)) return std::nullopt;
  }
  return images;
}

// A small layer's time goes mostly to the view's pixels, a large one's to its elements: the
// same layer's last time predicts best.
double LayerRenderer::PredictedSeconds(const PictureLayer& layer) const {
  if (lastMeasured_.lock().get() == &layer) return lastSeconds_;
  return secondsPerElement_ * static_cast<double>(layer.Elements());
}

void LayerRenderer::Measured(const std::shared_ptr<const PictureLayer>& layer, double seconds) {
  secondsPerElement_ = seconds / static_cast<double>(std::max<std::size_t>(1, layer->Elements()));
  lastMeasured_ = layer;
  lastSeconds_ = seconds;
}

bool LayerRenderer::Request(std::shared_ptr<const PictureLayer> layer, const ViewTransform& t,
                            double syncLimit) {
  if (layer == requestedLayer_ && requestedLayer_ && SameView(t, requestedView_)) return !pending_;
  requestedLayer_ = layer;
  requestedView_ = t;
  const std::uint64_t generation = ++generation_;
  if (syncLimit >= 0 &&
      (layer->Elements() <= kSmallLayer || PredictedSeconds(*layer) <= syncLimit)) {
    {
      std::lock_guard lock(mutex_);
      job_.reset();
    }
    QElapsedTimer clock;
    clock.start();
    Images images = *Render(*layer, t);
    Measured(layer, clock.nsecsElapsed() * 1e-9);
    latest_ = Picture{std::move(layer), t, std::move(images)};
    pending_ = false;
    return true;
  }
  {
    std::lock_guard lock(mutex_);
    job_ = Job{generation, std::move(layer), t};
  }
  pending_ = true;
  wake_.notify_one();
  return false;
}

void LayerRenderer::Finish() {
  if (!pending_) return;
  ++generation_;
  {
    std::lock_guard lock(mutex_);
    job_.reset();
  }
  latest_ = Picture{requestedLayer_, requestedView_, *Render(*requestedLayer_, requestedView_)};
  pending_ = false;
}

void LayerRenderer::Drop() {
  ++generation_;
  {
    std::lock_guard lock(mutex_);
    job_.reset();
  }
  requestedLayer_.reset();
  latest_.reset();
  pending_ = false;
}

void LayerRenderer::Work() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || job_.has_value(); });
      if (stop_) return;
      job = std::move(*job_);
      job_.reset();
    }
    QElapsedTimer clock;
    clock.start();
    std::optional<Images> images =
        Render(*job.layer, job.view, [&] { return generation_ != job.generation; });
    if (!images) continue;
    const double seconds = clock.nsecsElapsed() * 1e-9;
    // Taken in on the GUI thread; a renderer destroyed meanwhile takes nothing in (Qt drops
    // the events posted to a deleted object).
    QMetaObject::invokeMethod(
        this,
        [this, generation = job.generation,
         picture = Picture{job.layer, job.view, std::move(*images)},
         seconds] { TakeIn(generation, picture, seconds); },
        Qt::QueuedConnection);
  }
}

void LayerRenderer::TakeIn(std::uint64_t generation, Picture picture, double seconds) {
  Measured(picture.layer, seconds);
  if (generation != generation_) return;  // a newer request is under way
  latest_ = std::move(picture);
  pending_ = false;
  if (ready_) ready_();
}

}  // namespace tavrin
