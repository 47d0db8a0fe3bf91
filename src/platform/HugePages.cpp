#include "platform/HugePages.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace qvn {

namespace {

constexpr const char* kTunables = "GLIBC_TUNABLES";
constexpr const char* kHugePages = "glibc.malloc.hugetlb";

// Whether the system hands out huge pages at all ("always" or on request).
bool SystemHasHugePages() {
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    return std::getline(in, modes) && modes.find("[never]") == std::string::npos;
}

} // namespace

void UseHugePagesForTheHeap(char** argv) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 35))
    const char* current = std::getenv(kTunables);
    if ((current != nullptr && std::strstr(current, kHugePages) != nullptr) ||
        !SystemHasHugePages()) {
        return;
    }
    const std::string previous = current != nullptr ? current : "";
    const std::string setting = std::string(kHugePages) + "=1";
    const std::string value = previous.empty() ? setting : previous + ":" + setting;
    if (::setenv(kTunables, value.c_str(), 1) != 0) {
        return;
    }
    ::execv("/proc/self/exe", argv);
    // Not started again: go on as before, and leave the setting to nobody.
    if (current != nullptr) {
        ::setenv(kTunables, previous.c_str(), 1);
    } else {
        ::unsetenv(kTunables);
    }
#else
    (void)argv;
#endif
}

} // namespace qvn
