// The results table's further columns: every result of a stress solve, named and valued as the
// command line's result tables have them, and the copy of a selection as tab-separated text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStringList>
#include <QTableView>
#include <filesystem>

#include "analysis/DesignTable.h"
#include "analysis/ResultSet.h"
#include "analysis/ShearForces.h"
#include "analysis/StructuredPlate.h"
#include "analysis/TGlobMatrix.h"
#include "tests/ui/TestPlatform.h"
#include "ui/TListing.h"
#include "ui/TListingRows.h"

namespace tavrin {
namespace {

TEST(ResultColumns, EveryResultIsAColumnWithTheTablesValuesAndCopiesAsTabSeparatedText) {
  StructuredPlate plate;
  plate.cellsX = plate.cellsY = 4;
  TGlobMatrix solver;
  ASSERT_EQ(solver.SolveStatic(plate.Build()), SolveCode::Ok);
  ASSERT_EQ(solver.SolveStress(), StressCode::Ok);
  test::TestPlatform platform;
  TListing listing;
  SolverListingSource source(solver);
  listing.Open(source);

  // The design columns as the result tables compute them.
  std::vector<double> x, y;
  std::vector<std::array<int, 3>> corners;
  for (int v = 0; v < solver.ResultNodeCount(); ++v) {
    x.push_back(solver.NodeX(v));
    y.push_back(solver.NodeY(v));
  }
  for (int t = 0; t < solver.ResultTriangleCount(); ++t)
    corners.push_back(
        {solver.TriangleCorner(t, 0), solver.TriangleCorner(t, 1), solver.TriangleCorner(t, 2)});
  const DesignColumns design =
      ComputeDesignColumns(ResultSet::FromSolver(solver, solver, ""), ShearRecovery(x, y, corners));

  std::vector<std::string> names = {"m_x", "m_y", "m_xy", "error"};
  names.insert(names.end(), kDesignColumnNames, kDesignColumnNames + kDesignColumns);
  ASSERT_EQ(listing.ColumnCount(), kListingColumns + static_cast<int>(names.size()));
  struct Mode {
    bool byNodes;
    int rows;
  };
  for (const Mode mode :
       {Mode{true, solver.ResultNodeCount()}, Mode{false, solver.ResultTriangleCount()}}) {
    if (mode.byNodes)
      listing.ByNodesClick();
    else
      listing.ByCentersClick();
    ASSERT_EQ(static_cast<int>(listing.Rows().size()), mode.rows);
    for (int c = 0; c < static_cast<int>(names.size()); ++c) {
      const int column = kListingColumns + c;
      EXPECT_EQ(listing.ColumnName(column).toStdString(), names[c]);
      for (int row = 0; row < mode.rows; ++row) {
        const int i = listing.Rows()[row].number;
        double expected = 0;
        bool present = true;
        if (c < 3)
          expected = mode.byNodes ? solver.NodeMoment(i, c) : solver.ElementMoment(i, c);
        else if (c == 3)
          present = !mode.byNodes, expected = mode.byNodes ? 0 : solver.ElementError(i);
        else
          expected = mode.byNodes ? design.Node(i, c - 4) : design.Element(i, c - 4);
        ASSERT_EQ(listing.CellText(row, column),
                  present ? QString::number(expected, 'g', 15) : QString())
            << names[c] << " row " << row << (mode.byNodes ? " nodes" : " elements");
      }
    }
  }

  // Sorting by a further column orders by its magnitude, largest first on the first click.
  const int q = kListingColumns + 4 + 5;  // "q"
  listing.HeaderClick(q);
  ASSERT_EQ(listing.SortColumn(), q);
  EXPECT_GE(std::fabs(listing.CellText(0, q).toDouble()),
            std::fabs(listing.CellText(1, q).toDouble()));

  // Two selected rows: a line of names and a line per row, a cell per column.
  auto* table = listing.findChild<QTableView*>("ResTable");
  table->selectRow(2);
  table->selectionModel()->select(table->model()->index(0, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
  const QStringList lines = listing.SelectionText().split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[0].startsWith("Node #\tLin. DZ\t"));
  for (const QString& line : lines) EXPECT_EQ(line.split('\t').size(), listing.ColumnCount());
  EXPECT_EQ(lines[1].split('\t')[q], listing.CellText(0, q));
  EXPECT_EQ(lines[2].split('\t')[q], listing.CellText(2, q));

  // The grid grows with the dialog.
  listing.show();
  const int before = table->height();
  listing.resize(1200, 700);
  EXPECT_EQ(table->height(), before + 700 - 389);
  EXPECT_EQ(table->width(), 1200 - 24);
  std::filesystem::path shots = std::filesystem::path(TAVRIN_BINARY_DIR) / "screenshots";
  std::filesystem::create_directories(shots);
  // The picture wide enough for every column.
  listing.resize(table->horizontalHeader()->length() + table->verticalHeader()->width() +
                     table->verticalScrollBar()->sizeHint().width() + 24 + 4,
                 700);
  QApplication::processEvents();
  listing.grab().save(QString::fromStdString((shots / "results_table_all_columns.png").string()));
  listing.Close();
}

}  // namespace
}  // namespace tavrin
