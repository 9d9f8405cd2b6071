// The results table: which rows are listed and in what order, the deviation window, the header
// and mode rules, and the formatting of the cells.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QWidget>
#include <cmath>
#include <filesystem>

#include "analysis/Envelopes.h"
#include "analysis/PlateMesh.h"
#include "analysis/TGlobMatrix.h"
#include "tests/ui/TestPlatform.h"
#include "ui/CaseListing.h"
#include "ui/TListing.h"
#include "ui/TListingRows.h"

namespace tavrin {
namespace {

// Node i has displacements disp[i][0..2]; element t has centre deflection centre[t] and
// stresses stress[t][0..2].
struct FakeSource : ListingSource {
  std::vector<std::array<double, 3>> disp;
  std::vector<double> centre;
  std::vector<std::array<double, 3>> stress;
  bool stresses = false;
  int NodeCount() const override { return static_cast<int>(disp.size()); }
  int TriangleCount() const override { return static_cast<int>(centre.size()); }
  double Displacement(int n, int d) const override { return disp[n][d]; }
  double CentroidDeflection(int t) const override { return centre[t]; }
  double ElementStress(int t, int c) const override { return stresses ? stress[t][c] : 1e200; }
  bool HasStresses() const override { return stresses; }
};

std::vector<int> Numbers(const std::vector<ListingRow>& rows) {
  std::vector<int> out;
  for (const auto& r : rows) out.push_back(r.number);
  return out;
}

TEST(ListingRows, DeviationWindowTakesTheEndWithTheLargestValues) {
  EXPECT_EQ(DeviationWindow({0, 5, 9.5, 10}, 1.0), (std::array<int, 2>{0, 4}));
  EXPECT_EQ(DeviationWindow({0, 5, 9.5, 10}, 0.1), (std::array<int, 2>{2, 4}));
  EXPECT_EQ(DeviationWindow({10, 9.5, 5, 0}, 0.1), (std::array<int, 2>{0, 2}));
  // A deviation exactly at the limit is on neither side: here no boundary is found at all.
  EXPECT_EQ(DeviationWindow({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0.1), (std::array<int, 2>{0, 10}));
  EXPECT_EQ(DeviationWindow({0, 0, 0}, 0.5), (std::array<int, 2>{0, 3}));
  EXPECT_EQ(DeviationWindow({}, 0.5), (std::array<int, 2>{0, 0}));
}

TEST(ListingRows, SortsByMagnitudeWithTiesInRowOrder) {
  FakeSource s;
  s.disp = {{-3, 0, 0}, {1, 0, 0}, {3, 0, 0}, {-1, 0, 0}, {2, 0, 0}, {std::nan(""), 0, 0}};
  std::vector<ListingRow> rows;
  ASSERT_TRUE(BuildListingRows(s, {true, kColLinZ, true, 1.0}, rows));
  EXPECT_EQ(Numbers(rows), (std::vector<int>{1, 3, 4, 0, 2, 5}));
  ASSERT_TRUE(BuildListingRows(s, {true, kColLinZ, false, 1.0}, rows));
  EXPECT_EQ(Numbers(rows), (std::vector<int>{0, 2, 4, 1, 3, 5}));
  EXPECT_EQ(rows[0].values[0], -3.0);  // the signed value is listed, the magnitude sorts
  ASSERT_TRUE(BuildListingRows(s, {true, kColNumber, false, 1.0}, rows));
  EXPECT_EQ(Numbers(rows), (std::vector<int>{5, 4, 3, 2, 1, 0}));
}

class ListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Node i: lin. Z = -i / 10, rot. X = 1 / 3 * i, rot. Y = i.
    for (int i = 0; i < 11; ++i)
      source.disp.push_back({-i / 10.0, i / 3.0, static_cast<double>(i)});
    for (int t = 0; t < 4; ++t) {
      source.centre.push_back(t * 0.5);
      source.stress.push_back({10.0 - t, t * 2.0, -1.0 * t});
    }
  }
  void SetDeviation(const char* text) {
    listing.findChild<QLineEdit*>("Deviation")->setText(QString::fromUtf8(text));
  }
  test::TestPlatform platform;
  FakeSource source;
  TListing listing;
};

TEST_F(ListingTest, HeaderClicksToggleDirectionAndFollowTheMode) {
  listing.Open(source);
  EXPECT_EQ(listing.Rows().size(), 11u);
  EXPECT_EQ(listing.Rows()[0].number, 0);  // by number, ascending

  // Every accepted click toggles the direction, also when the column changes.
  listing.HeaderClick(kColLinZ);
  EXPECT_FALSE(listing.Ascending());
  EXPECT_EQ(listing.Rows()[0].number, 10);
  EXPECT_EQ(listing.CellText(0, kColLinZ), "-1");
  listing.HeaderClick(kColRotX);
  EXPECT_TRUE(listing.Ascending());
  EXPECT_EQ(listing.CellText(1, kColRotX), "0.333333333333333");
  listing.HeaderClick(kColSigmaX);  // no stresses for nodes: ignored
  EXPECT_EQ(listing.SortColumn(), kColRotX);
  EXPECT_TRUE(listing.Ascending());
  EXPECT_EQ(listing.CellText(0, kColSigmaX), "");
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ListingTest, ElementCentresNeedTheStressSolve) {
  listing.Open(source);
  auto* byCenters = listing.findChild<QRadioButton*>("ByCenters");
  auto* byNodes = listing.findChild<QRadioButton*>("ByNodes");
  byCenters->click();
  EXPECT_TRUE(listing.ByNodes());
  EXPECT_TRUE(byNodes->isChecked());
  EXPECT_FALSE(byCenters->isChecked());
  EXPECT_EQ(listing.Rows().size(), 11u);

  source.stresses = true;
  byCenters->click();
  EXPECT_FALSE(listing.ByNodes());
  ASSERT_EQ(listing.Rows().size(), 4u);
  EXPECT_EQ(listing.CellText(3, kColLinZ), "1.5");
  EXPECT_EQ(listing.CellText(3, kColSigmaX), "7");
  EXPECT_EQ(listing.CellText(3, kColRotX), "");
  listing.HeaderClick(kColRotY);  // rotations are not listed for elements: ignored
  EXPECT_EQ(listing.SortColumn(), kColNumber);
  listing.HeaderClick(kColSigmaY);
  EXPECT_EQ(listing.Rows()[0].number, 3);  // descending |sigma Y|

  // Back to nodes sorted by a rotation, then to centres: the grid keeps the node rows.
  byNodes->click();
  listing.HeaderClick(kColRotX);
  const std::vector<ListingRow> before = listing.Rows();
  byCenters->click();
  EXPECT_FALSE(listing.ByNodes());
  EXPECT_EQ(Numbers(listing.Rows()), Numbers(before));
  EXPECT_EQ(listing.CellText(1, kColRotX),
            QString::number(before[1].values[kColRotX - 1], 'g', 15));
}

TEST_F(ListingTest, DeviationField) {
  listing.Open(source);
  SetDeviation("15");
  listing.HeaderClick(kColRotY);  // descending |rot. Y| = 10, 9, ...; within 1.5 of 10
  EXPECT_EQ(Numbers(listing.Rows()), (std::vector<int>{10, 9}));
  SetDeviation("25,5");
  listing.HeaderClick(kColRotY);  // ascending; within 2.55
  EXPECT_EQ(Numbers(listing.Rows()), (std::vector<int>{8, 9, 10}));
  SetDeviation("100.000000000");  // longer than nine characters: read whole
  listing.HeaderClick(kColRotY);
  EXPECT_EQ(listing.Rows().size(), 11u);
  EXPECT_TRUE(platform.messages.empty());

  for (const char* bad : {"0", "-5", "150", "1o", "1e1", "100.0000001"}) {
    platform.messages.clear();
    SetDeviation(bad);
    listing.HeaderClick(kColRotY);
    ASSERT_EQ(platform.messages.size(), 1u) << bad;
    EXPECT_EQ(platform.messages[0].text, "NotValid deviation value");
    EXPECT_EQ(platform.messages[0].caption, "Error!");
    EXPECT_EQ(listing.Rows().size(), 11u) << bad;
    EXPECT_EQ(listing.findChild<QLineEdit*>("Deviation")->text(), bad);  // the text stays
  }
}

TEST_F(ListingTest, ArrowMarksTheSortColumn) {
  listing.Open(source);
  auto black = [&](const char* box, QPoint p) {
    QImage img = listing.findChild<QWidget*>(box)->grab().toImage();
    return img.pixelColor((QPointF(p) * img.devicePixelRatio()).toPoint()) == QColor(Qt::black);
  };
  EXPECT_TRUE(black("NodeArrow", {6, 4}));  // ascending: pointing down
  EXPECT_FALSE(black("DUZArrow", {6, 4}));
  listing.HeaderClick(kColLinZ);
  EXPECT_FALSE(black("NodeArrow", {6, 4}));
  EXPECT_TRUE(black("DUZArrow", {6, 9}));  // descending: pointing up
  EXPECT_FALSE(black("DUZArrow", {3, 3}));
}

TEST_F(ListingTest, RowsNeverOutliveTheirSolve) {
  listing.Open(source);
  FakeSource empty;
  listing.Open(empty);
  EXPECT_EQ(listing.Rows().size(), 11u);  // no nodes: the grid stays as it was
  listing.Close();
  EXPECT_TRUE(listing.Rows().empty());

  // Element centres chosen for a solve with stresses; the next solve has none yet.
  source.stresses = true;
  listing.Open(source);
  listing.ByCentersClick();
  EXPECT_FALSE(listing.ByNodes());
  listing.Close();
  source.stresses = false;
  listing.Open(source);
  EXPECT_TRUE(listing.ByNodes());
  EXPECT_TRUE(listing.findChild<QRadioButton*>("ByNodes")->isChecked());
  EXPECT_EQ(listing.Rows().size(), 11u);
  listing.Close();
}

// Significant digits of a number's text: those of its mantissa, leading zeros not counted.
int SignificantDigits(const QString& text) {
  QString mantissa = text.section('e', 0, 0);
  mantissa.remove('-').remove('.');
  while (mantissa.size() > 1 && mantissa.startsWith('0')) mantissa.remove(0, 1);
  return static_cast<int>(mantissa.size());
}

// What the grid draws in a cell is a whole number that fits the cell: as many digits as there
// is room for, in the exponent form where the fixed one would not fit. Dragging a header's edge
// widens the column, and the digits come back.
TEST_F(ListingTest, NumbersFitTheirColumnAndWiderColumnsShowMoreDigits) {
  FakeSource narrow;
  narrow.disp = {{1.6843793e-06, -123456789.123456, 0.1 + 0.2},
                 {-2.5, -1e-300, 12345.678901234567}};
  listing.show();
  listing.Open(narrow);
  auto* table = listing.findChild<QTableView*>("ResTable");
  ASSERT_NE(table, nullptr);
  const QFontMetrics metrics(table->font());
  const int margins =
      2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
  for (int row = 0; row < 2; ++row) {
    for (int column : {kColLinZ, kColRotX, kColRotY}) {
      const QString shown = listing.ShownText(row, column);
      const double value = narrow.disp[listing.Rows()[row].number][column - 1];
      EXPECT_LE(metrics.horizontalAdvance(shown) + margins, listing.ColumnWidth(column))
          << shown.toStdString();
      bool ok = false;
      const double read = shown.toDouble(&ok);
      ASSERT_TRUE(ok) << shown.toStdString();
      // Tolerance: half a unit in the last digit shown.
      EXPECT_NEAR(read, value,
                  0.5 * std::fabs(value) * std::pow(10.0, 1 - SignificantDigits(shown)))
          << shown.toStdString();
    }
  }

  QWidget* header = listing.findChild<QWidget*>("DUZButton");
  auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, header->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(header, &event);
  };
  const QPoint edge(header->width() - 2, 10);
  mouse(QEvent::MouseButtonPress, edge, Qt::LeftButton, Qt::LeftButton);
  mouse(QEvent::MouseMove, edge + QPoint(80, 0), Qt::NoButton, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, edge + QPoint(80, 0), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(listing.ColumnWidth(kColLinZ), 160);
  EXPECT_EQ(listing.SortColumn(), kColNumber);                 // a drag at the edge does not sort
  EXPECT_EQ(listing.ShownText(0, kColLinZ), "1.6843793e-06");  // all eight digits
  // The headers follow their columns, and a click inside a header still sorts.
  EXPECT_EQ(header->width(), 160);
  EXPECT_EQ(listing.findChild<QWidget*>("DRXButton")->x(), 80 + 160);
  mouse(QEvent::MouseButtonPress, {40, 10}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(listing.SortColumn(), kColLinZ);
  listing.Close();
}

// Full size: 100,000 rows with many equal keys list in order, ties by row number.
TEST_F(ListingTest, HundredThousandRows) {
  FakeSource big;
  for (int i = 0; i < 100000; ++i)
    big.disp.push_back({static_cast<double>((i * 7919) % 1000), 0, 0});
  listing.Open(big);
  listing.HeaderClick(kColLinZ);
  const auto& rows = listing.Rows();
  ASSERT_EQ(rows.size(), big.disp.size());
  for (size_t i = 1; i < rows.size(); ++i) {
    const ListingRow &a = rows[i - 1], &b = rows[i];
    ASSERT_TRUE(a.values[0] > b.values[0] || (a.values[0] == b.values[0] && a.number < b.number))
        << i;
  }
  listing.Close();
}

// A real solve: a cantilever of two triangles clamped along y = 0 under pressure.
TEST(ListingSolver, ListsASolvedPlate) {
  PlateMesh mesh;
  DofRecord clamped;
  clamped.code = 111;
  mesh.AddNode(0, 0, clamped);
  mesh.AddNode(1, 0, clamped);
  mesh.AddNode(1, 1);
  mesh.AddNode(0, 1);
  ElementPhysics m{1000, 0.3, 0.1, 1};
  mesh.AddTriangle(0, 1, 2, m);
  mesh.AddTriangle(0, 2, 3, m);
  test::TestPlatform platform;
  TListing listing;
  {
    // Without the clamped side the plate is a mechanism: the solve fails and has no values.
    PlateMesh loose;
    for (int i = 0; i < 4; ++i) loose.AddNode(mesh.x[i], mesh.y[i]);
    loose.AddTriangle(0, 1, 2, m);
    loose.AddTriangle(0, 2, 3, m);
    TGlobMatrix failed;
    ASSERT_NE(failed.SolveStatic(loose), SolveCode::Ok);
    SolverListingSource source(failed);
    listing.Open(source);
    EXPECT_TRUE(listing.Rows().empty());
    listing.Close();
  }
  TGlobMatrix solver;
  ASSERT_EQ(solver.SolveStatic(mesh), SolveCode::Ok);
  SolverListingSource source(solver);
  listing.Open(source);
  ASSERT_EQ(listing.Rows().size(), 4u);
  listing.HeaderClick(kColLinZ);
  // The free corners deflect, the clamped ones do not.
  EXPECT_NE(listing.Rows()[0].values[0], 0.0);
  EXPECT_EQ(listing.Rows()[3].values[0], 0.0);
  listing.ByCentersClick();
  EXPECT_TRUE(listing.ByNodes());
  ASSERT_EQ(solver.SolveStress(), StressCode::Ok);
  listing.ByCentersClick();
  EXPECT_FALSE(listing.ByNodes());
  EXPECT_EQ(listing.Rows().size(), 2u);
  EXPECT_NE(listing.CellText(0, kColSigmaY), "");
  std::filesystem::path shots = std::filesystem::path(TAVRIN_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(shots);
  listing.grab().save(QString::fromStdString((shots / "results_table.png").string()));
  listing.Close();
}

// An envelope of two combinations over three nodes: beside each value (the deflection in its
// documented column too) the name of the combination that gave it, on either side, the first
// on a tie; sorting by the names' column groups the nodes by combination.
TEST(ListingEnvelope, EachValueNamesItsCombination) {
  ResultSet uls, sls;
  uls.name = "ULS";
  sls.name = "SLS";
  uls.nodes = sls.nodes = 3;
  const int n = ResultSet::kNodeColumns;
  uls.node.assign(3 * n, 0.0);
  sls.node = uls.node;
  const double w[2][3] = {{-2, 0, 4}, {0, -1, 0}}, mx[2][3] = {{1, 5, 0}, {3, 2, 0}};
  for (int v = 0; v < 3; ++v) {
    uls.node[n * v] = w[0][v];
    sls.node[n * v] = w[1][v];
    uls.node[n * v + 6] = mx[0][v];
    sls.node[n * v + 6] = mx[1][v];
  }
  DesignColumns design;
  design.node.assign(3 * kDesignColumns, 0.0);
  const NodeEnvelope e = BuildEnvelope("ENV", {&uls, &sls}, {&design, &design});
  test::TestPlatform platform;
  TListing listing;
  const int wBy = kListingColumns, mxAt = kListingColumns + 9, mxBy = mxAt + 1;
  const struct {
    bool max;
    const char* w[3];
    const char* mx[3];
  } sides[] = {{true, {"SLS", "ULS", "ULS"}, {"SLS", "ULS", "ULS"}},
               {false, {"ULS", "SLS", "SLS"}, {"ULS", "SLS", "ULS"}}};
  for (const auto& side : sides) {
    const EnvelopeListingSource source(e, side.max);
    listing.Open(source);
    EXPECT_EQ(listing.ColumnName(wBy), "w by");
    EXPECT_EQ(listing.ColumnName(mxAt), "m_x");
    EXPECT_EQ(listing.ColumnName(mxBy), "m_x by");
    ASSERT_EQ(listing.Rows().size(), 3u);
    for (int r = 0; r < 3; ++r) {
      const int v = listing.Rows()[r].number;  // the sort is kept from the side before
      EXPECT_EQ(listing.CellText(r, wBy).toStdString(), side.w[v]) << v;
      EXPECT_EQ(listing.CellText(r, mxBy).toStdString(), side.mx[v]) << v;
      const double want = side.max ? std::max(mx[0][v], mx[1][v]) : std::min(mx[0][v], mx[1][v]);
      EXPECT_EQ(listing.CellText(r, mxAt), QString::number(want)) << v;
    }
    listing.HeaderClick(mxBy);
    ASSERT_EQ(listing.Rows().size(), 3u);
    int changes = 0;
    for (int r = 1; r < 3; ++r)
      changes += listing.CellText(r, mxBy) != listing.CellText(r - 1, mxBy);
    EXPECT_EQ(changes, 1);
    listing.Close();
  }
}

}  // namespace
}  // namespace tavrin
