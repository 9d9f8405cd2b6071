// Screenshots of the main window after meshing an example and in two result views, saved as
// PNG files under the build folder (tests/ui/screenshots/) for people to look at.
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <cmath>

#include "mesh/FEM.h"
#include "tests/ui/WorkbenchFixture.h"
#include "ui/TMeshInformer.h"
#include "ui/TMesh_params.h"
#include "ui/TSolveInformer.h"

namespace tavrin::test {
namespace {

int CountPixels(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
  return n;
}

using Screenshots = Workbench;

TEST_F(Screenshots, MeshDisplacementAndStressViews) {
  std::filesystem::path out = std::filesystem::path(TAVRIN_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(out);
  window->resize(900, 760);
  QApplication::processEvents();
  GlobalMeshParameters().animate = false;
  ASSERT_TRUE(window->OpenJob(ExamplePath("plate-with-hole.sam")));
  window->ZoomoutButtonClick();  // scale 1: the 450 x 450 plate fits
  window->GenerateMeshClick();
  ASSERT_TRUE(window->meshed);
  auto shoot = [&](const char* name) {
    QApplication::processEvents();
    QImage image = window->grab().toImage();
    EXPECT_TRUE(image.save(QString::fromStdString((out / name).string()), "PNG")) << name;
    return image.convertToFormat(QImage::Format_RGB32);
  };
  QImage mesh = shoot("mesh.png");
  EXPECT_GT(CountPixels(mesh, qRgb(0, 0, 0)), 2000);  // the mesh lines
  EXPECT_EQ(CountPixels(mesh, qRgb(0, 255, 0)), 0);

  // The parameters dialog with the statistics of that mesh.
  TMesh_params& parameters = *window->MeshParamsDialog();
  parameters.setup();
  parameters.adjustSize();
  EXPECT_TRUE(parameters.grab().save(QString::fromStdString((out / "parameters.png").string()), "PNG"));
  EXPECT_NE(parameters.num_nodes->text(), "no_data");

  // The two progress windows with figures of that mesh.
  TMeshInformer& meshProgress = *window->MeshInformer();
  meshProgress.ShowMeshProgress("Delaunay refinement", 871, 2454, 28.0);
  EXPECT_TRUE(meshProgress.grab().save(QString::fromStdString((out / "mesh-progress.png").string()), "PNG"));
  meshProgress.HideMeshProgress();
  TSolveInformer& solveProgress = *window->SolveInformer();
  solveProgress.ShowSolveProgress("Stiffness matrix factorization", 1306, 1306, 2613);
  EXPECT_TRUE(solveProgress.grab().save(QString::fromStdString((out / "solve-progress.png").string()), "PNG"));
  // The long stage caption leaves the index readable.
  QLabel* index = nullptr;
  for (QLabel* label : solveProgress.findChildren<QLabel*>())
    if (label->text() == "1306") index = label;
  ASSERT_NE(index, nullptr);
  EXPECT_GE(index->width(), index->fontMetrics().horizontalAdvance("1306"));
  solveProgress.HideSolveProgress();

  window->SolveStaticClick();
  ASSERT_TRUE(window->staticSolved);
  window->SelectView(1);
  // The mouse on a mesh node near the loaded edge, so that the read-outs show in the pictures.
  const ViewTransform& t = CurrentViewTransform();
  const FEM& fem = window->Mesh();
  int under = 0;
  for (int i = 1; i < fem.NodeCount(); ++i)
    if (std::hypot(fem.NodeX(i) - 400, fem.NodeY(i) - 225) < std::hypot(fem.NodeX(under) - 400, fem.NodeY(under) - 225))
      under = i;
  const int mouseX = t.ScreenX(fem.NodeX(under)), mouseY = t.ScreenY(fem.NodeY(under));
  window->mousemoved(mouseX, mouseY);
  EXPECT_FALSE(window->PanelText(1).isEmpty());
  EXPECT_FALSE(window->PanelText(3).isEmpty());
  QImage displacement = shoot("displacement.png");
  EXPECT_GT(CountPixels(displacement, qRgb(0, 255, 0)), 500);  // lime isolines

  window->SolveStressClick();
  window->SelectView(4);
  window->mousemoved(mouseX, mouseY);
  QImage stress = shoot("stress.png");
  EXPECT_GT(CountPixels(stress, qRgb(0, 255, 0)), 500);
  EXPECT_NE(displacement, stress);
}

}  // namespace
}  // namespace tavrin::test
