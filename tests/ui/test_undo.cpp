// Undo and redo of the job's changes, and Delete: a session driven by mouse, property editor
// and keys, whose saved files after each undo and redo must equal byte for byte the files
// saved on the way; what undo does to the drawing mode, the modified flag and a mesh.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QUndoStack>
#include <iterator>

#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/JobDeletion.h"
#include "ui/JobHistory.h"
#include "ui/TRollup.h"

namespace tavrin::test {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Undo : public Workbench {
 protected:
  void Apply() { QTest::mouseClick(Control<QPushButton>("MainButton"), Qt::LeftButton); }
  void ShiftClickWorld(double x, double y) {
    QTest::keyPress(window.get(), Qt::Key_Shift);
    ClickWorld(x, y);
    QTest::keyRelease(window.get(), Qt::Key_Shift);
  }

  // Saves the job through Save As and returns the file's bytes.
  std::string Saved(const std::string& name) {
    const std::string path = (dir / name).string();
    platform.files.push_back(path);
    EXPECT_TRUE(window->FileSaveAsClick());
    return ReadAll(path);
  }
  QString UndoText() { return Action("EditUndo")->text(); }
  QString RedoText() { return Action("EditRedo")->text(); }
};

// Every kind of change, one after the other, is undone to the file saved before it and redone
// to the file saved after it.
TEST_F(Undo, EachStepOfASessionComesBackByteForByte) {
  std::vector<std::string> files{Saved("step0.sam")};
  std::vector<QString> names;
  auto step = [&](const char* expectedName) {
    names.push_back(UndoText());
    EXPECT_EQ(UndoText().toStdString(), std::string("Undo ") + expectedName);
    files.push_back(Saved("step" + std::to_string(files.size()) + ".sam"));
  };

  Action("newpolygon")->trigger();
  ClickWorld(20, 20);
  step("Add polygon vertex");
  for (auto [x, y] : {std::pair{220.0, 20.0}, {220.0, 170.0}, {20.0, 170.0}}) {
    ClickWorld(x, y);
    step("Add polygon vertex");
  }
  ClickWorld(20, 20);
  step("Close polygon");
  Action("newvertex")->trigger();
  ClickWorld(120, 95);
  step("Add node");

  Action("editvertex")->trigger();
  TRollup& editor = *window->Rollup();
  ClickWorld(220, 170);
  ASSERT_EQ(editor.Kind(), SelectionKind::node);
  Type("Value_X", "240");
  Apply();
  step("Move node 2");
  ClickWorld(120, 20);
  ASSERT_EQ(editor.Kind(), SelectionKind::edge);
  Type("ForceUZ", "-5");
  Apply();
  step("Edit edge 0: loads");
  Control<QCheckBox>("EnableDZ")->click();
  Type("DispUZ", "0.125");
  Control<QCheckBox>("ElasticRX")->click();  // rigid in lin. Z, elastic in rot. X
  Type("SpringRX", "300");
  Apply();
  step("Edit edge 0: constraints");
  EXPECT_NE(files.back().find("\nKE, 0, 0, 300, 0\n"), std::string::npos) << files.back();
  ShiftClickWorld(20, 90);
  ASSERT_EQ(editor.Kind(), SelectionKind::polygon);
  Type("Pressure", "-0.01");
  Type("Thickness", "12");
  Type("Foundation", "0.2");
  Type("ReinforcementAngle", "-22.5");
  Apply();
  step("Edit polygon 0: physics");
  EXPECT_NE(files.back().find("\nKP, 0, 0.2\n"), std::string::npos) << files.back();
  EXPECT_NE(files.back().find("\nRA, 0, -22.5\n"), std::string::npos) << files.back();
  ClickWorld(120, 95);
  ASSERT_EQ(editor.Kind(), SelectionKind::node);
  ASSERT_TRUE(Enabled("EditDelete"));
  Press(Qt::Key_Delete);
  step("Delete node 4");
  ASSERT_TRUE(platform.messages.size() == 1u)
      << platform.messages.back().text;  // "Polygon closed" only
  // An Apply that changes nothing is no step.
  ClickWorld(20, 20);
  Apply();
  EXPECT_EQ(UndoText(), names.back());

  const int steps = static_cast<int>(files.size()) - 1;
  ASSERT_EQ(steps, 11);
  for (int k = steps; k > 0; --k) {
    window->Document().SetModified(false);
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(window->Modified()) << k;
    EXPECT_EQ(Saved("undone.sam"), files[k - 1]) << "undo of step " << k;
    EXPECT_EQ(RedoText().toStdString(), "Redo " + names[k - 1].mid(5).toStdString());
  }
  EXPECT_FALSE(Enabled("EditUndo"));
  EXPECT_EQ(window->Structure().NodeCount(), 0);
  for (int k = 1; k <= steps; ++k) {
    Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Saved("redone.sam"), files[k]) << "redo of step " << k;
  }
  EXPECT_FALSE(Enabled("EditRedo"));
  // The Edit menu entries do what the keys do.
  Action("EditUndo")->trigger();
  EXPECT_EQ(Saved("menu.sam"), files[steps - 1]);
  Action("EditRedo")->trigger();
  EXPECT_EQ(Saved("menu.sam"), files[steps]);
}

TEST_F(Undo, UndoWhileDrawingTakesBackTheLastVertexAndKeepsDrawing) {
  Action("newpolygon")->trigger();
  for (auto [x, y] : {std::pair{20.0, 20.0}, {220.0, 20.0}, {220.0, 170.0}}) ClickWorld(x, y);
  Press(Qt::Key_Z, Qt::ControlModifier);
  const TObjCont& job = window->Structure();
  ASSERT_EQ(job.NodeCount(), 2);
  EXPECT_TRUE(window->Editing().newPolygonMode);
  // The next vertex continues from the last one left, and the polygon closes on the first.
  ClickWorld(120, 170);
  ClickWorld(20, 20);
  ASSERT_EQ(job.PolygonCount(), 1);
  EXPECT_EQ(job.EdgeCount(), 3);
  EXPECT_EQ(job.EdgeBegin(1), 1);
  EXPECT_EQ(job.EdgeEnd(1), 2);
  EXPECT_EQ(job.NodeX(2), 120);

  // Undoing the closing click reopens the polygon: drawing goes on, Generate mesh is off again.
  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(job.PolygonCount(), 0);
  EXPECT_TRUE(window->Editing().newPolygonMode);
  EXPECT_FALSE(Enabled("Generatemesh"));
  Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(job.PolygonCount(), 1);
  EXPECT_FALSE(window->Editing().newPolygonMode);
  EXPECT_TRUE(Enabled("Generatemesh"));
}

// A mesh stays only with the job it was made of; with it go the solve and the result view.
TEST_F(Undo, AMeshIsDroppedWhenItNoLongerBelongsToTheJob) {
  GlobalMeshParameters().animate = false;
  OpenThroughDialog(ExamplePath("square.sam"));
  EXPECT_FALSE(Enabled("EditUndo"));  // an opened job has no history
  Action("editvertex")->trigger();
  ClickWorld(225, 225);  // the centre node
  ASSERT_EQ(window->Rollup()->Kind(), SelectionKind::node);
  Type("ForceUZ", "-800");
  Apply();
  window->GenerateMeshClick();
  window->SolveStaticClick();
  ASSERT_TRUE(window->StaticSolved());
  window->SelectView(1);

  // A later change keeps the mesh (the plan shows it until the next Generate mesh); undoing it
  // gives back the meshed job, so the mesh and the solve stay.
  ClickWorld(225, 225);
  Type("ForceUZ", "-900");
  Apply();
  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(window->Meshed());
  EXPECT_TRUE(window->StaticSolved());
  EXPECT_GT(window->Mesh().NodeCount(), 0);

  // One step further back the job is not the meshed one any more.
  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(window->Meshed());
  EXPECT_FALSE(window->StaticSolved());
  EXPECT_EQ(window->Mesh().NodeCount(), 0);
  EXPECT_EQ(window->ViewIndex(), 0);
  EXPECT_TRUE(Enabled("Generatemesh"));
  for (const char* name :
       {"SolveStaticMenu", "SolveStressMenu", "CosmosInputFile", "LocalStiffnessMatrix"})
    EXPECT_FALSE(Enabled(name)) << name;

  // New and Open start without history.
  window->Document().SetModified(false);
  window->New1Click();
  EXPECT_FALSE(Enabled("EditUndo"));
  EXPECT_FALSE(Enabled("EditRedo"));
}

TEST_F(Undo, DeletingAPolygonGivesBackTheJobWithoutIt) {
  Action("ZoomoutButton")->trigger();  // keep the view where the clicks were planned
  Action("newpolygon")->trigger();
  for (auto [x, y] :
       {std::pair{20.0, 20.0}, {320.0, 20.0}, {320.0, 320.0}, {20.0, 320.0}, {20.0, 20.0}})
    ClickWorld(x, y);
  const std::string outline = Saved("outline.sam");
  Action("newpolygon")->trigger();
  for (auto [x, y] : {std::pair{100.0, 100.0}, {200.0, 100.0}, {150.0, 200.0}, {100.0, 100.0}})
    ClickWorld(x, y);
  const std::string both = Saved("both.sam");

  // An edge cannot be deleted on its own; the whole hole can.
  ClickWorld(150, 100);
  EXPECT_EQ(window->Editing().selectionKind, SelectionKind::edge);
  EXPECT_FALSE(Enabled("EditDelete"));
  ShiftClickWorld(150, 100);
  ASSERT_EQ(window->Editing().selectionKind, SelectionKind::polygon);
  window->Document().SetModified(false);
  Action("EditDelete")->trigger();
  EXPECT_TRUE(window->Modified());
  EXPECT_EQ(Saved("deleted.sam"), outline);
  EXPECT_EQ(UndoText(), "Undo Delete polygon 1");
  EXPECT_EQ(window->Rollup()->Kind(), SelectionKind::none);
  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Saved("undone.sam"), both);
}

TEST_F(Undo, DeleteIsRefusedWhileAPolygonIsDrawn) {
  Action("newvertex")->trigger();
  ClickWorld(300, 300);
  ClickWorld(300, 300);
  ASSERT_EQ(window->Editing().selectionKind, SelectionKind::node);
  EXPECT_TRUE(Enabled("EditDelete"));
  Action("newpolygon")->trigger();
  ClickWorld(20, 20);
  ClickWorld(120, 20);
  EXPECT_FALSE(Enabled("EditDelete"));
  window->DeleteClick();
  EXPECT_EQ(window->Structure().NodeCount(), 3);
}

// The names the Edit menu gives the property editor's steps.
TEST(EditNames, SayWhatTheRequestChanges) {
  EditRequest r;
  r.kind = SelectionKind::edge;
  r.index = 2;
  r.geometryChanged = true;
  r.moveBeginNode = false;
  EXPECT_EQ(EditRequestName(r).toStdString(), "Move end node of edge 2");
  r.loadsChanged = r.constraintsChanged = true;
  EXPECT_EQ(EditRequestName(r).toStdString(), "Edit edge 2: position, loads, constraints");
  // A polygon cannot move: its geometry page is no part of the step.
  r = EditRequest{};
  r.kind = SelectionKind::polygon;
  r.index = 1;
  r.geometryChanged = r.physicsChanged = true;
  EXPECT_EQ(EditRequestName(r).toStdString(), "Edit polygon 1: physics");
}

// The rebuilt job keeps every attribute of what stays, with nodes and edges renumbered.
TEST(JobDeletion, KeepsTheAttributesOfWhatStays) {
  auto polygon = [](TObjCont& job, std::vector<std::pair<double, double>> corners) {
    const int first = job.NodeCount();
    for (auto [x, y] : corners) job.AddNode(x, y);
    for (int k = 0; k < static_cast<int>(corners.size()); ++k)
      job.AddPolygonEdge(first + k, first + (k + 1) % static_cast<int>(corners.size()));
    job.ClosePolygon();
  };
  TObjCont job;
  polygon(job, {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  job.AddFreeNode(50, 50);
  polygon(job, {{200, 0}, {300, 0}, {250, 80}});
  job.SetPolygonPhysics(1, -0.5, 7e4, 0.2, 3, false);
  job.SetPolygonName(1, "plate B");
  job.SetNodeLoads(6, -10, 1, 2);
  job.SetNodeConstraints(5, 110, 0.5, 0.25, 7);
  job.SetEdgeLoads(5, -3, 0, 0);
  job.SetEdgeConstraints(6, 1, 0, 0, 0.75);
  job.SetNodeLoads(4, -1, 0, 0);

  // The same job as it would have been drawn without the first polygon.
  TObjCont expected;
  expected.AddFreeNode(50, 50);
  polygon(expected, {{200, 0}, {300, 0}, {250, 80}});
  expected.SetPolygonPhysics(0, -0.5, 7e4, 0.2, 3, false);
  expected.SetNodeLoads(2, -10, 1, 2);
  expected.SetNodeConstraints(1, 110, 0.5, 0.25, 7);
  expected.SetEdgeLoads(1, -3, 0, 0);
  expected.SetEdgeConstraints(2, 1, 0, 0, 0.75);
  expected.SetNodeLoads(0, -1, 0, 0);

  const TObjCont rest = JobWithout(job, SelectionKind::polygon, 0);
  EXPECT_EQ(rest.JobText(), expected.JobText());
  EXPECT_EQ(rest.PolygonName(0), "plate B");
  EXPECT_TRUE(rest.IsFreeNode(0));
  EXPECT_FALSE(rest.IsFreeNode(1));

  const TObjCont noFree = JobWithout(job, SelectionKind::node, 4);
  EXPECT_EQ(noFree.NodeCount(), 7);
  EXPECT_EQ(noFree.NodeX(4), 200);
  EXPECT_FALSE(noFree.HasLinZLoad(4, true));  // the free node's load went with it
  EXPECT_TRUE(noFree.HasLinZLoad(5, true));

  // What cannot be deleted leaves the job as it is.
  EXPECT_FALSE(CanDelete(job, SelectionKind::node, 0));  // a polygon's node
  EXPECT_FALSE(CanDelete(job, SelectionKind::edge, 0));
  EXPECT_FALSE(CanDelete(job, SelectionKind::polygon, 2));  // the open slot
  EXPECT_EQ(JobWithout(job, SelectionKind::node, 0).JobText(), job.JobText());
}

}  // namespace
}  // namespace tavrin::test
