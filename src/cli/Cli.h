// What every vorelix-cli command shares: its options, where its output goes, how a file is opened
// and how a failure is told.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Args.h"
#include "cli/JsonOutput.h"
#include "demo/DemoCheck.h"
#include "demo/net/DemoMessages.h"
#include "platform/files/DemoFile.h"

namespace vorelix::cli {

enum ExitCode { kSuccess = 0, kRefused = 1, kUsage = 2 };

// Thrown when standard output cannot be written: the command ends there.
struct OutputFailed {
    int error;  // errno
};

// Output as UTF-8 bytes, written as it is produced. Standard error is written as well as it can be.
class Console {
  public:
    Console(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}
    void Write(std::string_view text);  // standard output; throws OutputFailed
    void Line(std::string_view text);   // standard output, a line; throws OutputFailed
    void Error(std::string_view text);  // standard error, a line

  private:
    std::FILE* out_;
    std::FILE* err_;
};

struct Context {
    const Options& options;
    Console& console;
};

// Runs a whole command line (arguments without the program's name); the exit status.
int Run(const std::vector<std::string>& args, Console& console);

// The code page of demo texts when --codepage is not given: the one the windows use.
const demo::CodePage& DefaultCodePage();

// A path from a UTF-8 argument, and back.
std::filesystem::path PathFromUtf8(const std::string& utf8);
std::string PathText(const std::filesystem::path& path);
// A name as output shows it: valid UTF-8 as it is, other bytes in the code page.
std::string DisplayName(std::string_view name, const Options& options);
// The same on one line: a line feed inside the text is shown as \n.
std::string OneLineText(std::string_view bytes, const Options& options);
// {"file": name as shown} and, when the name is not UTF-8, "file_hex" with its bytes.
Json FileObject(const std::string& argument, const Options& options);
void PutName(Json& object, const std::string& key, std::string_view name, const Options& options);

// Why a file was not read or changed: a fixed message, and the system's text when a call failed.
struct Problem {
    std::string message;
    std::string systemText;
};
// A problem from a failure: its text stays the system's only when a system call failed (it carries
// a code); the program's own reason joins the message, as ProblemText would have shown it.
Problem ProblemOf(std::string message, const Failure& failure);
// "<message> (<system text>)"; the system text is left out when empty or already ending the message.
std::string ProblemText(const Problem& problem);
// "ok": false, "error" (the message) and, when there is one, "system_error" (the system's text).
void PutProblem(Json& object, const Problem& problem);
// Tells why the one file of a command failed: on standard error, and as its JSON document.
int Refuse(const Context& context, const std::string& argument, const Problem& problem);

// The demo an argument names, mapped; nothing, with `problem` set, when it cannot be opened or is
// not a demo.
std::optional<platform::MappedDemo> OpenDemo(const std::string& argument, Problem& problem);

// {"files":[...]} written one file at a time, with --json; nothing without it.
class FileListJson {
  public:
    explicit FileListJson(const Context& context);
    void Add(const Json& file);
    // Starts a file's object that the caller then writes in pieces (one too long to hold whole):
    // the comma before it when another came first.
    void StartPieces();
    void Close();

  private:
    const Context& context_;
    bool first_ = true;
};

int RunInfo(const Context& context);
int RunPlayers(const Context& context);
int RunNicks(const Context& context);
int RunChat(const Context& context);
int RunSetNick(const Context& context);
int RunEditChat(const Context& context);
int RunDeleteChat(const Context& context);
int RunStripStatsMe(const Context& context);
int RunEvents(const Context& context);
int RunCheck(const Context& context);
int RunRepair(const Context& context);

// What the frame walk found, as info adds it: the five fields (null where not read) and their lines.
void PutWalkFields(Json& object, const Result<demo::DemoCheck>& check);
std::vector<std::string> WalkLines(const Result<demo::DemoCheck>& check);

// Seconds as JSON: the number written with the digits that give back the float the frames carry.
Json SecondsNumber(double seconds);

// How a demo's messages decoded, as events and check --messages give it: "decoded",
// "not_decoded_reason", the frame counts, "first_stop" (or null), "frames_end" (or null), "whole".
Json MessagesObject(const demo::net::DecodeOutcome& outcome);

}  // namespace vorelix::cli
