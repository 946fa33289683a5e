// Runs the built vorelix-cli as its own process and collects its exit status and output.
#pragma once

#include <string>
#include <vector>

namespace vorelix::test {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliResult RunCli(const std::vector<std::string>& args);

}  // namespace vorelix::test
