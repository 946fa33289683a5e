// The read-only commands: info, players, nicks, chat.
#include "cli/Cli.h"
#include "cli/Json.h"
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

void WriteTextArray(JsonWriter& json, std::string_view key, const std::vector<std::string>& texts,
                    const Options& options) {
    json.Key(std::string(key) + "_hex").BeginArray();
    for (const auto& text : texts) json.String(Hex(text));
    json.EndArray();
    json.Key(key).BeginArray();
    for (const auto& text : texts) json.String(demo::DecodeForDisplay(text, options.codePage));
    json.EndArray();
}

std::string FormatFailure(const std::string& file, const Failure& failure) {
    std::string message = file + ": " + std::string(demo::kIncorrectFormatMessage);
    if (!failure.systemText.empty()) message += " (" + failure.systemText + ")";
    return message;
}

}  // namespace

int RunInfo(const Context& context) {
    const Options& options = context.options;
    JsonWriter json;
    json.BeginObject().Key("files").BeginArray();
    int status = kSuccess;
    bool first = true;
    for (const auto& argument : options.operands) {
        const std::string name = DisplayName(argument, options);
        const auto path = PathFromUtf8(argument);
        auto summary = platform::ReadDemoSummary(path);
        json.BeginObject().Key("file").String(name).Key("ok").Bool(summary.ok());
        if (!summary) {
            status = kRefused;
            context.console.Error(FormatFailure(name, summary.failure()));
            json.Key("error").String(demo::kIncorrectFormatMessage).EndObject();
            continue;
        }
        json.DemoText("map", summary->map, options.codePage)
            .DemoText("mod", summary->mod, options.codePage)
            .Key("hltv")
            .Bool(summary->hltv)
            .Key("size")
            .Unsigned(summary->fileSize)
            .Key("size_text")
            .String(summary->sizeText);
        WriteTextArray(json, "players", summary->players, options);
        json.EndObject();
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
    json.EndArray().EndObject();
    if (options.json) context.console.Line(json.Text());
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
        JsonWriter json;
        json.BeginObject().Key("file").String(DisplayName(argument, options));
        WriteTextArray(json, "players", summary->players, options);
        context.console.Line(json.EndObject().Text());
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
    JsonWriter json;
    json.BeginObject().Key("file").String(DisplayName(argument, options)).Key("nicks").BeginArray();
    for (const auto& entry : *nicks) {
        json.BeginObject()
            .Key("pos")
            .Number(entry.position)
            .DemoText("nick", entry.nick, options.codePage)
            .EndObject();
        if (!options.json)
            context.console.Line(std::to_string(entry.position) + "\t" + Shown(entry.nick, options));
    }
    if (options.json) context.console.Line(json.EndArray().EndObject().Text());
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
    JsonWriter json;
    json.BeginObject().Key("file").String(DisplayName(argument, options)).Key("lines").BeginArray();
    for (const auto& line : lines) {
        json.BeginObject()
            .Key("pos")
            .Number(line.position)
            .DemoText("text", line.text, options.codePage)
            .EndObject();
        if (!options.json)
            context.console.Line(std::to_string(line.position) + "\t" + Shown(line.text, options));
    }
    if (options.json) {
        context.console.Line(json.EndArray().EndObject().Text());
    } else if (lines.empty()) {
        context.console.Line(demo::kNoChatMessage);
    }
    return kSuccess;
}

}  // namespace vorelix::cli
