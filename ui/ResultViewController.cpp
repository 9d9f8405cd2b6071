#include "ui/ResultViewController.h"

#include <QAction>
#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QWidget>
#include <vector>

#include "analysis/TGlobMatrix.h"
#include "analysis/TIsolines.h"
#include "mesh/FEM.h"
#include "ui/DeflectedView3D.h"
#include "ui/FieldProbe.h"
#include "ui/FringeField.h"
#include "ui/IsolineOverlay.h"
#include "ui/PictureLayer.h"
#include "ui/PipelineRunner.h"
#include "ui/PlanView.h"
#include "ui/ResultViews.h"

namespace tavrin {

ResultViewController::ResultViewController(QWidget& window, const PipelineRunner& pipeline,
                                           std::function<void(int, const QString&)> setPanel)
    : window_(window),
      pipeline_(pipeline),
      setPanel_(std::move(setPanel)),
      isolines_(std::make_unique<TIsolines>()) {}

ResultViewController::~ResultViewController() = default;

int ResultViewController::ViewIndex() const {
  return controls_.selector ? controls_.selector->currentIndex() : 0;
}

bool ResultViewController::ChangeView(bool staticSolved, bool stressSolved) {
  const int view = ViewIndex();
  if (view < 0) return false;
  const ResultView& chosen = ResultViews()[view];
  if (!ResultsAvailable(chosen.needs, staticSolved, stressSolved)) {
    controls_.selector->setCurrentIndex(shownView_);
    setPanel_(4, MissingResultsText(chosen.needs));
    return false;
  }
  shownView_ = view;
  setPanel_(2, chosen.label);
  setPanel_(4, QString());
  if (chosen.needs != ResultNeed::none) {
    const TGlobMatrix& solver = pipeline_.Solver();
    isolines_ = std::make_unique<TIsolines>();
    levels_.clear();
    if (!chosen.FringesOnly())
      BuildIsolines(*isolines_, static_cast<int>(chosen.field), solver, &levels_);
    isolineLayer_ = MakeIsolineLayer(*isolines_, PlanView::Lime());
    fringeView_.Show(BuildFringeField(solver, chosen),
                     QString::fromLatin1(chosen.label).chopped(1));
  } else {
    fringeView_.Clear();
    isolineLayer_.reset();
  }
  probe_.reset();
  if (deflected_ && deflected_->isVisible() && chosen.needs != ResultNeed::none) FillDeflected();
  return true;
}

void ResultViewController::SetFringes(bool on) {
  fringesOn_ = on;
  if (controls_.colourFringes) controls_.colourFringes->setChecked(on);
  if (controls_.style) controls_.style->setCurrentIndex(on ? 0 : 1);
}

bool ResultViewController::FringesShown() const {
  const int view = ViewIndex();
  return view > 0 && fringeView_.HasField() && (fringesOn_ || ResultViews()[view].FringesOnly());
}

void ResultViewController::DrawIsolineOverlay(QPainter& painter, const ViewTransform& t) const {
  if (!fringeView_.HasField()) return;
  tavrin::DrawIsolineOverlay(painter, *isolines_, levels_, fringeView_.Field(), fringeView_.Title(),
                             PlanView::Lime(), t);
}

int ResultViewController::LegendReserve(int viewHeight) const {
  if (FringesShown()) return fringeView_.LegendReserve(viewHeight);
  if (ViewIndex() <= 0 || !fringeView_.HasField()) return 0;
  // Drawn with a painter's default font, the application's, as the fringes' legend.
  return IsolineLegendReserve(QFontMetrics(QFont()), levels_, fringeView_.Title(),
                              fringeView_.Field().min, fringeView_.Field().max, viewHeight);
}

void ResultViewController::Clear() {
  isolines_ = std::make_unique<TIsolines>();
  levels_.clear();
  isolineLayer_.reset();
  fringeView_.Clear();
  probe_.reset();
  if (deflected_) deflected_->hide();  // its picture belongs to the results now gone
  if (controls_.selector) controls_.selector->setCurrentIndex(0);
  shownView_ = 0;
  for (int panel : {2, 3, 4}) setPanel_(panel, QString());
}

std::optional<double> ResultViewController::ValueAt(const FEM& mesh, double x, double y,
                                                    bool staticSolved, bool stressSolved) const {
  const int view = ViewIndex();
  if (view <= 0) return std::nullopt;
  const ResultView& shown = ResultViews()[view];
  // A view whose results are gone (a new solve, a failed one) has nothing to read: the solver
  // would answer with its no-value sentinel.
  if (!ResultsAvailable(shown.needs, staticSolved, stressSolved)) return std::nullopt;
  const int node = mesh.NearestNode(x, y);
  if (node >= 0) return ResultValueAt(shown, pipeline_.Solver(), node);
  // Between nodes, farther than the picking reaches (most of a coarse mesh's area).
  if (!fringeView_.HasField()) return std::nullopt;
  if (!probe_) probe_ = std::make_unique<FieldProbe>(fringeView_.Field());
  return probe_->ValueAt(x, y);
}

void ResultViewController::ShowDeflected() {
  if (!deflected_) deflected_ = new DeflectedView3D(&window_);
  FillDeflected();
  deflected_->show();
  deflected_->raise();
}

void ResultViewController::FillDeflected() {
  const TGlobMatrix& solver = pipeline_.Solver();
  std::vector<double> w(solver.ResultNodeCount());
  for (int v = 0; v < solver.ResultNodeCount(); ++v) w[v] = solver.NodeValue(v, ResultField::LinZ);
  const ResultView& shown = ResultViews()[ViewIndex() > 0 ? ViewIndex() : 1];
  std::vector<CurvedEdge> curved;
  const FEM& mesh = pipeline_.Mesh();
  for (int e = 0; e < mesh.EdgeCount(); ++e)
    if (const Arc* arc = mesh.SegmentArc(e))
      curved.push_back(
          {solver.NewNumberOf(mesh.EdgeBegin(e)), solver.NewNumberOf(mesh.EdgeEnd(e)), *arc});
  deflected_->Show(std::move(w),
                   fringeView_.HasField() ? fringeView_.Field() : BuildFringeField(solver, shown),
                   QString::fromLatin1(shown.label).chopped(1), std::move(curved));
}

}  // namespace tavrin
