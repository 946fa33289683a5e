// events: what happened in each demo (chat, kills, round ends, players), written as its messages are
// decoded; and the JSON of how a demo's messages decoded, which check --messages shares.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cli/Cli.h"
#include "demo/DemoHeader.h"
#include "demo/edit/Messages.h"
#include "demo/net/EventRows.h"
#include "demo/net/Events.h"
#include "platform/files/DemoFile.h"

namespace vorelix::cli {

namespace {

namespace net = demo::net;

// A name the recording does not know (the server's, the world's, a player whose info never came)
// is empty: null, without its _hex.
void PutNameText(Json& object, const std::string& key, std::string_view name, const Options& options) {
    if (name.empty())
        object[key] = nullptr;
    else
        PutDemoText(object, key, name, options.textRule);
}

Json Optional(const std::optional<int>& value) {
    return value ? Json(*value) : Json();
}

Json TextOrNull(const std::string& text) {
    return text.empty() ? Json() : Json(text);
}

Json RecordingObject(const net::Recording& recording, const Options& options) {
    Json object = Json::object();
    PutDemoText(object, "server", recording.server, options.textRule);
    PutDemoText(object, "map", recording.map, options.textRule);
    PutDemoText(object, "game_folder", recording.gameFolder, options.textRule);
    object["max_players"] = recording.maxPlayers;
    object["recorder_slot"] = recording.recorderSlot > 0 ? Json(recording.recorderSlot) : Json();
    PutNameText(object, "recorder", recording.recorderName, options);
    object["hltv"] = recording.hltv;
    object["game_build"] = Optional(recording.gameBuild);
    Json players = Json::array();
    for (const net::PlayerFacts& player : recording.players) {
        Json entry{{"slot", player.slot}, {"user_id", player.userId}};
        PutNameText(entry, "name", player.name, options);
        entry["steam_id"] = TextOrNull(player.steamId);
        entry["proxy"] = player.proxy;
        players.push_back(std::move(entry));
    }
    object["players"] = std::move(players);
    return object;
}

Json EventObject(const net::Event& event, const Options& options) {
    Json object{{"time", SecondsNumber(event.time)}, {"kind", std::string(net::EventKindName(event.Kind()))}};
    if (const auto* chat = std::get_if<net::ChatEvent>(&event.what)) {
        object["slot"] = chat->slot;
        PutNameText(object, "name", chat->name, options);
        object["channel"] = std::string(net::ChatChannelName(chat->channel));
        object["dead"] = chat->dead;
        object["token"] = chat->token.empty() ? Json() : Json(DisplayName(chat->token, options));
        object["text_hex"] = Hex(chat->text);
        object["text"] = DisplayName(net::ShownChatText(chat->text), options);
        object["pos"] = chat->place.offset + 1;
        object["room"] = chat->place.room;
    } else if (const auto* kill = std::get_if<net::KillEvent>(&event.what)) {
        object["killer"] = kill->killer;
        PutNameText(object, "killer_name", kill->killerName, options);
        object["victim"] = kill->victim;
        PutNameText(object, "victim_name", kill->victimName, options);
        object["weapon"] = DisplayName(kill->weapon, options);
        object["headshot"] = kill->headshot;
    } else if (const auto* round = std::get_if<net::RoundEvent>(&event.what)) {
        object["outcome"] = std::string(net::RoundOutcomeName(round->outcome));
        object["text"] = std::string(net::RoundOutcomeText(round->outcome));
        object["terrorist_score"] = Optional(round->terroristScore);
        object["ct_score"] = Optional(round->ctScore);
    } else {
        const auto& player = std::get<net::PlayerEvent>(event.what);
        object["action"] = std::string(net::PlayerActionName(player.action));
        object["slot"] = player.slot;
        PutNameText(object, "name", player.name, options);
        if (player.action == net::PlayerAction::Renamed)
            PutNameText(object, "old_name", player.oldName, options);
        object["steam_id"] = TextOrNull(player.steamId);
    }
    return object;
}

// The demo an argument names, read a chunk at a time whatever its size; nothing, with `problem` set
// as OpenDemo sets it, when it cannot be opened or is not a demo.
std::optional<platform::ChunkedDemoFile> OpenChunkedDemo(const std::string& argument, Problem& problem) {
    auto file = platform::ChunkedDemoFile::Open(PathFromUtf8(argument));
    if (!file) {
        problem = ProblemOf(std::string(demo::kOpenFailedPrefix), file.failure());
        return std::nullopt;
    }
    // The rule OpenDemo applies to a whole file, on as many of its first bytes as it looks at.
    const std::uint64_t looked = std::min<std::uint64_t>(file->Size(), demo::kShortestDemo);
    const auto head = file->At(0, looked);
    if (!head) {
        problem = ProblemOf(std::string(demo::kOpenFailedPrefix), head.failure());
        return std::nullopt;
    }
    if (!demo::IsDemo(head->first(looked))) {
        problem = {std::string(demo::kIncorrectFormatMessage), ""};
        return std::nullopt;
    }
    return std::move(*file);
}

// A decode that failed: reading failed, or the header is too short for the frames to start.
Problem ReadFailure(const Failure& failure) {
    if (failure.code != 0) return ProblemOf(std::string(demo::kOpenFailedPrefix), failure);
    return ProblemOf("The demo's messages could not be read: " + failure.systemText, failure);
}

// Writes one demo's recording and events as they come: lines, or the file's JSON object in pieces
// (its opening with the recording, each event, then its closing), so that no demo's events are held.
class EventWriter final : public net::EventSink {
  public:
    // `listed` counts the demos whose listing has begun, across the command.
    EventWriter(const Context& context, FileListJson& files, const std::string& argument, int& listed)
        : context_(context), files_(files), argument_(argument), listed_(listed) {
        show_ = [this](std::string_view bytes) { return OneLineText(bytes, context_.options); };
    }

    void OnRecording(const net::Recording& recording) override { Open(&recording); }

    // Starts the demo's listing: its heading and recording line, or its JSON object up to its events.
    // A demo whose messages are not decoded has no recording to tell.
    void Open(const net::Recording* recording) {
        begun_ = true;
        if (!context_.options.json) {
            // Several demos' listings are told apart by a heading and a blank line between them.
            if (context_.options.operands.size() > 1) {
                if (listed_ > 0) context_.console.Line("");
                context_.console.Line(DisplayName(argument_, context_.options) + ":");
            }
            ++listed_;
            context_.console.Line("Recording: " + (recording != nullptr
                                                       ? net::DescribeRecording(*recording, show_)
                                                       : std::string("not known")));
            return;
        }
        Json file = FileObject(argument_, context_.options);
        file["ok"] = true;
        file["recording"] = recording != nullptr ? RecordingObject(*recording, context_.options) : Json();
        std::string opening = JsonText(file);
        opening.pop_back();  // the object stays open for its events
        files_.StartPieces();
        context_.console.Write(opening + ",\"events\":[");
    }

    void OnEvent(const net::Event& event) override {
        const auto& kinds = context_.options.kinds;
        if (!kinds.empty() && std::find(kinds.begin(), kinds.end(), event.Kind()) == kinds.end()) return;
        if (!context_.options.json) {
            context_.console.Line(net::ClockText(event.time) + "  " +
                                  std::string(net::EventKindName(event.Kind())) + "  " +
                                  net::DescribeEvent(event, show_));
            return;
        }
        context_.console.Write((firstEvent_ ? "" : ",") + JsonText(EventObject(event, context_.options)));
        firstEvent_ = false;
    }

    void Finish(const net::DecodeOutcome& outcome) {
        if (!begun_) Open(nullptr);
        if (context_.options.json)
            context_.console.Write("],\"messages\":" + JsonText(MessagesObject(outcome)) + "}");
        else
            context_.console.Line("Messages: " + net::DescribeOutcome(outcome));
    }

    // A read that failed part way: a file whose object has begun closes it with "messages": null
    // and the failure's fields.
    void Fail(const Problem& problem) {
        if (!context_.options.json) return;
        if (!begun_) {
            Json file = FileObject(argument_, context_.options);
            PutProblem(file, problem);
            files_.Add(file);
            return;
        }
        Json rest{{"messages", nullptr}, {"error", problem.message}};
        if (!problem.systemText.empty()) rest["system_error"] = problem.systemText;
        std::string closing = JsonText(rest);
        closing.front() = ',';
        context_.console.Write("]" + closing);
    }

  private:
    const Context& context_;
    FileListJson& files_;
    const std::string& argument_;
    int& listed_;
    net::ShowText show_;
    bool begun_ = false;
    bool firstEvent_ = true;
};

}  // namespace

Json MessagesObject(const net::DecodeOutcome& outcome) {
    Json object = Json::object();
    object["decoded"] = outcome.notDecoded.empty();
    object["not_decoded_reason"] = TextOrNull(outcome.notDecoded);
    object["frames_decoded"] = outcome.framesDecoded;
    object["frames_not_decoded"] = outcome.framesNotDecoded;
    Json stop;
    if (const auto& first = outcome.firstStop) {
        stop["frame_offset"] = first->frameOffset;
        stop["time"] = SecondsNumber(first->time);
        stop["playback"] = first->playback;
        stop["message_id"] = first->messageId >= 0 ? Json(first->messageId) : Json();
        stop["message"] = TextOrNull(first->messageName);
        stop["message_pos"] = first->messageOffset + 1;
        stop["bit"] = first->bitPosition;
        stop["reason"] = first->reason;
        stop["text"] = net::DescribeStop(*first);
    }
    object["first_stop"] = std::move(stop);
    object["frames_end"] = TextOrNull(outcome.framesEnd);
    object["whole"] = outcome.Whole();
    return object;
}

int RunEvents(const Context& context) {
    const Options& options = context.options;
    FileListJson files(context);
    int status = kSuccess;
    int listed = 0;
    for (const auto& argument : options.operands) {
        Problem problem;
        auto demo = OpenChunkedDemo(argument, problem);
        if (!demo) {
            status = kRefused;
            context.console.Error(DisplayName(argument, options) + ": " + ProblemText(problem));
            Json file = FileObject(argument, options);
            PutProblem(file, problem);
            files.Add(file);
            continue;
        }
        EventWriter writer(context, files, argument, listed);
        const auto outcome = net::ReadEvents(*demo, writer);
        if (!outcome) {
            status = kRefused;
            problem = ReadFailure(outcome.failure());
            context.console.Error(DisplayName(argument, options) + ": " + ProblemText(problem));
            writer.Fail(problem);
            continue;
        }
        if (!outcome->Whole()) status = kRefused;
        writer.Finish(*outcome);
    }
    files.Close();
    return status;
}

}  // namespace vorelix::cli
