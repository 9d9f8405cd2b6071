// ResultViewController: which result view the plan shows and how. Owns the isolines and the
// fringe picture of the view on screen, the choice between fringes and isolines, and the 3D
// window of the deflected plate; drives the tool bar's view and style selectors and the View
// menu's "Colour fringes". It reads the current solver (through the pipeline runner) only when
// a view is chosen or read out, never while a run works on it (the window makes sure, calling
// Settle before a run or a drop changes the solver).
//
// A view chosen has its data (fringe field, isolines, read-out probe) built on a worker thread
// (ResultFieldJob; the newest choice wins), its probe and isolines after it on a thread of low
// priority: until its field has come, the plan goes on showing
// the picture it had and the read-out shows nothing; each part that comes is taken in on the GUI
// thread and announced through onDataReady. The data of a small mesh is built at once, so that
// a small job's views never depend on the machine's load.
//
// A view is shown only with the results it is drawn from; without them the view on screen stays
// with its own label and read-out, and the status bar says what to run first. An open 3D
// window follows the view chosen; the isolines keep their levels for the legend and labels.
// Beside the view selector, the case selector chooses the load case, combination or envelope
// side the views show (ResultChoice); it is shown only once a job with cases has been solved,
// and the legend then names the set after the field.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "analysis/TIsolines.h"
#include "ui/FringeView.h"
#include "ui/NewestJobThread.h"
#include "ui/ResultChoice.h"

class QAction;
class QComboBox;
class QPainter;
class QWidget;

namespace tavrin {

class CaseSolution;
class DeflectedView3D;
class FEM;
class ListingSource;
class FieldProbe;
class PictureLayer;
class PipelineRunner;
struct ResultFieldPart;
struct ResultFieldRequest;
struct ViewTransform;

class ResultViewController {
 public:
  // The tool bar's and menu's controls this class keeps in step (owned by the window).
  struct Controls {
    QComboBox* selector = nullptr;
    QComboBox* style = nullptr;
    QAction* colourFringes = nullptr;
    QComboBox* cases = nullptr;
    QAction* casesShown = nullptr;  // the tool bar's action of `cases`, for showing it
  };
  // In: the window (parent of the 3D view), the runner whose solver the views read, and the
  // status bar's panel writer (panel, text).
  ResultViewController(QWidget& window, const PipelineRunner& pipeline,
                       std::function<void(int, const QString&)> setPanel);
  ~ResultViewController();
  void Attach(const Controls& controls) { controls_ = controls; }
  // Called on the GUI thread when the field or the isolines of the view chosen came (the window
  // refits for the legend and redraws).
  std::function<void()> onDataReady;
  // Meshes of at most this many triangles have their views' data built at once (a few
  // milliseconds); tests set 0 to have every view's built on the thread.
  static constexpr int kSmallMesh = 20000;
  void SetSmallMesh(int triangles) { smallMesh_ = triangles; }
  // The field of the view chosen is still being built: the plan shows the one before.
  bool DataPending() const { return fieldPending_; }
  // Some part of the view's data (probe, isolines) is still being built.
  bool Building() const { return fieldJobs_.Busy() || detailJobs_.Busy(); }
  // No data is being built any more (a build under way is abandoned and waited for): the
  // solver may change.
  void Settle();
  // Waits until the data being built is made (its parts then come as they would): the solver
  // may change after.
  void FinishBuilding();

  int ViewIndex() const;
  // The selector's choice as the user made it; false when the view cannot be shown yet (the
  // selector then goes back to the view on screen).
  bool ChangeView(bool staticSolved, bool stressSolved);
  void SetFringes(bool on);
  bool FringesChosen() const { return fringesOn_; }
  bool FringesShown() const;
  const FringeView& Fringes() const { return fringeView_; }
  FringeView& Fringes() { return fringeView_; }
  const TIsolines& Isolines() const { return *isolines_; }
  // The levels of the isolines on screen, highest first, with their segments.
  const std::vector<IsolineLevel>& IsolineLevels() const { return levels_; }
  // The isoline segments as a picture layer (null without isolines).
  const std::shared_ptr<const PictureLayer>& IsolineLayer() const { return isolineLayer_; }
  // The isolines' legend, labels and extremes, over the isoline picture of view t.
  void DrawIsolineOverlay(QPainter& painter, const ViewTransform& t) const;
  // The width the legend of the view on screen takes at the right of a view of the given
  // height: the fringes' or the isolines' (0 in the plain view).
  int LegendReserve(int viewHeight) const;
  // The results the views were drawn from are gone.
  void Clear();
  // A solve ended with results: the case solution of a job with cases, else null and the
  // job's first case name. The case selector lists the sets and goes to the first.
  void SetCases(std::shared_ptr<const CaseSolution> cases, const std::string& firstName);
  const ResultChoice& Choice() const { return choice_; }
  // The results table's source for the set chosen; null when it is the solver's own.
  std::unique_ptr<ListingSource> Listing() const;
  // The value of the view on screen at the mesh node near (x, y) (within the picking radius),
  // else the field's value at the point inside the mesh, if any.
  std::optional<double> ValueAt(const FEM& mesh, double x, double y, bool staticSolved,
                                bool stressSolved) const;
  // The 3D window of the deflected plate, coloured by the view on screen (the deflection when
  // the plain view is on screen).
  void ShowDeflected();
  DeflectedView3D* Deflected() const { return deflected_; }

 private:
  // The 3D window's picture of the view on screen.
  void FillDeflected();
  // A part of the data of the view chosen, built for the legend title `title`.
  // announce: tell onDataReady (not for data built at once, which the caller draws).
  void TakeIn(ResultFieldPart part, const QString& title, bool announce);
  // The probe and the isolines of the field just taken in, on the background thread.
  void StartDetails(const ResultFieldRequest& request, const ResultFieldPart& part);
  QString TitleOf(const ResultView& view) const;

  QWidget& window_;
  const PipelineRunner& pipeline_;
  std::function<void(int, const QString&)> setPanel_;
  Controls controls_;
  ResultChoice choice_;
  std::shared_ptr<const TIsolines> isolines_;  // never null; shared with the job that made it
  std::vector<IsolineLevel> levels_;
  std::shared_ptr<const PictureLayer> isolineLayer_;
  FringeView fringeView_;
  // Point location in the fringe field: made with the field, or on the first read-out between
  // nodes of a field shown without the job.
  mutable std::shared_ptr<const FieldProbe> probe_;
  bool fieldPending_ = false;  // the field of the view chosen has not come yet
  int smallMesh_ = kSmallMesh;
  bool fringesOn_ = true;
  int shownView_ = 0;                     // the result view whose picture and label are on screen
  DeflectedView3D* deflected_ = nullptr;  // owned by the window, made on first use
  // Last: their steps reach the members above. The field on one thread, the rest after it on
  // one of low priority.
  NewestJobThread fieldJobs_;
  NewestJobThread detailJobs_{true};
};

}  // namespace tavrin
