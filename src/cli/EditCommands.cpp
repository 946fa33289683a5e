// The commands that change demos: set-nick, edit-chat, delete-chat (strip-statsme in its own file)
// and the way each one goes through a demo: open it, check it is a demo, plan from its bytes, let
// go of it, make the backup copy right before the first write, write, report.
#include "cli/EditCommands.h"

#include <algorithm>

#include "demo/edit/ChatEdit.h"
#include "demo/edit/ChatLines.h"
#include "demo/edit/Messages.h"
#include "demo/edit/NickEdit.h"

namespace vorelix::cli {

namespace {

bool IsBackupCopy(const std::string& argument) {
    const std::string extension = PathText(PathFromUtf8(argument).extension());
    return extension.size() == 4 && (extension[1] | 0x20) == 'b' && (extension[2] | 0x20) == 'a' &&
           (extension[3] | 0x20) == 'k';
}

Problem WriteProblem(const Failure& failure) {
    return ProblemOf(std::string(demo::kWriteFailedPrefix) + failure.systemText, failure);
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

// An edit written with `message`, or refused as "<refusal><the reason>.".
template <typename Entries>
EditDecision Decide(Result<demo::EntryEdit> edit, const Entries& entries, std::string_view refusal,
                    std::string_view message) {
    if (!edit) return Refused({std::string(refusal) + edit.failure().systemText + ".", ""});
    EditDecision decision;
    decision.plan = std::move(edit->plan);
    decision.message = message;
    for (auto& [index, reason] : edit->leftOut)
        decision.leftOut.emplace_back(entries[index].position, reason);
    return decision;
}

// The first chat line starting at a 1-based position (two share one when the later spans two lines).
std::optional<std::size_t> LineAt(const std::vector<demo::ChatEntry>& lines, std::int64_t position) {
    const auto it = std::find_if(lines.begin(), lines.end(),
                                 [&](const demo::ChatEntry& line) { return line.position == position; });
    if (it == lines.end()) return std::nullopt;
    return static_cast<std::size_t>(it - lines.begin());
}

std::string NoLineAt(std::int64_t position) {
    return "no chat message starts at position " + std::to_string(position) + ".";
}

// A chat command: refused for a demo without chat lines, else decided from them.
template <typename PlanLines>
int RunChatEdit(const Context& context, const PlanLines& planLines) {
    return RunOneEdit(context, [&](platform::MappedDemo& demo) {
        const auto lines = demo::ScanAllChat(demo.Bytes(), &demo);
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
    if (!decision.leftOut.empty()) {
        object["left_out"] = Json::array();
        for (const auto& [position, reason] : decision.leftOut)
            object["left_out"].push_back(Json{{"pos", position}, {"reason", reason}});
    }
    putBackup();
    if (!options.json) {
        if (backup) context.console.Line(name + ": Backup: " + DisplayName(PathText(*backup), options));
        context.console.Line(name + ": " + decision.message);
        for (const auto& [position, reason] : decision.leftOut)
            context.console.Line(name + ": Left out at " + std::to_string(position) + ": " + reason + ".");
    }
    return object;
}

int RunSetNick(const Context& context) {
    const Options& options = context.options;
    return RunOneEdit(context, [&](platform::MappedDemo& demo) {
        auto scanned = demo::ScanNicks(demo.Bytes(), &demo);
        if (!scanned) return Refused(ProblemOf(std::string(demo::kOpenFailedPrefix), scanned.failure()));
        const auto nicks = demo::HeldNicks(std::move(*scanned));
        // The entry at --at, or the first shown as --from, as if picked in the window's list; without
        // --at, the others shown alike as with "All similar".
        const auto chosen = std::find_if(nicks.begin(), nicks.end(), [&](const demo::HeldNick& nick) {
            return options.at ? nick.position == *options.at
                              : demo::ShownText(nick.bytes, options.textRule) == *options.from;
        });
        const std::string at = options.at ? std::to_string(*options.at) : "";
        std::string missing;
        if (chosen == nicks.end()) {
            missing = options.at ? "no nick starts at position " + at : "no such nick in the demo";
        } else if (options.at && demo::ShownText(chosen->bytes, options.textRule) != *options.from) {
            missing = "the nick at position " + at + " is not the one given";
        }
        if (!missing.empty()) return Refused({"The nick is not changed: " + missing + ".", ""});
        return Decide(demo::PlanNickRename(nicks, static_cast<std::size_t>(chosen - nicks.begin()),
                                           !options.at, *options.to, demo.Size(), options.textRule),
                      nicks, "The nick is not changed: ", demo::kNickSavedMessage);
    });
}

int RunEditChat(const Context& context) {
    const Options& options = context.options;
    return RunChatEdit(context, [&](const std::vector<demo::ChatEntry>& lines, std::uint64_t length) {
        const auto index = LineAt(lines, options.positions.front());
        if (!index)
            return Refused({"The message is not changed: " + NoLineAt(options.positions.front()), ""});
        EditDecision decision =
            Decide(demo::PlanChatEdit(lines, *index, options.operands[2], length, options.textRule), lines,
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
        std::vector<std::size_t> indexes;
        for (std::int64_t position : options.positions) {
            const auto index = LineAt(lines, position);
            if (!index) return Refused({"No message is removed: " + NoLineAt(position), ""});
            indexes.push_back(*index);
        }
        return Decide(Result<demo::EntryEdit>(demo::PlanChatDelete(lines, indexes, length)), lines,
                      "No message is removed: ", demo::kMessagesRemovedMessage);
    });
}

}  // namespace vorelix::cli
