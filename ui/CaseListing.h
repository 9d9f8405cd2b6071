// The results table's sources for a job with load cases: one case's or combination's result
// set with its design columns (rows by nodes and by element centres, as a solve has them), and
// one side of an envelope (rows by nodes only: an envelope is taken at the nodes), each value
// beside the name of the combination that gave it.
//
// Each reads the set or envelope it is given, which must outlive it; every value is a lookup.
#pragma once

#include <string>
#include <vector>

#include "analysis/DesignTable.h"
#include "analysis/Envelopes.h"
#include "analysis/ResultSet.h"
#include "ui/TListingRows.h"

namespace tavrin {

class SetListingSource final : public ListingSource {
 public:
  SetListingSource(const ResultSet& set, const DesignColumns& design);
  int NodeCount() const override { return set_.nodes; }
  int TriangleCount() const override { return set_.elements; }
  double Displacement(int node, int dof) const override { return set_.Node(node, dof); }
  double CentroidDeflection(int triangle) const override { return set_.Element(triangle, 0); }
  double ElementStress(int triangle, int component) const override {
    return set_.Element(triangle, 1 + component);
  }
  bool HasStresses() const override { return true; }
  // The moments, then the design columns, at nodes and elements.
  std::vector<ResultColumns::Column> ExtraColumns() const override;
  double ExtraValue(int k, bool byNodes, int index) const override;

 private:
  const ResultSet& set_;
  const DesignColumns& design_;
};

class EnvelopeListingSource final : public ListingSource {
 public:
  // The largest values when `max`, else the smallest.
  EnvelopeListingSource(const NodeEnvelope& envelope, bool max);
  int NodeCount() const override { return envelope_.nodes; }
  int TriangleCount() const override { return 0; }
  double Displacement(int node, int dof) const override { return Value(node, dof); }
  double CentroidDeflection(int) const override { return 0.0; }
  double ElementStress(int, int) const override { return 0.0; }
  bool HasStresses() const override { return false; }
  // At the nodes: "<name> by" for each of the three displacements (the documented columns),
  // then every further envelope column followed by its "<name> by". A "by" column names the
  // combination that gave the value; its value is the combination's index, so that sorting by
  // it groups the nodes by combination.
  std::vector<ResultColumns::Column> ExtraColumns() const override;
  double ExtraValue(int k, bool byNodes, int index) const override;
  std::string ExtraText(int k, bool byNodes, int index) const override;

 private:
  struct Extra {
    int column;  // NodeEnvelope's
    bool by;     // the combination's name rather than the value
  };
  double Value(int node, int column) const;
  int From(int node, int column) const;  // index into the envelope's combinations

  std::vector<Extra> extras_;  // the further columns, in order

  const NodeEnvelope& envelope_;
  bool max_;
};

}  // namespace tavrin
