// A whole job built by mouse and property editor alone (the square example: a 450 x 450 plate,
// simply supported on all four edges, a point load on a free centre node and a pressure), then
// meshed, solved and read; the result must match the same job opened from its file.
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <cmath>

#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/TRollup.h"

namespace tavrin::test {
namespace {

class MouseSession : public Workbench {
 protected:
  // Largest downward deflection over the mesh nodes.
  double MaxDeflection() {
    const TGlobMatrix& s = window->Solver();
    double w = 0;
    for (int i = 0; i < window->Mesh().NodeCount(); ++i)
      w = std::min(w, static_cast<double>(s.Displacement(s.NewNumberOf(i), 0)));
    return w;
  }
};

TEST_F(MouseSession, BuildMeshSolveAndReadTheSquareExample) {
  GlobalMeshParameters().animate = false;
  window->resize(800, 700);
  QApplication::processEvents();
  window->ZoomoutButtonClick();  // one world unit per pixel
  const double o = 20;           // the plate's lower left corner, off the view's edge

  Action("newpolygon")->trigger();
  for (auto [x, y] : {std::pair{0.0, 0.0}, {450.0, 0.0}, {450.0, 450.0}, {0.0, 450.0}, {0.0, 0.0}})
    ClickWorld(o + x, o + y);
  ASSERT_EQ(window->Structure().PolygonCount(), 1);
  Action("newvertex")->trigger();
  ClickWorld(o + 225, o + 225);
  ASSERT_EQ(window->Structure().NodeCount(), 5);

  TRollup& editor = *window->Rollup();
  Action("editvertex")->trigger();
  // Every edge: lin. Z held at 0.
  for (auto [x, y] : {std::pair{225.0, 0.0}, {450.0, 225.0}, {225.0, 450.0}, {0.0, 225.0}}) {
    ClickWorld(o + x, o + y);
    ASSERT_EQ(editor.Kind(), SelectionKind::edge);
    Control<QCheckBox>("EnableDZ")->click();
    Type("DispUZ", "0");
    editor.Apply();
  }
  // The centre node: a point load of -500.
  ClickWorld(o + 225, o + 225);
  ASSERT_EQ(editor.Kind(), SelectionKind::node);
  Type("ForceUZ", "-500");
  editor.Apply();
  // The polygon (Shift held): pressure -0.01 and Poisson ratio 0.3.
  QTest::keyPress(window.get(), Qt::Key_Shift);
  ClickWorld(o + 225, o);
  QTest::keyRelease(window.get(), Qt::Key_Shift);
  ASSERT_EQ(editor.Kind(), SelectionKind::polygon);
  Type("Pressure", "-0.01");
  Type("NuModulus", "0.3");
  editor.Apply();
  ASSERT_TRUE(platform.messages.size() == 1u)
      << platform.messages.back().text;  // "Polygon closed" only

  const TObjCont& job = window->Structure();
  for (int e = 0; e < 4; ++e) EXPECT_EQ(job.GetConstraintCode(e, false), 100) << e;
  EXPECT_TRUE(job.HasLinZLoad(4, true));
  EXPECT_EQ(job.Physics(0).pressure, -0.01);
  EXPECT_EQ(job.Physics(0).nu, 0.3);

  window->GenerateMeshClick();
  ASSERT_TRUE(window->Meshed());
  window->SolveStaticClick();
  ASSERT_TRUE(window->StaticSolved());
  window->SolveStressClick();
  window->SelectView(1);
  double drawn = MaxDeflection();
  std::filesystem::path out = std::filesystem::path(TAVRIN_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(out);
  QApplication::processEvents();
  window->grab().save(QString::fromStdString((out / "mouse-built-square.png").string()), "PNG");

  // The same job from its file, meshed with the same parameters. Tolerance: 2 % of the
  // deflection, as the two meshes differ by the shift of the coordinates.
  window->Document().SetModified(false);
  float area = GlobalMeshParameters().maxArea;
  OpenThroughDialog(ExamplePath("square.sam"));
  GlobalMeshParameters().maxArea = area;
  window->GenerateMeshClick();
  window->SolveStaticClick();
  ASSERT_TRUE(window->StaticSolved());
  double opened = MaxDeflection();
  EXPECT_LT(drawn, 0.0);
  EXPECT_NEAR(drawn, opened, 0.02 * std::fabs(opened));
}

}  // namespace
}  // namespace tavrin::test
