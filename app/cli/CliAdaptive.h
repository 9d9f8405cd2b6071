// tavrin-cli solve --adapt: the adaptive cycles' options, their run from the first mesh with one
// line printed per cycle, and their table adapt.csv.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "CliArguments.h"
#include "analysis/AdaptiveSolve.h"

namespace tavrin {
class FEM;
class TObjCont;
}  // namespace tavrin

namespace tavrin::cli {

// Takes --adapt TARGET, --max-cycles N and --max-elements N (with their values) out of args;
// settings is set when --adapt is given. Bad, after a line on stderr naming the option and the
// value, for a value out of range or a limit given without --adapt.
OptionResult TakeAdaptiveOptions(Args& args, std::optional<AdaptiveSettings>& settings);

// Runs the cycles from `mesh` (the first, usable mesh), printing "cycle:" lines; then `mesh` and
// `solution` hold the last finished cycle's. Returns 0, or 1 after a line on stderr saying why
// a cycle failed.
int RunAdaptiveCycles(const TObjCont& job, std::unique_ptr<FEM>& mesh, ElementKind element,
                      const AnalysisOptions& options, const AdaptiveSettings& settings,
                      CaseSolution& solution, std::vector<AdaptiveCycle>& cycles);

// adapt.csv in dir: one row per cycle. False when it cannot be written.
bool WriteAdaptTable(const std::vector<AdaptiveCycle>& cycles, const std::filesystem::path& dir);

}  // namespace tavrin::cli
