// The available memory is read at the moment of the check: other processes on a shared machine
// change it between solves.
#include "analysis/MemoryBudget.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tavrin {

namespace {

// A field of a /proc file in kB ("MemAvailable:   123456 kB"), in bytes; -1 when absent.
std::int64_t ProcField(const char* path, const char* key) {
  std::FILE* f = std::fopen(path, "r");
  if (!f) return -1;
  char line[256];
  std::int64_t value = -1;
  const size_t keyLength = std::strlen(key);
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, key, keyLength) != 0 || line[keyLength] != ':') continue;
    long long kb = 0;
    if (std::sscanf(line + keyLength + 1, "%lld", &kb) == 1)
      value = static_cast<std::int64_t>(kb) * 1024;
    break;
  }
  std::fclose(f);
  return value;
}

// What a resource limit leaves above `used`; -1 for no limit.
std::int64_t Headroom(int resource, std::int64_t used) {
  rlimit limit{};
  if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return -1;
  const auto cap = static_cast<std::int64_t>(std::min<rlim_t>(limit.rlim_cur, INT64_MAX));
  return std::max<std::int64_t>(0, cap - std::max<std::int64_t>(used, 0));
}

}  // namespace

std::int64_t AvailableMemoryBytes() {
  std::int64_t best = -1;
  auto take = [&best](std::int64_t v) {
    if (v >= 0) best = best < 0 ? v : std::min(best, v);
  };
  take(ProcField("/proc/meminfo", "MemAvailable"));
  take(Headroom(RLIMIT_AS, ProcField("/proc/self/status", "VmSize")));
  take(Headroom(RLIMIT_DATA, ProcField("/proc/self/status", "VmData")));
  return best;
}

std::string MemoryText(std::int64_t bytes) {
  char text[64];
  const double b = static_cast<double>(bytes);
  if (b >= 1e9)
    std::snprintf(text, sizeof text, "%.1f GB", b / 1e9);
  else if (b >= 1e6)
    std::snprintf(text, sizeof text, "%.0f MB", b / 1e6);
  else
    std::snprintf(text, sizeof text, "%.0f kB", std::max(1.0, b / 1e3));
  return text;
}

bool FitsInMemory(std::int64_t needed, std::int64_t limit, const char* what, std::string& message) {
  const std::int64_t available = limit > 0 ? limit : AvailableMemoryBytes();
  // Nothing could be read: let the allocation itself decide (a failure is still caught).
  if (available < 0 || needed <= available) return true;
  message = std::string(what) + " needs " + MemoryText(needed) + " of memory, and only " +
            MemoryText(available) + " is available" +
            (limit > 0 ? " under the analysis's memory limit." : ".");
  return false;
}

}  // namespace tavrin
