// PlanViewController: where the plan view looks and how its picture follows. Owns the view's
// placement state (placed by the program or moved by the user, fitted with room for a legend or
// not, refitted on resizes until first painted), the renderer of the picture's layer (the
// fringes, the isolines or the mesh: what grows with the mesh) with the mesh's layer, and the
// timer that draws the whole picture a while after a drag step that only shifted it. The view
// transform itself is the process-wide one the plan drawing reads.
//
// Every view change draws the picture at once: the job, symbols and legend exactly, the layer
// as last rendered moved to the new view; the exact layer follows from the render thread and
// is drawn when it comes. A small layer, or one quick to render (within half the fluid redraw
// limit), is rendered at once instead.
//
// A picture drawn within a frame's time follows a drag exactly; a slower one (a mesh of 10^6
// triangles takes tens of milliseconds) is shifted as it stands, with the uncovered strips
// blank, and drawn whole at most every WholePictureDelay and when the button is released.
#pragma once

#include <functional>
#include <memory>

#include "ui/LayerRenderer.h"

class QObject;
class QTimer;

namespace tavrin {

class FEM;
class PictureLayer;
class PlanView;
class ResultViewController;
class TObjCont;

class PlanViewController {
 public:
  // Pixels left free around a fitted job: room for the load and constraint symbols.
  static constexpr int kFitMargin = 30;
  static constexpr int kWholePictureDelayMs = 150;

  // In: the view, and the window's whole redraw (which calls Draw); the timer is parented to
  // timerParent.
  PlanViewController(PlanView& view, std::function<void()> redraw, QObject* timerParent);

  // The picture of the job: the mesh when given (the plain view), else the result view on
  // screen; measures how long it took for the drag decision. For a vector picture (vector
  // set) the fringes are drawn as polygons instead of the pixel image.
  void Draw(const TObjCont& job, const FEM* mesh, ResultViewController& results,
            bool vector = false);
  // The whole job centred in the view, with room for the legend when fringes are shown.
  void Fit(const TObjCont& job, const ResultViewController& results);
  // A legend came, went or changed (the fringes' for the isolines'): a view the program placed
  // makes room for it; one the user moved stays where the user put it. Between two views
  // with the same kind of legend the plate stays put.
  void RefitForLegend(const TObjCont& job, const ResultViewController& results);
  // The canvas changed size; before the first paint a fit follows the size.
  void Resized(const TObjCont& job, const ResultViewController& results);
  void Dragged(int dx, int dy);
  void UserMoved();
  void ZoomIn();
  void ZoomOut();
  // The view was painted: from now on resizes keep the scale.
  void Painted() { fitUntilShown_ = false; }
  // Start, New, Open: the program places the view again.
  void PlacedByProgram() { placedByProgram_ = true; }
  bool IsPlacedByProgram() const { return placedByProgram_; }

  void SetFluidRedrawLimit(double seconds) { fluidRedrawSeconds_ = seconds; }
  // How long after a shifted drag step the whole picture comes (tests make it immediate).
  void SetWholePictureDelay(int ms);
  // The exact picture drawn now if its layer is still being rendered (a picture to save).
  void FinishPicture();
  // The mesh was replaced: its layer is made again.
  void MeshChanged() { meshLayer_.reset(); }
  // The layer's renderer: whether the exact layer is still being rendered, and the newest one.
  const LayerRenderer& Layers() const { return layers_; }
  bool WholePicturePending() const;
  // A whole redraw is under way: a pending one is not needed any more.
  void CancelPending();

 private:
  enum class Legend { None, Fringes, Isolines };
  Legend LegendOf(const ResultViewController& results) const;
  // The layer of the picture Draw shows (null: none, the plain view of a job without a mesh).
  std::shared_ptr<const PictureLayer> LayerFor(const FEM* mesh, const ResultViewController& r);
  // The picture as before the layers: every part drawn on this thread, vectors where they can.
  void DrawVector(const TObjCont& job, const FEM* mesh, ResultViewController& results);

  PlanView& view_;
  std::function<void()> redraw_;
  QTimer* wholePicture_;  // owned by the timer parent
  double lastDrawSeconds_ = 0;
  double fluidRedrawSeconds_ = 0.02;
  bool placedByProgram_ = true;
  Legend fittedLegend_ = Legend::None;  // the legend the last fit left room for
  std::shared_ptr<const PictureLayer> meshLayer_;
  const FEM* meshLayerOf_ = nullptr;
  int meshLayerEdges_ = 0;
  LayerRenderer layers_;  // last: its thread may report to the members above
  bool fitUntilShown_ = true;
};

}  // namespace tavrin
