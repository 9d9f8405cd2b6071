// What tavrin-cli solve prints and writes for the cases and combinations of a job.
#pragma once

#include <string>
#include <vector>

namespace tavrin {
class CaseSolution;
class TGlobMatrix;
struct LoadCases;
}  // namespace tavrin

namespace tavrin::cli {

// The figures of case set s, as solve prints them for a job without cases: equations, load-z,
// reaction-z, max-deflection, residual, imbalance, error-estimate.
void PrintCaseFigures(const CaseSolution& solution, int s);

// The names of the sets a run reports: every case and combination solved, or with --case the
// case named, or the combination named and its cases.
std::vector<std::string> SelectedSets(const CaseSolution& solution, const LoadCases& cases,
                                      const std::string& caseName);

// One block per selected set: "case: NAME" and its figures, then "combination: NAME" with its
// load-z, reaction-z and max-deflection.
void PrintCaseBlocks(const CaseSolution& solution, const std::vector<std::string>& selected);

// nodes-<name>.csv, elements-<name>.csv and reactions-<name>.csv per selected set, and
// envelope.csv when the run has envelopes. <name> is the set's name with every character
// other than letters, digits, ".", "-" and "_" made "_", and "-2", "-3" ... added where two
// names would give one file. Returns "" or the file that could not be written.
std::string WriteCaseFiles(const CaseSolution& solution, const std::vector<std::string>& selected,
                           const std::string& outDir);

}  // namespace tavrin::cli
