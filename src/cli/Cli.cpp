// Dispatching a vorelix-cli command line, and what the commands share.
#include "cli/Cli.h"

#include <cerrno>
#include <cstring>
#include <map>

#include "demo/DemoHeader.h"
#include "demo/edit/Messages.h"
#include "platform/files/EditJournalFile.h"

#ifdef _WIN32
#include "platform/Text.h"
#endif

namespace vorelix::cli {

void Console::Write(std::string_view text) {
    // Flushed at once: a long run shows each file as it is done, and a full disk or closed pipe
    // ends the command now rather than after it has changed more demos.
    if (std::fwrite(text.data(), 1, text.size(), out_) != text.size() || std::fflush(out_) != 0)
        throw OutputFailed{errno};
}

void Console::Line(std::string_view text) {
    Write(std::string(text) + '\n');
}

void Console::Error(std::string_view text) {
    const std::string line = std::string(text) + '\n';
    std::fwrite(line.data(), 1, line.size(), err_);
    std::fflush(err_);
}

const demo::CodePage& DefaultCodePage() {
#ifdef _WIN32
    return platform::SystemCodePage();
#else
    return demo::Windows1252();
#endif
}

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathText(const std::filesystem::path& path) {
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string DisplayName(std::string_view name, const Options& options) {
    return demo::ShownText(name, options.textRule);
}

std::string OneLineText(std::string_view bytes, const Options& options) {
    std::string text = DisplayName(bytes, options);
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
        text.replace(at, 1, "\\n");
    }
    return text;
}

void PutName(Json& object, const std::string& key, std::string_view name, const Options& options) {
    object[key] = DisplayName(name, options);
    if (!demo::IsValidUtf8(name)) object[key + "_hex"] = Hex(name);
}

Json FileObject(const std::string& argument, const Options& options) {
    Json object = Json::object();
    PutName(object, "file", argument, options);
    return object;
}

Problem ProblemOf(std::string message, const Failure& failure) {
    const std::string& text = failure.systemText;
    if (failure.code != 0) return {std::move(message), text};
    if (text.empty() || message.ends_with(text)) return {std::move(message), ""};
    return {message + " (" + text + ")", ""};
}

std::string ProblemText(const Problem& problem) {
    const std::string& system = problem.systemText;
    if (system.empty() || problem.message.ends_with(system)) return problem.message;
    return problem.message + " (" + system + ")";
}

void PutProblem(Json& object, const Problem& problem) {
    object["ok"] = false;
    object["error"] = problem.message;
    if (!problem.systemText.empty()) object["system_error"] = problem.systemText;
}

int Refuse(const Context& context, const std::string& argument, const Problem& problem) {
    context.console.Error(DisplayName(argument, context.options) + ": " + ProblemText(problem));
    if (context.options.json) {
        Json object = FileObject(argument, context.options);
        PutProblem(object, problem);
        context.console.Line(JsonText(object));
    }
    return kRefused;
}

std::optional<platform::MappedDemo> OpenDemo(const std::string& argument, Problem& problem) {
    auto demo = platform::MappedDemo::Open(PathFromUtf8(argument));
    if (!demo) {
        problem = ProblemOf(std::string(demo::kOpenFailedPrefix), demo.failure());
        return std::nullopt;
    }
    if (!demo::IsDemo(demo->Bytes())) {
        problem = {std::string(demo::kIncorrectFormatMessage), ""};
        return std::nullopt;
    }
    return std::move(*demo);
}

FileListJson::FileListJson(const Context& context) : context_(context) {
    if (context_.options.json) context_.console.Write("{\"files\":[");
}

void FileListJson::Add(const Json& file) {
    if (!context_.options.json) return;
    StartPieces();
    context_.console.Write(JsonText(file));
}

void FileListJson::StartPieces() {
    if (!context_.options.json) return;
    if (!first_) context_.console.Write(",");
    first_ = false;
}

void FileListJson::Close() {
    if (context_.options.json) context_.console.Line("]}");
}

namespace {

// Every demo a command names is first put back as it was when an edit of it was cut off; the user
// is told on standard error, so the output a script reads stays as it is.
void RecoverInterruptedEdits(const Options& options, Console& console) {
    for (const auto& operand : options.operands) {
        const auto outcome = platform::RecoverInterruptedEdit(PathFromUtf8(operand));
        if (!outcome.text.empty()) console.Error(DisplayName(operand, options) + ": " + outcome.text);
    }
}

}  // namespace

int Run(const std::vector<std::string>& args, Console& console) {
    try {
        const ParsedArgs parsed = ParseArgs(args, DefaultCodePage());
        if (parsed.options.help) {
            console.Write(HelpText());
            return kSuccess;
        }
        if (!parsed.usageError.empty()) {
            console.Error("vorelix-cli: " + parsed.usageError);
            console.Error("Usage: " + parsed.usageLine);
            console.Error("Try 'vorelix-cli --help'.");
            return kUsage;
        }
        RecoverInterruptedEdits(parsed.options, console);
        using Command = int (*)(const Context&);
        static const std::map<std::string, Command> commands{
            {"info", RunInfo},          {"players", RunPlayers},        {"nicks", RunNicks},
            {"chat", RunChat},          {"events", RunEvents},          {"set-nick", RunSetNick},
            {"edit-chat", RunEditChat}, {"delete-chat", RunDeleteChat}, {"strip-statsme", RunStripStatsMe},
            {"check", RunCheck},        {"repair", RunRepair}};
        return commands.at(parsed.options.command)(Context{parsed.options, console});
    } catch (const OutputFailed& failed) {
        console.Error("vorelix-cli: the output cannot be written (" +
                      std::string(std::strerror(failed.error)) + ")");
        return kRefused;
    }
}

}  // namespace vorelix::cli
