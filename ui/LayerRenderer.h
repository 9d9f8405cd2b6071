// LayerRenderer: renders the plan view's picture layer (PictureLayer) for the view on screen,
// off the GUI thread when the render would hold it up. A render predicted to take at most the
// caller's limit (from the same layer's last render, or the cost per element of the last
// render of another) is done at once on the calling
// thread; a longer one goes to the renderer's own thread, and `ready` is called on the GUI
// thread when its picture has come. Meanwhile the caller shows the newest picture it has,
// moved to the new view (DrawLayerMoved).
//
// The newest request wins: a request replaces one not yet started, a render in progress for an
// older request is abandoned at its next question, and a picture that comes back for any
// request but the newest is dropped. Owns the thread (joined on destruction) and the newest
// picture; shares the layers with the thread.
#pragma once

#include <QImage>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "ui/ViewTransform.h"

namespace tavrin {

class PictureLayer;

class LayerRenderer : public QObject {
 public:
  // A layer's images for one view: its part under the job's outline and its part over it,
  // each null when the layer has none.
  struct Images {
    QImage under, over;
    friend bool operator==(const Images&, const Images&) = default;
  };
  // A layer rendered for one view.
  struct Picture {
    std::shared_ptr<const PictureLayer> layer;
    ViewTransform view;
    Images images;
  };

  // In: called on the GUI thread when a picture rendered on the thread was taken in.
  explicit LayerRenderer(std::function<void()> ready);
  ~LayerRenderer() override;

  // Layers of at most this many elements are rendered at once whatever the clock says, so that
  // the picture of a small job never depends on the machine's load.
  static constexpr std::size_t kSmallLayer = 20000;

  // The layer for view t: at once (true) when small or predicted within syncLimit seconds,
  // unless syncLimit is negative; else on the thread (false). A request equal to the newest
  // one (same layer, same view) does nothing and says whether its picture is there.
  bool Request(std::shared_ptr<const PictureLayer> layer, const ViewTransform& t, double syncLimit);
  // The newest request's picture rendered here and now if it is not there yet (the thread's
  // render of it abandoned): for a picture that must be exact, a saved one.
  void Finish();
  // No layer any more: a pending request is dropped and the newest picture forgotten.
  void Drop();
  // The newest picture taken in, null before the first; it may be of an older request.
  const Picture* Latest() const { return latest_ ? &*latest_ : nullptr; }
  // The newest request's picture is not there yet.
  bool Pending() const { return pending_; }
  // The predicted render time of layer: its own last render's time, else the last render's
  // cost per element times its elements.
  double PredictedSeconds(const PictureLayer& layer) const;
  // Renders layer for t here and now, as the thread does; nothing when abandoned.
  static std::optional<Images> Render(const PictureLayer& layer, const ViewTransform& t,
                                      const std::function<bool()>& abandoned = {});

 private:
  struct Job {
    std::uint64_t generation = 0;
    std::shared_ptr<const PictureLayer> layer;
    ViewTransform view;
  };
  void Work();
  void TakeIn(std::uint64_t generation, Picture picture, double seconds);
  void Measured(const std::shared_ptr<const PictureLayer>& layer, double seconds);

  std::function<void()> ready_;
  std::optional<Picture> latest_;
  std::shared_ptr<const PictureLayer> requestedLayer_;
  ViewTransform requestedView_;
  bool pending_ = false;
  // A render costs about this much per element; a guess until the first render is measured.
  double secondsPerElement_ = 5e-8;
  std::weak_ptr<const PictureLayer> lastMeasured_;
  double lastSeconds_ = 0;

  std::atomic<std::uint64_t> generation_{0};  // the newest request's number
  std::mutex mutex_;                          // guards job_ and stop_
  std::condition_variable wake_;
  std::optional<Job> job_;  // the request waiting for the thread
  bool stop_ = false;
  std::thread thread_;  // last: started once the members above exist
};

}  // namespace tavrin
