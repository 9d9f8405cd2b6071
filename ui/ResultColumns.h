// ResultColumns: every result a solve has beyond the displacements, centre deflections and
// element stresses, as named columns over nodes and elements: the bending moments, the error
// estimate, the design columns (principal, shear, Wood–Armer, von Mises) and the foundation
// pressure. The names and the values are those of the result tables the command line writes
// (nodes.csv, elements.csv): the same solver queries and the same design computation.
//
// Built from a solver with recovered stresses (without them there are no columns); holds its
// own copy of the design columns and reads the rest from the solver, which must outlive it.
// Building costs the design computation, linear in the mesh (about 100 doubles per node and
// element); reading a value is constant time.
#pragma once

#include <string>
#include <vector>

#include "analysis/DesignTable.h"

namespace tavrin {

class TGlobMatrix;

class ResultColumns {
 public:
  struct Column {
    std::string name;
    bool atNodes = false;
    bool atElements = false;
    // The cells are names (ListingSource::ExtraText); the value, which sorts them, is the
    // name's index in its list.
    bool names = false;
  };

  explicit ResultColumns(const TGlobMatrix& solver);

  const std::vector<Column>& Columns() const { return columns_; }
  int Count() const { return static_cast<int>(columns_.size()); }
  // The index of the column named `name`, -1 when there is none.
  int Find(const std::string& name) const;
  // Column k at a node (solver numbering) or an element; only where the column has values.
  double NodeValue(int column, int node) const;
  double ElementValue(int column, int triangle) const;

 private:
  enum class Kind { moment, error, design, foundation };
  struct Source {
    Kind kind;
    int component;
  };
  void Add(const std::string& name, bool atNodes, bool atElements, Kind kind, int component);

  const TGlobMatrix& solver_;
  std::vector<Column> columns_;
  std::vector<Source> sources_;
  DesignColumns design_;
};

}  // namespace tavrin
