// The command line of vorelix-cli, parsed into one options record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "demo/CodePage.h"

namespace vorelix::cli {

struct Options {
    std::string command;
    std::vector<std::string> operands;  // files, positions and texts, in the order given
    bool json = false;
    bool backup = false;
    bool help = false;
    demo::CodePage codePage = demo::CodePage::Windows1252;
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<std::string> at;
};

// Parses UTF-8 arguments (without the program's name). On a usage error returns its text.
struct ParsedArgs {
    Options options;
    std::string usageError;  // empty when the arguments make sense
};
ParsedArgs ParseArgs(const std::vector<std::string>& args);

// A 1-based position: decimal digits only, at least 1.
std::optional<std::int64_t> ParsePosition(const std::string& text);

}  // namespace vorelix::cli
