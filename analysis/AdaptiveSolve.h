// AdaptiveSolve: solve, estimate, remesh where the error is, and repeat until the global error
// estimate reaches a target or a limit ends the cycles.
//
// Each cycle meshes the job again from its outline with the first cycle's parameters and a size
// field made from the last solve (AdaptiveSizes), then solves every case of the job on the new
// mesh with one factorization (CaseSolution). The cycles adapt to the first case's estimate
// (the job without load cases, or its first case): the further cases share its mesh. A job of
// one case solves only what the estimate needs in each cycle (the solve and the recovered
// moments); its results (result set, design columns) are made once, from the last cycle.
//
// Cost per cycle: one mesh, one solve and one size field of the new mesh; each cycle asks for
// several times the elements of the last (AdaptiveSizes), so the whole run costs a small multiple
// of the last solve.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/AnalysisOptions.h"
#include "analysis/CaseSolution.h"
#include "analysis/PlateElement.h"
#include "analysis/SolveProgress.h"
#include "mesh/MeshParameters.h"

namespace tavrin {

class FEM;
class TObjCont;

struct AdaptiveSettings {
  double target = 0.01;  // relative global error estimate to reach (> 0)
  int maxCycles = 10;    // solves in all, the first mesh's included
  // No cycle meshes for more elements than this (expected from the targets and the mesher's
  // last count over the count asked, before meshing; the mesher's node limit stays as it is).
  int maxElements = 1000000;
  double gradation = 0.5;  // SizeField: the size may grow by this per unit length
};

struct AdaptiveCycle {
  int elements = 0;
  int equations = 0;
  double estimate = 0;  // relative global error estimate of the first case
  double seconds = 0;   // meshing and solving this cycle, its size field included
  // The parts of `seconds`: the mesh; the solve (numbering, assembly, factor, back-substitution
  // and its check); the recovered moments and the estimate; the results the run hands over
  // (the further cases, combinations and design columns; only on the cycle that ends the run)
  // and the next size field.
  double meshSeconds = 0, solveSeconds = 0, estimateSeconds = 0, resultSeconds = 0,
         sizeFieldSeconds = 0;
};

enum class AdaptiveEnd { Reached, CycleLimit, ElementLimit, Stopped, Failed };

struct AdaptiveRun {
  std::vector<AdaptiveCycle> cycles;
  AdaptiveEnd end = AdaptiveEnd::Failed;
  // For Failed: why (a mesh that is not usable, a solve refused); "" otherwise.
  std::string message;
  // The last finished cycle's mesh and solution (owned; null / empty when none finished).
  std::unique_ptr<FEM> mesh;
  CaseSolution solution;
};

// Inputs: the job prepared for meshing and checked; its first mesh (already generated with
// `parameters`, owned from here on); the element, analysis options and settings; a callback
// after each finished cycle, whose false ends the run as Stopped (null: none); a reporter (not
// owned; may be null) that hears every solve and whose stop request ends the run as Stopped
// within a solve or after a mesh; an inspector (null: none) shown each cycle's mesh and the
// first case's solver, with its moments and estimate, before the cycle is reported. Output: the
// cycles and the last finished one's mesh and solution.
AdaptiveRun SolveAdaptively(
    const TObjCont& job, std::unique_ptr<FEM> first, const MeshParameters& parameters,
    ElementKind element, const AnalysisOptions& options, const AdaptiveSettings& settings,
    const std::function<bool(const AdaptiveCycle&)>& cycleDone = {},
    SolveProgress* progress = nullptr,
    const std::function<void(const FEM&, const TGlobMatrix&)>& inspect = {});

const char* AdaptiveEndName(AdaptiveEnd end);

}  // namespace tavrin
