// Parsing vorelix-cli's arguments with CLI11: options anywhere, the command and its operands as
// positionals, the first mistake on the line reported.
#include "cli/Args.h"

#include <CLI/CLI.hpp>
#include <set>

namespace vorelix::cli {

namespace {

// Thrown from option callbacks, which CLI11 runs as each option is met: what comes after a
// --help or a mistake on the line is not looked at.
struct HelpAsked {};
struct UsageError {
    std::string text;
};

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

std::optional<demo::CodePage> CodePageNamed(const std::string& name) {
    if (name == "utf8" || name == "utf-8" || name == "65001") return demo::CodePage::Utf8;
    if (name == "1251") return demo::CodePage::Windows1251;
    if (name == "1252") return demo::CodePage::Windows1252;
    return std::nullopt;
}

// What the options say about the command once the whole line is read.
std::string CheckCommand(const Options& options) {
    if (options.command.empty()) return "no command given";
    const auto arity = ArityOf(options.command);
    if (!arity) return "unknown command " + options.command;
    const int count = static_cast<int>(options.operands.size());
    if (count < arity->minimum || (arity->maximum >= 0 && count > arity->maximum))
        return "wrong number of arguments for " + options.command;
    const bool isSetNick = options.command == "set-nick";
    if (isSetNick && (!options.from || !options.to)) return "set-nick needs --from OLD and --to NEW";
    if (!isSetNick && (options.from || options.to || options.at))
        return "--from, --to and --at belong to set-nick";
    if (options.at && !ParsePosition(*options.at)) return "--at takes a position (1, 2, ...)";
    static const std::set<std::string> writers{"set-nick", "edit-chat", "delete-chat", "strip-statsme"};
    if (options.backup && !writers.contains(options.command))
        return "--backup belongs to the commands that change demos";
    return {};
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
    CLI::App app;
    app.set_help_flag();                     // the help text is vorelix-cli's own
    app.allow_extras();                      // unknown options are reported here, in the order they stand
    app.allow_windows_style_options(false);  // CLI11's Windows default: "/dir/a.dem" is a file here
    const auto failIfUnknownBefore = [&app] {
        if (app.remaining_size() > 0) throw UsageError{"unknown option " + app.remaining().front()};
    };
    const auto text = [&app](const std::string& name, std::optional<std::string>& target) {
        app.add_option_function<std::string>(name, [&target](const std::string& value) { target = value; })
            ->trigger_on_parse();
    };
    app.add_flag_callback("-h,--help",
                          [&] {
                              failIfUnknownBefore();
                              throw HelpAsked{};
                          })
        ->trigger_on_parse();
    app.add_flag_callback("--json", [&] { options.json = true; })->trigger_on_parse();
    app.add_flag_callback("--backup", [&] { options.backup = true; })->trigger_on_parse();
    app.add_option_function<std::string>("--codepage",
                                         [&](const std::string& name) {
                                             failIfUnknownBefore();
                                             const auto page = CodePageNamed(name);
                                             if (!page)
                                                 throw UsageError{"--codepage takes 1251, 1252 or utf8"};
                                             options.codePage = *page;
                                         })
        ->trigger_on_parse();
    text("--from", options.from);
    text("--to", options.to);
    text("--at", options.at);
    std::vector<std::string> words;  // the command, then its operands
    // CLI11 reads "-5" or "---x" as positionals; before "--" they are unknown options, as they were.
    app.validate_positionals();
    app.add_option("words", words)
        ->check(CLI::Validator(
            [&app](const std::string& word) {
                const bool afterDoubleDash = app.remaining().size() > app.remaining_size();
                return !afterDoubleDash && word.size() > 1 && word[0] == '-' ? std::string("an option")
                                                                             : std::string();
            },
            ""));

    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
    try {
        app.parse(reversed);
        failIfUnknownBefore();
    } catch (const HelpAsked&) {
        options.help = true;
        return parsed;
    } catch (const UsageError& error) {
        parsed.usageError = error.text;
        return parsed;
    } catch (const CLI::ArgumentMismatch&) {
        // Only an option that ends the line can lack its value.
        parsed.usageError = app.remaining_size() > 0 ? "unknown option " + app.remaining().front()
                                                     : args.back() + " needs a value";
        return parsed;
    } catch (const CLI::ParseError& error) {
        parsed.usageError = error.what();
        return parsed;
    }
    if (!words.empty()) {
        options.command = words.front();
        options.operands.assign(words.begin() + 1, words.end());
    }
    parsed.usageError = CheckCommand(options);
    return parsed;
}

}  // namespace vorelix::cli
