// How soon the workbench's plan view answers a view change on a large mesh: the real window,
// offscreen, showing the colour fringes of a structured grid of 10^5, 10^6 and 2 10^6
// triangles, takes 20 wheel notches (10 in, 10 out, about a point off the centre) and 20
// middle-button drag steps of (7, 3) pixels, each sent as a real QWheelEvent or QMouseEvent to
// the view. For each event it measures the time to the first picture (the event handled and the
// view painted: the last layer moved to the new view) and to the exact picture (the layer
// rendered for the new view, taken in and painted); the next event is sent once the exact
// picture is there. Prints the median and the worst of each per size and event kind.
//
// Then 20 field changes, the view selector cycling through displacements, stresses and moments
// of a solved plate of the same grid: the plate built directly with every node
// held at a prescribed smooth deflection but one (a solve of a few equations, stresses
// recovered), so that the results are the solver's own, as after Solve Static and Solve Stress,
// without minutes of factorization. The exact picture of a field change is its field built, its
// fringes rendered and painted.
//
// Usage: bench_view_latency [cells...]   (a grid of cells columns has cells^2 triangles)
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analysis/StructuredPlate.h"
#include "analysis/TGlobMatrix.h"
#include "bench/FringeGrid.h"
#include "ui/LayerRenderer.h"
#include "ui/PlanViewController.h"
#include "ui/ResultViewController.h"

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
  // A field change first builds the field of the view chosen.
  while (window.Results().DataPending() || window.PlanControl().Layers().Pending() ||
         window.PlanControl().WholePicturePending()) {
    if (clock.elapsed() > 10000) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  QCoreApplication::processEvents();  // the paint of the exact picture
  return true;
}

// Runs send (the event), then measures as the file header says.
template <class Send>
void Measure(TMainWindow& window, Send send, Times& times) {
  QElapsedTimer clock;
  clock.start();
  send();
  QCoreApplication::processEvents();  // the paint of the first picture
  times.first.push_back(clock.nsecsElapsed() * 1e-6);
  if (!WaitForExact(window)) std::fprintf(stderr, "no exact picture within 10 s\n");
  times.exact.push_back(clock.nsecsElapsed() * 1e-6);
}

template <class Event>
void MeasureEvent(TMainWindow& window, Event& event, Times& times) {
  Measure(
      window, [&] { QApplication::sendEvent(window.PlanArea(), &event); }, times);
}

// The grid of FringeGrid(cells) as a plate solved with stresses: every node but one near the
// middle held at w = a smooth bending field, its rotations the field's slopes.
std::unique_ptr<TGlobMatrix> SolvedGrid(int cells) {
  StructuredPlate grid;
  grid.width = 450;
  grid.height = 225;
  grid.cellsX = cells;
  grid.cellsY = cells / 2;
  grid.support = EdgeSupport::Free;
  grid.material = ElementPhysics{210000, 0.3, 1, 0, 0};
  PlateMesh mesh = grid.Build();
  const int free = grid.GridNode(cells / 2, cells / 4);
  for (int n = 0; n < mesh.NodeCount(); ++n) {
    if (n == free) continue;
    const double x = mesh.x[n] / 450 * M_PI, y = mesh.y[n] / 225 * M_PI;
    DofRecord& dof = mesh.nodeDof[n];
    dof.code = 111;
    dof.displacement = {std::sin(x) * std::sin(y) + 0.1 * std::cos(x * 15 / M_PI),
                        std::sin(x) * std::cos(y) * M_PI / 225,
                        -std::cos(x) * std::sin(y) * M_PI / 450};
  }
  auto solver = std::make_unique<TGlobMatrix>();
  if (solver->SolveStatic(std::move(mesh)) != SolveCode::Ok ||
      solver->SolveStress() != StressCode::Ok) {
    std::fprintf(stderr, "the plate of %d cells did not solve: %s\n", cells,
                 solver->Failure().message.c_str());
    return nullptr;
  }
  return solver;
}

// 20 field changes on the solved grid, through the view selector as the user chooses.
void FieldChanges(TMainWindow& window, int cells, Times& times) {
  std::unique_ptr<TGlobMatrix> solver = SolvedGrid(cells);
  if (!solver) return;
  window.AdoptSolver(std::move(solver));
  auto* selector = window.findChild<QComboBox*>("ViewSelector");
  // Lin. Z, Rot. X, Rot. Y, Sigma X, Sigma Y, Mx: the solver's own fields. (The first design
  // column computes every design column of the whole solve, seconds at 10^6 triangles.)
  const int views[] = {1, 2, 3, 4, 5, 7};
  // As the user's choice in the selector: the index set, then activated.
  auto choose = [&](int view) {
    selector->setCurrentIndex(view);
    emit selector->activated(view);
  };
  choose(views[0]);
  WaitForExact(window);
  for (int k = 1; k <= 20; ++k) {
    Measure(
        window, [&] { choose(views[k % 6]); }, times);
    // The rest of the view's data (read-out probe, isolines) before the next change.
    QTimer wake;
    wake.start(50);
    while (window.Results().Building())
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
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
    MeasureEvent(window, event, wheel);
  }
  QPointF pointer = at;
  QMouseEvent press(QEvent::MouseButtonPress, pointer, view.mapToGlobal(pointer), Qt::MiddleButton,
                    Qt::MiddleButton, Qt::NoModifier);
  QApplication::sendEvent(&view, &press);
  for (int k = 0; k < 20; ++k) {
    pointer += QPointF(7, 3);
    QMouseEvent move(QEvent::MouseMove, pointer, view.mapToGlobal(pointer), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    MeasureEvent(window, move, drag);
  }
  QMouseEvent release(QEvent::MouseButtonRelease, pointer, view.mapToGlobal(pointer),
                      Qt::MiddleButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&view, &release);
  Times field;
  FieldChanges(window, cells, field);
  const long triangles = static_cast<long>(cells) * cells;
  Report(triangles, "wheel", wheel);
  Report(triangles, "drag", drag);
  if (!field.first.empty()) Report(triangles, "field", field);
}

}  // namespace
}  // namespace tavrin

// The machine's load average (1, 5, 15 minutes): the figures depend on what else runs.
static void PrintLoad() {
  double load[3] = {};
  if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
    if (std::fscanf(f, "%lf %lf %lf", &load[0], &load[1], &load[2]) != 3) load[0] = -1;
    std::fclose(f);
  }
  std::printf("load average: %.2f %.2f %.2f\n", load[0], load[1], load[2]);
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {316, 1000, 1415};  // 10^5, 10^6 and 2 10^6 triangles
  std::printf("event-to-picture times in ms, 900 x 700 window, colour fringes\n");
  PrintLoad();
  std::printf("| triangles | event | first median | first worst | exact median | exact worst |\n");
  std::printf("|---|---|---|---|---|---|\n");
  for (int cells : sizes) tavrin::Run(cells);
  PrintLoad();
  return 0;
}
