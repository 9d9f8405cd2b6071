// Frame costs of the colour-fringe view on a mesh of about a million triangles: rendering the
// fringes for a new view (a zoom or pan step), the band isolines over them, a repaint from
// the cached image, and a drag step that shifts the picture instead of drawing it. A structured
// grid stands in for a mesh of the same size (the rasterizer's cost depends on the triangle count
// and the covered pixels, not on the mesh's pattern).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "ui/FringeField.h"
#include "ui/FringeRenderer.h"
#include "ui/FringeScale.h"
#include "ui/FringeView.h"
#include "ui/PlanView.h"
#include "ui/ViewTransform.h"

namespace tavrin {
namespace {

constexpr int kWidth = 800, kHeight = 700;

// cells x cells/2 grid cells over 450 x 225, two triangles each, a smooth bending-like field.
FringeField Grid(int cells) {
  FringeField f;
  const int nx = cells, ny = cells / 2;
  for (int j = 0; j <= ny; ++j)
    for (int i = 0; i <= nx; ++i) {
      const double x = 450.0 * i / nx, y = 225.0 * j / ny;
      f.x.push_back(x);
      f.y.push_back(y);
      f.values.push_back(std::sin(x / 450 * M_PI) * std::sin(y / 225 * M_PI) +
                         0.1 * std::cos(x / 30));
    }
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const int a = j * (nx + 1) + i, b = a + 1, c = a + nx + 2, d = a + nx + 1;
      f.triangles.push_back({a, b, c});
      f.triangles.push_back({a, c, d});
    }
  f.min = -0.1;
  f.max = 1.1;
  f.minAt = f.maxAt = 0;
  return f;
}

// The whole plate fitted in the view, shifted by `step` pixels per frame as a pan does.
ViewTransform Fitted(int step) {
  ViewTransform t;
  t.canvasWidth = kWidth;
  t.canvasHeight = kHeight;
  t.scale = 450.0 / (kWidth - 60);
  t.originX = -30 * t.scale - step * t.scale;
  t.originY = -30 * t.scale;
  return t;
}

void BM_RenderFringes(benchmark::State& state) {
  const FringeField f = Grid(static_cast<int>(state.range(0)));
  const FringeScale s(f.min, f.max);
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  int step = 0;
  for (auto _ : state) {
    image.fill(Qt::transparent);
    RenderFringes(image, f, s, Fitted(step++ % 50));
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["triangles"] = static_cast<double>(f.triangles.size());
}
BENCHMARK(BM_RenderFringes)->Arg(200)->Arg(1000)->Arg(1415)->Unit(benchmark::kMillisecond);

void BM_BandLines(benchmark::State& state) {
  const FringeField f = Grid(static_cast<int>(state.range(0)));
  const FringeScale s(f.min, f.max);
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  int step = 0;
  for (auto _ : state) {
    QPainter p(&image);
    DrawBandLines(p, f, s, Fitted(step++ % 50), Qt::black);
  }
  state.counters["triangles"] = static_cast<double>(f.triangles.size());
}
BENCHMARK(BM_BandLines)->Arg(200)->Arg(1415)->Unit(benchmark::kMillisecond);

// A repaint with the view standing still: the cached fringe image copied to the screen buffer.
void BM_CachedRepaint(benchmark::State& state) {
  FringeView view;
  view.Show(Grid(static_cast<int>(state.range(0))), "w");
  const ViewTransform t = Fitted(0);
  view.Image(t);
  QImage screen(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&screen);
    p.drawImage(0, 0, view.Image(t));
  }
}
BENCHMARK(BM_CachedRepaint)->Arg(1415)->Unit(benchmark::kMillisecond);

// A drag step over a picture slow to draw: the plan view's buffer shifted by a few pixels,
// whatever the mesh's size.
void BM_DragShiftStep(benchmark::State& state) {
  PlanView view;
  view.resize(kWidth, kHeight);
  FringeView fringes;
  fringes.Show(Grid(1415), "w");
  const QImage& picture = fringes.Image(Fitted(0));
  view.Paint([&](QPainter& p) { p.drawImage(0, 0, picture); });
  int step = 0;
  for (auto _ : state) {
    const int d = ++step % 2 == 0 ? 3 : -3;
    view.Shift(d, d / 3);
    benchmark::DoNotOptimize(view.Image().constBits());
  }
}
BENCHMARK(BM_DragShiftStep)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
