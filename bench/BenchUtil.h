// Helpers shared by the benchmarks.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// Resident set size of this process in bytes (from /proc/self/statm).
std::size_t ResidentBytes();

// The path of a generated bibliography of `entries` entries (bench/gen_bib.py,
// fixed seed), made on first use; empty when that fails.
std::string GeneratedBib(int entries = 100000);

} // namespace bench
