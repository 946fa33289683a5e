// Parsing vorelix-cli's arguments.
#include "cli/Args.h"

#include <set>

namespace vorelix::cli {

namespace {

// How many operands each command takes: {minimum, maximum}; -1 for no limit.
struct Arity {
    int minimum;
    int maximum;
};

std::optional<Arity> ArityOf(const std::string& command) {
    if (command == "info" || command == "strip-statsme") return Arity{1, -1};
    if (command == "players" || command == "nicks" || command == "chat" || command == "set-nick")
        return Arity{1, 1};
    if (command == "edit-chat") return Arity{3, 3};
    if (command == "delete-chat") return Arity{1, -1};
    return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> ParsePosition(const std::string& text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1) return std::nullopt;
    return value;
}

ParsedArgs ParseArgs(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    Options& options = parsed.options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto valueOf = [&](std::optional<std::string>& target) {
            if (i + 1 >= args.size()) {
                parsed.usageError = arg + " needs a value";
                return;
            }
            target = args[++i];
        };
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                optionsEnded = true;
            } else if (arg == "--help" || arg == "-h") {
                options.help = true;
            } else if (arg == "--json") {
                options.json = true;
            } else if (arg == "--backup") {
                options.backup = true;
            } else if (arg == "--codepage") {
                std::optional<std::string> number;
                valueOf(number);
                if (!number) break;
                std::optional<demo::CodePage> page;
                if (*number == "utf8" || *number == "utf-8" || *number == "65001") {
                    page = demo::CodePage::Utf8;
                } else if (*number == "1251" || *number == "1252") {
                    page = demo::CodePageFromNumber(std::stoi(*number));
                }
                if (!page) {
                    parsed.usageError = "--codepage takes 1251, 1252 or utf8";
                    break;
                }
                options.codePage = *page;
            } else if (arg == "--from") {
                valueOf(options.from);
            } else if (arg == "--to") {
                valueOf(options.to);
            } else if (arg == "--at") {
                valueOf(options.at);
            } else {
                parsed.usageError = "unknown option " + arg;
            }
            if (!parsed.usageError.empty()) break;
            continue;
        }
        if (options.command.empty()) {
            options.command = arg;
        } else {
            options.operands.push_back(arg);
        }
    }
    if (!parsed.usageError.empty() || options.help) return parsed;
    if (options.command.empty()) {
        parsed.usageError = "no command given";
        return parsed;
    }
    const auto arity = ArityOf(options.command);
    if (!arity) {
        parsed.usageError = "unknown command " + options.command;
        return parsed;
    }
    const int count = static_cast<int>(options.operands.size());
    if (count < arity->minimum || (arity->maximum >= 0 && count > arity->maximum)) {
        parsed.usageError = "wrong number of arguments for " + options.command;
        return parsed;
    }
    const bool isSetNick = options.command == "set-nick";
    if (isSetNick && (!options.from || !options.to)) {
        parsed.usageError = "set-nick needs --from OLD and --to NEW";
    } else if (!isSetNick && (options.from || options.to || options.at)) {
        parsed.usageError = "--from, --to and --at belong to set-nick";
    } else if (options.at && !ParsePosition(*options.at)) {
        parsed.usageError = "--at takes a position (1, 2, ...)";
    }
    static const std::set<std::string> writers{"set-nick", "edit-chat", "delete-chat", "strip-statsme"};
    if (parsed.usageError.empty() && options.backup && !writers.contains(options.command)) {
        parsed.usageError = "--backup belongs to the commands that change demos";
    }
    return parsed;
}

}  // namespace vorelix::cli
