// tavrin-cli solve: meshes a job as `mesh` does, solves the static bending problem, recovers
// stresses and moments, prints the main figures and optionally writes result tables and the
// COSMOS file and the VTK grid. Also holds the meshing step shared with `stiffness`.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CliAdaptive.h"
#include "CliCases.h"
#include "CliMeshing.h"
#include "Commands.h"
#include "analysis/AnalysisOptions.h"
#include "analysis/CaseSolution.h"
#include "analysis/CaseTables.h"
#include "analysis/SolveRefusals.h"
#include "analysis/TGlobMatrix.h"
#include "analysis/VtkExport.h"
#include "mesh/FEM.h"
#include "mesh/MeshParameters.h"
#include "model/TObjCont.h"

namespace tavrin::cli {

namespace {

std::FILE* OpenOut(const std::filesystem::path& dir, const char* name) {
  return std::fopen((dir / name).string().c_str(), "w");
}

bool Close(std::FILE* f) {
  const bool ok = std::ferror(f) == 0;
  return std::fclose(f) == 0 && ok;
}

// The documented tables with the design columns appended to the node and element rows.
bool WriteTables(const TGlobMatrix& s, const DesignColumns& design,
                 const std::filesystem::path& dir) {
  std::string names;
  for (const char* name : kDesignColumnNames) names += std::string(",") + name;
  std::FILE* f = OpenOut(dir, "nodes.csv");
  if (!f) return false;
  // The foundation's column only where a foundation exists: every other table stays as it was.
  const bool foundation = s.FoundationZ() != 0.0;
  std::fprintf(f, "node,mesh_node,x,y,w,rot_x,rot_y,sigma_x,sigma_y,tau_xy,m_x,m_y,m_xy%s%s\n",
               names.c_str(), foundation ? ",foundation_pressure" : "");
  for (int v = 0; v < s.ResultNodeCount(); ++v) {
    std::fprintf(f, "%d,%d,%.10g,%.10g,%.10g,%.10g,%.10g", v, s.MeshNodeOf(v), s.NodeX(v),
                 s.NodeY(v), static_cast<double>(s.Displacement(v, 0)),
                 static_cast<double>(s.Displacement(v, 1)),
                 static_cast<double>(s.Displacement(v, 2)));
    for (int c = 0; c < 3; ++c) std::fprintf(f, ",%.10g", s.NodeStress(v, c));
    for (int c = 0; c < 3; ++c) std::fprintf(f, ",%.10g", s.NodeMoment(v, c));
    AppendDesignRow(f, design, v, false);
    if (foundation) std::fprintf(f, ",%.10g", s.FoundationPressure(v));
    std::fputc('\n', f);
  }
  if (!Close(f)) return false;

  f = OpenOut(dir, "elements.csv");
  if (!f) return false;
  std::fprintf(f, "element,n0,n1,n2,x,y,deflection,sigma_x,sigma_y,tau_xy,m_x,m_y,m_xy,error%s\n",
               names.c_str());
  for (int t = 0; t < s.ResultTriangleCount(); ++t) {
    const int a = s.TriangleCorner(t, 0), b = s.TriangleCorner(t, 1), c = s.TriangleCorner(t, 2);
    const double x = (s.NodeX(a) + s.NodeX(b) + s.NodeX(c)) / 3,
                 y = (s.NodeY(a) + s.NodeY(b) + s.NodeY(c)) / 3;
    std::fprintf(f, "%d,%d,%d,%d,%.10g,%.10g,%.10g", t, a, b, c, x, y, s.CentroidDeflection(t));
    for (int k = 0; k < 3; ++k) std::fprintf(f, ",%.10g", s.ElementStress(t, k));
    for (int k = 0; k < 3; ++k) std::fprintf(f, ",%.10g", s.ElementMoment(t, k));
    std::fprintf(f, ",%.10g", s.ElementError(t));
    AppendDesignRow(f, design, t, true);
    std::fputc('\n', f);
  }
  if (!Close(f)) return false;

  f = OpenOut(dir, "reactions.csv");
  if (!f) return false;
  // The kind column only where springs exist; a node on springs gets its own spring line.
  const bool springs = s.HasSprings();
  std::fprintf(f, "node,mesh_node,fz,mx,my%s\n", springs ? ",kind" : "");
  for (int v = 0; v < s.ResultNodeCount(); ++v) {
    if (s.IsConstrained(v, 0) || s.IsConstrained(v, 1) || s.IsConstrained(v, 2))
      std::fprintf(f, "%d,%d,%.10g,%.10g,%.10g%s\n", v, s.MeshNodeOf(v), s.Reaction(v, 0),
                   s.Reaction(v, 1), s.Reaction(v, 2), springs ? ",rigid" : "");
    if (!springs) continue;
    const double spring[3] = {s.SpringForce(v, 0), s.SpringForce(v, 1), s.SpringForce(v, 2)};
    if (spring[0] != 0.0 || spring[1] != 0.0 || spring[2] != 0.0)
      std::fprintf(f, "%d,%d,%.10g,%.10g,%.10g,spring\n", v, s.MeshNodeOf(v), spring[0], spring[1],
                   spring[2]);
  }
  return Close(f);
}

}  // namespace

int MeshJobForSolve(const Args& args, const char* command, const char* usage, std::size_t count,
                    std::unique_ptr<FEM>& mesh, ElementKind& element,
                    std::vector<std::string>& positional, std::string* outDir,
                    AnalysisOptions* analysis, TObjCont* job, std::string* caseName) {
  MeshOptions options;
  element = ElementKind::Dkt;
  const auto read = [&](const Args& a, std::size_t& i) {
    if (const OptionResult r = ParseMeshOption(a, i, options); r != OptionResult::NotMine) return r;
    const std::string& name = a[i];
    if (name != "--element" &&
        !(analysis && (name == "--solver" || name == "--recovery" || name == "--edge-loads")) &&
        !(outDir && name == "--out") && !(caseName && name == "--case"))
      return OptionResult::NotMine;
    std::string value;
    if (TakeValue(a, i, value) != OptionResult::Taken) return OptionResult::Bad;
    bool known = true;
    if (name == "--element") {
      known = value == "dkt" || value == "cubic";
      element = value == "cubic" ? ElementKind::Cubic : ElementKind::Dkt;
    } else if (name == "--solver") {
      known = ParseSolverName(value.c_str(), analysis->solver);
    } else if (name == "--recovery") {
      known = ParseRecoveryName(value.c_str(), analysis->recovery);
    } else if (name == "--case") {
      *caseName = value;
    } else if (name == "--edge-loads") {
      known = ParseEdgeLoadName(value.c_str(), analysis->edgeLoads);
    } else {
      *outDir = value;
    }
    if (!known) {
      const char* const kinds = name == "--element"  ? "is not an element: dkt or cubic"
                                : name == "--solver" ? "is not a solver: sparse or envelope"
                                                     : "is not a recovery: patch or average";
      return RefuseValue(name, value, kinds);
    }
    return OptionResult::Taken;
  };
  if (!ParseArguments(args, read, count, positional)) return UsageError(usage);

  TObjCont structure;
  if (const int rc = LoadAndMesh(positional[0], command, options, structure, mesh); rc != 0)
    return rc;
  if (const std::string refusal = UnusableMeshRefusal(mesh->Statistics()); !refusal.empty()) {
    std::fprintf(stderr, "tavrin-cli %s: %s\n", command, refusal.c_str());
    return 1;
  }
  if (job) *job = std::move(structure);
  return 0;
}

int RunSolve(const Args& given) {
  Args args = given;
  std::optional<AdaptiveSettings> adapt;
  if (TakeAdaptiveOptions(args, adapt) == OptionResult::Bad) return UsageError(kSolveUsage);
  std::unique_ptr<FEM> mesh;
  ElementKind element;
  std::vector<std::string> positional;
  std::string outDir, caseName;
  AnalysisOptions options;
  TObjCont job;
  const int rc = MeshJobForSolve(args, "solve", kSolveUsage, 1, mesh, element, positional, &outDir,
                                 &options, &job, &caseName);
  if (rc != 0) return rc;
  if (adapt && !caseName.empty()) {
    std::fprintf(stderr, "tavrin-cli solve: --adapt solves every case; leave out --case\n");
    return UsageError(kSolveUsage);
  }

  if (const char* warning = ConvergenceWarning(element)) std::printf("warning: %s\n", warning);
  // The cases to solve: all, or those --case names (a case, or a combination's cases).
  const LoadCases& cases = job.Cases();
  std::vector<int> which;
  if (!caseName.empty()) {
    which = cases.CasesFor(caseName);
    if (which.empty()) {
      std::fprintf(stderr, "tavrin-cli solve: the job has no case or combination '%s'\n",
                   caseName.c_str());
      return 1;
    }
  }
  CaseSolution solution;
  std::vector<AdaptiveCycle> cycles;
  if (adapt) {
    if (RunAdaptiveCycles(job, mesh, element, options, *adapt, solution, cycles) != 0) return 1;
  } else if (const std::string error = solution.Solve(*mesh, job, element, options, which);
             !error.empty()) {
    // A plain job's failure reads as it always did; a case's names the case.
    std::fprintf(stderr, "tavrin-cli solve: %s\n", error.c_str());
    return 1;
  }
  if (const std::string refusal = NoFreeDeflectionRefusal(solution.First()); !refusal.empty()) {
    std::fprintf(stderr, "tavrin-cli solve: %s\n", refusal.c_str());
    return 1;
  }
  const bool plain = cases.IsPlain() && caseName.empty();
  const std::vector<std::string> selected = SelectedSets(solution, cases, caseName);
  if (plain) {
    PrintCaseFigures(solution, 0);
  } else {
    PrintCaseBlocks(solution, selected);
  }
  std::fflush(stdout);
  if (outDir.empty()) return 0;

  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  const TGlobMatrix& first = solution.First();
  if (ec || !WriteTables(first, solution.Design()[0], outDir)) {
    std::fprintf(stderr, "tavrin-cli solve: cannot write the result tables in %s\n",
                 outDir.c_str());
    return 1;
  }
  const std::string model = (std::filesystem::path(outDir) / "model.tvd").string();
  if (first.ExportCosmos(model) != ExportResult::Written) {
    std::fprintf(stderr, "tavrin-cli solve: cannot write %s\n", model.c_str());
    return 1;
  }
  const std::string grid = (std::filesystem::path(outDir) / "model.vtu").string();
  const ExportResult written = plain ? WriteVtu(first, grid) : WriteCasesVtu(solution, grid);
  if (written != ExportResult::Written) {
    std::fprintf(stderr, "tavrin-cli solve: cannot write %s\n", grid.c_str());
    return 1;
  }
  if (adapt && !WriteAdaptTable(cycles, outDir)) {
    std::fprintf(stderr, "tavrin-cli solve: cannot write adapt.csv in %s\n", outDir.c_str());
    return 1;
  }
  if (plain) return 0;
  if (const std::string failed = WriteCaseFiles(solution, selected, outDir); !failed.empty()) {
    std::fprintf(stderr, "tavrin-cli solve: cannot write %s\n", failed.c_str());
    return 1;
  }
  return 0;
}

}  // namespace tavrin::cli
