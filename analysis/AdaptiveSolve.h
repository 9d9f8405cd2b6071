// AdaptiveSolve: solve, estimate, remesh where the error is, and repeat until the global error
// estimate reaches a target or a limit ends the cycles.
//
// Each cycle meshes the job again from its outline with the first cycle's parameters and a size
// field made from the last solve (AdaptiveSizes), then solves every case of the job on the new
// mesh with one factorization (CaseSolution). The cycles adapt to the first case's estimate
// (the job without load cases, or its first case): the further cases share its mesh.
//
// Cost per cycle: one mesh and one solve of the new mesh; the meshes grow geometrically, so the
// whole run costs a small multiple of the last solve.
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
  // No cycle meshes for more elements than this (predicted from the targets before meshing;
  // the mesher's node limit stays as it is).
  int maxElements = 1000000;
  double gradation = 0.5;  // SizeField: the size may grow by this per unit length
};

struct AdaptiveCycle {
  int elements = 0;
  int equations = 0;
  double estimate = 0;  // relative global error estimate of the first case
  double seconds = 0;   // meshing and solving this cycle
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
// within a solve or after a mesh. Output: the cycles and the last finished one's mesh and
// solution.
AdaptiveRun SolveAdaptively(const TObjCont& job, std::unique_ptr<FEM> first,
                            const MeshParameters& parameters, ElementKind element,
                            const AnalysisOptions& options, const AdaptiveSettings& settings,
                            const std::function<bool(const AdaptiveCycle&)>& cycleDone = {},
                            SolveProgress* progress = nullptr);

const char* AdaptiveEndName(AdaptiveEnd end);

}  // namespace tavrin
