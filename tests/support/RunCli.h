// Runs the built quorvane-cli with arguments and captures what it prints.
#pragma once

#include <string>
#include <vector>

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliRun RunCli(const std::vector<std::string>& args, const std::string& workingDir = {});
