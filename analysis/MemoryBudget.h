// MemoryBudget: how much memory a large allocation may still take, known before it is made, so
// that a factor that would not fit is refused with its size instead of the process being killed
// by the system or ending on std::bad_alloc.
#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

// Bytes this process can still allocate: the smallest of the system's available memory
// (MemAvailable of /proc/meminfo) and what the address-space and data-segment limits
// (RLIMIT_AS, RLIMIT_DATA) leave above the current use. -1 when none of them can be read.
std::int64_t AvailableMemoryBytes();

// Checks `needed` bytes against `limit` when it is positive, else against AvailableMemoryBytes.
// Returns true when they fit; otherwise false with a one-line `message` naming both figures,
// beginning with `what` (for example "The factor of the stiffness matrix").
bool FitsInMemory(std::int64_t needed, std::int64_t limit, const char* what, std::string& message);

// "512 MB", "3.2 GB": a size for a message, in decimal units.
std::string MemoryText(std::int64_t bytes);

}  // namespace tavrin
