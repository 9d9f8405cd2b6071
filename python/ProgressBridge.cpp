// Progress from the engine to Python; see the header. Each report that reaches Python takes
// the GIL once; the others cost a division.
#include "python/ProgressBridge.h"

#include "mesh/FEM.h"
#include "python/Bindings.h"

namespace tavrin::python {

bool ProgressBridge::Report(const std::string& stage, long done, long total) {
  if (cancelled_) return true;
  const long percent = total > 0 ? done * 100 / total : 0;
  if (stage == stage_ && percent == percent_) return false;
  stage_ = stage;
  percent_ = percent;
  py::gil_scoped_acquire gil;
  try {
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    if (!callback_.is_none()) {
      const py::object answer = callback_(stage, done, total);
      if (!answer.is_none() && !answer.cast<bool>()) cancelled_ = true;
    }
  } catch (py::error_already_set& e) {
    error_.emplace(std::move(e));
    cancelled_ = true;
  }
  return cancelled_;
}

void ProgressBridge::RaiseCallbackError() {
  if (error_) {
    py::error_already_set e = std::move(*error_);
    error_.reset();
    throw e;
  }
}

void ProgressBridge::RaiseIfCancelled(const char* what) {
  RaiseCallbackError();
  if (cancelled_) throw CancelledRefusal(std::string(what) + " was cancelled");
}

void MeshProgressBridge::ShowMeshProgress(const std::string& caption, int nodes, int, double) {
  bridge_.Report(caption, nodes, maxNodes_);
}

void MeshProgressBridge::ProcessEvents() {
  if (bridge_.Cancelled()) mesh_.RequestStop();
}

void SolveProgressBridge::ShowSolveProgress(const std::string& caption, int position, int,
                                            int total) {
  bridge_.Report(caption, position, total);
}

}  // namespace tavrin::python
