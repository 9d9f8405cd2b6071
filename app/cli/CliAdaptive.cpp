#include "CliAdaptive.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "mesh/FEM.h"
#include "model/TObjCont.h"

namespace tavrin::cli {

OptionResult TakeAdaptiveOptions(Args& args, std::optional<AdaptiveSettings>& settings) {
  AdaptiveSettings read;
  bool adapt = false, limits = false;
  Args rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name != "--adapt" && name != "--max-cycles" && name != "--max-elements") {
      rest.push_back(name);
      // An option's value stays with it, whatever it looks like.
      if (IsOption(name) && i + 1 < args.size()) rest.push_back(args[++i]);
      continue;
    }
    std::string text;
    if (TakeValue(args, i, text) != OptionResult::Taken) return OptionResult::Bad;
    double v = 0;
    if (!ParseDecimal(text, v)) return RefuseValue(name, text, "is not a decimal number");
    if (name == "--adapt") {
      if (!(v > 0 && v < 1))
        return RefuseValue(name, text, "is not a relative error between 0 and 1");
      read.target = v;
      adapt = true;
    } else {
      if (v < 1 || v != std::floor(v) || v > 2e9)
        return RefuseValue(name, text, "is not a whole number from 1 to 2000000000");
      (name == "--max-cycles" ? read.maxCycles : read.maxElements) = static_cast<int>(v);
      limits = true;
    }
  }
  if (limits && !adapt) {
    std::fprintf(stderr, "tavrin-cli: --max-cycles and --max-elements need --adapt\n");
    return OptionResult::Bad;
  }
  args = std::move(rest);
  if (adapt) settings = read;
  return adapt ? OptionResult::Taken : OptionResult::NotMine;
}

int RunAdaptiveCycles(const TObjCont& job, std::unique_ptr<FEM>& mesh, ElementKind element,
                      const AnalysisOptions& options, const AdaptiveSettings& settings,
                      CaseSolution& solution, std::vector<AdaptiveCycle>& cycles) {
  const MeshParameters parameters = mesh->Parameters();
  int printed = 0;
  AdaptiveRun run =
      SolveAdaptively(job, std::move(mesh), parameters, element, options, settings,
                      [&printed](const AdaptiveCycle& c) {
                        std::printf(
                            "cycle: %d elements: %d equations: %d estimate: %.6g "
                            "seconds: %.3f\n",
                            ++printed, c.elements, c.equations, c.estimate, c.seconds);
                        std::fflush(stdout);
                        return true;
                      });
  cycles = run.cycles;
  if (run.end == AdaptiveEnd::Failed) {
    // The cycles before the failed one stand; their last results are not printed as if the
    // run had succeeded.
    std::fprintf(stderr, "tavrin-cli solve: %s%s\n", run.message.c_str(),
                 cycles.empty() ? "" : " (the adaptive cycles ended at the last finished cycle)");
    return 1;
  }
  std::printf("adapt: %s\n", AdaptiveEndName(run.end));
  mesh = std::move(run.mesh);
  solution = std::move(run.solution);
  return 0;
}

bool WriteAdaptTable(const std::vector<AdaptiveCycle>& cycles, const std::filesystem::path& dir) {
  std::FILE* f = std::fopen((dir / "adapt.csv").string().c_str(), "w");
  if (!f) return false;
  std::fprintf(f, "cycle,elements,equations,estimate,seconds\n");
  for (std::size_t k = 0; k < cycles.size(); ++k)
    std::fprintf(f, "%zu,%d,%d,%.10g,%.6g\n", k + 1, cycles[k].elements, cycles[k].equations,
                 cycles[k].estimate, cycles[k].seconds);
  const bool ok = std::ferror(f) == 0;
  return std::fclose(f) == 0 && ok;
}

}  // namespace tavrin::cli
