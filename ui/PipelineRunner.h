// PipelineRunner: the workbench's mesh, static solve and stress recovery, each run on a worker
// thread while the GUI thread keeps drawing and answering. Owns the current mesh and solver
// (the results the window shows, exports and lists) and the runs in flight.
//
// A run works on objects of its own: meshing on a copy of the job and a new FEM, the static
// solve on a new TGlobMatrix (which copies the mesh it solves), so a run whose result will be
// thrown away can be left to finish alone. A job with load cases is solved as a whole
// (CaseSolution: every case on one factorization, stresses included, then its combinations and
// envelopes) on the job as it was meshed with the load cases it has now; its first case's
// solver is then the current solver. Only the stress recovery works on the current solver;
// it checks for a stop every few thousand elements, so it is waited for. The engine reports
// through WorkerProgress and MeshFrameRelay, never through Qt.
//
// Stop answers at once: a static solve is abandoned (its result discarded when the worker
// returns, whatever the solver did meanwhile, as inside a sparse factorization that cannot be
// interrupted); a mesh or a stress recovery is asked to stop and ends at its next check, a
// stopped mesh kept as the mesher left it. Every run ends with one Finished signal on the GUI
// thread, in the order the runs were started; a run abandoned ends with Outcome::Stopped at
// once and sends nothing later. Workers still running at destruction are waited for.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "analysis/AdaptiveSolve.h"
#include "analysis/AnalysisOptions.h"
#include "analysis/SolveCode.h"
#include "mesh/MeshParameters.h"

namespace tavrin {

class CaseSolution;
class FEM;
class MeshCanvas;
class MeshFrameRelay;
class TGlobMatrix;
class TMeshInformer;
class TObjCont;
class TSolveInformer;
class WorkerProgress;
struct LoadCases;

class PipelineRunner : public QObject {
  Q_OBJECT
 public:
  enum class Work { None, Mesh, SolveStatic, SolveStress, Adaptive };
  enum class Outcome {
    Done,     // the result is in place
    Stopped,  // the user stopped it: a solve leaves no results, a mesh is kept as stopped
    Failed,   // the engine refused: message says why
  };
  struct Ending {
    Work work = Work::None;
    Outcome outcome = Outcome::Done;
    std::string message;      // Failed: the engine's reason, when it gave one
    bool usableMesh = false;  // Work::Mesh: the new mesh may be solved
    // Work::Adaptive: the last finished cycle's mesh and results are in place (whatever the
    // outcome), and one line on how the cycles ended.
    bool adaptiveResults = false;
    std::string adaptiveSummary;
  };

  // In: the progress windows and the plan view's animation canvas (not owned; they must
  // outlive this object).
  PipelineRunner(TMeshInformer& meshWindow, TSolveInformer& solveWindow, MeshCanvas& animation,
                 QObject* parent = nullptr);
  ~PipelineRunner() override;

  const FEM& Mesh() const { return *mesh_; }
  const TGlobMatrix& Solver() const;
  // The case solution of the last solve of a job with cases; null otherwise.
  std::shared_ptr<const CaseSolution> Cases() const { return cases_; }
  Work Running() const { return running_; }
  bool Stopping() const { return stopping_; }
  // Some worker is still running, as an abandoned solve inside its factorization.
  bool WorkersLeft() const { return !flights_.empty(); }

  // An empty mesh and solver (New, a refused mesh), or an empty solver alone (a new solve).
  void DropMeshAndSolver();
  void DropSolver();
  // A solver solved elsewhere becomes the current one, with an empty mesh: a plate built
  // without the mesher, of a size the mesher and a solve would take minutes over (the view
  // benchmark). Needs Running() == Work::None.
  void AdoptSolver(std::unique_ptr<TGlobMatrix> solver);

  // Each needs Running() == Work::None; it returns at once, and Finished follows.
  // In: the job (copied) and the parameters the new mesh takes.
  void StartMesh(const TObjCont& job, const MeshParameters& parameters);
  // In: the analysis options the new solver takes (copied), and the job's load cases (copied):
  // with any beyond the plain first case, every case is solved and its stresses recovered.
  void StartSolveStatic(const AnalysisOptions& options, const LoadCases& cases);
  void StartSolveStress();
  // Solve, estimate, remesh where the error is, repeat (AdaptiveSolve): from a mesh of the job
  // (copied) made with `parameters`, with the analysis options and the cycles' settings. Each
  // finished cycle is reported to the solve window; a stop ends the run within the solve under
  // way (or after the mesh), keeping the last finished cycle's mesh and results.
  void StartAdaptive(const TObjCont& job, const MeshParameters& parameters,
                     const AnalysisOptions& options, const AdaptiveSettings& settings);
  // The Stop button, a stop key, closing the window: see the header comment.
  void Stop();
  // Runs the event loop until the current run has ended (its Finished delivered).
  void WaitUntilIdle();

 signals:
  void Finished(const tavrin::PipelineRunner::Ending& ending);

 private:
  struct Flight;  // one worker thread and what it shares with the GUI
  std::shared_ptr<Flight> Launch(Work work);
  void Depart(const std::shared_ptr<Flight>& f, std::function<void()> work);
  void Land(int id);  // the worker of run id has posted its result
  void LandAdaptive(Flight& f, Ending& ending);
  void End(const Ending& ending);
  void ForgetRun(int id);

  TMeshInformer& meshWindow_;
  TSolveInformer& solveWindow_;
  MeshCanvas& animation_;
  // The solver keeps a pointer to the progress of the run that made it: declared first, so that
  // it is destroyed after the solver.
  std::shared_ptr<WorkerProgress> solverProgress_;
  std::shared_ptr<FEM> mesh_;                     // shared with a solve that reads it
  std::unique_ptr<TGlobMatrix> solver_;           // written by a stress run while it runs
  std::shared_ptr<const CaseSolution> cases_;     // shared with the result views
  std::shared_ptr<const TObjCont> meshedJob_;     // the job as the current mesh was made of it
  std::vector<std::shared_ptr<Flight>> flights_;  // started, not yet landed (current last)
  int lastId_ = 0;
  int currentId_ = 0;  // 0 when none is current (idle, or the last one abandoned)
  Work running_ = Work::None;
  bool stopping_ = false;
};

// What the window makes of the engine's result codes.
PipelineRunner::Outcome SolveOutcome(SolveCode code);
PipelineRunner::Outcome StressOutcome(StressCode code);

}  // namespace tavrin
