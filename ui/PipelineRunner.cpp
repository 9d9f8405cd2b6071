#include "ui/PipelineRunner.h"

#include <QEventLoop>
#include <QMetaObject>
#include <algorithm>
#include <cstdio>

#include "analysis/CaseSolution.h"
#include "analysis/TGlobMatrix.h"
#include "mesh/FEM.h"
#include "model/TObjCont.h"
#include "ui/MeshFrameRelay.h"
#include "ui/WorkerProgress.h"

namespace tavrin {

PipelineRunner::Outcome SolveOutcome(SolveCode code) {
  if (code == SolveCode::Ok) return PipelineRunner::Outcome::Done;
  if (code == SolveCode::Stopped) return PipelineRunner::Outcome::Stopped;
  return PipelineRunner::Outcome::Failed;
}

PipelineRunner::Outcome StressOutcome(StressCode code) {
  if (code == StressCode::Ok) return PipelineRunner::Outcome::Done;
  if (code == StressCode::Stopped) return PipelineRunner::Outcome::Stopped;
  return PipelineRunner::Outcome::Failed;
}

// Written by the worker before it posts its landing, read by the GUI thread after: the queued
// call orders the two.
struct PipelineRunner::Flight {
  int id = 0;
  Work work = Work::None;
  std::shared_ptr<WorkerProgress> progress;  // declared before the solver that points to it
  std::shared_ptr<MeshFrameRelay> relay;
  std::thread thread;
  std::shared_ptr<FEM> mesh;  // Mesh: the new mesh; SolveStatic: the mesh solved
  // Mesh: the job meshed; SolveStatic: the job whose cases are solved (null without cases).
  std::shared_ptr<TObjCont> job;
  std::shared_ptr<CaseSolution> cases;  // SolveStatic of a job with cases
  bool usable = false;
  std::unique_ptr<TGlobMatrix> solver;  // SolveStatic
  AnalysisOptions options;              // SolveStatic
  SolveCode solveCode = SolveCode::Ok;
  StressCode stressCode = StressCode::Ok;
  std::string message;
  std::unique_ptr<AdaptiveRun> adaptive;  // Adaptive
  double target = 0;                      // Adaptive: the estimate aimed for
};

namespace {

std::string Percent(double fraction) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g %%", 100 * fraction);
  return text;
}

// One line on how the cycles ended, for the status bar.
std::string AdaptiveSummary(const AdaptiveRun& run, double target) {
  if (run.cycles.empty()) return {};
  const AdaptiveCycle& last = run.cycles.back();
  std::string text = "Adaptive solve: ";
  switch (run.end) {
    case AdaptiveEnd::Reached:
      text += "the target reached";
      break;
    case AdaptiveEnd::CycleLimit:
      text += "the cycle limit reached short of the target";
      break;
    case AdaptiveEnd::ElementLimit:
      text += "the next cycle would pass the element limit";
      break;
    case AdaptiveEnd::Stopped:
      text += "stopped";
      break;
    case AdaptiveEnd::Failed:
      text += "the next cycle failed";
      break;
  }
  text += "; cycle ";
  text += std::to_string(run.cycles.size());
  text += " kept: ";
  text += std::to_string(last.elements);
  text += " elements, estimate ";
  text += Percent(last.estimate);
  text += " (target ";
  text += Percent(target);
  text += ")";
  return text;
}

}  // namespace

PipelineRunner::PipelineRunner(TMeshInformer& meshWindow, TSolveInformer& solveWindow,
                               MeshCanvas& animation, QObject* parent)
    : QObject(parent),
      meshWindow_(meshWindow),
      solveWindow_(solveWindow),
      animation_(animation),
      mesh_(std::make_shared<FEM>()),
      solver_(std::make_unique<TGlobMatrix>()) {}

PipelineRunner::~PipelineRunner() {
  for (const std::shared_ptr<Flight>& f : flights_) {
    f->progress->Detach();
    f->progress->RequestStop();
    if (f->relay) f->relay->Detach();
  }
  for (const std::shared_ptr<Flight>& f : flights_) {
    if (f->thread.joinable()) f->thread.join();
  }
}

const TGlobMatrix& PipelineRunner::Solver() const { return cases_ ? cases_->First() : *solver_; }

void PipelineRunner::DropMeshAndSolver() {
  mesh_ = std::make_shared<FEM>();
  meshedJob_.reset();
  DropSolver();
}

void PipelineRunner::DropSolver() {
  solver_ = std::make_unique<TGlobMatrix>();
  cases_.reset();
  solverProgress_.reset();
}

void PipelineRunner::AdoptSolver(std::unique_ptr<TGlobMatrix> solver) {
  DropMeshAndSolver();
  solver_ = std::move(solver);
}

std::shared_ptr<PipelineRunner::Flight> PipelineRunner::Launch(Work work) {
  auto f = std::make_shared<Flight>();
  f->id = ++lastId_;
  f->work = work;
  f->progress = std::make_shared<WorkerProgress>(this, &meshWindow_, &solveWindow_);
  currentId_ = f->id;
  running_ = work;
  stopping_ = false;
  flights_.push_back(f);
  return f;
}

// The thread starts at the next turn of the event loop, so that a stop given right after the
// start (a key held, a quick click) is seen at the run's first check, not raced against it. A
// static solve abandoned before then never starts.
void PipelineRunner::Depart(const std::shared_ptr<Flight>& f, std::function<void()> work) {
  const int id = f->id;
  QMetaObject::invokeMethod(
      this,
      [this, id, work = std::move(work)] {
        auto it = std::find_if(flights_.begin(), flights_.end(),
                               [id](const std::shared_ptr<Flight>& g) { return g->id == id; });
        if (it == flights_.end()) return;
        if (id != currentId_) {
          flights_.erase(it);
          return;
        }
        (*it)->thread = std::thread([this, id, work] {
          work();
          QMetaObject::invokeMethod(
              this, [this, id] { Land(id); }, Qt::QueuedConnection);
        });
      },
      Qt::QueuedConnection);
}

void PipelineRunner::StartMesh(const TObjCont& job, const MeshParameters& parameters) {
  std::shared_ptr<Flight> f = Launch(Work::Mesh);
  DropSolver();
  mesh_ = std::make_shared<FEM>();  // nothing of the old mesh stays while the new one grows
  f->relay = std::make_shared<MeshFrameRelay>(this, animation_);
  f->mesh = std::make_shared<FEM>(parameters);
  FEM* mesh = f->mesh.get();
  f->progress->stopMesh = [mesh] { mesh->RequestStop(); };
  f->job = std::make_shared<TObjCont>(job);
  Flight* flight = f.get();
  Depart(f, [flight] {
    flight->mesh->GenerateMesh(*flight->job, *flight->relay, *flight->progress);
    flight->usable = flight->mesh->IsUsable();
  });
}

void PipelineRunner::StartSolveStatic(const AnalysisOptions& options, const LoadCases& cases) {
  std::shared_ptr<Flight> f = Launch(Work::SolveStatic);
  f->options = options;
  DropSolver();
  f->mesh = mesh_;
  Flight* flight = f.get();
  if (!cases.IsPlain() && meshedJob_) {
    f->job = std::make_shared<TObjCont>(*meshedJob_);
    f->message = f->job->SetCases(cases);
    Depart(f, [flight] {
      if (!flight->message.empty()) return;
      auto solution = std::make_shared<CaseSolution>();
      flight->message = solution->Solve(*flight->mesh, *flight->job, ElementKind::Dkt,
                                        flight->options, {}, flight->progress.get());
      if (flight->message.empty()) flight->cases = std::move(solution);
    });
    return;
  }
  Depart(f, [flight] {
    flight->solver =
        std::make_unique<TGlobMatrix>(ElementKind::Dkt, flight->options, flight->progress.get());
    flight->solveCode = flight->solver->SolveStatic(*flight->mesh);
    flight->message = flight->solver->Failure().message;
  });
}

void PipelineRunner::StartSolveStress() {
  std::shared_ptr<Flight> f = Launch(Work::SolveStress);
  // The solver reports through the progress of the run that made it; the stop flag is that
  // object's, so it is cleared for this run.
  if (solverProgress_) {
    f->progress = solverProgress_;
    f->progress->ClearStop();
  }
  TGlobMatrix* solver = solver_.get();
  Flight* flight = f.get();
  Depart(f, [flight, solver] { flight->stressCode = solver->SolveStress(); });
}

void PipelineRunner::StartAdaptive(const TObjCont& job, const MeshParameters& parameters,
                                   const AnalysisOptions& options,
                                   const AdaptiveSettings& settings) {
  std::shared_ptr<Flight> f = Launch(Work::Adaptive);
  f->options = options;
  f->target = settings.target;
  auto copy = std::make_shared<TObjCont>(job);
  f->job = copy;
  DropSolver();
  Flight* flight = f.get();
  Depart(f, [flight, copy, parameters, settings] {
    MeshParameters first = parameters;
    first.animate = false;
    auto mesh = std::make_unique<FEM>(first);
    mesh->GenerateMesh(*copy);
    WorkerProgress& progress = *flight->progress;
    flight->adaptive = std::make_unique<AdaptiveRun>(SolveAdaptively(
        *copy, std::move(mesh), first, ElementKind::Dkt, flight->options, settings,
        [&progress, cycles = settings.maxCycles, done = 0](const AdaptiveCycle& cycle) mutable {
          std::string caption = "Adaptive cycle ";
          caption += std::to_string(++done);
          caption += ": estimate ";
          caption += Percent(cycle.estimate);
          caption += ", elements #";
          progress.ShowSolveProgress(caption, done, cycle.elements, cycles);
          return !progress.StopRequested();
        },
        &progress));
  });
}

void PipelineRunner::Stop() {
  if (running_ == Work::None) return;
  stopping_ = true;
  Flight& f = *flights_.back();
  f.progress->RequestStop();
  // A check comes soon (an adaptive run keeps its last finished cycle): wait for it.
  if (running_ != Work::SolveStatic) return;
  // The solve may be inside a factorization that cannot be interrupted: it is left to finish
  // alone, and what it makes is dropped when it lands.
  f.progress->Detach();
  Ending stopped;
  stopped.work = Work::SolveStatic;
  stopped.outcome = Outcome::Stopped;
  End(stopped);
}

void PipelineRunner::ForgetRun(int id) {
  auto it = std::find_if(flights_.begin(), flights_.end(),
                         [id](const std::shared_ptr<Flight>& f) { return f->id == id; });
  if (it == flights_.end()) return;
  if ((*it)->thread.joinable()) (*it)->thread.join();  // it has posted: it is returning
  flights_.erase(it);
}

void PipelineRunner::Land(int id) {
  auto it = std::find_if(flights_.begin(), flights_.end(),
                         [id](const std::shared_ptr<Flight>& f) { return f->id == id; });
  if (it == flights_.end()) return;
  std::shared_ptr<Flight> f = *it;
  ForgetRun(id);
  if (id != currentId_) return;  // abandoned: its result is not wanted any more
  Ending ending;
  ending.work = f->work;
  switch (f->work) {
    case Work::Mesh:
      mesh_ = f->mesh;
      meshedJob_ = f->job;
      ending.usableMesh = f->usable;
      ending.outcome = stopping_ ? Outcome::Stopped : Outcome::Done;
      break;
    case Work::SolveStatic:
      if (f->job) {
        ending.outcome = f->cases ? Outcome::Done : Outcome::Failed;
        ending.message = f->message;
        solverProgress_ = f->progress;
        cases_ = f->cases;
        break;
      }
      ending.outcome = SolveOutcome(f->solveCode);
      ending.message = f->message;
      if (ending.message.empty() && ending.outcome == Outcome::Failed)
        ending.message =
            "The static solution failed (code " + std::to_string(ToCode(f->solveCode)) + ").";
      if (ending.outcome != Outcome::Stopped) {
        solverProgress_ = f->progress;
        solver_ = std::move(f->solver);
      }
      break;
    case Work::SolveStress:
      ending.outcome = StressOutcome(f->stressCode);
      ending.message = Message(f->stressCode);
      break;
    case Work::Adaptive:
      LandAdaptive(*f, ending);
      break;
    case Work::None:
      break;
  }
  End(ending);
}

void PipelineRunner::LandAdaptive(Flight& f, Ending& ending) {
  AdaptiveRun& run = *f.adaptive;
  ending.outcome = run.end == AdaptiveEnd::Stopped  ? Outcome::Stopped
                   : run.end == AdaptiveEnd::Failed ? Outcome::Failed
                                                    : Outcome::Done;
  ending.message = run.message;
  ending.adaptiveSummary = AdaptiveSummary(run, f.target);
  if (!run.mesh) return;
  // The last finished cycle replaces the mesh and results, so the views show where the error
  // went; its solver was made without a progress of its own.
  mesh_ = std::shared_ptr<FEM>(std::move(run.mesh));
  meshedJob_ = f.job;
  // A job with load cases keeps them all, as Solve Static of such a job does.
  if (run.solution.CaseSets() > 1)
    cases_ = std::make_shared<CaseSolution>(std::move(run.solution));
  else
    solver_ = run.solution.TakeFirst();
  solverProgress_.reset();
  ending.adaptiveResults = true;
  ending.usableMesh = true;
}

void PipelineRunner::End(const Ending& ending) {
  currentId_ = 0;
  running_ = Work::None;
  stopping_ = false;
  emit Finished(ending);
}

void PipelineRunner::WaitUntilIdle() {
  if (running_ == Work::None) return;
  QEventLoop loop;
  connect(this, &PipelineRunner::Finished, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace tavrin
