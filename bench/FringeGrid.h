// A fringe field on a structured grid, standing in for a solved mesh of the same size in the
// picture benchmarks (a render's cost depends on the triangle count and the covered pixels, not
// on the mesh's pattern) and in the large-mesh screenshot; ShowFieldInWindow puts one on the
// workbench's screen as its first result view, fitted, without a solve.
#pragma once

#include <QComboBox>
#include <QSignalBlocker>
#include <cmath>
#include <utility>

#include "ui/FringeField.h"
#include "ui/PlanView.h"
#include "ui/ResultViewController.h"
#include "ui/TMainWindow.h"
#include "ui/ViewNavigation.h"
#include "ui/ViewTransform.h"

namespace tavrin::bench {

// cells x cells/2 grid cells over 450 x 225, two triangles each (cells^2 triangles), with a
// smooth bending-like field.
inline FringeField FringeGrid(int cells) {
  FringeField f;
  const int nx = cells, ny = cells / 2;
  f.x.reserve(static_cast<std::size_t>(nx + 1) * (ny + 1));
  f.y.reserve(f.x.capacity());
  f.values.reserve(f.x.capacity());
  for (int j = 0; j <= ny; ++j)
    for (int i = 0; i <= nx; ++i) {
      const double x = 450.0 * i / nx, y = 225.0 * j / ny;
      f.x.push_back(x);
      f.y.push_back(y);
      f.values.push_back(std::sin(x / 450 * M_PI) * std::sin(y / 225 * M_PI) +
                         0.1 * std::cos(x / 30));
    }
  f.triangles.reserve(2 * static_cast<std::size_t>(nx) * ny);
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const int a = j * (nx + 1) + i, b = a + 1, c = a + nx + 2, d = a + nx + 1;
      f.triangles.push_back({a, b, c});
      f.triangles.push_back({a, c, d});
    }
  f.min = -0.1;
  f.max = 1.1;
  f.minAt = f.maxAt = 0;
  for (int i = 0; i < static_cast<int>(f.values.size()); ++i) {
    if (f.values[i] < f.values[f.minAt]) f.minAt = i;
    if (f.values[i] > f.values[f.maxAt]) f.maxAt = i;
  }
  return f;
}

// The field as the window's first result view (as the view selector shows a solved field),
// the grid fitted clear of the legend, and drawn.
inline void ShowFieldInWindow(TMainWindow& window, FringeField field, const QString& title) {
  auto* selector = window.findChild<QComboBox*>("ViewSelector");
  {
    const QSignalBlocker quiet(selector);
    selector->setCurrentIndex(1);
  }
  WorldBox box;
  for (std::size_t i = 0; i < field.x.size(); ++i) box.Add(field.x[i], field.y[i]);
  window.Results().Fringes().Show(std::move(field), title);
  ViewTransform& t = CurrentViewTransform();
  t.canvasWidth = window.PlanArea()->width();
  t.canvasHeight = window.PlanArea()->height();
  FitToBox(t, box, TMainWindow::kFitMargin, window.Results().LegendReserve(t.canvasHeight));
  window.redraw();
}

}  // namespace tavrin::bench
