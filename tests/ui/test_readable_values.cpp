// Every value of a result view can be read: the status bar's read-out in each view, drawn either
// way, at nodes and between them; the isolines' legend, labels and extremes; the 3D window
// following the field of the plan view.
#include <QImage>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/DeflectedView3D.h"
#include "ui/FringeField.h"
#include "ui/IsolineOverlay.h"
#include "ui/ResultViews.h"

namespace tavrin::test {
namespace {

class Readable : public Workbench {
 protected:
  void SetUp() override {
    Workbench::SetUp();
    GlobalMeshParameters().animate = false;
    ASSERT_TRUE(window->OpenJob(ExamplePath("square.sam")));
    window->GenerateMeshClick();
    window->SolveStaticClick();
    window->SolveStressClick();
    ASSERT_TRUE(window->StressSolved());
  }
};

// Tolerance: the read-out shows 5 significant digits.
TEST_F(Readable, ReadOutInEveryViewAtNodesAndBetweenThem) {
  const ViewTransform& t = CurrentViewTransform();
  const FEM& mesh = window->Mesh();
  const TGlobMatrix& solver = window->Solver();
  for (const bool fringes : {true, false}) {
    window->SetFringes(fringes);
    for (int view = 1; view < static_cast<int>(ResultViews().size()); ++view) {
      const ResultView& v = ResultViews()[view];
      SCOPED_TRACE(std::string(v.item) + (fringes ? " fringes" : " isolines"));
      window->SelectView(view);
      ASSERT_EQ(window->ViewIndex(), view);
      const FringeField field = BuildFringeField(solver, v);  // design views: their own column
      // At a node: the node's value.
      const int node =
          mesh.NearestNode(mesh.NodeX(mesh.NodeCount() / 2), mesh.NodeY(mesh.NodeCount() / 2));
      const int sx = t.ScreenX(mesh.NodeX(node)), sy = t.ScreenY(mesh.NodeY(node));
      window->mousemoved(sx, sy);
      const int under = mesh.NearestNode(t.WorldX(sx), t.WorldY(sy));
      ASSERT_GE(under, 0);
      EXPECT_EQ(window->PanelText(3), QString::number(ResultValueAt(v, solver, under), 'g', 5));

      // Inside a triangle beyond the picking radius of its corners: a value between the
      // corners' (linear field), or the element's own (error estimate).
      bool probed = false;
      for (int tri = 0; tri < solver.ResultTriangleCount() && !probed; ++tri) {
        double cx = 0, cy = 0, lo = INFINITY, hi = -INFINITY;
        for (int c = 0; c < 3; ++c) {
          const int n = solver.TriangleCorner(tri, c);
          cx += solver.NodeX(n) / 3;
          cy += solver.NodeY(n) / 3;
          const double value =
              v.perElement ? solver.ElementError(tri) : field.values[static_cast<std::size_t>(n)];
          lo = std::min(lo, value);
          hi = std::max(hi, value);
        }
        const int px = t.ScreenX(cx), py = t.ScreenY(cy);
        if (mesh.NearestNode(t.WorldX(px), t.WorldY(py)) >= 0) continue;
        probed = true;
        window->PlanArea()->onMousePress(Qt::LeftButton, px, py);  // a click reads out too
        bool ok = false;
        const double shown = window->PanelText(3).toDouble(&ok);
        ASSERT_TRUE(ok) << window->PanelText(3).toStdString();
        const double slack = 5e-5 * std::max(std::fabs(lo), std::fabs(hi));
        EXPECT_GE(shown, lo - slack);
        EXPECT_LE(shown, hi + slack);
      }
      EXPECT_TRUE(probed) << "every triangle centre is within a node's picking radius";
    }
  }
}

// Tolerance: the legend writes 5 significant digits.
TEST_F(Readable, IsolinesHaveALegendOfTheirLevelsLabelsAndExtremes) {
  window->SetFringes(false);
  window->SelectView(1);
  ASSERT_FALSE(window->FringesShown());
  // The fifteen levels below the largest deflection, evenly down to the smallest.
  const TGlobMatrix& solver = window->Solver();
  double lo = INFINITY, hi = -INFINITY;
  for (int v = 0; v < solver.ResultNodeCount(); ++v) {
    lo = std::min(lo, static_cast<double>(solver.Displacement(v, 0)));
    hi = std::max(hi, static_cast<double>(solver.Displacement(v, 0)));
  }
  const QStringList labels = IsolineLegendLabels(window->IsolineLevels());
  ASSERT_EQ(labels.size(), 15);
  for (int k = 0; k < 15; ++k) {
    const double level = hi - (k + 1) * (hi - lo) / 15;
    EXPECT_NEAR(labels[k].toDouble(), level, 5e-5 * std::max(std::fabs(hi), std::fabs(lo))) << k;
  }
  // The picture: the legend's panel at the top right, value labels in dark green on the lines,
  // the white min and max markers.
  const QImage picture = window->PlanArea()->Image().convertToFormat(QImage::Format_RGB32);
  int labelInk = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width() - 150; ++x)
      labelInk += picture.pixel(x, y) == qRgb(0, 100, 0);
  EXPECT_GT(labelInk, 50);
  EXPECT_EQ(picture.pixel(picture.width() - 10, 10), qRgb(255, 255, 255));
  const std::filesystem::path shots = std::filesystem::path(TAVRIN_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(shots);
  EXPECT_TRUE(
      window->grab().save(QString::fromStdString((shots / "isolines-legend.png").string())));
}

TEST_F(Readable, TheDeflectedViewFollowsThePlansField) {
  window->SelectView(1);
  window->DeflectedShapeClick();
  DeflectedView3D* view = window->DeflectedView();
  ASSERT_NE(view, nullptr);
  for (int field : {4, 7, 1}) {
    window->SelectView(field);
    EXPECT_EQ(view->Scale().Min(), window->Fringes().Scale().Min()) << field;
    EXPECT_EQ(view->Scale().Max(), window->Fringes().Scale().Max()) << field;
  }
}

}  // namespace
}  // namespace tavrin::test
