// The rows of the results table: which nodes or elements are listed, in which order, and the
// values each row shows. No Qt; the dialog only formats what this produces.
//
// Sorting is O(n log n) (a comparison sort on (key, row number) pairs, so equal keys keep row
// order in either direction); the deviation window is one linear scan. 100,000 rows take a few
// milliseconds.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ui/ResultColumns.h"

namespace tavrin {

class TGlobMatrix;

// What the table reads from a solve. Node numbers are the solver's own numbering.
class ListingSource {
 public:
  virtual ~ListingSource() = default;
  virtual int NodeCount() const = 0;
  virtual int TriangleCount() const = 0;
  virtual double Displacement(int node, int dof) const = 0;  // 0 lin. Z, 1 rot. X, 2 rot. Y
  virtual double CentroidDeflection(int triangle) const = 0;
  virtual double ElementStress(int triangle, int component) const = 0;  // sigma X, sigma Y, tau XY
  virtual bool HasStresses() const = 0;
  // The columns after the documented seven (moments, error estimate, design fields...), each
  // with the modes it has values in, and column k's value at a node or an element of the mode.
  virtual std::vector<ResultColumns::Column> ExtraColumns() const { return {}; }
  virtual double ExtraValue(int k, bool byNodes, int index) const;
  // The text of a cell of a column of names; "" for every other column.
  virtual std::string ExtraText(int k, bool byNodes, int index) const;
};

// The solver as a listing source; it must outlive the adapter. A solver without a solution has
// no rows, and elements have rows only once stresses were computed, as have the further
// columns (the adapter computes the design columns once, when made).
class SolverListingSource final : public ListingSource {
 public:
  explicit SolverListingSource(const TGlobMatrix& solver);
  ~SolverListingSource() override;
  int NodeCount() const override;
  int TriangleCount() const override;
  double Displacement(int node, int dof) const override;
  double CentroidDeflection(int triangle) const override;
  double ElementStress(int triangle, int component) const override;
  bool HasStresses() const override;
  std::vector<ResultColumns::Column> ExtraColumns() const override;
  double ExtraValue(int k, bool byNodes, int index) const override;

 private:
  const TGlobMatrix& solver_;
  std::unique_ptr<ResultColumns> extra_;
};

// The documented columns of the table, left to right; the source's further columns follow from
// kListingColumns on.
enum ListingColumn {
  kColNumber = 0,
  kColLinZ,
  kColRotX,
  kColRotY,
  kColSigmaX,
  kColSigmaY,
  kColTauXY,
  kListingColumns
};

struct ListingRow {
  int number = 0;  // node or element number
  // Signed values of columns 1 to 6; the columns the mode does not fill are not read. The
  // further columns are read from the source when shown.
  std::array<double, kListingColumns - 1> values{};
};

struct ListingQuery {
  bool byNodes = true;
  int sortColumn = kColNumber;
  bool ascending = true;
  double deviationFactor = 1.0;  // 0 < factor <= 1
};

// Builds the shown rows, in sorted order, into rows. Returns false, leaving rows untouched, when
// the table is not to change: no rows, or a sort column the mode has no values for (rotations
// for element centres, stresses for nodes, a further column without values in the mode).
bool BuildListingRows(const ListingSource& source, const ListingQuery& query,
                      std::vector<ListingRow>& rows);

// The deviation window over keys sorted in either direction: the rows whose key lies within
// limit = factor * (the larger end key) of that end key, taken from the end of the list that
// holds it. Returns [first, last). A deviation exactly at the limit counts as neither side.
// Whether column (documented or further) has values in the mode.
bool ListingColumnUsed(const ListingSource& source, int column, bool byNodes);

std::array<int, 2> DeviationWindow(const std::vector<double>& sortedKeys, double factor);

}  // namespace tavrin
