// The printed blocks and the files of a run with load cases.
#include "CliCases.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>

#include "analysis/CaseSolution.h"
#include "analysis/CaseTables.h"
#include "model/LoadCases.h"

namespace tavrin::cli {

namespace {

bool Has(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::string FileStem(const std::string& name, std::set<std::string>& taken) {
  std::string stem;
  for (const char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '-' || c == '_';
    stem += plain ? c : '_';
  }
  if (stem == "." || stem == "..") stem = "_" + stem;
  std::string unique = stem;
  for (int k = 2; !taken.insert(unique).second; ++k) unique = stem + "-" + std::to_string(k);
  return unique;
}

}  // namespace

namespace {

// The node of the largest deflection, the first of equal ones in the numbering of the tables.
int MaxDeflectionNode(const ResultSet& set) {
  int maxNode = 0;
  for (int v = 0; v < set.nodes; ++v)
    if (std::fabs(set.Node(v, 0)) > std::fabs(set.Node(maxNode, 0))) maxNode = v;
  return maxNode;
}

void PrintLoadsAndDeflection(const CaseSolution& solution, const ResultSet& set) {
  const TGlobMatrix& first = solution.First();
  const int v = MaxDeflectionNode(set);
  // Full precision: the figures read back as the same doubles.
  std::printf("load-z: %.17g\nreaction-z: %.17g\nmax-deflection: %.17g node %d x %g y %g\n",
              set.loadZ, set.reactionZ, set.Node(v, 0), first.MeshNodeOf(v), first.NodeX(v),
              first.NodeY(v));
}

}  // namespace

void PrintCaseFigures(const CaseSolution& solution, int s) {
  const SolveFigures& f = solution.Figures(s);
  std::printf("equations: %d\n", f.equations);
  PrintLoadsAndDeflection(solution, solution.Sets()[static_cast<std::size_t>(s)]);
  std::printf("residual: %.3g\nimbalance: %.3g\nerror-estimate: %.4g\n", f.residual, f.imbalance,
              f.errorEstimate);
}

std::vector<std::string> SelectedSets(const CaseSolution& solution, const LoadCases& cases,
                                      const std::string& caseName) {
  std::vector<std::string> names;
  const int c = cases.FindCombination(caseName);
  for (const ResultSet& set : solution.Sets()) {
    bool wanted = caseName.empty() || set.name == caseName;
    if (c >= 0)
      for (const CombinationTerm& t : cases.combinations[static_cast<std::size_t>(c)].terms)
        wanted = wanted || t.caseName == set.name;
    if (wanted) names.push_back(set.name);
  }
  return names;
}

void PrintCaseBlocks(const CaseSolution& solution, const std::vector<std::string>& selected) {
  for (int s = 0; s < static_cast<int>(solution.Sets().size()); ++s) {
    const ResultSet& set = solution.Sets()[static_cast<std::size_t>(s)];
    if (!Has(selected, set.name)) continue;
    if (s < solution.CaseSets()) {
      std::printf("case: %s\n", set.name.c_str());
      PrintCaseFigures(solution, s);
    } else {
      std::printf("combination: %s\n", set.name.c_str());
      PrintLoadsAndDeflection(solution, set);
    }
  }
}

std::string WriteCaseFiles(const CaseSolution& solution, const std::vector<std::string>& selected,
                           const std::string& outDir) {
  const std::filesystem::path dir(outDir);
  std::set<std::string> taken;
  for (int s = 0; s < static_cast<int>(solution.Sets().size()); ++s) {
    const ResultSet& set = solution.Sets()[static_cast<std::size_t>(s)];
    if (!Has(selected, set.name)) continue;
    const std::string stem = FileStem(set.name, taken);
    const std::string nodes = (dir / ("nodes-" + stem + ".csv")).string();
    if (WriteSetTables(solution, s, nodes, (dir / ("elements-" + stem + ".csv")).string(),
                       (dir / ("reactions-" + stem + ".csv")).string()) != ExportResult::Written)
      return "the tables of '" + set.name + "' in " + outDir;
  }
  if (!solution.Envelopes().empty()) {
    const std::string envelope = (dir / "envelope.csv").string();
    if (WriteEnvelopeTable(solution, envelope) != ExportResult::Written) return envelope;
  }
  return {};
}

}  // namespace tavrin::cli
