// The command line of vorelix-cli, parsed into one options record, and the help that describes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "demo/edit/TextRule.h"
#include "demo/net/Events.h"

namespace vorelix::cli {

struct Options {
    std::string command;
    std::vector<std::string> operands;    // files, positions and texts, in the order given
    std::vector<std::int64_t> positions;  // edit-chat's and delete-chat's POS operands
    bool json = false;
    bool backup = false;
    bool help = false;
    demo::TextRule textRule;  // how demo texts are shown and typed texts written (--codepage)
    std::optional<std::string> from;
    std::optional<std::string> to;
    std::optional<std::int64_t> at;
    std::optional<std::string> output;        // repair's --output
    std::vector<demo::net::EventKind> kinds;  // events' --kinds; empty: every kind
    bool messages = false;                    // check's --messages
};

struct ParsedArgs {
    Options options;
    std::string usageError;  // empty when the arguments make sense
    std::string usageLine;   // with an error: the synopsis of the command given, or of any command
};

// Parses UTF-8 arguments (without the program's name). `defaultCodePage` stands where no
// --codepage is given.
ParsedArgs ParseArgs(const std::vector<std::string>& args, const demo::CodePage& defaultCodePage);

// A 1-based position: decimal digits only, at least 1.
std::optional<std::int64_t> ParsePosition(const std::string& text);

std::string HelpText();

}  // namespace vorelix::cli
