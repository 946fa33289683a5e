// The read-only commands: info, players, nicks, chat.
#include "cli/Cli.h"
#include "cli/JsonOutput.h"
#include "demo/ChatScan.h"
#include "demo/DemoSummary.h"
#include "demo/Messages.h"
#include "demo/NickScan.h"
#include "platform/DemoFile.h"

namespace vorelix::cli {

namespace {

std::string Shown(std::string_view bytes, const Options& options) {
    std::string text = demo::DecodeForDisplay(bytes, options.codePage);
    // One entry per line: a line feed inside a chat entry is shown as \n.
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
        text.replace(at, 1, "\\n");
    }
    return text;
}

void PutTextArray(Json& object, const std::string& key, const std::vector<std::string>& texts,
                  const Options& options) {
    Json& hex = object[key + "_hex"] = Json::array();
    for (const auto& text : texts) hex.push_back(Hex(text));
    Json& shown = object[key] = Json::array();
    for (const auto& text : texts) shown.push_back(demo::DecodeForDisplay(text, options.codePage));
}

std::string FormatFailure(const std::string& file, const Failure& failure) {
    std::string message = file + ": " + std::string(demo::kIncorrectFormatMessage);
    if (!failure.systemText.empty()) message += " (" + failure.systemText + ")";
    return message;
}

}  // namespace

int RunInfo(const Context& context) {
    const Options& options = context.options;
    Json files = Json::array();
    int status = kSuccess;
    bool first = true;
    for (const auto& argument : options.operands) {
        const std::string name = DisplayName(argument, options);
        const auto path = PathFromUtf8(argument);
        auto summary = platform::ReadDemoSummary(path);
        Json& file = files.emplace_back(Json{{"file", name}, {"ok", summary.ok()}});
        if (!summary) {
            status = kRefused;
            context.console.Error(FormatFailure(name, summary.failure()));
            file["error"] = demo::kIncorrectFormatMessage;
            continue;
        }
        PutDemoText(file, "map", summary->map, options.codePage);
        PutDemoText(file, "mod", summary->mod, options.codePage);
        file["hltv"] = summary->hltv;
        file["size"] = summary->fileSize;
        file["size_text"] = summary->sizeText;
        PutTextArray(file, "players", summary->players, options);
        if (!options.json) {
            if (!first) context.console.Line("");
            first = false;
            const auto fileName = path.filename().u8string();
            context.console.Line("Demo name: " + std::string(fileName.begin(), fileName.end()));
            context.console.Line("Map: " + Shown(summary->map, options));
            context.console.Line("Mod: " + Shown(summary->mod, options));
            context.console.Line("Type: " + std::string(summary->TypeText()));
            context.console.Line("Size: " + summary->sizeText);
            if (summary->players.empty()) {
                context.console.Line("Players are not found!");
            } else {
                context.console.Line("Players:");
                for (const auto& player : summary->players)
                    context.console.Line("  " + Shown(player, options));
            }
        }
    }
    if (options.json) context.console.Line(JsonText(Json{{"files", std::move(files)}}));
    return status;
}

int RunPlayers(const Context& context) {
    const Options& options = context.options;
    const std::string& argument = options.operands.front();
    auto summary = platform::ReadDemoSummary(PathFromUtf8(argument));
    if (!summary) {
        context.console.Error(FormatFailure(DisplayName(argument, options), summary.failure()));
        return kRefused;
    }
    if (options.json) {
        Json json{{"file", DisplayName(argument, options)}};
        PutTextArray(json, "players", summary->players, options);
        context.console.Line(JsonText(json));
    } else {
        for (const auto& player : summary->players) context.console.Line(Shown(player, options));
    }
    return kSuccess;
}

int RunNicks(const Context& context) {
    const Options& options = context.options;
    const std::string& argument = options.operands.front();
    auto demoFile = platform::MappedDemo::Open(PathFromUtf8(argument));
    if (!demoFile) {
        context.console.Error(std::string(demo::kOpenFailedPrefix) + demoFile.failure().systemText);
        return kRefused;
    }
    auto nicks = demo::ScanNicks(demoFile->Bytes(), &demoFile.value());
    if (!nicks) {
        context.console.Error(std::string(demo::kOpenFailedPrefix) + nicks.failure().systemText);
        return kRefused;
    }
    Json list = Json::array();
    for (const auto& entry : *nicks) {
        PutDemoText(list.emplace_back(Json{{"pos", entry.position}}), "nick", entry.nick, options.codePage);
        if (!options.json)
            context.console.Line(std::to_string(entry.position) + "\t" + Shown(entry.nick, options));
    }
    if (options.json)
        context.console.Line(
            JsonText(Json{{"file", DisplayName(argument, options)}, {"nicks", std::move(list)}}));
    return kSuccess;
}

int RunChat(const Context& context) {
    const Options& options = context.options;
    const std::string& argument = options.operands.front();
    auto demoFile = platform::MappedDemo::Open(PathFromUtf8(argument));
    if (!demoFile) {
        context.console.Error(DisplayName(argument, options) + ": " + demoFile.failure().systemText);
        return kRefused;
    }
    const auto lines = demo::ScanChat(demoFile->Bytes(), &demoFile.value());
    Json list = Json::array();
    for (const auto& line : lines) {
        PutDemoText(list.emplace_back(Json{{"pos", line.position}}), "text", line.text, options.codePage);
        if (!options.json)
            context.console.Line(std::to_string(line.position) + "\t" + Shown(line.text, options));
    }
    if (options.json) {
        context.console.Line(
            JsonText(Json{{"file", DisplayName(argument, options)}, {"lines", std::move(list)}}));
    } else if (lines.empty()) {
        context.console.Line(demo::kNoChatMessage);
    }
    return kSuccess;
}

}  // namespace vorelix::cli
