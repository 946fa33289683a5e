// The commands that change demos: set-nick, edit-chat, delete-chat (strip-statsme in its own file)
// and the way each one goes through a demo: open it, check it is a demo, plan from its bytes, let
// go of it, make the backup copy right before the first write, write, report.
#include "cli/EditCommands.h"

#include "demo/ChatEdit.h"
#include "demo/Messages.h"
#include "demo/NickEdit.h"

namespace vorelix::cli {

namespace {

bool IsBackupCopy(const std::string& argument) {
    const std::string extension = PathText(PathFromUtf8(argument).extension());
    return extension.size() == 4 && (extension[1] | 0x20) == 'b' && (extension[2] | 0x20) == 'a' &&
           (extension[3] | 0x20) == 'k';
}

Problem WriteProblem(const Failure& failure) {
    return {std::string(demo::kWriteFailedPrefix) + failure.systemText, failure.systemText};
}

// Writes the decided plan; the backup copy, when asked for, just before. A failure may come after
// the copy was made: `backup` then names it.
std::optional<Problem> Write(const Context& context, const std::filesystem::path& path,
                             const demo::WritePlan& plan, std::optional<std::filesystem::path>& backup) {
    auto outcome = platform::ApplyWritePlan(
        path, plan, context.options.backup ? platform::Backup::Yes : platform::Backup::No);
    backup = outcome.backup;
    if (!outcome.status) return WriteProblem(outcome.status.failure());
    return std::nullopt;
}

Json WrittenRuns(const demo::WritePlan& plan) {
    Json written = Json::array();
    for (const auto& run : plan.runs)
        written.push_back(Json{{"pos", run.offset + 1}, {"length", run.bytes.size()}});
    return written;
}

int RunOneEdit(const Context& context, const Planner& planner) {
    const Json object = EditDemo(context, context.options.operands.front(), planner);
    if (context.options.json) context.console.Line(JsonText(object));
    return object["ok"].get<bool>() ? kSuccess : kRefused;
}

EditDecision Refused(Problem problem) {
    EditDecision decision;
    decision.problem = std::move(problem);
    return decision;
}

// A plan written with `message`, or refused as "<refusal><the reason>.".
EditDecision Decide(Result<demo::WritePlan> plan, std::string_view refusal, std::string_view message) {
    if (!plan) return Refused({std::string(refusal) + plan.failure().systemText + ".", ""});
    EditDecision decision;
    decision.plan = std::move(*plan);
    decision.message = message;
    return decision;
}

// A chat command: refused for a demo without chat lines, else decided from them.
template <typename PlanLines>
int RunChatEdit(const Context& context, const PlanLines& planLines) {
    return RunOneEdit(context, [&](platform::MappedDemo& demo) {
        const auto lines = demo::ScanChat(demo.Bytes(), &demo);
        if (lines.empty()) return Refused({std::string(demo::kNoChatMessage), ""});
        return planLines(lines, demo.Size());
    });
}

}  // namespace

Json EditDemo(const Context& context, const std::string& argument, const Planner& planner) {
    const Options& options = context.options;
    const std::string name = DisplayName(argument, options);
    const auto path = PathFromUtf8(argument);
    Json object = FileObject(argument, options);
    std::optional<std::filesystem::path> backup;
    const auto putBackup = [&] {
        if (backup) {
            PutName(object, "backup", PathText(*backup), options);
        } else {
            object["backup"] = nullptr;
        }
    };
    const auto refuse = [&](const Problem& problem) {
        const std::string backupNote = backup ? "; backup: " + DisplayName(PathText(*backup), options) : "";
        context.console.Error(name + ": " + ProblemText(problem) + backupNote);
        PutProblem(object, problem);
        putBackup();
        return object;
    };

    if (IsBackupCopy(argument)) return refuse({"a .bak copy is never changed", ""});
    EditDecision decision;
    {
        Problem problem;
        auto demo = OpenDemo(argument, problem);
        if (!demo) return refuse(problem);
        decision = planner(*demo);
        decision.plan.lastWriteTime = demo->LastWriteTime();
    }  // the view is let go before the demo is written
    if (decision.problem) return refuse(*decision.problem);
    if (auto problem = Write(context, path, decision.plan, backup)) return refuse(*problem);

    object["ok"] = true;
    object.update(decision.details);
    object["message"] = decision.message;
    if (decision.listWritten) object["written"] = WrittenRuns(decision.plan);
    putBackup();
    if (!options.json) {
        if (backup) context.console.Line(name + ": Backup: " + DisplayName(PathText(*backup), options));
        context.console.Line(name + ": " + decision.message);
    }
    return object;
}

int RunSetNick(const Context& context) {
    const Options& options = context.options;
    return RunOneEdit(context, [&](platform::MappedDemo& demo) {
        auto nicks = demo::ScanNicks(demo.Bytes(), &demo);
        if (!nicks) return Refused({std::string(demo::kOpenFailedPrefix), nicks.failure().systemText});
        return Decide(
            demo::PlanNickEdit(*nicks, demo.Size(), *options.from, *options.to, options.at, options.textRule),
            "The nick is not changed: ", demo::kNickSavedMessage);
    });
}

int RunEditChat(const Context& context) {
    const Options& options = context.options;
    return RunChatEdit(context, [&](const std::vector<demo::ChatEntry>& lines, std::uint64_t length) {
        EditDecision decision = Decide(demo::PlanChatEdit(lines, length, options.positions.front(),
                                                          options.operands[2], options.textRule),
                                       "The message is not changed: ", demo::kMessageEditedMessage);
        // A line is blanked with delete-chat: an empty text, or the same, writes nothing.
        if (!decision.problem && decision.plan.empty())
            decision.message = "Nothing is written: the new text is empty or the same as the old one.";
        return decision;
    });
}

int RunDeleteChat(const Context& context) {
    const Options& options = context.options;
    return RunChatEdit(context, [&](const std::vector<demo::ChatEntry>& lines, std::uint64_t length) {
        return Decide(demo::PlanChatDelete(lines, length, options.positions),
                      "No message is removed: ", demo::kMessagesRemovedMessage);
    });
}

}  // namespace vorelix::cli
