// quorvane-cli: the batch front end over the same core as the desktop program.
#include "cli/Cli.h"
#include "platform/HugePages.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace cli {

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

bool ParsedArgs::Has(std::string_view name) const {
    return std::any_of(options.begin(), options.end(),
                       [&](const auto& o) { return o.first == name; });
}

const std::string* ParsedArgs::Value(std::string_view name) const {
    for (const auto& [n, v] : options) {
        if (n == name) {
            return &v;
        }
    }
    return nullptr;
}

ParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                     const std::vector<std::string>& withValue) {
    ParsedArgs parsed;
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (onlyPositional || a.size() < 3 || a.compare(0, 2, "--") != 0) {
            if (a == "--") {
                onlyPositional = true;
                continue;
            }
            parsed.positional.push_back(a);
            continue;
        }
        std::string name = a.substr(2);
        std::string value;
        const std::size_t eq = name.find('=');
        const bool inlineValue = eq != std::string::npos;
        if (inlineValue) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (std::find(withValue.begin(), withValue.end(), name) != withValue.end()) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) {
                    parsed.error = "option --" + name + " needs a value";
                    return parsed;
                }
                value = args[++i];
            }
            parsed.options.emplace_back(name, value);
        } else if (std::find(flags.begin(), flags.end(), name) != flags.end() && !inlineValue) {
            parsed.options.emplace_back(name, std::string());
        } else {
            parsed.error = "unknown option --" + name;
            return parsed;
        }
    }
    return parsed;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "quorvane-cli: %s\nTry 'quorvane-cli --help'.\n", message.c_str());
    return kExitCannotRun;
}

} // namespace cli

namespace {

void PrintHelp(std::FILE* out) {
    std::fputs("Usage: quorvane-cli COMMAND [ARGUMENTS]\n\n"
               "Quorvane's batch front end: reads .bib files and works on Quorvane\n"
               "projects (.qvp) with the same rules as the desktop program.\n\n"
               "Commands:\n",
               out);
    std::vector<cli::Command> sorted = cli::Commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const cli::Command& c : sorted) {
        std::fprintf(out, "  %s\n      %s\n", c.synopsis.c_str(), c.summary.c_str());
    }
    std::fputs("\nOptions:\n"
               "  --help       show this help\n"
               "  --version    show the version\n\n"
               "Commands that change a project take its lock while they run and\n"
               "leave a project alone that Quorvane holds open (exit status 2);\n"
               "--force changes it anyway. Each save keeps the previous project\n"
               "file as PROJECT.qvp.bak.\n\n"
               "Results go to standard output, messages to standard error.\n"
               "Exit status: 0 success, 1 the command ran but found problems,\n"
               "2 the command could not run.\n",
               out);
}

} // namespace

int main(int argc, char** argv) {
    qvn::UseHugePagesForTheHeap(argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(stderr);
        return cli::kExitCannotRun;
    }
    if (args[0] == "--version") {
        std::printf("quorvane-cli %s\n", QVN_VERSION_STRING);
        return cli::kExitOk;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(stdout);
        return cli::kExitOk;
    }
    // Two-word commands ("string add") are matched before one-word ones.
    const auto& commands = cli::Commands();
    const cli::Command* best = nullptr;
    std::size_t words = 0;
    for (const cli::Command& c : commands) {
        const std::size_t space = c.name.find(' ');
        if (space == std::string::npos) {
            if (c.name == args[0] && words < 1) {
                best = &c, words = 1;
            }
        } else if (args.size() >= 2 && c.name == args[0] + " " + args[1]) {
            best = &c, words = 2;
        }
    }
    if (best == nullptr) {
        return cli::UsageError("unknown command '" + args[0] + "'");
    }
    args.erase(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(words));
    try {
        return best->run(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quorvane-cli: %s\n", e.what());
        return cli::kExitCannotRun;
    }
}
