// Helpers shared by the benchmarks.
#pragma once

#include <cstddef>

namespace bench {

// Resident set size of this process in bytes (from /proc/self/statm).
std::size_t ResidentBytes();

} // namespace bench
