// Dispatching a vorelix-cli command line to its command.
#include "cli/Cli.h"

#include <map>

#include "demo/CodePage.h"
#include "platform/DemoFile.h"

namespace vorelix::cli {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string DisplayName(const std::string& argument, const Options& options) {
    return demo::DecodeForDisplay(argument, options.codePage);
}

std::string PathText(const std::filesystem::path& path) {
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

Result<std::optional<std::filesystem::path>> BackupIfAsked(const Context& context,
                                                           const std::filesystem::path& demoPath) {
    if (!context.options.backup) return std::optional<std::filesystem::path>();
    auto copy = platform::MakeBakCopy(demoPath);
    if (!copy) return copy.failure();
    return std::optional<std::filesystem::path>(*copy);
}

int Run(const std::vector<std::string>& args, Console& console) {
    const ParsedArgs parsed = ParseArgs(args);
    if (parsed.options.help) {
        console.out += HelpText();
        return kSuccess;
    }
    if (!parsed.usageError.empty()) {
        console.Error("vorelix-cli: " + parsed.usageError);
        console.Error("Try 'vorelix-cli --help'.");
        return kUsage;
    }
    using Command = int (*)(const Context&);
    static const std::map<std::string, Command> commands{{"info", RunInfo},
                                                         {"players", RunPlayers},
                                                         {"nicks", RunNicks},
                                                         {"chat", RunChat},
                                                         {"set-nick", RunSetNick},
                                                         {"edit-chat", RunEditChat},
                                                         {"delete-chat", RunDeleteChat},
                                                         {"strip-statsme", RunStripStatsMe}};
    const Context context{parsed.options, console};
    return commands.at(parsed.options.command)(context);
}

std::string HelpText() {
    return R"(vorelix-cli: reads and edits Counter-Strike demos (.dem) in place, never changing their length.

Usage:
  vorelix-cli info FILE...        map, mod, type, size and players of each demo
  vorelix-cli players FILE        the players (the body's first 1,000,000 bytes), sorted
  vorelix-cli nicks FILE          every nick in the demo with its position
  vorelix-cli chat FILE           every chat line with its position
  vorelix-cli set-nick FILE --from OLD --to NEW [--at POS] [--backup]
                                  renames OLD to NEW everywhere (or only at POS); a shorter nick
                                  is padded with blanks, a longer one is refused
  vorelix-cli edit-chat FILE POS TEXT [--backup]
                                  rewrites the chat line at POS; TEXT is cut to the old length or
                                  padded with blanks
  vorelix-cli delete-chat FILE POS... [--backup]
                                  blanks the chat lines at the positions given
  vorelix-cli strip-statsme FILE... [--backup]
                                  blanks every StatsMe inscription

Options:
  --json            one JSON document on standard output; texts from a demo appear twice:
                    <field>_hex (their bytes in lower-case hex) and <field> (decoded)
  --backup          copy the demo to "<demo>.HH-MM-SS.bak" first (never replacing a file: an
                    existing name gets "-2", "-3"... before ".bak")
  --codepage N      1251, 1252 (default) or utf8: how demo texts are shown and typed texts
                    written (texts that are valid UTF-8 are always shown as such)
  --help            this text

Positions (POS) are 1-based positions in the file, as nicks and chat list them: position 1 is
the file's first byte. A chat line that continues an earlier one is written only up to its first
line feed. Demos shorter than 1,000 bytes have no nicks, chat or StatsMe inscriptions.

Exit status: 0 success, 1 a demo was refused or a write failed (message on standard error),
2 usage error.
)";
}

}  // namespace vorelix::cli
