// MeshFrameRelay: the mesher's drawing surface on the worker thread. The mesher draws its
// animation frame by frame; pixels may only be touched on the GUI thread, so each frame's
// strokes are recorded here and replayed there onto the plan view's canvas, one queued call per
// batch (frames the GUI has not yet taken join the pending batch). Frames come at most
// kFramesPerSecond a second, so that recording and drawing stay a small part of the work.
//
// Shared ownership, as WorkerProgress: the run and the queued replays. Recording a stroke is
// constant time; a replay is linear in the strokes of its batch.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

#include "mesh/MeshCanvas.h"

class QObject;

namespace tavrin {

class MeshFrameRelay final : public MeshCanvas,
                             public std::enable_shared_from_this<MeshFrameRelay> {
 public:
  static constexpr int kFramesPerSecond = 25;
  // In: the GUI-thread context of the replays (it must outlive the worker) and the canvas they
  // draw on (lives as long as the context).
  MeshFrameRelay(QObject* context, MeshCanvas& target) : context_(context), target_(target) {}

  // ---- Worker side ----
  void Clear() override { Record({Stroke::Clear, 0, 0, 0, 0}); }
  void SetPen(int r, int g, int b) override {
    Record({Stroke::Pen, double(r), double(g), double(b), 0});
  }
  void Line(double x1, double y1, double x2, double y2) override {
    Record({Stroke::Line, x1, y1, x2, y2});
  }
  void EraseLine(double x1, double y1, double x2, double y2) override {
    Record({Stroke::Erase, x1, y1, x2, y2});
  }
  bool FrameDue() override;
  void FrameDone() override;

  // ---- GUI side ----
  // Replays nothing more once the run's result is being discarded.
  void Detach();

 private:
  struct Stroke {
    enum Kind { Clear, Pen, Line, Erase } kind;
    double a, b, c, d;
  };
  void Record(const Stroke& s) { frame_.push_back(s); }
  void Replay();

  QObject* context_;
  MeshCanvas& target_;
  std::vector<Stroke> frame_;  // worker only: the frame being drawn
  std::chrono::steady_clock::time_point lastFrame_{};
  std::mutex lock_;
  std::vector<Stroke> pending_;  // guarded by lock_
  bool posted_ = false;          // guarded by lock_
  bool detached_ = false;        // guarded by lock_
};

}  // namespace tavrin
