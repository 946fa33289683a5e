// check and repair, and the frame walk's fields that info adds: protocols, directory, duration, frames.
#include <charconv>

#include "cli/Cli.h"
#include "demo/edit/Messages.h"
#include "platform/files/DemoFile.h"

namespace vorelix::cli {

namespace {

// Durations are the float seconds the frames carry: written with the digits that give that float
// back, never in exponent form.
std::string SecondsText(double seconds) {
    char text[64];
    const auto end =
        std::to_chars(text, text + sizeof text, static_cast<float>(seconds), std::chars_format::fixed);
    return std::string(text, end.ptr);
}

// A check that failed says the bytes are no demo (no system call failed) or that reading failed.
Problem CheckFailure(const Failure& failure) {
    if (failure.code != 0) return ProblemOf(std::string(demo::kOpenFailedPrefix), failure);
    return ProblemOf("The demo could not be checked: " + failure.systemText, failure);
}

// check --messages: the demo's messages decoded, a chunk of the file at a time, for the outcome alone.
Result<demo::net::DecodeOutcome> DecodeMessages(const std::string& argument) {
    auto file = platform::ChunkedDemoFile::Open(PathFromUtf8(argument));
    if (!file) return file.failure();
    demo::net::MessageSink ignored;
    return demo::net::DecodeDemoMessages(*file, ignored);
}

}  // namespace

Json SecondsNumber(double seconds) {
    const std::string text = SecondsText(seconds);
    double number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

void PutWalkFields(Json& object, const Result<demo::DemoCheck>& check) {
    const bool walked = check && check->framesRead;
    object["demo_protocol"] = check ? Json(check->header.demoProtocol) : Json();
    object["network_protocol"] = check ? Json(check->header.networkProtocol) : Json();
    object["directory"] = walked ? Json(demo::DirectoryStateText(*check->directory)) : Json();
    object["duration"] = walked ? SecondsNumber(check->duration) : Json();
    object["frames"] = walked ? Json(check->frames) : Json();
}

std::vector<std::string> WalkLines(const Result<demo::DemoCheck>& check) {
    if (!check) {
        return {"Demo protocol: not read (" + check.failure().systemText + ")", "Network protocol: not read",
                "Directory: not read", "Duration: not read", "Frames: not read"};
    }
    std::vector<std::string> lines{"Demo protocol: " + std::to_string(check->header.demoProtocol),
                                   "Network protocol: " + std::to_string(check->header.networkProtocol)};
    if (!check->framesRead) {
        lines.insert(lines.end(), {"Directory: not read (" + check->problem->reason + ")",
                                   "Duration: not read", "Frames: not read"});
        return lines;
    }
    // Without a directory to trust, the figures are those of the playback frames that are whole.
    const std::string partly = check->Whole() ? "" : " (as far as the frames are whole)";
    lines.push_back("Directory: " + std::string(demo::DirectoryStateText(*check->directory)) +
                    (check->Whole() ? "" : "; " + check->directoryProblem));
    lines.push_back("Duration: " + SecondsText(check->duration) + " s" + partly);
    lines.push_back("Frames: " + std::to_string(check->frames) + partly);
    return lines;
}

int RunCheck(const Context& context) {
    const Options& options = context.options;
    FileListJson files(context);
    int status = kSuccess;
    for (const auto& argument : options.operands) {
        Json file = FileObject(argument, options);
        const auto check = platform::CheckDemoFile(PathFromUtf8(argument));
        if (!check) {
            status = kRefused;
            const Problem problem = CheckFailure(check.failure());
            context.console.Error(DisplayName(argument, options) + ": " + ProblemText(problem));
            PutProblem(file, problem);
            files.Add(file);
            continue;
        }
        // A demo whose frames are not read is not known to be whole: it does not pass, and "whole"
        // stays null.
        const bool whole = check->Whole();
        if (!whole) status = kRefused;
        const std::string verdict = whole               ? "ok"
                                    : check->framesRead ? demo::DescribeBreak(*check->problem)
                                                        : "not checked: " + check->problem->reason;
        // A time out of order in sound frames is told, but does not fail the check.
        const std::string finding = check->timeFinding ? demo::DescribeBreak(*check->timeFinding) : "";
        file["ok"] = true;
        file["whole"] = check->framesRead ? Json(whole) : Json();
        PutWalkFields(file, check);
        file["problem"] = whole ? Json() : Json(verdict);
        if (!finding.empty()) file["findings"] = Json::array({finding});
        std::string messages;
        if (options.messages) {
            const auto outcome = DecodeMessages(argument);
            if (!outcome || !outcome->Whole()) status = kRefused;
            messages = "; messages: " + (outcome ? demo::net::DescribeOutcome(*outcome)
                                                 : "not read (" + outcome.failure().systemText + ")");
            file["messages"] = outcome ? MessagesObject(*outcome) : Json();
        }
        files.Add(file);
        if (!options.json)
            context.console.Line(DisplayName(argument, options) + ": " + verdict +
                                 (finding.empty() ? "" : "; finding: " + finding) + messages);
    }
    files.Close();
    return status;
}

int RunRepair(const Context& context) {
    const Options& options = context.options;
    const std::string& argument = options.operands.front();
    const std::filesystem::path demo = PathFromUtf8(argument);
    // Opened first so that a failed call below is about the demo's bytes or about the new file.
    if (auto opened = platform::ChunkedDemoFile::Open(demo); !opened)
        return Refuse(context, argument, ProblemOf(std::string(demo::kOpenFailedPrefix), opened.failure()));
    const std::filesystem::path output =
        options.output ? PathFromUtf8(*options.output) : demo::RepairedDemoPath(demo);
    const std::string outputName = DisplayName(PathText(output), options);
    const auto outcome = platform::RepairDemoFile(demo, output);
    if (!outcome) {
        const std::string& reason = outcome.failure().systemText;
        const std::string what = outcome.failure().code == 0
                                     ? "The demo could not be repaired: "
                                     : "The demo could not be repaired into " + outputName + ": ";
        return Refuse(context, argument, ProblemOf(what + reason, outcome.failure()));
    }
    Json object = FileObject(argument, options);
    object["ok"] = true;
    object["whole"] = outcome->answer.Whole();
    if (outcome->answer.Whole()) {
        object["output"] = nullptr;
        object["duration"] = nullptr;
        object["frames"] = nullptr;
        object["message"] = "The demo is whole: there is nothing to repair, and nothing was written.";
    } else {
        const demo::RepairPlan& plan = *outcome->answer.plan;
        PutName(object, "output", PathText(outcome->output), options);
        object["duration"] = SecondsNumber(plan.duration);
        object["frames"] = plan.frames;
        object["message"] = "The repaired copy " + outputName + " keeps " + SecondsText(plan.duration) +
                            " s of playback, " + std::to_string(plan.frames) + " frames." +
                            (plan.sizeStop ? " " + demo::DescribeSizeStop(plan) : "");
    }
    if (options.json)
        context.console.Line(JsonText(object));
    else
        context.console.Line(DisplayName(argument, options) + ": " + object["message"].get<std::string>());
    return kSuccess;
}

}  // namespace vorelix::cli
