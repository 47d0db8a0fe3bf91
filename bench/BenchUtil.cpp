#include "BenchUtil.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace bench {

std::size_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

std::string GeneratedBib(int entries) {
    const std::string path =
        std::string(QVN_BENCH_DATA_DIR) + "/generated-" + std::to_string(entries) + ".bib";
    if (std::filesystem::exists(path)) {
        return path;
    }
    std::filesystem::create_directories(QVN_BENCH_DATA_DIR);
    const std::string script =
        (std::filesystem::path(__FILE__).parent_path() / "gen_bib.py").string();
    const std::string command = "python3 '" + script + "' -n " + std::to_string(entries) + " '" +
                                path + ".tmp' && mv '" + path + ".tmp' '" + path + "'";
    std::fprintf(stderr, "Generating %s ...\n", path.c_str());
    return std::system(command.c_str()) == 0 ? path : std::string();
}

} // namespace bench
