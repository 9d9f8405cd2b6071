#include "ui/FringeField.h"

#include "analysis/TGlobMatrix.h"
#include "ui/ResultColumns.h"
#include "ui/ResultViews.h"

namespace tavrin {

double FringeField::MarkerX(int i) const {
  if (!perElement) return x[i];
  const auto& t = triangles[i];
  return (x[t[0]] + x[t[1]] + x[t[2]]) / 3;
}

double FringeField::MarkerY(int i) const {
  if (!perElement) return y[i];
  const auto& t = triangles[i];
  return (y[t[0]] + y[t[1]] + y[t[2]]) / 3;
}

namespace {

// The mesh of the solver, without values.
FringeField MeshOf(const TGlobMatrix& solver) {
  FringeField f;
  const int nodes = solver.ResultNodeCount(), triangles = solver.ResultTriangleCount();
  f.x.resize(nodes);
  f.y.resize(nodes);
  for (int v = 0; v < nodes; ++v) {
    f.x[v] = solver.NodeX(v);
    f.y[v] = solver.NodeY(v);
  }
  f.triangles.resize(triangles);
  for (int t = 0; t < triangles; ++t)
    for (int c = 0; c < 3; ++c) f.triangles[t][c] = solver.TriangleCorner(t, c);
  return f;
}

void FindExtremes(FringeField& f) {
  const int count = static_cast<int>(f.values.size());
  for (int i = 0; i < count; ++i) {
    if (f.minAt < 0 || f.values[i] < f.values[f.minAt]) f.minAt = i;
    if (f.maxAt < 0 || f.values[i] > f.values[f.maxAt]) f.maxAt = i;
  }
  if (count > 0) {
    f.min = f.values[f.minAt];
    f.max = f.values[f.maxAt];
  }
}

}  // namespace

FringeField BuildFringeField(const TGlobMatrix& solver, const ResultView& view) {
  if (view.design >= 0) {
    const ResultColumns columns(solver);
    const int k = columns.Find(kDesignColumnNames[view.design]);
    std::vector<double> values(static_cast<std::size_t>(solver.ResultNodeCount()));
    for (int v = 0; v < solver.ResultNodeCount(); ++v) values[v] = columns.NodeValue(k, v);
    return BuildFringeField(solver, std::move(values));
  }
  FringeField f = MeshOf(solver);
  f.perElement = view.perElement;
  const int count = f.perElement ? solver.ResultTriangleCount() : solver.ResultNodeCount();
  f.values.resize(count);
  for (int i = 0; i < count; ++i)
    f.values[i] = f.perElement      ? solver.ElementError(i)
                  : view.foundation ? solver.FoundationPressure(i)
                                    : solver.NodeValue(i, view.field);
  FindExtremes(f);
  return f;
}

FringeField BuildFringeField(const TGlobMatrix& solver, std::vector<double> nodeValues) {
  FringeField f = MeshOf(solver);
  f.values = std::move(nodeValues);
  FindExtremes(f);
  return f;
}

}  // namespace tavrin
