// What happened in a demo, read from its decoded messages: the recording's facts, and chat, kills,
// round ends and players coming, going and renaming, each with its time.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "demo/DemoBytes.h"
#include "demo/Result.h"
#include "demo/net/DemoMessages.h"

namespace vorelix::demo::net {

// Where a text's bytes lie in the demo: its first byte's offset and how many bytes it holds (its
// NUL, and a chat line's closing line feed, are not counted). An in-place edit may write up to
// `room` bytes there.
struct TextPlace {
    std::uint64_t offset = 0;
    std::uint32_t room = 0;
};

// A player as the recording knows them: players are numbered by their entity, 1 to max players.
struct PlayerFacts {
    int slot = 0;
    std::int32_t userId = 0;
    std::string name;     // bytes as the demo holds them
    std::string steamId;  // "STEAM_0:1:1234" from the info's *sid; empty when it holds none
    bool proxy = false;   // an HLTV proxy (the info holds *hltv)
};

struct Recording {
    std::string server;      // the server's host name
    std::string map;         // "de_dust2"
    std::string gameFolder;  // "cstrike"
    int maxPlayers = 0;
    int recorderSlot = 0;              // the recorder's slot; 0 when no server info came
    std::string recorderName;          // empty when the recorder's player info never came
    bool hltv = false;                 // an HLTV proxy recorded it (it sent svc_hltv)
    std::optional<int> gameBuild;      // from the server's "BUILD 4554" line, when it sent one
    std::vector<PlayerFacts> players;  // who was there when playback began, by slot
};

enum class ChatChannel { All, Team, Dead, Spectator, Server };
// "all", "team", "dead", "spectator", "server".
std::string_view ChatChannelName(ChatChannel channel);

struct ChatEvent {
    int slot = 0;      // the sender; 0 for the server
    std::string name;  // the sender's name at that time; empty for the server
    ChatChannel channel = ChatChannel::All;
    bool dead = false;  // a dead player's team chat (channel Team) or all chat (channel Dead)
    std::string token;  // the game's format token, "#Cstrike_Chat_All"; empty for older lines
    std::string text;   // the bytes of the text (colour bytes 1 to 4 included)
    TextPlace place;
};

struct KillEvent {
    int killer = 0;  // 0: the world (a fall, a trigger)
    std::string killerName;
    int victim = 0;
    std::string victimName;
    std::string weapon;  // "ak47", "grenade", "worldspawn"
    bool headshot = false;
};

enum class RoundOutcome {
    TerroristsWin,
    CtsWin,
    Draw,
    BombExploded,
    BombDefused,
    TargetSaved,
    HostagesRescued,
    HostagesNotRescued,
    VipEscaped,
    VipAssassinated,
    VipNotEscaped,
    TerroristsEscaped,
    TerroristsNotEscaped,
    EscapePrevented,
};
// "terrorists_win", "cts_win", "draw", "bomb_exploded", ...
std::string_view RoundOutcomeName(RoundOutcome outcome);
// "Terrorists win", "Counter-Terrorists win", "Round draw", "The bomb exploded", ...
std::string_view RoundOutcomeText(RoundOutcome outcome);

struct RoundEvent {
    RoundOutcome outcome = RoundOutcome::Draw;
    std::optional<int> terroristScore;  // the team scores right after the round, when the server sent them
    std::optional<int> ctScore;
};

enum class PlayerAction { Joined, Left, Renamed };
// "joined", "left", "renamed".
std::string_view PlayerActionName(PlayerAction action);

struct PlayerEvent {
    PlayerAction action = PlayerAction::Joined;
    int slot = 0;
    std::string name;     // the name after the event (for a player who left: the name they had)
    std::string oldName;  // the name before a rename
    std::string steamId;
};

enum class EventKind { Chat, Kill, Round, Player };
// "chat", "kill", "round", "player": the names --kinds takes.
std::string_view EventKindName(EventKind kind);
std::optional<EventKind> EventKindFromName(std::string_view name);

struct Event {
    double time = 0;  // seconds of playback, from the frame that carried it; 0 before playback
    std::variant<ChatEvent, KillEvent, RoundEvent, PlayerEvent> what;

    EventKind Kind() const { return static_cast<EventKind>(what.index()); }
};

// Where the events go, as they are found, in time order; the recording comes once, before the first
// event (when playback begins, or at the end for a demo that never reaches it), unless the demo's
// messages are not decoded at all.
class EventSink {
  public:
    virtual ~EventSink() = default;
    virtual void OnRecording(const Recording& recording) = 0;
    virtual void OnEvent(const Event& event) = 0;
    // Whether the sink has all it wants: reading then ends (events still gathering are not told).
    virtual bool Satisfied() const { return false; }
};

// Decodes a demo's messages and hands on what happened. Fails only when the bytes are not a demo or
// cannot be read; a message that cannot be decoded costs its frame's events, and the outcome says
// where.
Result<DecodeOutcome> ReadEvents(DemoBytes& demo, EventSink& sink);

// A chat text as shown: without its colour bytes (1 to 4) and closing line feed.
std::string ShownChatText(std::string_view text);

// One line for the event: "Alice killed Bob with ak47 (headshot)", "Alice (team): hello". Names and
// texts are passed through `show`, which turns a demo's bytes into the text to print.
using ShowText = std::function<std::string(std::string_view bytes)>;
std::string DescribeEvent(const Event& event, const ShowText& show);

// The recording in one line: "server "Pub #1", map de_dust2, recorded by Alice (slot 3), first-person".
std::string DescribeRecording(const Recording& recording, const ShowText& show);

}  // namespace vorelix::demo::net
