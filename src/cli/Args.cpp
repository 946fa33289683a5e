// Parsing vorelix-cli's arguments with CLI11: options anywhere, the command and its operands as
// positionals, the first mistake on the line reported; the commands' synopses for help and usage.
#include "cli/Args.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <string_view>

namespace vorelix::cli {

namespace {

struct Command {
    std::string_view name;
    std::string_view synopsis;     // what follows "vorelix-cli "
    int minimum;                   // operands
    int maximum;                   // -1: no limit
    bool writes;                   // changes demos: --backup belongs to it
    std::string_view description;  // help lines
};

constexpr std::string_view kAnyCommand = "COMMAND FILE... [--json] [--codepage N] [--backup]";

constexpr Command kCommands[] = {
    {"info", "info FILE...", 1, -1, false,
     "map, mod, type, size and players of each demo; its\n"
     "protocols, directory, duration and frames"},
    {"players", "players FILE", 1, 1, false, "the players (the body's first 1,000,000 bytes), sorted"},
    {"nicks", "nicks FILE", 1, 1, false, "every nick in the demo with its position"},
    {"chat", "chat FILE", 1, 1, false, "every chat line with its position"},
    {"events", "events FILE... [--kinds LIST]", 1, -1, false,
     "chat, kills, round ends and players joining, leaving\n"
     "and renaming, with their times, from each demo's\n"
     "decoded messages"},
    {"set-nick", "set-nick FILE --from OLD --to NEW [--at POS] [--backup]", 1, 1, true,
     "renames the nicks shown as OLD to NEW everywhere (or only\n"
     "at POS); a shorter nick is padded with blanks, a longer one\n"
     "is refused"},
    {"edit-chat", "edit-chat FILE POS TEXT [--backup]", 3, 3, true,
     "rewrites the chat line at POS; TEXT is cut to the old length\n"
     "(never inside a character) or padded with blanks"},
    {"delete-chat", "delete-chat FILE POS... [--backup]", 2, -1, true,
     "blanks the chat lines at the positions given"},
    {"strip-statsme", "strip-statsme FILE... [--backup]", 1, -1, true, "blanks every StatsMe inscription"},
    {"check", "check FILE... [--messages]", 1, -1, false,
     "walks every frame of each demo: \"ok\", or where and why\n"
     "it breaks; --messages also decodes their messages"},
    {"repair", "repair FILE [--output OUT]", 1, 1, false,
     "writes a repaired copy of a demo whose directory is\n"
     "missing or damaged (every whole frame up to the break)\n"
     "to OUT, by default <name>.repaired.dem beside it; never\n"
     "over a file; a whole demo is left alone"},
};

const Command* CommandNamed(std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

// Thrown from option callbacks, which CLI11 runs as each option is met: what comes after a
// --help or a mistake on the line is not looked at.
struct HelpAsked {};
struct UsageError {
    std::string text;
};

// Reads a --kinds list ("chat,kill") into `kinds`; the first word that names no kind, if any.
std::optional<std::string> ReadKinds(std::string_view list, std::vector<demo::net::EventKind>& kinds) {
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        const std::string_view word = list.substr(start, end - start);
        const auto kind = demo::net::EventKindFromName(word);
        if (!kind) return std::string(word);
        kinds.push_back(*kind);
        if (end == list.size()) return std::nullopt;
        start = end + 1;
    }
}

// What the options say about the command once the whole line is read.
std::string CheckCommand(Options& options, const std::optional<std::string>& at,
                         const std::optional<std::string>& kinds) {
    if (options.command.empty()) return "no command given";
    const Command* command = CommandNamed(options.command);
    if (command == nullptr) return "unknown command " + options.command;
    const int count = static_cast<int>(options.operands.size());
    if (count < command->minimum || (command->maximum >= 0 && count > command->maximum))
        return "wrong number of arguments for " + options.command;
    const bool isSetNick = options.command == "set-nick";
    if (isSetNick && (!options.from || !options.to)) return "set-nick needs --from OLD and --to NEW";
    if (!isSetNick && (options.from || options.to || at)) return "--from, --to and --at belong to set-nick";
    if (options.output && options.command != "repair") return "--output belongs to repair";
    if (options.output && options.output->empty()) return "--output takes a file name";
    if (options.messages && options.command != "check") return "--messages belongs to check";
    if (kinds && options.command != "events") return "--kinds belongs to events";
    if (kinds) {
        if (const auto unknown = ReadKinds(*kinds, options.kinds))
            return "unknown kind \"" + *unknown + "\": --kinds takes chat, kill, round and player, " +
                   "separated by commas";
    }
    if (at) {
        options.at = ParsePosition(*at);
        if (!options.at) return "--at takes a position (1, 2, ...)";
    }
    if (options.backup && !command->writes) return "--backup belongs to the commands that change demos";
    if (options.command == "edit-chat" || options.command == "delete-chat") {
        const std::size_t last = options.command == "edit-chat" ? 2 : options.operands.size();
        for (std::size_t i = 1; i < last; ++i) {
            const auto position = ParsePosition(options.operands[i]);
            if (!position) return "POS must be a position (1, 2, ...)";
            options.positions.push_back(*position);
        }
    }
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

ParsedArgs ParseArgs(const std::vector<std::string>& args, const demo::CodePage& defaultCodePage) {
    ParsedArgs parsed;
    Options& options = parsed.options;
    options.textRule = demo::TextRule(defaultCodePage, false, "; --codepage chooses another");
    std::optional<std::string> at;
    std::optional<std::string> kinds;
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
    app.add_flag_callback("--messages", [&] { options.messages = true; })->trigger_on_parse();
    app.add_option_function<std::string>(
           "--codepage",
           [&](const std::string& name) {
               failIfUnknownBefore();
               if (name == "1251" || name == "1252") {
                   options.textRule.codePage = name == "1251" ? &demo::Windows1251() : &demo::Windows1252();
                   options.textRule.plainEntriesInUtf8 = false;
               } else if (name == "utf8" || name == "utf-8" || name == "65001") {
                   options.textRule.codePage = &defaultCodePage;
                   options.textRule.plainEntriesInUtf8 = true;
               } else {
                   throw UsageError{"--codepage takes 1251, 1252 or utf8"};
               }
           })
        ->trigger_on_parse();
    text("--from", options.from);
    text("--to", options.to);
    text("--at", at);
    text("--output", options.output);
    text("--kinds", kinds);
    std::vector<std::string> words;  // the command, then its operands
    // CLI11 reads "-5" or "---x" as positionals; before "--" they are unknown options.
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
        if (!words.empty()) {
            options.command = words.front();
            options.operands.assign(words.begin() + 1, words.end());
        }
        parsed.usageError = CheckCommand(options, at, kinds);
    } catch (const HelpAsked&) {
        options.help = true;
    } catch (const UsageError& error) {
        parsed.usageError = error.text;
    } catch (const CLI::ArgumentMismatch&) {
        // Only an option that ends the line can lack its value.
        parsed.usageError = app.remaining_size() > 0 ? "unknown option " + app.remaining().front()
                                                     : args.back() + " needs a value";
    } catch (const CLI::ParseError& error) {
        parsed.usageError = error.what();
    }
    if (!parsed.usageError.empty()) {
        const Command* command = CommandNamed(options.command);
        parsed.usageLine = "vorelix-cli " + std::string(command != nullptr ? command->synopsis : kAnyCommand);
    }
    return parsed;
}

std::string HelpText() {
    std::string help =
        "vorelix-cli: reads and edits Counter-Strike demos (.dem) in place, never changing their length,\n"
        "and repairs a cut-off demo into a new copy beside it.\n\n"
        "Usage:\n";
    constexpr std::size_t kDescriptionColumn = 34;
    for (const Command& command : kCommands) {
        std::string line = "  vorelix-cli " + std::string(command.synopsis);
        if (line.size() >= kDescriptionColumn) {
            help += line + '\n';
            line.clear();
        }
        const std::string_view description = command.description;
        for (std::size_t start = 0; start < description.size();) {
            const std::size_t end = std::min(description.find('\n', start), description.size());
            line.resize(kDescriptionColumn, ' ');
            help += line + std::string(description.substr(start, end - start)) + '\n';
            line.clear();
            start = end + 1;
        }
    }
    return help + R"(
Options:
  --json            one JSON document on standard output for every outcome; texts from a demo
                    appear twice: <field>_hex (their bytes in lower-case hex) and <field> (as
                    shown); a file name that is not UTF-8 also as file_hex
  --backup          copy the demo to "<demo>.HH-MM-SS.bak" right before it is first written
                    (never replacing a file: an existing name gets "-2", "-3"... before ".bak")
  --codepage N      1251, 1252 or utf8: the code page of demo texts that are not UTF-8; the
                    default is the system's ANSI code page on Windows (1252 where that one is
                    not a single-byte page), 1252 elsewhere; utf8 keeps the default and
                    writes text that replaces an ASCII-only text in UTF-8
  --output OUT      repair: the new file the repaired copy is written to
  --kinds LIST      events: only these kinds, separated by commas: chat, kill, round, player
  --messages        check: also decode the messages of each demo and tell whether every
                    message frame decoded
  --help            this text

Texts: a demo text that is valid UTF-8 holding non-ASCII bytes is shown as UTF-8, any other in
the code page. --from matches the nicks shown as OLD; NEW and TEXT are written the way the text
they replace is shown. A character that cannot be written so, a control character (line feed,
NUL, 0x02...) or a backslash in a nick is refused, never written as '?'.

Positions (POS) are 1-based positions in the file, as nicks and chat list them: position 1 is
the file's first byte. A chat line that continues an earlier one is written only up to its first
line feed. Demos shorter than 1,000 bytes have no nicks, chat or StatsMe inscriptions. Files
that are not demos, and ".bak" copies, are never changed.

info also tells the demo and network protocols, the directory ("ok", "missing" or "damaged"),
the duration (seconds of playback) and the frames (net messages of playback). With a directory
that is not ok, duration and frames count the playback frames that are whole, up to where the
demo breaks. Only demo protocol 5 is read past its header: for any other these fields say "not
read" (null in JSON). check and repair read the same walk.

events decodes each demo's messages a frame at a time and prints the recording (server, map,
recorder, HLTV or first-person), then a line per event as "mm:ss.ss  kind  what happened" (time
of playback), and last "Messages: " and whether every message frame was decoded, or where the
first one stopped and where the frames end early; the events before such a frame still show.
check --messages adds the same verdict to each demo's line ("ok; messages: ...").

Exit status: 0 success, 1 a file was refused or a write failed (message on standard error), or
check found a demo that is not whole or whose frames are not read, or events (or check
--messages) a demo whose messages were not all decoded, 2 usage error.
)";
}

}  // namespace vorelix::cli
