// The read-only commands: info, players, nicks, chat.
#include "cli/Cli.h"
#include "demo/DemoHeader.h"
#include "demo/DemoSummary.h"
#include "demo/edit/ChatLines.h"
#include "demo/edit/Messages.h"
#include "demo/edit/NickScan.h"
#include "demo/net/RecordingRead.h"
#include "platform/files/DemoFile.h"

namespace vorelix::cli {

namespace {

void PutTextArray(Json& object, const std::string& key, const std::vector<std::string>& texts,
                  const Options& options) {
    Json& hex = object[key + "_hex"] = Json::array();
    for (const auto& text : texts) hex.push_back(Hex(text));
    Json& shown = object[key] = Json::array();
    for (const auto& text : texts) shown.push_back(demo::ShownText(text, options.textRule));
}

// A demo is known to be one here: its summary cannot fail.
demo::DemoSummary SummaryOf(const platform::MappedDemo& demo) {
    const demo::ByteView bytes = demo.Bytes();
    return demo::Summarize(bytes.first(demo::kBodyOffset),
                           bytes.subspan(demo::kBodyOffset, *demo::BodyWindowLength(bytes.size())),
                           bytes.size())
        .value();
}

// The recording's facts as info adds them: "server", "recorder", "recorded_by_hltv" (null where the
// messages did not tell) and "network_protocol_decoded" ("yes" or why not).
void PutRecordingFields(Json& object, const Result<demo::net::RecordingRead>& read, const Options& options) {
    const demo::net::Recording* recording = read && read->recording ? &*read->recording : nullptr;
    if (recording)
        PutDemoText(object, "server", recording->server, options.textRule);
    else
        object["server"] = nullptr;
    if (recording && !recording->recorderName.empty())
        PutDemoText(object, "recorder", recording->recorderName, options.textRule);
    else
        object["recorder"] = nullptr;
    object["recorded_by_hltv"] = recording ? Json(recording->hltv) : Json();
    object["network_protocol_decoded"] =
        read ? demo::net::DecodedText(read->outcome) : "not decoded (" + read.failure().systemText + ")";
}

std::vector<std::string> RecordingLines(const Result<demo::net::RecordingRead>& read,
                                        const Options& options) {
    const demo::net::Recording* recording = read && read->recording ? &*read->recording : nullptr;
    if (!recording) {
        return {"Server: not read", "Recorder: not read", "Recorded by HLTV: not read",
                "Network protocol decoded: " + (read ? demo::net::DecodedText(read->outcome)
                                                     : "not decoded (" + read.failure().systemText + ")")};
    }
    return {"Server: " + OneLineText(recording->server, options),
            "Recorder: " + (recording->recorderName.empty() ? std::string("unknown")
                                                            : OneLineText(recording->recorderName, options)),
            std::string("Recorded by HLTV: ") + (recording->hltv ? "yes" : "no"),
            "Network protocol decoded: " + demo::net::DecodedText(read->outcome)};
}

// The listing of one demo's entries (nicks, chat lines) as text or JSON: `listed` gives an entry's
// bytes as listed, `more` adds keys to its JSON object.
template <typename Entry, typename Listed, typename More>
void List(const Context& context, const std::string& argument, const std::vector<Entry>& entries,
          const char* listKey, const char* textKey, const Listed& listed, const More& more) {
    Json list = Json::array();
    for (const Entry& entry : entries) {
        if (context.options.json) {
            Json& object = list.emplace_back(Json{{"pos", entry.position}});
            PutDemoText(object, textKey, listed(entry), context.options.textRule);
            more(object, entry);
        } else {
            context.console.Line(std::to_string(entry.position) + "\t" +
                                 OneLineText(listed(entry), context.options));
        }
    }
    if (!context.options.json) return;
    Json object = FileObject(argument, context.options);
    object["ok"] = true;
    object[listKey] = std::move(list);
    context.console.Line(JsonText(object));
}

}  // namespace

int RunInfo(const Context& context) {
    const Options& options = context.options;
    FileListJson files(context);
    int status = kSuccess;
    bool first = true;
    for (const auto& argument : options.operands) {
        const std::string name = DisplayName(argument, options);
        Json file = FileObject(argument, options);
        Problem problem;
        const auto demo = OpenDemo(argument, problem);
        if (!demo) {
            status = kRefused;
            context.console.Error(name + ": " + ProblemText(problem));
            PutProblem(file, problem);
            files.Add(file);
            continue;
        }
        demo::DemoSummary summary = SummaryOf(*demo);
        demo::SpanBytes demoBytes(demo->Bytes());
        const auto recording = demo::net::ReadRecording(demoBytes);
        if (recording) demo::NoteRecording(summary, *recording);
        const auto check = platform::CheckDemoFile(PathFromUtf8(argument));
        file["ok"] = true;
        PutDemoText(file, "map", summary.map, options.textRule);
        PutDemoText(file, "mod", summary.mod, options.textRule);
        file["hltv"] = summary.hltv;
        file["size"] = summary.fileSize;
        file["size_text"] = summary.sizeText;
        PutTextArray(file, "players", summary.players, options);
        PutWalkFields(file, check);
        PutRecordingFields(file, recording, options);
        files.Add(file);
        if (!options.json) {
            if (!first) context.console.Line("");
            first = false;
            const auto shownName = DisplayName(PathText(PathFromUtf8(argument).filename()), options);
            const auto oneLine = [&](std::string_view bytes) { return OneLineText(bytes, options); };
            for (const auto& line : demo::InformationLines(shownName, summary, oneLine))
                context.console.Line(line);
            if (summary.players.empty()) {
                context.console.Line("Players are not found!");
            } else {
                context.console.Line("Players:");
                for (const auto& player : summary.players)
                    context.console.Line("  " + OneLineText(player, options));
            }
            for (const auto& line : WalkLines(check)) context.console.Line(line);
            for (const auto& line : RecordingLines(recording, options)) context.console.Line(line);
        }
    }
    files.Close();
    return status;
}

int RunPlayers(const Context& context) {
    const Options& options = context.options;
    const std::string& argument = options.operands.front();
    Problem problem;
    const auto demo = OpenDemo(argument, problem);
    if (!demo) return Refuse(context, argument, problem);
    const demo::DemoSummary summary = SummaryOf(*demo);
    if (options.json) {
        Json object = FileObject(argument, options);
        object["ok"] = true;
        PutTextArray(object, "players", summary.players, options);
        context.console.Line(JsonText(object));
    } else {
        for (const auto& player : summary.players) context.console.Line(OneLineText(player, options));
    }
    return kSuccess;
}

int RunNicks(const Context& context) {
    const std::string& argument = context.options.operands.front();
    Problem problem;
    auto demo = OpenDemo(argument, problem);
    if (!demo) return Refuse(context, argument, problem);
    auto nicks = demo::ScanNicks(demo->Bytes(), &demo.value());
    if (!nicks)
        return Refuse(context, argument, ProblemOf(std::string(demo::kOpenFailedPrefix), nicks.failure()));
    List(
        context, argument, *nicks, "nicks", "nick", [](const demo::NickEntry& nick) { return nick.nick; },
        [](Json&, const demo::NickEntry&) {});
    return kSuccess;
}

int RunChat(const Context& context) {
    const std::string& argument = context.options.operands.front();
    Problem problem;
    auto demo = OpenDemo(argument, problem);
    if (!demo) return Refuse(context, argument, problem);
    const auto lines = demo::ScanAllChat(demo->Bytes(), &demo.value());
    // A line read from the messages also gives its sender and the room its text has.
    const auto messageLine = [&](Json& object, const demo::ChatEntry& line) {
        if (line.sender.empty()) return;
        PutDemoText(object, "sender", line.sender, context.options.textRule);
        object["room"] = line.text.size();
    };
    List(context, argument, lines, "lines", "text", &demo::ListedText, messageLine);
    if (lines.empty() && !context.options.json) context.console.Line(demo::kNoChatMessage);
    return kSuccess;
}

}  // namespace vorelix::cli
