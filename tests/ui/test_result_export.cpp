// Results leaving the workbench: the VTK grid and the picture of the view.
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QXmlStreamReader>
#include <cmath>

#include "analysis/TGlobMatrix.h"
#include "analysis/VtkExport.h"
#include "tests/analysis/VtuReader.h"
#include "tests/ui/WorkbenchFixture.h"

namespace tavrin::test {
namespace {

class ResultExport : public Workbench {
 protected:
  void Solve(bool stresses) {
    GlobalMeshParameters().animate = false;
    OpenThroughDialog(ExamplePath("square.sam"));
    window->GenerateMeshClick();
    window->SolveStaticClick();
    ASSERT_TRUE(window->StaticSolved());
    if (stresses) {
      window->SolveStressClick();
      ASSERT_TRUE(window->StressSolved());
    }
  }
  // Triggers a File menu item as a click on it does.
  void FileCommand(const char* name) {
    QMenu* file = window->menuBar()->actions().first()->menu();
    ASSERT_NE(file, nullptr);
    for (QAction* a : file->actions())
      if (a->objectName() == name) {
        ASSERT_TRUE(a->isEnabled()) << name;
        a->trigger();
        return;
      }
    ADD_FAILURE() << name << " is not in the File menu";
  }
};

TEST_F(ResultExport, VtkGridCarriesTheSolvedValues) {
  EXPECT_FALSE(Enabled("ExportVtk"));  // nothing to export before a solve
  Solve(true);
  const std::string path = (dir / "plate.vtu").string();
  platform.files.push_back(path);
  FileCommand("ExportVtk");
  EXPECT_TRUE(platform.messages.empty()) << platform.messages[0].text;
  EXPECT_EQ(platform.filters.back().defaultExtension, "vtu");
  const testing::VtuGrid g = testing::ReadVtu(path);
  ASSERT_TRUE(g.ok);
  const TGlobMatrix& s = window->Solver();
  ASSERT_EQ(g.pointCount, s.ResultNodeCount());
  ASSERT_EQ(g.cellCount, s.ResultTriangleCount());
  // Ten digits written: each value back within 1e-9 of its size.
  for (int k = 0; k < kResultFieldCount; ++k) {
    const std::vector<double>& values = g.pointData.at(VtkFieldName(k));
    for (int v = 0; v < s.ResultNodeCount(); ++v) {
      const double expected = s.NodeValue(v, static_cast<ResultField>(k));
      EXPECT_NEAR(values[v], expected, 1e-9 * std::fabs(expected)) << VtkFieldName(k) << " " << v;
    }
  }
  EXPECT_EQ(g.cellData.at("error").size(), static_cast<size_t>(s.ResultTriangleCount()));
}

TEST_F(ResultExport, VtkExportFailureAndCancelSayWhatHappened) {
  Solve(false);
  FileCommand("ExportVtk");  // the chooser cancelled: nothing written, nothing said
  EXPECT_TRUE(platform.messages.empty());
  platform.files.push_back("/nonexistent-dir/plate.vtu");
  FileCommand("ExportVtk");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "Error!");
  EXPECT_NE(platform.messages[0].text.find("Cannot write the file /nonexistent-dir/plate.vtu"),
            std::string::npos);
  // Before the stresses, the grid carries the displacements only.
  const std::string path = (dir / "static.vtu").string();
  platform.files.push_back(path);
  FileCommand("ExportVtk");
  const testing::VtuGrid g = testing::ReadVtu(path);
  ASSERT_TRUE(g.ok);
  EXPECT_EQ(g.pointData.count("w"), 1u);
  EXPECT_EQ(g.pointData.count("m_x"), 0u);
}

TEST_F(ResultExport, SavePictureWritesThePlanViewAsPngOrSvg) {
  Solve(true);
  window->SelectView(1);
  const QImage shown = window->PlanArea()->Image().convertToFormat(QImage::Format_RGB32);
  const std::string png = (dir / "view.png").string(), svg = (dir / "view.SVG").string();
  platform.files = {png, svg};
  FileCommand("SavePicture");
  FileCommand("SavePicture");
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(platform.filters.back().filter, "PNG Image (*.png)|*.png|SVG Image (*.svg)|*.svg");

  QImage read;
  ASSERT_TRUE(read.load(QString::fromStdString(png), "PNG"));
  EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), shown);

  // The SVG is well-formed XML drawn in vectors: the fringes as filled shapes, the legend's
  // texts as text, no raster anywhere; its view box is the view's pixel size.
  ASSERT_TRUE(window->FringesShown());
  QFile file(QString::fromStdString(svg));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  QString viewBox;
  int shapes = 0, images = 0;
  QStringList texts;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QStringLiteral("svg")) viewBox = xml.attributes().value("viewBox").toString();
    shapes += xml.name() == QStringLiteral("path") || xml.name() == QStringLiteral("polygon");
    images += xml.name() == QStringLiteral("image");
    if (xml.name() == QStringLiteral("text")) texts << xml.readElementText().trimmed();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(viewBox, QStringLiteral("0 0 %1 %2").arg(shown.width()).arg(shown.height()));
  EXPECT_GE(shapes, window->Solver().ResultTriangleCount());  // a piece of fringe or more each
  EXPECT_EQ(images, 0);
  EXPECT_TRUE(texts.contains(window->Fringes().Title())) << texts.join('|').toStdString();

  // A folder that does not exist: an error box naming the file, nothing written.
  platform.files = {"/nonexistent-dir/view.png"};
  FileCommand("SavePicture");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_NE(platform.messages[0].text.find("/nonexistent-dir/view.png"), std::string::npos);
}

}  // namespace
}  // namespace tavrin::test
