// ResultViewController: which result view the plan shows and how. Owns the isolines and the
// fringe picture of the view on screen, the choice between fringes and isolines, and the 3D
// window of the deflected plate; drives the tool bar's view and style selectors and the View
// menu's "Colour fringes". It reads the current solver (through the pipeline runner) only when
// a view is chosen or read out, never while a run works on it (the window makes sure).
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
  QString TitleOf(const ResultView& view) const;

  QWidget& window_;
  const PipelineRunner& pipeline_;
  std::function<void(int, const QString&)> setPanel_;
  Controls controls_;
  ResultChoice choice_;
  std::unique_ptr<TIsolines> isolines_;
  std::vector<IsolineLevel> levels_;
  std::shared_ptr<const PictureLayer> isolineLayer_;
  FringeView fringeView_;
  // Point location in the fringe field, made on the first read-out between nodes.
  mutable std::unique_ptr<FieldProbe> probe_;
  bool fringesOn_ = true;
  int shownView_ = 0;                     // the result view whose picture and label are on screen
  DeflectedView3D* deflected_ = nullptr;  // owned by the window, made on first use
};

}  // namespace tavrin
