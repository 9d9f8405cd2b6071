// How soon the workbench's plan view answers a view change on a large mesh: the real window,
// offscreen, showing the colour fringes of a structured grid of 10^5, 10^6 and 2 10^6
// triangles, takes 20 wheel notches (10 in, 10 out, about a point off the centre) and 20
// middle-button drag steps of (7, 3) pixels, each sent as a real QWheelEvent or QMouseEvent to
// the view. For each event it measures the time to the first picture (the event handled and the
// view painted: the last layer moved to the new view) and to the exact picture (the layer
// rendered for the new view, taken in and painted); the next event is sent once the exact
// picture is there. Prints the median and the worst of each per size and event kind.
//
// Usage: bench_view_latency [cells...]   (a grid of cells columns has cells^2 triangles)
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/FringeGrid.h"
#include "ui/LayerRenderer.h"
#include "ui/PlanViewController.h"

namespace tavrin {
namespace {

struct Times {
  std::vector<double> first, exact;  // milliseconds
};

// Runs the event loop until the exact layer is on screen (at most 10 s); false on time-out.
bool WaitForExact(TMainWindow& window) {
  QTimer wake;  // the loop sleeps until an event comes: the renderer posts one when done
  wake.start(50);
  QElapsedTimer clock;
  clock.start();
  // A drag step may have shifted the picture and left the whole one to a timer.
  while (window.PlanControl().Layers().Pending() || window.PlanControl().WholePicturePending()) {
    if (clock.elapsed() > 10000) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  QCoreApplication::processEvents();  // the paint of the exact picture
  return true;
}

// Sends the event, then measures as the file header says.
template <class Event>
void Measure(TMainWindow& window, Event& event, Times& times) {
  QElapsedTimer clock;
  clock.start();
  QApplication::sendEvent(window.PlanArea(), &event);
  QCoreApplication::processEvents();  // the paint of the first picture
  times.first.push_back(clock.nsecsElapsed() * 1e-6);
  if (!WaitForExact(window)) std::fprintf(stderr, "no exact picture within 10 s\n");
  times.exact.push_back(clock.nsecsElapsed() * 1e-6);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}
double Worst(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

void Report(long triangles, const char* what, const Times& t) {
  std::printf("| %9ld | %-5s | %8.1f | %8.1f | %8.1f | %8.1f |\n", triangles, what, Median(t.first),
              Worst(t.first), Median(t.exact), Worst(t.exact));
  std::fflush(stdout);
}

void Run(int cells) {
  TMainWindow window;
  window.resize(900, 700);
  window.show();
  QCoreApplication::processEvents();
  bench::ShowFieldInWindow(window, bench::FringeGrid(cells), "Lin. Z displacement");
  WaitForExact(window);
  PlanView& view = *window.PlanArea();
  const QPointF at(view.width() * 0.4, view.height() * 0.45);
  Times wheel, drag;
  for (int k = 0; k < 20; ++k) {
    QWheelEvent event(at, view.mapToGlobal(at), QPoint(), QPoint(0, k < 10 ? 120 : -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    Measure(window, event, wheel);
  }
  QPointF pointer = at;
  QMouseEvent press(QEvent::MouseButtonPress, pointer, view.mapToGlobal(pointer), Qt::MiddleButton,
                    Qt::MiddleButton, Qt::NoModifier);
  QApplication::sendEvent(&view, &press);
  for (int k = 0; k < 20; ++k) {
    pointer += QPointF(7, 3);
    QMouseEvent move(QEvent::MouseMove, pointer, view.mapToGlobal(pointer), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    Measure(window, move, drag);
  }
  QMouseEvent release(QEvent::MouseButtonRelease, pointer, view.mapToGlobal(pointer),
                      Qt::MiddleButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&view, &release);
  const long triangles = static_cast<long>(cells) * cells;
  Report(triangles, "wheel", wheel);
  Report(triangles, "drag", drag);
}

}  // namespace
}  // namespace tavrin

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {316, 1000, 1415};  // 10^5, 10^6 and 2 10^6 triangles
  std::printf("event-to-picture times in ms, 900 x 700 window, colour fringes\n");
  std::printf("| triangles | event | first median | first worst | exact median | exact worst |\n");
  std::printf("|---|---|---|---|---|---|\n");
  for (int cells : sizes) tavrin::Run(cells);
  return 0;
}
