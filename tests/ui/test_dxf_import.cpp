// File > Import DXF: the dialog's layer choice and refusals, and the imported job as a new,
// unsaved job put in place as one undoable step that a refused drawing never reaches.
#if defined(TAVRIN_HAVE_DXF) && defined(TAVRIN_DXF_DRAWINGS)

#include <QApplication>
#include <QListWidget>
#include <QTimer>

#include "tests/ui/WorkbenchFixture.h"
#include "ui/DxfImportDialog.h"

namespace tavrin::test {
namespace {

std::string Drawing(const char* name) { return std::string(TAVRIN_DXF_DRAWINGS "/") + name; }

TEST_F(Workbench, DxfImportChoosesLayersAndIsOneUndoableStep) {
  ASSERT_TRUE(window->OpenJob(ExamplePath("square.sam")));
  const std::string before = window->Structure().JobText();

  DxfImportDialog dialog(Drawing("slab.dxf"), window.get());
  EXPECT_FALSE(dialog.Importable());  // a note on its own layer is read with the rest
  EXPECT_TRUE(dialog.Summary().contains("1 TEXT")) << dialog.Summary().toStdString();
  EXPECT_TRUE(dialog.Summary().contains("centimetres"));
  // Unticking the note's layer in the list imports again, without it.
  auto* layers = dialog.findChild<QListWidget*>("DxfLayers");
  ASSERT_NE(layers, nullptr);
  const auto notes = layers->findItems("NOTES", Qt::MatchStartsWith);
  ASSERT_EQ(notes.size(), 1);
  notes[0]->setCheckState(Qt::Unchecked);
  ASSERT_TRUE(dialog.Importable()) << dialog.Summary().toStdString();
  EXPECT_TRUE(dialog.Summary().contains("2 holes, 4 free nodes"));
  EXPECT_EQ(window->Structure().JobText(), before);  // the dialog alone changes nothing

  ASSERT_TRUE(window->PutImportedJob(dialog.Result().job));
  EXPECT_EQ(window->Structure().PolygonCount(), 3);
  EXPECT_EQ(window->FileName(), "Untitled");
  EXPECT_TRUE(window->Modified());
  Action("EditUndo")->trigger();
  EXPECT_EQ(window->Structure().JobText(), before);
  Action("EditRedo")->trigger();
  EXPECT_EQ(window->Structure().JobText(), dialog.Result().job.JobText());
}

TEST_F(Workbench, DxfImportCommandAcceptsOrLeavesTheJob) {
  ASSERT_TRUE(window->OpenJob(ExamplePath("square.sam")));
  const std::string before = window->Structure().JobText();
  // The dialog answers OK when it can: a refused drawing cannot be accepted.
  const auto answer = [] {
    QTimer::singleShot(0, [] {
      if (auto* d = dynamic_cast<DxfImportDialog*>(QApplication::activeModalWidget())) {
        if (d->Importable())
          d->accept();
        else
          d->reject();
      }
    });
  };
  platform.files.push_back(Drawing("open-chain.dxf"));
  answer();
  Action("ImportDxf")->trigger();
  EXPECT_EQ(window->Structure().JobText(), before);

  platform.files.push_back(Drawing("bulges.dxf"));
  answer();
  Action("ImportDxf")->trigger();
  EXPECT_EQ(window->Structure().PolygonCount(), 2);
  EXPECT_TRUE(Enabled("Generatemesh"));
}

}  // namespace
}  // namespace tavrin::test

#endif
