// Frame costs of the colour-fringe view on a mesh of about a million triangles: rendering the
// fringes for a new view (a zoom or pan step), the band isolines over them, the whole layer as
// the render thread draws it, the moved layer a view change shows at once, and a drag step
// that shifts the picture instead of drawing it. A structured
// grid stands in for a mesh of the same size (the rasterizer's cost depends on the triangle count
// and the covered pixels, not on the mesh's pattern).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "bench/FringeGrid.h"

#include "ui/FringeField.h"
#include "ui/FringeRenderer.h"
#include "ui/FringeScale.h"
#include "ui/LayerRenderer.h"
#include "ui/PictureLayer.h"
#include "ui/PlanView.h"
#include "ui/ViewTransform.h"

namespace tavrin {
namespace {

constexpr int kWidth = 800, kHeight = 700;

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
  const FringeField f = bench::FringeGrid(static_cast<int>(state.range(0)));
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
  const FringeField f = bench::FringeGrid(static_cast<int>(state.range(0)));
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

// The fringe layer with its band lines, as the render thread draws it for a new view.
void BM_FringeLayer(benchmark::State& state) {
  const auto f =
      std::make_shared<const FringeField>(bench::FringeGrid(static_cast<int>(state.range(0))));
  const auto layer = MakeFringeLayer(f, FringeScale(f->min, f->max), Qt::black);
  int step = 0;
  for (auto _ : state) {
    const auto images = LayerRenderer::Render(*layer, Fitted(step++ % 50));
    benchmark::DoNotOptimize(images->over.constBits());
  }
  state.counters["triangles"] = static_cast<double>(f->triangles.size());
}
BENCHMARK(BM_FringeLayer)->Arg(316)->Arg(1000)->Arg(1415)->Unit(benchmark::kMillisecond);

// The picture a view change shows at once: the last layer image scaled by a wheel notch.
void BM_MovedLayer(benchmark::State& state) {
  const auto f = std::make_shared<const FringeField>(bench::FringeGrid(1415));
  const auto layer = MakeFringeLayer(f, FringeScale(f->min, f->max), Qt::black);
  const ViewTransform from = Fitted(0);
  const QImage image = LayerRenderer::Render(*layer, from)->under;
  ViewTransform to = from;
  to.scale /= 1.25;
  QImage screen(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&screen);
    DrawLayerMoved(p, image, from, to);
  }
}
BENCHMARK(BM_MovedLayer)->Unit(benchmark::kMillisecond);

// A drag step over a picture slow to draw: the plan view's buffer shifted by a few pixels,
// whatever the mesh's size.
void BM_DragShiftStep(benchmark::State& state) {
  PlanView view;
  view.resize(kWidth, kHeight);
  QImage picture(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  const FringeField f = bench::FringeGrid(1415);
  RenderFringes(picture, f, FringeScale(f.min, f.max), Fitted(0));
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
