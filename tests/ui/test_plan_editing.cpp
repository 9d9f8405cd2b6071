// Drawing and picking in the plan view, and carrying out the property editor's requests.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <string>

#include "mesh/MeshParameters.h"
#include "tests/ui/WorkbenchFixture.h"

namespace tavrin::test {
namespace {

class PlanEditingTest : public Workbench {
 protected:
  void SetUp() override {
    Workbench::SetUp();
    window->ZoomoutButtonClick();  // scale 1: one world unit per pixel
  }
  // A closed square polygon drawn by clicks (corners 0..3 counter-clockwise from (x0, y0)).
  void DrawSquare(double x0, double y0, double side) {
    window->Editing().NewPolygonButton();
    ClickWorld(x0, y0);
    ClickWorld(x0 + side, y0);
    ClickWorld(x0 + side, y0 + side);
    ClickWorld(x0, y0 + side);
    ClickWorld(x0, y0);
  }
  // The pixel at a world point, shifted by (dx, dy) screen pixels (a node square spans -2..+1).
  QRgb PixelAtWorld(double x, double y, int dx = 0, int dy = 0) {
    const ViewTransform& t = CurrentViewTransform();
    const QImage& image = window->PlanArea()->Image();
    double ratio = image.devicePixelRatio();  // device pixels per view pixel
    return image.pixel(static_cast<int>((t.ScreenX(x) + dx) * ratio),
                       static_cast<int>((t.ScreenY(y) + dy) * ratio));
  }
  PlanEditing& editing() { return window->Editing(); }
};

TEST_F(PlanEditingTest, DrawingASquareClosesItAndSetsTheDefaultArea) {
  DrawSquare(20, 20, 450);
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Polygon closed");
  EXPECT_EQ(platform.messages[0].caption, "Cool!");
  EXPECT_EQ(window->Structure().PolygonCount(), 1);
  EXPECT_EQ(window->Structure().EdgeCount(), 4);
  EXPECT_TRUE(Enabled("Generatemesh"));
  EXPECT_TRUE(window->Modified());
  EXPECT_FALSE(editing().newPolygonMode);
  EXPECT_TRUE(editing().firstPolygonPoint);
  EXPECT_EQ(GlobalMeshParameters().maxArea, 578.0f);
  EXPECT_EQ(qRed(PixelAtWorld(20, 20)), 0);  // a black corner square
}

TEST_F(PlanEditingTest, DefaultAreaFollowsTheBoundingBox) {
  window->Structure().AddFreeNode(0, 0);
  window->Structure().AddFreeNode(100, 50);
  window->ComputeDefaultMaxArea();
  EXPECT_EQ(GlobalMeshParameters().maxArea, 14.0f);
  window->New1Click();
  window->Structure().AddFreeNode(0, 0);
  window->Structure().AddFreeNode(10, 10);
  window->ComputeDefaultMaxArea();
  EXPECT_EQ(GlobalMeshParameters().maxArea, 0.0f);
}

TEST_F(PlanEditingTest, CrossingPointIsRefusedAndTheModeKept) {
  editing().NewPolygonButton();
  ClickWorld(20, 20);
  ClickWorld(300, 20);
  ClickWorld(300, 300);
  ClickWorld(150, -50);  // the segment from (300, 300) crosses the first edge
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Intersect not allowed");
  EXPECT_EQ(platform.messages[0].caption, "Error!");
  EXPECT_EQ(window->Structure().NodeCount(), 3);
  EXPECT_TRUE(editing().newPolygonMode);
  EXPECT_EQ(editing().lastPolygonX, 300.0);
  EXPECT_FALSE(Enabled("Generatemesh"));
}

TEST_F(PlanEditingTest, FreeVertexLastsOneClick) {
  window->Editing().NewVertexButton();
  EXPECT_TRUE(window->Modified());
  ClickWorld(100, 100);
  ClickWorld(200, 200);  // a pick, not a second vertex
  ASSERT_EQ(window->Structure().NodeCount(), 1);
  EXPECT_TRUE(window->Structure().IsFreeNode(0));
  EXPECT_EQ(window->Structure().NodeX(0), 100.0);
  EXPECT_FALSE(editing().newVertexMode);
  // New Vertex does nothing while a polygon is being drawn.
  editing().NewPolygonButton();
  editing().NewVertexButton();
  EXPECT_FALSE(editing().newVertexMode);
}

TEST_F(PlanEditingTest, PickingPriorities) {
  DrawSquare(100, 100, 200);
  TObjCont& job = window->Structure();
  job.SetNodeLoads(0, -5, 0, 0);
  job.SetEdgeConstraints(0, 111, 0, 0, 0);

  // Near a corner: the corner node, not an edge meeting there.
  EXPECT_EQ(editing().PickSelection(101, 102), SelectionKind::node);
  EXPECT_EQ(window->Request().index, 0);
  EXPECT_EQ(window->Request().loadLinZ, -5.0);
  EXPECT_TRUE(editing().selectionActive);
  EXPECT_EQ(qRed(PixelAtWorld(100, 100, -2, -2)), 255);  // highlighted in red
  EXPECT_EQ(qGreen(PixelAtWorld(100, 100, -2, -2)), 0);

  // On an edge away from its ends.
  EXPECT_EQ(editing().PickSelection(200, 98), SelectionKind::edge);
  EXPECT_EQ(window->Request().index, 0);
  EXPECT_EQ(window->Request().constraintCode, 111);
  EXPECT_EQ(qRed(PixelAtWorld(100, 100, -2, -2)), 0);  // the earlier highlight was repainted away

  // With Shift held, the whole polygon.
  editing().shiftHeld = true;
  EXPECT_EQ(editing().PickSelection(200, 98), SelectionKind::polygon);
  EXPECT_EQ(window->Request().index, 0);
  EXPECT_EQ(window->Request().eModulus, 210000.0);
  EXPECT_EQ(qRed(PixelAtWorld(300, 300)), 255);
  editing().shiftHeld = false;

  // A free node near a polygon corner wins over the corner.
  job.AddFreeNode(102, 100);
  EXPECT_EQ(editing().PickSelection(101, 100), SelectionKind::node);
  EXPECT_EQ(window->Request().index, 4);

  // 3 world units is the limit.
  EXPECT_EQ(editing().PickSelection(200, 96.9), SelectionKind::none);
  EXPECT_FALSE(editing().selectionActive);
  EXPECT_EQ(editing().PickSelection(200, 97.1), SelectionKind::edge);
}

TEST_F(PlanEditingTest, ShiftKeyTurnsAPickIntoAPolygon) {
  DrawSquare(100, 100, 200);
  QTest::keyPress(window.get(), Qt::Key_Shift);
  EXPECT_TRUE(editing().shiftHeld);
  ClickWorld(200, 100);
  EXPECT_EQ(editing().selectionKind, SelectionKind::polygon);
  QTest::keyRelease(window.get(), Qt::Key_Shift);
  EXPECT_FALSE(editing().shiftHeld);
  ClickWorld(200, 100);
  EXPECT_EQ(editing().selectionKind, SelectionKind::edge);
}

TEST_F(PlanEditingTest, ApplyMovesTheChosenEdgeEndAndReportsRefusals) {
  DrawSquare(100, 100, 200);
  TObjCont& job = window->Structure();
  window->Document().SetModified(false);
  platform.messages.clear();                                          // "Polygon closed"
  ASSERT_EQ(editing().PickSelection(200, 100), SelectionKind::edge);  // edge 0: node 0 -> node 1
  EditRequest& r = window->Request();
  r.geometryChanged = true;
  r.moveBeginNode = false;
  r.x = 320;
  r.y = 90;
  window->ApplyEdits();
  EXPECT_EQ(job.NodeX(1), 320.0);
  EXPECT_EQ(job.NodeY(1), 90.0);
  EXPECT_EQ(job.NodeX(0), 100.0);
  EXPECT_TRUE(window->Modified());
  EXPECT_TRUE(platform.messages.empty());

  // SelectEdgeEnd fetches the node's own data.
  job.SetNodeLoads(0, 7, 0, 0);
  window->SelectEdgeEnd(0, 0);
  EXPECT_EQ(editing().selectionKind, SelectionKind::node);
  EXPECT_EQ(r.index, 0);
  EXPECT_EQ(r.loadLinZ, 7.0);

  r.geometryChanged = true;
  r.x = 320;  // onto node 1
  r.y = 90;
  window->ApplyEdits();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Такая точка уже существует");
  EXPECT_EQ(job.NodeX(0), 100.0);

  r.geometryChanged = true;
  r.x = 400;  // across the edge from node 1 to node 2
  r.y = 200;
  window->ApplyEdits();
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.messages[1].text, "Пересечение линий недопустимо");
  EXPECT_EQ(platform.messages[1].caption, "Error!");
}

// A circle hole drawn through Edit > Circle, then arcs typed on the square's edges in the
// editor: each accepted edit is one undo step, each refused one names the edge and changes
// nothing.
TEST_F(PlanEditingTest, CirclesAndArcEditsAreCheckedAndUndoable) {
  DrawSquare(100, 100, 200);  // edge 0 from (100, 100) to (300, 100), edge 2 from (300, 300)
  TObjCont& job = window->Structure();
  auto circle = [&](const char* x, const char* y, const char* r) {
    QTimer::singleShot(0, window.get(), [this, x, y, r] {
      auto* box = window->findChild<QDialog*>("CircleBox");
      ASSERT_NE(box, nullptr);
      box->findChild<QLineEdit*>("CentreX")->setText(x);
      box->findChild<QLineEdit*>("CentreY")->setText(y);
      box->findChild<QLineEdit*>("CircleRadius")->setText(r);
      box->findChild<QCheckBox*>("CircleHole")->setChecked(true);
      box->findChild<QPushButton*>("OK")->click();
    });
    platform.messages.clear();
    Action("DrawCircle")->trigger();
  };
  circle("200", "140", "20");
  ASSERT_EQ(job.PolygonCount(), 2);
  EXPECT_TRUE(job.IsHole(1));
  EXPECT_EQ(Action("EditUndo")->text(), "Undo Add circle");
  circle("100", "140", "20");  // across the outline
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text.rfind("The circle cannot be added: ", 0), 0u);
  EXPECT_EQ(job.PolygonCount(), 2);

  Action("editvertex")->trigger();
  struct Case {
    double x, y;  // a point on the edge
    const char *field, *typed;
    double bulge;         // the edge's bulge afterwards
    const char* message;  // the start of the refusal, or nullptr
  };
  const Case cases[] = {
      {200, 100, "Bulge", "2", 0, "Edge# 0: not a valid bulge"},
      {200, 100, "Bulge", "0.0001", 0, "Edge 0 is an arc too flat"},
      {200, 100, "Bulge", "-0.5", 0, "Edge 0, an arc, crosses edge"},  // into the hole
      {200, 100, "Bulge", "0.5", 0.5, nullptr},                        // outwards
      // Radius 150 over the chord of 200, bulging inwards: tan(asin(2 / 3) / 2).
      {200, 300, "Radius", "-150", -std::tan(std::asin(2.0 / 3) / 2), nullptr},
  };
  for (const Case& c : cases) {
    ClickWorld(c.x, c.y);
    ASSERT_EQ(window->Rollup()->Kind(), SelectionKind::edge);
    const int edge = window->Rollup()->Id();
    const QString undo = Action("EditUndo")->text();
    QLineEdit* field = Control<QLineEdit>(c.field);
    field->selectAll();
    QTest::keyClicks(field, c.typed);
    platform.messages.clear();
    Control<QPushButton>("MainButton")->click();
    EXPECT_NEAR(job.EdgeBulge(edge), c.bulge, 1e-15) << c.typed;
    if (c.message) {
      ASSERT_EQ(platform.messages.size(), 1u) << c.typed;
      EXPECT_EQ(platform.messages[0].text.rfind(c.message, 0), 0u) << platform.messages[0].text;
      EXPECT_EQ(Action("EditUndo")->text(), undo) << c.typed;
      continue;
    }
    EXPECT_TRUE(platform.messages.empty()) << platform.messages[0].text;
    EXPECT_EQ(Action("EditUndo")->text().toStdString(),
              "Undo Edit edge " + std::to_string(edge) + ": arc");
    Action("EditUndo")->trigger();
    EXPECT_EQ(job.EdgeBulge(edge), 0.0) << c.typed;
    Action("EditRedo")->trigger();
    EXPECT_NEAR(job.EdgeBulge(edge), c.bulge, 1e-15) << c.typed;
  }
  EXPECT_NE(job.JobText().find("\nAE, 0, 0.5\n"), std::string::npos);
  ClickWorld(200, 50);  // on edge 0's arc, 50 below its chord
  EXPECT_EQ(window->Rollup()->Kind(), SelectionKind::edge);
  EXPECT_EQ(window->Rollup()->Id(), 0);
  // The circle is one step.
  while (Action("EditUndo")->text() != "Undo Add circle") Action("EditUndo")->trigger();
  Action("EditUndo")->trigger();
  EXPECT_EQ(job.PolygonCount(), 1);
  EXPECT_EQ(job.EdgeCount(), 4);
}

TEST_F(PlanEditingTest, ApplyWritesLoadsConstraintsAndPhysics) {
  DrawSquare(100, 100, 200);
  TObjCont& job = window->Structure();
  ASSERT_EQ(editing().PickSelection(100, 100), SelectionKind::node);
  EditRequest& r = window->Request();
  r.loadsChanged = r.constraintsChanged = true;
  r.loadLinZ = -3;
  r.constraintCode = 101;
  r.dispLinZ = 0.5;
  window->ApplyEdits();
  std::array<double, 6> v{};
  int code = 0;
  job.GetNodeAttributes(0, v, code);
  EXPECT_EQ(code, 101);
  EXPECT_EQ(v[0], 0.5);
  EXPECT_EQ(v[3], -3.0);
  EXPECT_EQ(r.loadLinZ, -3.0);  // the request holds what the node holds now
  EXPECT_EQ(r.constraintCode, 101);

  // A polygon: the physics are applied even when a position was typed too.
  editing().shiftHeld = true;
  ASSERT_EQ(editing().PickSelection(100, 100), SelectionKind::polygon);
  r.loadsChanged = r.constraintsChanged = false;
  r.geometryChanged = r.physicsChanged = true;
  r.x = 0;
  r.y = 0;
  r.pressure = -0.02;
  r.eModulus = 30000;
  r.poisson = 0.2;
  r.thickness = 12;
  r.hole = false;
  window->ApplyEdits();
  PolygonPhysics p = job.Physics(0);
  EXPECT_EQ(p.pressure, -0.02);
  EXPECT_EQ(p.eModulus, 30000.0);
  EXPECT_EQ(p.thickness, 12.0);
  EXPECT_EQ(job.NodeX(0), 100.0);  // a polygon is not moved
}

// Through the editor as a user works it: a refused move in the same Apply as new loads. The
// loads are applied, the node stays, and the editor shows the node where it is with its loads.
TEST_F(PlanEditingTest, EditorShowsWhatTheJobHoldsAfterApply) {
  DrawSquare(100, 100, 200);
  platform.messages.clear();  // "Polygon closed"
  TRollup& editor = *window->Rollup();
  editor.show();
  ASSERT_EQ(editing().PickSelection(300, 300), SelectionKind::node);  // node 2
  auto field = [&](const char* name) { return editor.findChild<QLineEdit*>(name); };
  auto type = [&](const char* name, const char* text) {
    field(name)->selectAll();
    QTest::keyClicks(field(name), text);
  };
  editor.ShowPage(TRollup::TabGeometry);
  type("Value_X", "50");  // node 2 to (50, 150): edge 1-2 would cross edge 3-0
  type("Value_Y", "150");
  editor.ShowPage(TRollup::TabLoads);
  type("ForceUZ", "-5");
  QTest::mouseClick(editor.findChild<QPushButton*>("MainButton"), Qt::LeftButton);

  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "Пересечение линий недопустимо");
  const TObjCont& job = window->Structure();
  EXPECT_EQ(job.NodeX(2), 300.0);
  EXPECT_EQ(job.NodeY(2), 300.0);
  std::array<double, 6> values{};
  int code = 0;
  job.GetNodeAttributes(2, values, code);
  EXPECT_EQ(values[3], -5.0);
  EXPECT_EQ(field("Value_X")->text(), "300");
  EXPECT_EQ(field("Value_Y")->text(), "300");
  EXPECT_EQ(field("ForceUZ")->text(), "-5");

  // An edge whose end point was chosen in the editor: after a move the editor still shows
  // that end, where it now is.
  ASSERT_EQ(editing().PickSelection(300, 200), SelectionKind::edge);  // edge 1: node 1 -> node 2
  editor.ToggleEdgeEnd();
  editor.ShowPage(TRollup::TabGeometry);
  type("Value_X", "320");
  type("Value_Y", "310");
  QTest::mouseClick(editor.findChild<QPushButton*>("MainButton"), Qt::LeftButton);
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(job.NodeX(2), 320.0);
  EXPECT_TRUE(editor.EndSelected());
  EXPECT_EQ(field("Value_X")->text(), "320");
  EXPECT_EQ(field("Value_Y")->text(), "310");
}

}  // namespace
}  // namespace tavrin::test
