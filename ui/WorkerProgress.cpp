#include "ui/WorkerProgress.h"

#include <QMetaObject>
#include <QObject>

#include "ui/TMeshInformer.h"
#include "ui/TSolveInformer.h"

namespace tavrin {

WorkerProgress::WorkerProgress(QObject* context, TMeshInformer* mesh, TSolveInformer* solve)
    : context_(context), meshWindow_(mesh), solveWindow_(solve) {}

void WorkerProgress::ShowMeshProgress(const std::string& caption, int nodes, int elements,
                                      double angleDeg) {
  Post(Report{true, caption, nodes, elements, 0, angleDeg});
}

void WorkerProgress::ShowSolveProgress(const std::string& caption, int position, int index,
                                       int total) {
  Post(Report{false, caption, position, index, total, 0});
}

void WorkerProgress::ProcessEvents() {
  if (StopRequested() && stopMesh) stopMesh();
}

void WorkerProgress::Post(Report report) {
  if (detached_.load()) return;
  {
    std::lock_guard<std::mutex> hold(lock_);
    latest_ = std::move(report);
    if (posted_) return;
    posted_ = true;
  }
  QMetaObject::invokeMethod(
      context_, [self = shared_from_this()] { self->Deliver(); }, Qt::QueuedConnection);
}

void WorkerProgress::Deliver() {
  Report r;
  {
    std::lock_guard<std::mutex> hold(lock_);
    r = latest_;
    posted_ = false;
  }
  if (detached_.load()) return;
  if (r.mesh) {
    if (meshWindow_) meshWindow_->ShowMeshProgress(r.caption, r.a, r.b, r.angle);
  } else if (solveWindow_) {
    solveWindow_->ShowSolveProgress(r.caption, r.a, r.b, r.c);
  }
}

}  // namespace tavrin
