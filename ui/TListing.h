// TListing, the modal "Anlysis Data" dialog: lists a solve's results per mesh node (the three
// displacements) or per element centre (centre deflection and the three stresses), then every
// further result the solve has (moments, error estimate, design columns), sorted by a chosen
// column in either direction, showing only the rows whose sort value lies within the
// "Maximum deviation, %" of the largest one. The grid grows with the dialog; Ctrl+C copies the
// selected rows as tab-separated text, a line of column names first.
//
// Owns its controls, the sort column, direction and mode, which it keeps between openings
// (the deviation field keeps its text, the columns their widths), and the rows of the current
// opening, which Close drops. Reads the source only while it is open: the rows are copied when
// listed and the view formats them on demand, each number with the digits its column has room
// for, so 100,000 rows stay responsive.
#pragma once

#include <QDialog>
#include <vector>

#include "ui/TListingRows.h"

class QLineEdit;
class QRadioButton;
class QPushButton;
class QTableView;

namespace tavrin {

class TGlobMatrix;
class TListingModel;
class TListingHeader;
class TListingArrow;
class TListingDelegate;

class TListing : public QDialog {
  Q_OBJECT
 public:
  explicit TListing(QWidget* parent = nullptr);
  ~TListing() override;

  // "View Results": lists the solver's results and runs the dialog modally.
  void Show(const TGlobMatrix& solver);
  // The same for any source (a load case's or combination's results).
  void Show(const ListingSource& source);

  // Lists source without running the dialog (Show uses it; tests drive the dialog with it).
  // The source must stay alive until Close, which also empties the grid.
  void Open(const ListingSource& source);
  void Close();

  // A click on the header of a column; ignored where the mode has no values for it.
  void HeaderClick(int column);
  void ByNodesClick();
  void ByCentersClick();

  bool Ascending() const { return ascending_; }
  bool ByNodes() const { return byNodes_; }
  int SortColumn() const { return sortColumn_; }
  const std::vector<ListingRow>& Rows() const { return rows_; }
  // A cell's text with all its digits (also its tool tip).
  QString CellText(int row, int column) const;
  // The text the grid draws in a cell: the number written to fit the column's width.
  QString ShownText(int row, int column) const;
  // Column widths in pixels; dragging a header's edge sets them (never below a minimum).
  int ColumnWidth(int column) const;
  void SetColumnWidth(int column, int width);
  // Columns in the grid: the documented seven and the source's further ones.
  int ColumnCount() const { return kListingColumns + static_cast<int>(extra_.size()); }
  QString ColumnName(int column) const;
  // The selected rows as tab-separated lines (the column names first, numbers with all their
  // digits); what Ctrl+C puts on the clipboard.
  QString SelectionText() const;
  void CopySelection() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Refill();
  void Layout();
  void PlaceHeaders();
  // Headers for the source's further columns, replacing those of an earlier source.
  void MakeExtraHeaders();

  const ListingSource* source_ = nullptr;
  bool ascending_ = true;
  bool byNodes_ = true;
  int sortColumn_ = kColNumber;
  double deviationFactor_ = 1.0;
  std::vector<ListingRow> rows_;
  bool rowsByNodes_ = true;  // the mode rows_ were listed in (a refused switch keeps them)
  std::vector<ResultColumns::Column> extra_;  // the open source's further columns

  std::vector<TListingHeader*> headers_;
  std::vector<TListingArrow*> arrows_;
  QWidget* devLabel_ = nullptr;
  TListingModel* model_ = nullptr;
  TListingDelegate* delegate_ = nullptr;
  QWidget* headerStrip_ = nullptr;
  QTableView* resTable_ = nullptr;
  QLineEdit* deviation_ = nullptr;
  QRadioButton* byNodesButton_ = nullptr;
  QRadioButton* byCentersButton_ = nullptr;
  QPushButton* button1_ = nullptr;
};

}  // namespace tavrin
