#include "ui/FringeField.h"

#include "analysis/TGlobMatrix.h"
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

FringeField BuildFringeField(const TGlobMatrix& solver, const ResultView& view) {
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
  f.perElement = view.perElement;
  const int count = f.perElement ? triangles : nodes;
  f.values.resize(count);
  for (int i = 0; i < count; ++i)
    f.values[i] = f.perElement      ? solver.ElementError(i)
                  : view.foundation ? solver.FoundationPressure(i)
                                    : solver.NodeValue(i, view.field);
  for (int i = 0; i < count; ++i) {
    if (f.minAt < 0 || f.values[i] < f.values[f.minAt]) f.minAt = i;
    if (f.maxAt < 0 || f.values[i] > f.values[f.maxAt]) f.maxAt = i;
  }
  if (count > 0) {
    f.min = f.values[f.minAt];
    f.max = f.values[f.maxAt];
  }
  return f;
}

}  // namespace tavrin
