// The meshing step shared by tavrin-cli mesh, solve and stiffness: the three mesh options, and
// loading, preparing and meshing a job with the figures printed the same way by every command.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "CliArguments.h"
#include "Commands.h"

namespace tavrin {
class FEM;
class TObjCont;
}  // namespace tavrin

namespace tavrin::cli {

struct MeshOptions {
  double minAngle = 31.0;  // the workbench's start-up values
  double maxArea = 200.0;
  double maxNodes = -1;  // stop the refinement at this many nodes; -1: the workbench's default
};

// Reads args[i] (and its value) when it is --min-angle, --max-area or --max-nodes; on Taken,
// i is left on the value. A value out of range is Bad, after a line on stderr naming the option.
OptionResult ParseMeshOption(const Args& args, std::size_t& i, MeshOptions& options);

// Loads the job, prepares it for meshing and meshes it into a new FEM made with the options,
// stopping at the node limit as a stop key would. Prints the mesh figures to stdout. Returns 0,
// or 1 after printing why the job could not be read or fails the geometry check (then `mesh`
// stays empty).
int LoadAndMesh(const std::string& job, const char* command, const MeshOptions& options,
                TObjCont& structure, std::unique_ptr<FEM>& mesh);

}  // namespace tavrin::cli
