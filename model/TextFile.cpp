// Whole-file reading, and replacement through a sibling temporary file and rename(2), which is
// atomic within a folder. Each is linear in the file's size.
#include "model/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace tavrin {

int ReadTextFile(const std::string& path, std::string& text) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return EISDIR;
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) return errno != 0 ? errno : ENOENT;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return errno != 0 ? errno : EIO;
  return 0;
}

int ReplaceTextFile(const std::string& path, std::string_view text) {
  if (path.empty()) return ENOENT;
  std::string target = path;
  std::error_code ec;
  if (std::filesystem::is_symlink(path, ec)) {
    const auto resolved = std::filesystem::canonical(path, ec);
    if (!ec) target = resolved.string();
  }
  struct stat previous {};
  const bool hadFile = ::stat(target.c_str(), &previous) == 0 && S_ISREG(previous.st_mode);

  // O_EXCL with a random suffix never clobbers anything else in the folder.
  std::mt19937 rng(std::random_device{}());
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    tmp = target + ".tmp" + std::to_string(rng() % 1000000u);
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return errno;
  if (hadFile) (void)::fchmod(fd, previous.st_mode & 07777);

  const char* data = text.data();
  std::size_t left = text.size();
  int err = 0;
  while (left > 0) {
    const ssize_t w = ::write(fd, data, left);
    if (w < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    data += w;
    left -= static_cast<std::size_t>(w);
  }
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && std::rename(tmp.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) ::unlink(tmp.c_str());
  return err;
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace tavrin
