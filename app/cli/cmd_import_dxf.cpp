// tavrin-cli import-dxf DRAWING.dxf OUT.sam [--layer NAME]...: a job from a CAD drawing, with
// what the drawing held printed first, so that a refusal can be read against it.
#ifdef TAVRIN_HAVE_DXF

#include <cstdio>
#include <string>
#include <vector>

#include "CliArguments.h"
#include "Commands.h"
#include "importer/DxfImport.h"
#include "importer/LoopNesting.h"

namespace tavrin::cli {

namespace {

void PrintReport(const dxf::ImportReport& report) {
  std::printf("units: %s", dxf::UnitName(report.insunits).c_str());
  if (report.insunits >= 0) std::printf(" ($INSUNITS %d)", report.insunits);
  std::printf("; the numbers stay as drawn\nlayers:");
  for (std::size_t i = 0; i < report.layers.size(); ++i) {
    const dxf::LayerSummary& layer = report.layers[i];
    std::printf("%s %s (%d%s)", i ? "," : "", layer.name.c_str(), layer.entities,
                layer.selected ? "" : ", not read");
  }
  std::printf("\nread:");
  const char* separator = " ";
  for (const auto& [type, count] : report.read) {
    std::printf("%s%d %s", separator, count, type.c_str());
    separator = ", ";
  }
  std::printf("\n");
}

}  // namespace

int RunImportDxf(const Args& args) {
  dxf::ImportOptions options;
  const auto read = [&](const Args& a, std::size_t& i) {
    if (a[i] != "--layer") return OptionResult::NotMine;
    std::string layer;
    if (TakeValue(a, i, layer) != OptionResult::Taken) return OptionResult::Bad;
    options.layers.push_back(layer);
    return OptionResult::Taken;
  };
  std::vector<std::string> positional;
  if (!ParseArguments(args, read, 2, positional)) return UsageError(kImportDxfUsage);

  const dxf::ImportResult result = dxf::ImportDxf(positional[0], options);
  if (result.failure != dxf::ImportFailure::Unreadable) PrintReport(result.report);
  if (!result) {
    std::fflush(stdout);
    std::fprintf(stderr, "tavrin-cli import-dxf: %s\n", result.message.c_str());
    return 1;
  }
  const dxf::ImportReport& report = result.report;
  std::printf("outline: %zu edges, area %.10g\nholes: %zu\n", report.loops.front().corners.size(),
              report.outlineArea, report.loops.size() - 1);
  for (std::size_t h = 1; h < report.loops.size(); ++h)
    std::printf("hole %zu: %zu edges, area %.10g, %s\n", h, report.loops[h].corners.size(),
                report.loops[h].area, report.loops[h].name.c_str());
  std::printf("free-nodes: %zu\n", report.freeNodes.size());
  std::fflush(stdout);
  if (const JobFileResult saved = result.job.SaveJob(positional[1]); !saved) {
    std::fprintf(stderr, "tavrin-cli import-dxf: %s\n", saved.error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace tavrin::cli

#endif
