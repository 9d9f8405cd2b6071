// Colour fringes of the result views: the colour maps and bands, the rasterized picture, and the
// fringes, legend and extreme markers as the user sees them in the main window.
#include <QComboBox>
#include <QImage>
#include <algorithm>
#include <cmath>

#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/ColourMap.h"
#include "ui/FringeField.h"
#include "ui/FringeRenderer.h"
#include "ui/FringeScale.h"
#include "ui/LegendBar.h"
#include "ui/ResultViews.h"
#include "ui/ViewNavigation.h"

namespace tavrin::test {
namespace {

TEST(ColourMap, EndsAndMiddleOfBothMaps) {
  EXPECT_EQ(MapColour(ColourMapKind::Sequential, 0), qRgb(68, 1, 84));
  EXPECT_EQ(MapColour(ColourMapKind::Sequential, 1), qRgb(253, 231, 37));
  EXPECT_EQ(MapColour(ColourMapKind::Sequential, -3),
            MapColour(ColourMapKind::Sequential, 0));  // clamped
  EXPECT_EQ(MapColour(ColourMapKind::Sequential, NAN), MapColour(ColourMapKind::Sequential, 0));
  EXPECT_EQ(MapColour(ColourMapKind::Diverging, 0.5), qRgb(247, 247, 247));  // white at zero
  EXPECT_LT(qRed(MapColour(ColourMapKind::Diverging, 0)),
            qBlue(MapColour(ColourMapKind::Diverging, 0)));
  EXPECT_GT(qRed(MapColour(ColourMapKind::Diverging, 1)),
            qBlue(MapColour(ColourMapKind::Diverging, 1)));
  // Viridis grows lighter all along: a darker colour always means a smaller value.
  int last = -1;
  for (int i = 0; i <= 20; ++i) {
    const QRgb c = MapColour(ColourMapKind::Sequential, i / 20.0);
    const int light = qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114;
    EXPECT_GT(light, last) << i;
    last = light;
  }
}

TEST(FringeScale, BandsSplitTheRangeEvenly) {
  const FringeScale s(-2, 10, 12);
  EXPECT_EQ(s.Kind(), ColourMapKind::Diverging);
  for (int k = 0; k <= 12; ++k) EXPECT_NEAR(s.Boundary(k), -2 + k, 1e-12) << k;
  EXPECT_EQ(s.Boundary(12), 10.0);
  EXPECT_EQ(s.BandOf(-2), 0);
  EXPECT_EQ(s.BandOf(-1.5), 0);
  EXPECT_EQ(s.BandOf(-1), 1);
  EXPECT_EQ(s.BandOf(10), 11);  // the maximum belongs to the last band
  EXPECT_EQ(s.BandOf(1e9), 11);
  EXPECT_EQ(s.BandOf(-1e9), 0);
  EXPECT_EQ(s.BandOf(NAN), 0);
  // Centred on zero: the band just above zero is nearly white, the top band is the map's red end.
  const QRgb nearZero = s.BandColour(2);
  EXPECT_GT(qRed(nearZero), 200);
  EXPECT_GT(qBlue(nearZero), 180);
  EXPECT_EQ(s.BandColour(11), MapColour(ColourMapKind::Diverging, 0.5 + 9.5 / 20));

  const FringeScale positive(3, 7, 4);
  EXPECT_EQ(positive.Kind(), ColourMapKind::Sequential);
  EXPECT_EQ(positive.BandColour(0), MapColour(ColourMapKind::Sequential, 0.125));
  EXPECT_EQ(positive.ColourOf(6.9), MapColour(ColourMapKind::Sequential, 0.875));
  EXPECT_EQ(LegendLabels(positive), QStringList({"7", "6", "5", "4", "3"}));

  const FringeScale flat(5, 5);  // a field of one value: one colour, no division by zero
  EXPECT_EQ(flat.BandOf(5), 0);
  EXPECT_EQ(flat.BandColour(0), MapColour(ColourMapKind::Sequential, 0.5));
}

// A boundary meant as zero is written 0 whatever round-off made of it (-0.1 + 0.3 * 4 / 12 is
// 1.388e-17 in doubles); a value near zero that is more than round-off keeps its digits.
TEST(FringeScale, LegendWritesRoundOffAtZeroAsZero) {
  struct Case {
    double min, max;
    int boundary;
    const char* label;
  };
  const Case cases[] = {
      {-0.1, 0.2, 4, "0"},     {-0.1, 0.5, 2, "0"}, {-0.7, 0.7, 6, "0"},     {-0.35, 0.7, 4, "0"},
      {-2, 1, 8, "0"},         {-5e-10, 1, 0, "0"}, {-2e-9, 1, 0, "-2e-09"}, {1e-6, 1, 0, "1e-06"},
      {-0.1, 0.2, 5, "0.025"}, {3, 7, 1, "3.333"},
  };
  for (const Case& c : cases) {
    const FringeScale s(c.min, c.max);
    EXPECT_EQ(LegendLabels(s)[s.Bands() - c.boundary], c.label) << c.min << " " << c.max;
  }
}

// Two triangles over the square [0, 10] x [0, 10], the value equal to x.
FringeField SquareOfX(bool perElement) {
  FringeField f;
  f.x = {0, 10, 10, 0};
  f.y = {0, 0, 10, 10};
  f.triangles = {{0, 1, 2}, {0, 2, 3}};
  f.perElement = perElement;
  f.values = perElement ? std::vector<double>{1, 9} : std::vector<double>{0, 10, 10, 0};
  f.min = perElement ? 1 : 0;
  f.max = perElement ? 9 : 10;
  return f;
}

TEST(FringeRenderer, PixelsTakeTheBandOfTheInterpolatedValue) {
  ViewTransform t;
  t.scale = 0.1;  // 100 x 100 pixels for the square, one pixel 0.1 wide
  t.canvasWidth = 120;
  t.canvasHeight = 110;
  t.originY = 0;
  QImage image(120, 110, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  const FringeField f = SquareOfX(false);
  const FringeScale s(0, 10, 5);
  RenderFringes(image, f, s, t);
  for (int px = 0; px < 100; ++px) {
    const double x = (px + 0.5) * 0.1;  // the value at the pixel centre
    for (int py : {12, 55, 108})
      EXPECT_EQ(image.pixel(px, py), s.ColourOf(x) | 0xff000000u) << px << "," << py;
  }
  // Outside the mesh nothing is painted, and every pixel inside is (no cracks on the diagonal).
  EXPECT_EQ(qAlpha(image.pixel(105, 50)), 0);
  EXPECT_EQ(qAlpha(image.pixel(50, 5)), 0);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(qAlpha(image.pixel(i, 10 + 99 - i)), 255) << i;

  // Per element: each triangle in one colour, the lower-right one with 1, the upper-left with 9.
  const FringeField e = SquareOfX(true);
  const FringeScale es(1, 9, 4);
  image.fill(Qt::transparent);
  RenderFringes(image, e, es, t);
  EXPECT_EQ(image.pixel(90, 100), es.ColourOf(1) | 0xff000000u);
  EXPECT_EQ(image.pixel(10, 20), es.ColourOf(9) | 0xff000000u);
}

class Fringes : public Workbench {
 protected:
  void SolvePlate(const char* job) {
    GlobalMeshParameters().animate = false;
    ASSERT_TRUE(window->OpenJob(ExamplePath(job)));
    window->GenerateMeshClick();
    window->SolveStaticClick();
    ASSERT_TRUE(window->StaticSolved());
    window->SolveStressClick();
    ASSERT_TRUE(window->StressSolved());
  }
  static int ViewOf(const char* item) {
    const auto views = ResultViews();
    for (size_t i = 0; i < views.size(); ++i)
      if (std::string(views[i].item) == item) return static_cast<int>(i);
    return -1;
  }
  // The field's value at every solver node, straight from the solver.
  std::vector<double> NodeValues(ResultField field) const {
    std::vector<double> v;
    for (int n = 0; n < window->Solver().ResultNodeCount(); ++n)
      v.push_back(window->Solver().NodeValue(n, field));
    return v;
  }
  QImage Picture() const {
    return window->PlanArea()->Image().convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(Fringes, DeflectionLegendMarkersAndColoursFollowTheField) {
  SolvePlate("square.sam");
  window->SelectView(1);
  ASSERT_TRUE(window->FringesShown());  // the default drawing
  const FringeView& view = window->Fringes();
  const std::vector<double> w = NodeValues(ResultField::LinZ);
  const auto [low, high] = std::minmax_element(w.begin(), w.end());
  ASSERT_LT(*low, *high);
  // The legend: the field's range split evenly.
  const FringeScale& s = view.Scale();
  EXPECT_EQ(s.Min(), *low);
  EXPECT_EQ(s.Max(), *high);
  const QStringList labels = LegendLabels(s);
  ASSERT_EQ(labels.size(), s.Bands() + 1);
  for (int k = 0; k <= s.Bands(); ++k) {
    const double expected = *low + (*high - *low) * k / s.Bands();
    EXPECT_NEAR(labels[s.Bands() - k].toDouble(), expected, 1e-3 * (*high - *low)) << k;
  }
  // The markers sit on the nodes of the extreme values.
  EXPECT_EQ(w[view.Field().minAt], *low);
  EXPECT_EQ(w[view.Field().maxAt], *high);
  const ViewTransform& t = CurrentViewTransform();
  const QImage picture = Picture();
  for (int at : {view.Field().minAt, view.Field().maxAt}) {
    const int sx = t.ScreenX(view.Field().x[at]), sy = t.ScreenY(view.Field().y[at]);
    // The tip at the node, the white body beside it (above for min, below for max).
    const int body = at == view.Field().minAt ? sy - 6 : sy + 6;
    EXPECT_EQ(picture.pixel(sx, body), qRgb(255, 255, 255)) << at;
  }
  // At the nodes, the colour of the node's band, wherever a line, marker or the legend leaves
  // the pixel free (mid-band values only: the pixel's centre is up to 0.7 px from the node).
  int checked = 0, matched = 0;
  // The legend panel is well under 200 pixels wide, at the right edge.
  const QRect legend(picture.width() - 200, 0, 200, picture.height());
  for (size_t n = 0; n < w.size(); ++n) {
    const double band = (w[n] - s.Min()) / (s.Max() - s.Min()) * s.Bands();
    const double inBand = band - std::floor(band);
    const int sx = t.ScreenX(view.Field().x[n]), sy = t.ScreenY(view.Field().y[n]);
    if (inBand < 0.3 || inBand > 0.7 || legend.contains(sx, sy) ||
        static_cast<int>(n) == view.Field().minAt || static_cast<int>(n) == view.Field().maxAt)
      continue;
    ++checked;
    matched += picture.pixel(sx, sy) == (s.ColourOf(w[n]) | 0xff000000u);
  }
  ASSERT_GT(checked, 20);
  EXPECT_GE(matched, checked * 95 / 100) << matched << " of " << checked;
}

// A plate the program fitted moves clear of the legend when fringes come, stays put between
// fringe views and is fitted clear of the isolines' legend with the isolines; a view the user
// moved stays.
TEST_F(Fringes, AFittedPlateLeavesTheLegendClear) {
  SolvePlate("square.sam");
  const ViewTransform& t = CurrentViewTransform();
  const WorldBox box = JobBox(window->Structure());
  const ViewTransform full = t;
  window->SelectView(1);
  ASSERT_TRUE(window->FringesShown());
  const int legendLeft = t.canvasWidth - window->Fringes().LegendReserve(t.canvasHeight);
  EXPECT_LT(t.ScreenX(box.xmax), legendLeft);
  // Centred in what the legend leaves (within a pixel).
  EXPECT_NEAR(t.ScreenX((box.xmin + box.xmax) / 2), legendLeft / 2.0, 1.0);
  EXPECT_NE(t.originX, full.originX);
  const ViewTransform fringes = t;

  window->SelectView(ViewOf("Mx bending moment"));
  EXPECT_EQ(t.originX, fringes.originX);
  EXPECT_EQ(t.scale, fringes.scale);

  window->SetFringes(false);
  const int isolineLegend = window->Results().LegendReserve(t.canvasHeight);
  ASSERT_GT(isolineLegend, 0);
  EXPECT_LT(t.ScreenX(box.xmax), t.canvasWidth - isolineLegend);
  EXPECT_NEAR(t.ScreenX((box.xmin + box.xmax) / 2), (t.canvasWidth - isolineLegend) / 2.0, 1.0);
  window->SetFringes(true);  // fitted again, now to the moment's legend
  EXPECT_LT(t.ScreenX(box.xmax), t.canvasWidth - window->Fringes().LegendReserve(t.canvasHeight));
  EXPECT_NE(t.originX, full.originX);

  window->SetFringes(false);
  window->ZoominButtonClick();
  const ViewTransform zoomed = t;
  window->SetFringes(true);
  EXPECT_EQ(t.scale, zoomed.scale);
  EXPECT_EQ(t.originX, zoomed.originX);
}

TEST_F(Fringes, ViewMenuAndStyleSelectorSwitchToTheIsolinesAlone) {
  SolvePlate("square.sam");
  window->SelectView(ViewOf("Mx bending moment"));
  ASSERT_EQ(window->ViewIndex(), ViewOf("Mx bending moment"));
  EXPECT_EQ(window->PanelText(2), "Mx moment:");
  EXPECT_TRUE(window->FringesShown());
  EXPECT_EQ(window->Fringes().Title(), "Mx moment");
  const std::vector<double> mx = NodeValues(ResultField::MomentX);
  EXPECT_EQ(window->Fringes().Scale().Max(), *std::max_element(mx.begin(), mx.end()));
  const QImage fringes = Picture();
  EXPECT_EQ(fringes.pixel(5, 5), window->PlanArea()->Background().rgb())
      << "the background stays where there is no plate";

  // View menu: the documented picture, lime isolines on the mesh outline, no legend.
  QAction* choice = Action("ColourFringes");
  EXPECT_TRUE(choice->isChecked());
  choice->trigger();
  EXPECT_FALSE(window->FringesChosen());
  EXPECT_FALSE(window->FringesShown());
  auto* style = window->findChild<QComboBox*>("ViewStyle");
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->currentText(), "Isolines");
  const QImage isolines = Picture();
  int lime = 0;
  for (int y = 0; y < isolines.height(); ++y)
    for (int x = 0; x < isolines.width(); ++x) lime += isolines.pixel(x, y) == qRgb(0, 255, 0);
  EXPECT_GT(lime, 200);
  EXPECT_NE(isolines, fringes);

  // The style selector: back to fringes, the menu item follows.
  style->setCurrentIndex(0);
  emit style->activated(0);
  EXPECT_TRUE(choice->isChecked());
  EXPECT_TRUE(window->FringesShown());
  EXPECT_EQ(Picture(), fringes);

  // The read-out under the mouse stays: the value at the nearest node.
  const ViewTransform& t = CurrentViewTransform();
  const FEM& mesh = window->Mesh();
  const int node = mesh.NodeCount() / 2;
  window->mousemoved(t.ScreenX(mesh.NodeX(node)), t.ScreenY(mesh.NodeY(node)));
  const int under = mesh.NearestNode(t.WorldX(t.ScreenX(mesh.NodeX(node))),
                                     t.WorldY(t.ScreenY(mesh.NodeY(node))));
  EXPECT_EQ(window->PanelText(3),
            QString::number(window->Solver().NodeValue(window->Solver().NewNumberOf(under),
                                                       ResultField::MomentX),
                            'g', 5));
}

TEST_F(Fringes, ErrorEstimateIsDrawnPerElementWhateverTheChoice) {
  SolvePlate("square.sam");
  window->SetFringes(false);
  window->SelectView(ViewOf("Error estimate"));
  ASSERT_EQ(window->ViewIndex(), ViewOf("Error estimate"));
  EXPECT_TRUE(window->FringesShown());  // no isolines can trace a value per element
  const FringeField& f = window->Fringes().Field();
  ASSERT_TRUE(f.perElement);
  ASSERT_EQ(f.values.size(), static_cast<size_t>(window->Solver().ResultTriangleCount()));
  EXPECT_EQ(f.values[f.maxAt], *std::max_element(f.values.begin(), f.values.end()));
  EXPECT_GE(f.min, 0);
  EXPECT_EQ(window->Fringes().Scale().Kind(), ColourMapKind::Sequential);
  // Read-out: the largest error of the triangles at the node under the mouse.
  const TGlobMatrix& s = window->Solver();
  const int node = s.TriangleCorner(f.maxAt, 0);
  const int meshNode = s.MeshNodeOf(node);
  const ViewTransform& t = CurrentViewTransform();
  window->mousemoved(t.ScreenX(window->Mesh().NodeX(meshNode)),
                     t.ScreenY(window->Mesh().NodeY(meshNode)));
  const int under = window->Mesh().NearestNode(t.WorldX(t.ScreenX(window->Mesh().NodeX(meshNode))),
                                               t.WorldY(t.ScreenY(window->Mesh().NodeY(meshNode))));
  double largest = -1;
  for (int tr = 0; tr < s.ResultTriangleCount(); ++tr)
    for (int c = 0; c < 3; ++c)
      if (s.TriangleCorner(tr, c) == s.NewNumberOf(under))
        largest = std::max(largest, s.ElementError(tr));
  EXPECT_EQ(window->PanelText(3), QString::number(largest, 'g', 5));
  // Before the stresses there is nothing to show: a new solve drops the picture.
  window->SolveStaticClick();
  EXPECT_FALSE(window->Fringes().HasField());
}

// Pictures for people to look at (tests/ui/screenshots/ in the build folder): the plate with a
// hole in deflection and in Mx, with their legends and extreme markers.
TEST_F(Fringes, ScreenshotsOfThePlateWithAHole) {
  window->resize(900, 760);
  QApplication::processEvents();
  SolvePlate("plate-with-hole.sam");
  const std::filesystem::path out = std::filesystem::path(TAVRIN_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(out);
  for (const auto& [item, name] :
       {std::pair{"UX Lin. Displacement isolines", "fringes-deflection.png"},
        std::pair{"Mx bending moment", "fringes-mx.png"}}) {
    window->SelectView(ViewOf(item));
    ASSERT_TRUE(window->FringesShown()) << item;
    QApplication::processEvents();
    const QImage image = window->grab().toImage();
    EXPECT_TRUE(image.save(QString::fromStdString((out / name).string()), "PNG")) << name;
    // Most of the plate is coloured: at least a fifth of the view differs from the background.
    const QImage plan = Picture();
    int coloured = 0;
    for (int y = 0; y < plan.height(); ++y)
      for (int x = 0; x < plan.width(); ++x)
        coloured += plan.pixel(x, y) != window->PlanArea()->Background().rgb();
    EXPECT_GT(coloured, plan.width() * plan.height() / 5) << name;
  }
}

}  // namespace
}  // namespace tavrin::test
