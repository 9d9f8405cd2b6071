// Screenshots of the main window after meshing an example and in two result views, saved as
// PNG files under the build folder (tests/ui/screenshots/) for people to look at.
#include <QImage>
#include <QPixmap>

#include "tests/ui/WorkbenchFixture.h"

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

  window->SolveStaticClick();
  ASSERT_TRUE(window->staticSolved);
  window->SelectView(1);
  QImage displacement = shoot("displacement.png");
  EXPECT_GT(CountPixels(displacement, qRgb(0, 255, 0)), 500);  // lime isolines

  window->SolveStressClick();
  window->SelectView(4);
  QImage stress = shoot("stress.png");
  EXPECT_GT(CountPixels(stress, qRgb(0, 255, 0)), 500);
  EXPECT_NE(displacement, stress);
}

}  // namespace
}  // namespace tavrin::test
