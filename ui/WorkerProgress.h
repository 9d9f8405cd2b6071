// WorkerProgress: the progress and stop interfaces of the mesher and the solver as a worker
// thread sees them, relayed to the progress windows on the GUI thread. The engine stays free of
// Qt and of threads: it reports and asks "stop?" as it always did, and this class turns each
// report into at most one pending call on the GUI thread (a burst of reports between two turns
// of the event loop shows as the latest of them), and each stop question into an atomic read.
//
// Shared ownership: the worker's run, the queued calls not yet delivered, and (for a solve) the
// solver handed back, whose progress pointer stays on this object. Detach cuts the relay for a
// run whose result will be discarded, so its late reports never reach the windows. Every call
// costs constant time (a report copies its caption).
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "analysis/SolveProgress.h"
#include "mesh/MeshProgress.h"

class QObject;

namespace tavrin {

class TMeshInformer;
class TSolveInformer;

class WorkerProgress final : public MeshProgress,
                             public SolveProgress,
                             public std::enable_shared_from_this<WorkerProgress> {
 public:
  // In: the GUI-thread object the relayed calls run in the context of (they are dropped when it
  // is gone; it must outlive the worker) and the two progress windows (not owned; they live as long
  // as it).
  WorkerProgress(QObject* context, TMeshInformer* mesh, TSolveInformer* solve);

  // ---- Worker side ----
  void ShowMeshProgress(const std::string& caption, int nodes, int elements,
                        double angleDeg) override;
  void ShowSolveProgress(const std::string& caption, int position, int index, int total) override;
  // The GUI hides the windows when the run's end arrives: nothing to relay.
  void HideMeshProgress() override {}
  void HideSolveProgress() override {}
  // The mesher's stop is a call it must receive on its own thread: it is made here, where the
  // mesher lets its host act between passes.
  void ProcessEvents() override;
  bool StopRequested() override { return stop_.load(std::memory_order_relaxed); }
  // Runs on the worker at the mesher's next ProcessEvents after a stop was requested.
  std::function<void()> stopMesh;

  // ---- GUI side ----
  void RequestStop() { stop_.store(true, std::memory_order_relaxed); }
  void ClearStop() { stop_.store(false, std::memory_order_relaxed); }
  void Detach() { detached_.store(true); }

 private:
  struct Report {
    bool mesh = false;
    std::string caption;
    int a = 0, b = 0, c = 0;
    double angle = 0;
  };
  void Post(Report report);
  void Deliver();

  QObject* context_;  // outlives every run: its owner joins the workers first
  TMeshInformer* meshWindow_;
  TSolveInformer* solveWindow_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> detached_{false};
  std::mutex lock_;
  Report latest_;        // guarded by lock_
  bool posted_ = false;  // guarded by lock_: a delivery is queued
};

}  // namespace tavrin
