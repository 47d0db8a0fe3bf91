// quorvane-cli: the batch front end over the same core as the desktop program.
#include <cstdio>
#include <cstring>

namespace {

const char* const kUsage =
    "Usage: quorvane-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Options:\n"
    "  --help       show this help\n"
    "  --version    show the version\n";

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("quorvane-cli %s\n", QVN_VERSION_STRING);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
