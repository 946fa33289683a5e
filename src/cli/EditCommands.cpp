// The commands that rename nicks and edit or blank chat lines: set-nick, edit-chat, delete-chat.
// Each scans the demo, lets go of it, makes the backup copy when asked, then applies its plan.
#include <optional>

#include "cli/Cli.h"
#include "cli/JsonOutput.h"
#include "demo/ChatEdit.h"
#include "demo/Messages.h"
#include "demo/NickEdit.h"
#include "platform/DemoFile.h"

namespace vorelix::cli {

namespace {

int WriteFailed(const Context& context, const Failure& failure) {
    context.console.Error(std::string(demo::kWriteFailedPrefix) + failure.systemText);
    return kRefused;
}

int Refused(const Context& context, const std::string& message) {
    context.console.Error(message);
    return kRefused;
}

Result<std::string> Typed(const Context& context, const std::string& utf8) {
    return demo::EncodeTyped(utf8, context.options.codePage);
}

// Backup, write and report one plan; `message` is the success text.
int BackupAndApply(const Context& context, const std::string& argument, const demo::WritePlan& plan,
                   std::string_view message) {
    const auto path = PathFromUtf8(argument);
    auto backup = BackupIfAsked(context, path);
    if (!backup) return WriteFailed(context, backup.failure());
    if (auto written = platform::ApplyWritePlan(path, plan); !written)
        return WriteFailed(context, written.failure());
    if (context.options.json) {
        Json written = Json::array();
        for (const auto& run : plan.runs)
            written.push_back(Json{{"pos", run.offset + 1}, {"length", run.bytes.size()}});
        context.console.Line(JsonText(Json{{"file", DisplayName(argument, context.options)},
                                           {"ok", true},
                                           {"message", message},
                                           {"written", std::move(written)},
                                           {"backup", *backup ? Json(PathText(**backup)) : Json()}}));
    } else {
        if (*backup) context.console.Line("Backup: " + PathText(**backup));
        context.console.Line(message);
    }
    return kSuccess;
}

}  // namespace

int RunSetNick(const Context& context) {
    const Options& options = context.options;
    const std::string& argument = options.operands.front();
    auto oldNick = Typed(context, *options.from);
    auto newNick = Typed(context, *options.to);
    if (!oldNick) return Refused(context, "--from: " + oldNick.failure().systemText);
    if (!newNick) return Refused(context, "--to: " + newNick.failure().systemText);
    const std::optional<std::int64_t> at = options.at ? ParsePosition(*options.at) : std::nullopt;

    demo::WritePlan plan;
    {
        auto demoFile = platform::MappedDemo::Open(PathFromUtf8(argument));
        if (!demoFile)
            return Refused(context, std::string(demo::kOpenFailedPrefix) + demoFile.failure().systemText);
        auto nicks = demo::ScanNicks(demoFile->Bytes(), &demoFile.value());
        if (!nicks)
            return Refused(context, std::string(demo::kOpenFailedPrefix) + nicks.failure().systemText);
        auto planned = demo::PlanNickEdit(*nicks, demoFile->Size(), *oldNick, *newNick, at);
        if (!planned)
            return Refused(context, "The nick is not changed: " + planned.failure().systemText + ".");
        plan = std::move(*planned);
    }
    return BackupAndApply(context, argument, plan, demo::kNickSavedMessage);
}

int RunEditChat(const Context& context) {
    const Options& options = context.options;
    const std::string& argument = options.operands[0];
    const auto position = ParsePosition(options.operands[1]);
    if (!position) {
        context.console.Error("vorelix-cli: POS must be a position (1, 2, ...)");
        return kUsage;
    }
    auto text = Typed(context, options.operands[2]);
    if (!text) return Refused(context, "TEXT: " + text.failure().systemText);

    demo::WritePlan plan;
    {
        auto demoFile = platform::MappedDemo::Open(PathFromUtf8(argument));
        if (!demoFile) return WriteFailed(context, demoFile.failure());
        const auto lines = demo::ScanChat(demoFile->Bytes(), &demoFile.value());
        if (lines.empty()) return Refused(context, std::string(demo::kNoChatMessage));
        auto planned = demo::PlanChatEdit(lines, demoFile->Size(), *position, *text);
        if (!planned)
            return Refused(context, "The message is not changed: " + planned.failure().systemText + ".");
        plan = std::move(*planned);
    }
    if (plan.empty()) {
        // The same text, or none: nothing to write (a line is blanked with delete-chat).
        context.console.Line("Nothing is written: the new text is empty or the same as the old one.");
        return kSuccess;
    }
    return BackupAndApply(context, argument, plan, demo::kMessageEditedMessage);
}

int RunDeleteChat(const Context& context) {
    const Options& options = context.options;
    const std::string& argument = options.operands[0];
    if (options.operands.size() < 2) {
        context.console.Error("And why messages for removal are not selected? What to delete?");
        return kUsage;
    }
    std::vector<std::int64_t> positions;
    for (std::size_t i = 1; i < options.operands.size(); ++i) {
        const auto position = ParsePosition(options.operands[i]);
        if (!position) {
            context.console.Error("vorelix-cli: POS must be a position (1, 2, ...)");
            return kUsage;
        }
        positions.push_back(*position);
    }
    demo::WritePlan plan;
    {
        auto demoFile = platform::MappedDemo::Open(PathFromUtf8(argument));
        if (!demoFile) return WriteFailed(context, demoFile.failure());
        const auto lines = demo::ScanChat(demoFile->Bytes(), &demoFile.value());
        if (lines.empty()) return Refused(context, std::string(demo::kNoChatMessage));
        auto planned = demo::PlanChatDelete(lines, demoFile->Size(), positions);
        if (!planned) return Refused(context, "No message is removed: " + planned.failure().systemText + ".");
        plan = std::move(*planned);
    }
    return BackupAndApply(context, argument, plan, demo::kMessagesRemovedMessage);
}

}  // namespace vorelix::cli
