// The workbench with load cases: one Solve Static solves every case, combination and envelope;
// the case selector chooses what the views, legend, read-out and results table show. Checked
// against the linearity of the combinations and the extremes of the envelope, computed here
// from the cases' own values.
#include <QComboBox>
#include <algorithm>
#include <cmath>

#include "analysis/CaseSolution.h"
#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/FringeField.h"
#include "ui/ResultViews.h"
#include "ui/TListing.h"
#include "ui/TListingRows.h"

namespace tavrin::test {
namespace {

class ResultCases : public Workbench {
 protected:
  // square.sam, or the same plate with a second case (a heavier pressure and a point load at
  // the centre), combinations ULS = 1.35 Case 1 + 1.5 Live and SLS = Case 1 + Live, and the
  // envelope ENV over both.
  void SolveWithCases(bool withCases, const std::string& path = {}) {
    GlobalMeshParameters().animate = false;
    ASSERT_TRUE(window->OpenJob(
        !path.empty() ? path : ExamplePath(withCases ? "square-load-cases.sam" : "square.sam")));
    window->GenerateMeshClick();
    window->SolveStaticClick();
    ASSERT_TRUE(window->StaticSolved());
  }
  QComboBox* Cases() const { return window->findChild<QComboBox*>("CaseSelector"); }
  static int ViewOf(const char* item) {
    const auto views = ResultViews();
    for (std::size_t i = 0; i < views.size(); ++i)
      if (std::string(views[i].item) == item) return static_cast<int>(i);
    return -1;
  }
  // The values drawn for a view and an item of the case selector.
  std::vector<double> Shown(int view, int item) {
    Cases()->setCurrentIndex(item);
    window->SelectView(view);
    EXPECT_EQ(window->ViewIndex(), view);
    return window->Fringes().Field().values;
  }
};

// A job without cases: no case selector, the legend names the field alone, Solve Stress still
// a step of its own.
TEST_F(ResultCases, PlainJobShowsNoCaseSelector) {
  SolveWithCases(false);
  EXPECT_FALSE(window->StressSolved());
  EXPECT_TRUE(Enabled("SolveStressMenu"));
  window->SolveStressClick();
  ASSERT_TRUE(window->StressSolved());
  window->SelectView(ViewOf("Mx bending moment"));
  EXPECT_EQ(window->Fringes().Title(), "Mx moment");
  EXPECT_FALSE(Action("CaseSelectorShown")->isVisible());
  // A design view reads the solver's own moments: M1 >= M2 at every node.
  const std::vector<double> m1 = Shown(ViewOf("M1 principal moment"), 0);
  const std::vector<double> m2 = Shown(ViewOf("M2 principal moment"), 0);
  ASSERT_EQ(m1.size(), m2.size());
  for (std::size_t v = 0; v < m1.size(); ++v) EXPECT_GE(m1[v], m2[v]) << v;
}

// Tolerances: combinations are factored sums to 1e-12 relative to the field's largest value;
// the envelope takes exactly one combination's value.
TEST_F(ResultCases, SelectorShowsEveryCaseCombinationAndEnvelope) {
  SolveWithCases(true);
  EXPECT_TRUE(window->StressSolved());  // every case is solved with its stresses
  EXPECT_FALSE(Enabled("SolveStressMenu"));
  ASSERT_TRUE(Action("CaseSelectorShown")->isVisible());
  QStringList items;
  for (int i = 0; i < Cases()->count(); ++i) items << Cases()->itemText(i);
  EXPECT_EQ(items, QStringList({"Case 1", "Live", "ULS", "SLS", "ENV (max)", "ENV (min)"}));

  for (const char* viewName : {"UX Lin. Displacement isolines", "Mx bending moment",
                               "M1 principal moment", "Wood-Armer x bottom"}) {
    SCOPED_TRACE(viewName);
    const int view = ViewOf(viewName);
    const std::vector<double> dead = Shown(view, 0), live = Shown(view, 1);
    const std::vector<double> uls = Shown(view, 2);
    EXPECT_TRUE(window->Fringes().Title().endsWith(" (ULS)"))
        << window->Fringes().Title().toStdString();
    const std::vector<double> sls = Shown(view, 3), high = Shown(view, 4), low = Shown(view, 5);
    EXPECT_TRUE(window->Fringes().Title().endsWith(" (ENV (min))"));
    ASSERT_EQ(dead.size(), window->Solver().ResultNodeCount() + 0u);
    double scale = 0;
    for (double v : uls) scale = std::max(scale, std::fabs(v));
    ASSERT_GT(scale, 0);
    const bool linear = view < ViewOf("M1 principal moment");
    for (std::size_t v = 0; v < dead.size(); ++v) {
      if (linear) {
        EXPECT_NEAR(uls[v], 1.35 * dead[v] + 1.5 * live[v], 1e-12 * scale) << v;
        EXPECT_NEAR(sls[v], dead[v] + live[v], 1e-12 * scale) << v;
      }
      EXPECT_EQ(high[v], std::max(uls[v], sls[v])) << v;
      EXPECT_EQ(low[v], std::min(uls[v], sls[v])) << v;
    }
  }

  // The first case is the solver's own, as a job without cases solves it.
  const std::vector<double> w = Shown(ViewOf("UX Lin. Displacement isolines"), 0);
  for (int v = 0; v < window->Solver().ResultNodeCount(); ++v)
    EXPECT_EQ(w[v], window->Solver().NodeValue(v, ResultField::LinZ)) << v;

  // The read-out at a node gives the chosen set's value there.
  const std::vector<double> uls = Shown(ViewOf("Mx bending moment"), 2);
  const FEM& mesh = window->Mesh();
  const ViewTransform& t = CurrentViewTransform();
  const int node = mesh.NearestNode(225, 225);
  ASSERT_GE(node, 0);
  window->mousemoved(t.ScreenX(mesh.NodeX(node)), t.ScreenY(mesh.NodeY(node)));
  const int under = mesh.NearestNode(t.WorldX(t.ScreenX(mesh.NodeX(node))),
                                     t.WorldY(t.ScreenY(mesh.NodeY(node))));
  EXPECT_EQ(window->PanelText(3),
            QString::number(uls[window->Solver().NewNumberOf(under)], 'g', 5));
}

// The same plate on a foundation: its pressure k w follows the chosen set, a combination's the
// factored sum of its cases' (to 1e-12 of the largest), an envelope's the extreme over its
// combinations (k >= 0: exactly the pressure of the extreme deflection); the first case's is
// the solver's own.
TEST_F(ResultCases, FoundationPressureFollowsTheChosenSet) {
  TObjCont job;
  ASSERT_TRUE(job.LoadJob(ExamplePath("square-load-cases.sam")));
  ASSERT_EQ(job.SetPolygonFoundation(0, 0.002), StatusCode::Done);
  const std::string path = (dir / "cases-on-foundation.sam").string();
  ASSERT_TRUE(job.SaveJob(path));
  SolveWithCases(true, path);
  const int view = ViewOf("Foundation pressure");
  const std::vector<double> dead = Shown(view, 0), live = Shown(view, 1), uls = Shown(view, 2);
  EXPECT_EQ(window->Fringes().Title(), "Foundation pressure (ULS)");
  const std::vector<double> sls = Shown(view, 3), high = Shown(view, 4), low = Shown(view, 5);
  ASSERT_EQ(dead.size(), window->Solver().ResultNodeCount() + 0u);
  double scale = 0;
  for (double v : uls) scale = std::max(scale, std::fabs(v));
  ASSERT_GT(scale, 0);
  for (std::size_t v = 0; v < dead.size(); ++v) {
    EXPECT_EQ(dead[v], window->Solver().FoundationPressure(static_cast<int>(v))) << v;
    EXPECT_NEAR(uls[v], 1.35 * dead[v] + 1.5 * live[v], 1e-12 * scale) << v;
    EXPECT_NEAR(sls[v], dead[v] + live[v], 1e-12 * scale) << v;
    EXPECT_EQ(high[v], std::max(uls[v], sls[v])) << v;
    EXPECT_EQ(low[v], std::min(uls[v], sls[v])) << v;
  }
}

}  // namespace
}  // namespace tavrin::test
