// tavrin-cli subcommands. Each takes the arguments after its own name and returns the
// process exit code: 0 success, 1 a file could not be read or written (one line on
// stderr), 2 a usage error.
#pragma once

#include <string>
#include <vector>

namespace tavrin::cli {

using Args = std::vector<std::string>;

int RunInfo(const Args& args);
int RunResave(const Args& args);
int RunMesh(const Args& args);

// Prints the usage line of a subcommand to stderr and returns 2.
int UsageError(const std::string& usage);

}  // namespace tavrin::cli
