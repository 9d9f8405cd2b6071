#include "ui/ResultViewController.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QWidget>
#include <vector>

#include "analysis/TGlobMatrix.h"
#include "analysis/TIsolines.h"
#include "mesh/FEM.h"
#include "model/LoadCases.h"
#include "ui/DeflectedView3D.h"
#include "ui/FieldProbe.h"
#include "ui/FringeField.h"
#include "ui/IsolineOverlay.h"
#include "ui/PictureLayer.h"
#include "ui/PipelineRunner.h"
#include "ui/PlanView.h"
#include "ui/ResultFieldJob.h"
#include "ui/ResultViews.h"
#include "ui/TListingRows.h"

namespace tavrin {

ResultViewController::ResultViewController(QWidget& window, const PipelineRunner& pipeline,
                                           std::function<void(int, const QString&)> setPanel)
    : window_(window),
      pipeline_(pipeline),
      setPanel_(std::move(setPanel)),
      isolines_(std::make_shared<const TIsolines>()) {}

ResultViewController::~ResultViewController() = default;

void ResultViewController::Settle() {
  fieldJobs_.Settle();
  detailJobs_.Settle();
  fieldPending_ = false;
}

// The field's job hands the details on when its field is taken in: both are waited for.
void ResultViewController::FinishBuilding() {
  fieldJobs_.Wait();
  QCoreApplication::sendPostedEvents(&fieldJobs_);
  detailJobs_.Wait();
}

void ResultViewController::StartDetails(const ResultFieldRequest& request,
                                        const ResultFieldPart& part) {
  detailJobs_.Start([this, request, part](const NewestJobThread::Abandoned& abandoned,
                                          const NewestJobThread::Deliver& deliver) {
    BuildFieldDetails(request, part, abandoned, [&](ResultFieldPart detail) {
      deliver([this, detail = std::move(detail)] { TakeIn(detail, QString(), true); });
    });
  });
}

int ResultViewController::ViewIndex() const {
  return controls_.selector ? controls_.selector->currentIndex() : 0;
}

bool ResultViewController::ChangeView(bool staticSolved, bool stressSolved) {
  const int view = ViewIndex();
  if (view < 0) return false;
  const ResultView& chosen = ResultViews()[view];
  if (!ResultsAvailable(chosen.needs, staticSolved, stressSolved)) {
    controls_.selector->setCurrentIndex(shownView_);
    if (controls_.cases) controls_.cases->setCurrentIndex(choice_.Chosen());
    setPanel_(4, MissingResultsText(chosen.needs));
    return false;
  }
  if (controls_.cases) choice_.Choose(controls_.cases->currentIndex());
  shownView_ = view;
  setPanel_(2, chosen.label);
  setPanel_(4, QString());
  if (chosen.needs != ResultNeed::none) {
    ResultFieldRequest request{&pipeline_.Solver(), choice_, chosen,
                               !fringesOn_ && !chosen.FringesOnly()};
    const QString title = TitleOf(chosen);
    if (request.solver->ResultTriangleCount() <= smallMesh_) {
      Settle();
      ResultFieldPart part = BuildViewField(request);
      TakeIn(part, title, false);
      BuildFieldDetails(
          request, part, [] { return false; },
          [&](ResultFieldPart detail) { TakeIn(std::move(detail), title, false); });
      return true;
    }
    fieldPending_ = true;
    setPanel_(3, QString());  // the value read out was the field's before
    detailJobs_.Cancel();
    fieldJobs_.Start(
        [this, request = std::move(request), title](const NewestJobThread::Abandoned& abandoned,
                                                    const NewestJobThread::Deliver& deliver) {
          ResultFieldPart part = BuildViewField(request);
          if (abandoned()) return;
          deliver([this, request, part = std::move(part), title] {
            StartDetails(request, part);
            TakeIn(part, title, true);
          });
        });
  } else {
    Settle();
    fringeView_.Clear();
    isolines_ = std::make_shared<const TIsolines>();
    levels_.clear();
    isolineLayer_.reset();
    probe_.reset();
  }
  return true;
}

void ResultViewController::TakeIn(ResultFieldPart part, const QString& title, bool announce) {
  if (part.probe) {
    if (part.field == fringeView_.SharedField()) probe_ = std::move(part.probe);
    return;
  }
  const bool newField = part.field != nullptr;
  if (newField) {
    fringeView_.Show(std::move(part.field), title);
    probe_.reset();
    fieldPending_ = false;
    // The isolines of the field before are not this field's; its own may follow.
    isolines_ = std::make_shared<const TIsolines>();
    levels_.clear();
    isolineLayer_.reset();
  }
  if (part.isolines) {
    isolines_ = std::move(part.isolines);
    levels_ = std::move(part.levels);
    isolineLayer_ = std::move(part.isolineLayer);
  }
  if (newField && deflected_ && deflected_->isVisible()) FillDeflected();
  if (announce && onDataReady) onDataReady();
}

// The label without its colon; with cases, the set after it. The error estimate is the first
// case's whatever the set chosen.
QString ResultViewController::TitleOf(const ResultView& view) const {
  QString title = QString::fromLatin1(view.label).chopped(1);
  if (!choice_.HasCases()) return title;
  const std::string& set = view.perElement ? choice_.FirstText() : choice_.ChosenText();
  return title + " (" + QString::fromStdString(set) + ")";
}

std::unique_ptr<ListingSource> ResultViewController::Listing() const { return choice_.Listing(); }

void ResultViewController::SetCases(std::shared_ptr<const CaseSolution> cases,
                                    const std::string& firstName) {
  choice_.Reset(std::move(cases), firstName);
  if (!controls_.cases) return;
  controls_.cases->clear();
  for (const ResultChoice::Item& item : choice_.Items())
    controls_.cases->addItem(QString::fromStdString(item.text));
  controls_.cases->setCurrentIndex(0);
  if (controls_.casesShown) controls_.casesShown->setVisible(choice_.HasCases());
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
  Settle();
  isolines_ = std::make_shared<const TIsolines>();
  levels_.clear();
  isolineLayer_.reset();
  fringeView_.Clear();
  probe_.reset();
  if (deflected_) deflected_->hide();  // its picture belongs to the results now gone
  if (controls_.selector) controls_.selector->setCurrentIndex(0);
  shownView_ = 0;
  SetCases(nullptr, std::string(kFirstCaseName));
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
  // The data of the view chosen is being built: nothing of the field before is its value.
  if (fieldPending_) return std::nullopt;
  const int node = mesh.NearestNode(x, y);
  // The solver answers for its own fields; other sets and design columns are read from the
  // values the picture was drawn from.
  if (node >= 0 && (shown.perElement || (!choice_.HasCases() && shown.design < 0)))
    return ResultValueAt(shown, pipeline_.Solver(), node);
  if (node >= 0 && fringeView_.HasField()) {
    const int v = pipeline_.Solver().NewNumberOf(node);
    const std::vector<double>& values = fringeView_.Field().values;
    if (v >= 0 && v < static_cast<int>(values.size())) return values[static_cast<std::size_t>(v)];
  }
  // Between nodes, farther than the picking reaches (most of a coarse mesh's area).
  if (!fringeView_.HasField()) return std::nullopt;
  if (!probe_ && Building()) return std::nullopt;  // the job's probe is on its way
  if (!probe_) probe_ = std::make_shared<const FieldProbe>(fringeView_.Field());
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
  const ResultView& deflection = ResultViews()[1];
  std::vector<double> w = choice_.NodeValues(deflection, solver);
  if (w.empty()) {
    w.resize(solver.ResultNodeCount());
    for (int v = 0; v < solver.ResultNodeCount(); ++v)
      w[v] = solver.NodeValue(v, ResultField::LinZ);
  }
  std::vector<CurvedEdge> curved;
  const FEM& mesh = pipeline_.Mesh();
  for (int e = 0; e < mesh.EdgeCount(); ++e)
    if (const Arc* arc = mesh.SegmentArc(e))
      curved.push_back(
          {solver.NewNumberOf(mesh.EdgeBegin(e)), solver.NewNumberOf(mesh.EdgeEnd(e)), *arc});
  if (fringeView_.HasField()) {
    deflected_->Show(std::move(w), fringeView_.Field(), fringeView_.Title(), std::move(curved));
    return;
  }
  // The plain view on screen: coloured by the deflection itself.
  FringeField field = BuildFringeField(solver, w);
  deflected_->Show(std::move(w), field, TitleOf(deflection), std::move(curved));
}

}  // namespace tavrin
