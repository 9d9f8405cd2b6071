// The engine's progress interfaces answered from Python while the GIL is released: a callable
// progress(stage, done, total) is called with the GIL held again, at most once per percent of
// a stage (and at each new stage), so a long solve costs about a hundred calls. It cancels by
// returning False or by raising; Ctrl-C (a pending signal) cancels too. The exception it raised
// is kept and raised again once the work has ended.
#pragma once

#include <pybind11/pybind11.h>

#include <optional>
#include <string>

#include "analysis/SolveProgress.h"
#include "mesh/MeshProgress.h"

namespace tavrin {
class FEM;
}

namespace tavrin::python {

namespace py = pybind11;

class ProgressBridge {
 public:
  // callback: None or a callable; owned (a reference), used and released with the GIL held.
  explicit ProgressBridge(py::object callback) : callback_(std::move(callback)) {}
  // With the GIL released: reports when the stage or its percentage changed. True when the
  // work should stop.
  bool Report(const std::string& stage, long done, long total);
  bool Cancelled() const { return cancelled_; }
  // With the GIL held, after the work: raises what the callback raised, or tavrin.Cancelled.
  void RaiseIfCancelled(const char* what);
  // With the GIL held: raises what the callback raised, if it raised (a cancel by returning
  // False is left to the caller).
  void RaiseCallbackError();

 private:
  py::object callback_;
  std::string stage_;
  long percent_ = -1;
  bool cancelled_ = false;
  std::optional<py::error_already_set> error_;  // what the callback (or a signal) raised
};

// The mesher's reports: stage and nodes of at most maxNodes; a stop reaches the mesh.
class MeshProgressBridge final : public MeshProgress {
 public:
  MeshProgressBridge(ProgressBridge& bridge, FEM& mesh, int maxNodes)
      : bridge_(bridge), mesh_(mesh), maxNodes_(maxNodes) {}
  void ShowMeshProgress(const std::string& caption, int nodes, int elements,
                        double angleDeg) override;
  void ProcessEvents() override;

 private:
  ProgressBridge& bridge_;  // not owned
  FEM& mesh_;               // not owned
  int maxNodes_;
};

// The solver's reports: stage, position of total.
class SolveProgressBridge final : public SolveProgress {
 public:
  explicit SolveProgressBridge(ProgressBridge& bridge) : bridge_(bridge) {}
  void ShowSolveProgress(const std::string& caption, int position, int index, int total) override;
  bool StopRequested() override { return bridge_.Cancelled(); }

 private:
  ProgressBridge& bridge_;  // not owned
};

}  // namespace tavrin::python
