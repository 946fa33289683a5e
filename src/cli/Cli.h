// What every vorelix-cli command gets: its options and where its output goes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Args.h"
#include "demo/Result.h"

namespace vorelix::cli {

enum ExitCode { kSuccess = 0, kRefused = 1, kUsage = 2 };

// Output as UTF-8 bytes. Collected here and written by the caller, so tests can run commands in
// the same process and the program writes to its streams in one place.
struct Console {
    std::string out;
    std::string err;

    void Line(std::string_view text) { (out += text) += '\n'; }
    void Error(std::string_view text) { (err += text) += '\n'; }
};

struct Context {
    const Options& options;
    Console& console;
};

// Runs a whole command line (arguments without the program's name).
int Run(const std::vector<std::string>& args, Console& console);

// A path from a UTF-8 argument.
std::filesystem::path PathFromUtf8(const std::string& utf8);
// A file argument as it may appear in output: valid UTF-8 in any case.
std::string DisplayName(const std::string& argument, const Options& options);

// A path as UTF-8 text for output.
std::string PathText(const std::filesystem::path& path);
// The backup copy of a demo when --backup was given; nothing when it was not.
Result<std::optional<std::filesystem::path>> BackupIfAsked(const Context& context,
                                                           const std::filesystem::path& demoPath);

int RunInfo(const Context& context);
int RunPlayers(const Context& context);
int RunNicks(const Context& context);
int RunChat(const Context& context);
int RunSetNick(const Context& context);
int RunEditChat(const Context& context);
int RunDeleteChat(const Context& context);
int RunStripStatsMe(const Context& context);

std::string HelpText();

}  // namespace vorelix::cli
