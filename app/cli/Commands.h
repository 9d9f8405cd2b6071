// tavrin-cli subcommands. Each takes the arguments after its own name and returns the
// process exit code: 0 success, 1 a file could not be read or written (one line on
// stderr), 2 a usage error.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace tavrin {
class FEM;
class TObjCont;
enum class ElementKind;
struct AnalysisOptions;
}  // namespace tavrin

namespace tavrin::cli {

using Args = std::vector<std::string>;

// The usage line of each subcommand (after "tavrin-cli "), for its usage error and the help.
inline constexpr char kInfoUsage[] = "info JOB.sam";
inline constexpr char kResaveUsage[] = "resave JOB.sam OUT.sam";
inline constexpr char kMeshUsage[] =
    "mesh JOB.sam [--min-angle DEG] [--max-area A] [--max-nodes N] [--svg FILE] "
    "[--save-job OUT.sam] [--dump FILE]";
inline constexpr char kSolveUsage[] =
    "solve JOB.sam [--min-angle DEG] [--max-area A] [--max-nodes N] [--element dkt|cubic] "
    "[--solver sparse|envelope] [--recovery patch|average] [--edge-loads lumped|consistent] "
    "[--out DIR] [--case NAME] [--adapt TARGET [--max-cycles N] [--max-elements N]]";
inline constexpr char kStiffnessUsage[] =
    "stiffness JOB.sam ELEMENT OUT.txt [--min-angle DEG] [--max-area A] [--max-nodes N] [--element "
    "dkt|cubic]";

inline constexpr char kImportDxfUsage[] = "import-dxf DRAWING.dxf OUT.sam [--layer NAME]...";

int RunInfo(const Args& args);
int RunImportDxf(const Args& args);  // only with TAVRIN_HAVE_DXF
int RunResave(const Args& args);
int RunMesh(const Args& args);
int RunSolve(const Args& args);
int RunStiffness(const Args& args);

// Shared by solve and stiffness: reads the mesh options and --element (and --out when outDir is
// given, --solver and --recovery into `analysis` when it is given) and exactly `count`
// positional arguments, then loads and meshes the job named by the first one and prints the
// mesh figures as `mesh` does. Returns 0, or the exit code after printing the reason (a usage
// error before any meshing); `mesh` holds the new FEM whenever one was made. With `job`, the
// job as meshed is left there, and with `caseName` the option --case is read into it.
int MeshJobForSolve(const Args& args, const char* command, const char* usage, std::size_t count,
                    std::unique_ptr<FEM>& mesh, ElementKind& element,
                    std::vector<std::string>& positional, std::string* outDir,
                    AnalysisOptions* analysis = nullptr, TObjCont* job = nullptr,
                    std::string* caseName = nullptr);

// Prints the usage line of a subcommand to stderr and returns 2.
int UsageError(const std::string& usage);

}  // namespace tavrin::cli
