// The rows of the results table: which nodes or elements are listed, in which order, and the
// values each row shows. No Qt; the dialog only formats what this produces.
//
// Sorting is O(n log n) (a comparison sort on (key, row number) pairs, so equal keys keep row
// order in either direction); the deviation window is one linear scan. 100,000 rows take a few
// milliseconds.
#pragma once

#include <array>
#include <vector>

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
};

// The solver as a listing source; it must outlive the adapter. A solver without a solution has
// no rows, and elements have rows only once stresses were computed.
class SolverListingSource final : public ListingSource {
 public:
  explicit SolverListingSource(const TGlobMatrix& solver) : solver_(solver) {}
  int NodeCount() const override;
  int TriangleCount() const override;
  double Displacement(int node, int dof) const override;
  double CentroidDeflection(int triangle) const override;
  double ElementStress(int triangle, int component) const override;
  bool HasStresses() const override;

 private:
  const TGlobMatrix& solver_;
};

// Columns of the table, left to right.
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
  // Signed values of columns 1 to 6; the columns the mode does not fill are not read.
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
// for element centres, stresses for nodes).
bool BuildListingRows(const ListingSource& source, const ListingQuery& query,
                      std::vector<ListingRow>& rows);

// The deviation window over keys sorted in either direction: the rows whose key lies within
// limit = factor * (the larger end key) of that end key, taken from the end of the list that
// holds it. Returns [first, last). A deviation exactly at the limit counts as neither side.
std::array<int, 2> DeviationWindow(const std::vector<double>& sortedKeys, double factor);

}  // namespace tavrin
