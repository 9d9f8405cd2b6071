// Edit > Load cases: the dialog's tables become the job's cases, combinations and envelopes in
// one undoable step; bad input is refused with a message naming it and nothing typed is lost.
#include <QComboBox>
#include <QTableWidget>

#include "tests/ui/WorkbenchFixture.h"
#include "ui/LoadCasesDialog.h"

namespace tavrin::test {
namespace {

using LoadCasesEditing = Workbench;

void Put(QTableWidget* table, int row, int column, const char* text) {
  table->setItem(row, column, new QTableWidgetItem(QString::fromUtf8(text)));
}

// The dialog filled as the user would: a second case "Live" with loads of its own, a
// combination of both, an envelope over it.
void FillValid(LoadCasesDialog& dialog) {
  dialog.AddCase();
  Put(dialog.CaseTable(), 1, 0, "Live");
  dialog.AddCombination();
  Put(dialog.CombinationTable(), 0, 0, "ULS");
  Put(dialog.CombinationTable(), 0, 1, "1.35");
  Put(dialog.CombinationTable(), 0, 2, " 1.5 ");
  dialog.AddEnvelope();
  dialog.EnvelopeTable()->item(0, 1)->setCheckState(Qt::Checked);
}

TEST_F(LoadCasesEditing, RefusesBadInputNamingItAndKeepsTheTables) {
  struct Case {
    const char* what;
    int table;  // 0 cases, 1 combinations, 2 envelopes
    int row, column;
    const char* text;
    const char* named;  // in the message
  } const cases[] = {
      {"comma in a case name", 0, 1, 0, "Live,2", "'Live,2' holds a comma"},
      {"repeated name", 1, 0, 0, "Live", "'Live' is given to more than one"},
      {"factor not a number", 1, 0, 2, "1,5", "factor of case 'Live' is not a number"},
      {"non-finite factor", 1, 0, 1, "inf", "not a finite number"},
      {"empty combination", 1, 0, 1, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestPlatform platform;
    LoadCasesDialog dialog(window->Structure().Cases(), window.get());
    FillValid(dialog);
    QTableWidget* table = c.table == 0   ? dialog.CaseTable()
                          : c.table == 1 ? dialog.CombinationTable()
                                         : dialog.EnvelopeTable();
    Put(table, c.row, c.column, c.text);
    if (std::string(c.what) == "empty combination") Put(table, 0, 2, "");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find(*c.named ? c.named : "names no case"),
              std::string::npos)
        << platform.messages[0].text;
    EXPECT_EQ(table->item(c.row, c.column)->text(), QString::fromUtf8(c.text));  // nothing lost
  }
}

TEST_F(LoadCasesEditing, AcceptedTablesAreOneUndoableStep) {
  ASSERT_TRUE(window->OpenJob(ExamplePath("square.sam")));
  const LoadCases before = window->Structure().Cases();
  LoadCasesDialog dialog(before, window.get());
  FillValid(dialog);
  // A case deleted takes its column with it; the combination keeps the other factors.
  dialog.AddCase();
  Put(dialog.CombinationTable(), 0, 3, "2");
  dialog.CaseTable()->setCurrentCell(2, 0);
  dialog.DeleteCase();
  ASSERT_EQ(dialog.CombinationTable()->columnCount(), 3);
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  LoadCases expected;
  expected.further.push_back(LoadCase{});
  expected.further[0].name = "Live";
  expected.combinations.push_back({"ULS", {{"Case 1", 1.35}, {"Live", 1.5}}});
  expected.envelopes.push_back({"Envelope 1", {"ULS"}});
  EXPECT_EQ(dialog.Result(), expected);

  EXPECT_EQ(window->EditLoadCases(dialog.Result()), "");
  EXPECT_EQ(window->Structure().Cases(), expected);
  EXPECT_EQ(Action("EditUndo")->text(), "Undo Edit load cases");
  Action("EditUndo")->trigger();
  EXPECT_EQ(window->Structure().Cases(), before);
  Action("EditRedo")->trigger();
  EXPECT_EQ(window->Structure().Cases(), expected);

  // The job's own check refuses what the dialog cannot see: a load on a polygon it lacks.
  TestPlatform platform;
  LoadCases bad = expected;
  bad.further[0].SetPressure(7, -1.0);
  EXPECT_NE(window->EditLoadCases(bad).find("polygon 7"), std::string::npos);
  EXPECT_EQ(window->Structure().Cases(), expected);
  EXPECT_EQ(platform.messages.size(), 1u);
}

}  // namespace
}  // namespace tavrin::test

namespace tavrin::test {
namespace {

// The property editor's case selector: the loads page and the polygon pressure show and set
// the chosen case's values; the job's own (first case) values stay; undo takes the edit back.
TEST_F(LoadCasesEditing, PropertyEditorEditsTheChosenCase) {
  TestPlatform platform;
  ASSERT_TRUE(window->OpenJob(ExamplePath("square-load-cases.sam")));
  Action("editvertex")->trigger();
  TRollup& editor = *window->Rollup();
  const TObjCont& job = window->Structure();
  auto* caseBox = Control<QComboBox>("LoadCase");
  const struct {
    const char* what;
    bool polygon;
    const char* field;
    double shownFirst, shownLive;  // the field's value in Case 1 and in Live
  } edits[] = {
      {"centre node force", false, "ForceUZ", -500, -50},
      {"plate pressure", true, "Pressure", -0.01, -0.02},
  };
  for (const auto& e : edits) {
    SCOPED_TRACE(e.what);
    if (e.polygon) QTest::keyPress(window.get(), Qt::Key_Shift);
    ClickWorld(e.polygon ? 225 : 225, e.polygon ? 0 : 225);
    if (e.polygon) QTest::keyRelease(window.get(), Qt::Key_Shift);
    ASSERT_EQ(editor.Kind(), e.polygon ? SelectionKind::polygon : SelectionKind::node);
    ASSERT_TRUE(caseBox->isVisibleTo(&editor));
    ASSERT_EQ(caseBox->count(), 2);
    emit caseBox->activated(0);
    EXPECT_EQ(Control<QLineEdit>(e.field)->text().toDouble(), e.shownFirst);
    emit caseBox->activated(1);
    EXPECT_EQ(Control<QLineEdit>(e.field)->text().toDouble(), e.shownLive);
    Type(e.field, "-7");
    editor.Apply();
    const LoadCase& live = job.Cases().further[0];
    EXPECT_EQ(e.polygon ? live.Pressure(0) : LoadCase::Get(live.nodeForce, 4)[0], -7.0);
    EXPECT_EQ(e.polygon ? job.Physics(0).pressure : job.CaseLoads(0).nodeForce.at(4)[0],
              e.shownFirst);
    Action("EditUndo")->trigger();
    const LoadCase& undone = job.Cases().further[0];
    EXPECT_EQ(e.polygon ? undone.Pressure(0) : LoadCase::Get(undone.nodeForce, 4)[0], e.shownLive);
  }
  EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace tavrin::test
