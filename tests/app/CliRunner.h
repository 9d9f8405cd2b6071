// Runs tavrin-cli as a child process and captures its exit code, standard output and standard
// error, for end-to-end tests of the subcommands.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tavrin::testing {

struct CliResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string ReadWholeFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Arguments are passed to the program as they are (no shell). A fileSizeLimit of 0 or more
// bytes runs the program under that RLIMIT_FSIZE (with SIGXFSZ left as the program sets it).
inline CliResult RunCli(const std::vector<std::string>& args, long fileSizeLimit = -1) {
  static int serial = 0;
  const auto base = std::filesystem::temp_directory_path() /
                    ("tavrin-cli-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
  const std::string outPath = base.string() + ".out";
  const std::string errPath = base.string() + ".err";
  CliResult r;
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!std::freopen(outPath.c_str(), "w", stdout) || !std::freopen(errPath.c_str(), "w", stderr))
      _exit(127);
    if (fileSizeLimit >= 0) {
      const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
    }
    std::vector<char*> argv;
    std::string program = TAVRIN_CLI;
    argv.push_back(program.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    r.exitCode = WEXITSTATUS(status);
  r.out = ReadWholeFile(outPath);
  r.err = ReadWholeFile(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  return r;
}

}  // namespace tavrin::testing
