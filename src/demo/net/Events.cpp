// Turning decoded messages into events: the players' table, chat, kills, round ends and the
// recording's facts.
#include "demo/net/Events.h"

#include <array>
#include <charconv>
#include <limits>

namespace vorelix::demo::net {

namespace {

// A round end is announced by several messages (a sound, a centre text, the team scores) within the
// same moment; they make one event, closed once playback has moved further than this past the first.
constexpr double kRoundEndGathering = 1.0;
constexpr std::size_t kMostWaitingEvents = 4096;

// SteamIDs of the form STEAM_0:X:Y are counted from this 64-bit one.
constexpr std::uint64_t kFirstSteamId64 = 76561197960265728ull;

constexpr int kMostPlayers = 32;

// The value of `key` in a player's info string "\key\value\key\value"; empty when absent.
std::string_view InfoValue(std::string_view info, std::string_view key) {
    std::size_t at = 0;
    while (at < info.size()) {
        if (info[at] == '\\') ++at;
        const std::size_t keyEnd = info.find('\\', at);
        if (keyEnd == std::string_view::npos) return {};
        const std::size_t valueEnd = std::min(info.find('\\', keyEnd + 1), info.size());
        if (info.substr(at, keyEnd - at) == key) return info.substr(keyEnd + 1, valueEnd - keyEnd - 1);
        at = valueEnd;
    }
    return {};
}

std::string SteamIdFrom(std::string_view sid) {
    std::uint64_t number = 0;
    const auto read = std::from_chars(sid.data(), sid.data() + sid.size(), number);
    if (read.ec != std::errc() || read.ptr != sid.data() + sid.size() || number < kFirstSteamId64) return {};
    const std::uint64_t account = number - kFirstSteamId64;
    if (account > 0xFFFFFFFFull) return {};
    return "STEAM_0:" + std::to_string(account % 2) + ":" + std::to_string(account / 2);
}

// The NUL-terminated texts of a user message's payload, from `at` on, with where each starts.
struct PayloadText {
    std::string_view text;
    std::size_t at = 0;
};

std::vector<PayloadText> TextsOf(ByteView payload, std::size_t at) {
    std::vector<PayloadText> texts;
    const std::string_view bytes = AsText(payload);
    while (at < bytes.size()) {
        const std::size_t end = bytes.find('\0', at);
        if (end == std::string_view::npos) break;  // a text the message cuts off is no text
        texts.push_back({bytes.substr(at, end - at), at});
        at = end + 1;
    }
    return texts;
}

TextPlace PlaceOf(const PayloadText& text, std::uint64_t payloadOffset, std::size_t length) {
    return {payloadOffset + text.at, static_cast<std::uint32_t>(length)};
}

// The bytes of a chat text without its closing line feed, which the place leaves out too.
std::string_view WithoutLineFeed(std::string_view text) {
    return !text.empty() && text.back() == '\n' ? text.substr(0, text.size() - 1) : text;
}

struct ChatToken {
    std::string_view token;
    ChatChannel channel;
    bool dead;
};
constexpr ChatToken kChatTokens[] = {
    {"#Cstrike_Chat_All", ChatChannel::All, false},
    {"#Cstrike_Chat_AllDead", ChatChannel::Dead, true},
    {"#Cstrike_Chat_AllSpec", ChatChannel::Spectator, false},
    {"#Cstrike_Chat_Spec", ChatChannel::Spectator, false},
    {"#Cstrike_Chat_T", ChatChannel::Team, false},
    {"#Cstrike_Chat_CT", ChatChannel::Team, false},
    {"#Cstrike_Chat_T_Dead", ChatChannel::Team, true},
    {"#Cstrike_Chat_CT_Dead", ChatChannel::Team, true},
};

struct RoundToken {
    std::string_view token;
    RoundOutcome outcome;
};
constexpr RoundToken kRoundTokens[] = {
    {"#Terrorists_Win", RoundOutcome::TerroristsWin},
    {"#CTs_Win", RoundOutcome::CtsWin},
    {"#Round_Draw", RoundOutcome::Draw},
    {"#Target_Bombed", RoundOutcome::BombExploded},
    {"#Bomb_Defused", RoundOutcome::BombDefused},
    {"#Target_Saved", RoundOutcome::TargetSaved},
    {"#All_Hostages_Rescued", RoundOutcome::HostagesRescued},
    {"#Hostages_Not_Rescued", RoundOutcome::HostagesNotRescued},
    {"#VIP_Escaped", RoundOutcome::VipEscaped},
    {"#VIP_Assassinated", RoundOutcome::VipAssassinated},
    {"#VIP_Not_Escaped", RoundOutcome::VipNotEscaped},
    {"#Terrorists_Escaped", RoundOutcome::TerroristsEscaped},
    {"#Terrorists_Not_Escaped", RoundOutcome::TerroristsNotEscaped},
    {"#CTs_PreventEscape", RoundOutcome::EscapePrevented},
    {"#Escaping_Terrorists_Neutralized", RoundOutcome::EscapePrevented},
};

// The announcer's sounds that end a round, for servers whose centre text is not sent.
struct RoundSound {
    std::string_view sound;
    RoundOutcome outcome;
};
constexpr RoundSound kRoundSounds[] = {
    {"%!MRAD_terwin", RoundOutcome::TerroristsWin},
    {"%!MRAD_ctwin", RoundOutcome::CtsWin},
    {"%!MRAD_rounddraw", RoundOutcome::Draw},
};

// Older chat lines carry the sender's name in the text: "\x02*DEAD* Alice :    hello\n".
struct OldChatPrefix {
    std::string_view prefix;
    ChatChannel channel;
    bool dead;
};
constexpr OldChatPrefix kOldChatPrefixes[] = {
    {"*DEAD*(Counter-Terrorist) ", ChatChannel::Team, true},
    {"*DEAD*(Terrorist) ", ChatChannel::Team, true},
    {"*DEAD* ", ChatChannel::Dead, true},
    {"*DEAD*", ChatChannel::Dead, true},
    {"(Counter-Terrorist) ", ChatChannel::Team, false},
    {"(Terrorist) ", ChatChannel::Team, false},
    {"(Spectator) ", ChatChannel::Spectator, false},
    {"(TEAM) ", ChatChannel::Team, false},
};

bool IsColourByte(char c) {
    return c >= 1 && c <= 4;
}

struct PlayerState {
    bool present = false;
    PlayerFacts facts;
};

class EventBuilder final : public MessageSink {
  public:
    explicit EventBuilder(EventSink& sink) : sink_(sink) {}

    void OnServerInfo(const ServerInfo& info, const FrameFacts&) override {
        recording_.server = info.hostName;
        std::string_view map = info.mapFile;
        if (map.starts_with("maps/")) map.remove_prefix(5);
        if (map.ends_with(".bsp")) map.remove_suffix(4);
        recording_.map = map;
        recording_.gameFolder = info.gameFolder;
        recording_.maxPlayers = info.maxPlayers;
        recording_.recorderSlot = info.recorderSlot + 1;
        // Half-Life's own death notices have no headshot byte; Counter-Strike's have.
        killsHaveHeadshots_ = info.gameFolder == "cstrike" || info.gameFolder == "czero";
    }

    void OnUserInfo(int index, std::int32_t userId, std::string_view info, const FrameFacts& facts) override {
        if (index < 0 || index >= kMostPlayers) return;
        Begin(facts);
        PlayerState& player = players_[static_cast<std::size_t>(index)];
        const int slot = index + 1;
        if (info.empty()) {
            if (player.present && facts.playback)
                Emit(facts,
                     PlayerEvent{PlayerAction::Left, slot, player.facts.name, "", player.facts.steamId});
            player = PlayerState{};
            return;
        }
        PlayerFacts now{slot, userId, std::string(InfoValue(info, "name")),
                        SteamIdFrom(InfoValue(info, "*sid")), !InfoValue(info, "*hltv").empty()};
        if (player.present && player.facts.userId != userId) {
            if (facts.playback)
                Emit(facts,
                     PlayerEvent{PlayerAction::Left, slot, player.facts.name, "", player.facts.steamId});
            player.present = false;
        }
        if (!player.present) {
            if (facts.playback)
                Emit(facts, PlayerEvent{PlayerAction::Joined, slot, now.name, "", now.steamId});
        } else if (player.facts.name != now.name && facts.playback) {
            Emit(facts, PlayerEvent{PlayerAction::Renamed, slot, now.name, player.facts.name, now.steamId});
        }
        player = PlayerState{true, std::move(now)};
    }

    void OnPrint(std::string_view text, const FrameFacts&) override {
        if (recording_.gameBuild) return;
        const std::size_t at = text.find("BUILD ");
        if (at == std::string_view::npos) return;
        int build = 0;
        const char* digits = text.data() + at + 6;
        const auto read = std::from_chars(digits, text.data() + text.size(), build);
        if (read.ec == std::errc() && read.ptr != digits) recording_.gameBuild = build;
    }

    void OnHltv(int, const FrameFacts&) override { recording_.hltv = true; }

    void OnUserMessage(std::string_view name, ByteView payload, std::uint64_t offset,
                       const FrameFacts& facts) override {
        Begin(facts);
        CloseRoundEndBefore(facts.playback ? facts.time : 0);
        if (name == "SayText") {
            SayText(payload, offset, facts);
        } else if (name == "TextMsg") {
            TextMsg(payload, offset, facts);
        } else if (name == "DeathMsg") {
            DeathMsg(payload, facts);
        } else if (name == "TeamScore") {
            TeamScore(payload);
        } else if (name == "SendAudio") {
            const auto texts = TextsOf(payload, 1);
            if (texts.empty()) return;
            for (const RoundSound& sound : kRoundSounds)
                if (texts[0].text == sound.sound) RoundEnded(facts, sound.outcome);
        }
    }

    bool Satisfied() const override { return sink_.Satisfied(); }

    // Closes what is still open once the frames end.
    void Finish() {
        CloseRoundEndBefore(std::numeric_limits<double>::infinity());
        if (!begun_) SendRecording();
    }

  private:
    // The recording is told when playback begins: by then the server and its players are known.
    void Begin(const FrameFacts& facts) {
        if (!begun_ && facts.playback) SendRecording();
    }

    void SendRecording() {
        begun_ = true;
        for (const PlayerState& player : players_) {
            if (!player.present) continue;
            recording_.players.push_back(player.facts);
            if (player.facts.slot == recording_.recorderSlot) recording_.recorderName = player.facts.name;
        }
        sink_.OnRecording(recording_);
    }

    // Events wait while a round end gathers its messages, so that they come out in time order.
    template <typename What>
    void Emit(const FrameFacts& facts, What what) {
        Event event{facts.playback ? facts.time : 0.0, std::move(what)};
        // A damaged demo may hold any number of events at one time: the round end then closes early.
        if (waiting_.size() >= kMostWaitingEvents)
            CloseRoundEndBefore(std::numeric_limits<double>::infinity());
        if (roundEnd_)
            waiting_.push_back(std::move(event));
        else
            sink_.OnEvent(event);
    }

    std::string NameOf(int slot) const {
        if (slot < 1 || slot > kMostPlayers) return {};
        const PlayerState& player = players_[static_cast<std::size_t>(slot - 1)];
        return player.present ? player.facts.name : std::string();
    }

    void SayText(ByteView payload, std::uint64_t offset, const FrameFacts& facts) {
        if (payload.empty()) return;
        const int sender = payload[0];
        const auto texts = TextsOf(payload, 1);
        if (texts.empty()) return;
        const std::string_view first = texts[0].text;
        if (first == "#Cstrike_Name_Change") {
            if (texts.size() >= 3) Renamed(sender, std::string(texts[2].text), facts);
            return;
        }
        for (const ChatToken& token : kChatTokens) {
            if (first != token.token) continue;
            // "#Cstrike_Chat_All", the sender's name (empty: the game fills it in), the text.
            if (texts.size() < 3) return;
            const PayloadText& text = texts[2];
            const std::string_view bytes = WithoutLineFeed(text.text);
            const std::string name = texts[1].text.empty() ? NameOf(sender) : std::string(texts[1].text);
            Emit(facts, ChatEvent{sender, name, token.channel, token.dead, std::string(first),
                                  std::string(bytes), PlaceOf(text, offset, bytes.size())});
            return;
        }
        if (first.starts_with("#")) return;  // another of the game's own notices
        if (OldChatLine(sender, texts[0], offset, facts)) return;
        ServerChat(texts, offset, facts);
    }

    // What the server or a plugin prints to the chat area: a text, or a format such as "%s" and the
    // text it shows.
    void ServerChat(const std::vector<PayloadText>& texts, std::uint64_t offset, const FrameFacts& facts) {
        const bool format = texts[0].text.find("%s") != std::string_view::npos && texts.size() >= 2;
        const PayloadText& text = format ? texts[1] : texts[0];
        const std::string_view bytes = WithoutLineFeed(text.text);
        Emit(facts, ChatEvent{0, "", ChatChannel::Server, false, "", std::string(bytes),
                              PlaceOf(text, offset, bytes.size())});
    }

    // "\x02Alice :    hello\n", with a dead or team prefix before the name.
    bool OldChatLine(int sender, const PayloadText& line, std::uint64_t offset, const FrameFacts& facts) {
        const std::string name = NameOf(sender);
        if (name.empty()) return false;
        std::string_view rest = line.text;
        while (!rest.empty() && IsColourByte(rest.front())) rest.remove_prefix(1);
        ChatChannel channel = ChatChannel::All;
        bool dead = false;
        for (const OldChatPrefix& prefix : kOldChatPrefixes) {
            if (!rest.starts_with(prefix.prefix)) continue;
            rest.remove_prefix(prefix.prefix.size());
            channel = prefix.channel;
            dead = prefix.dead;
            break;
        }
        if (!rest.starts_with(name)) return false;
        rest.remove_prefix(name.size());
        std::size_t blanks = 0;
        while (blanks < rest.size() && rest[blanks] == ' ') ++blanks;
        if (blanks >= rest.size() || rest[blanks] != ':') return false;
        rest.remove_prefix(blanks + 1);
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        const std::string_view bytes = WithoutLineFeed(rest);
        const std::size_t at = line.at + static_cast<std::size_t>(rest.data() - line.text.data());
        Emit(facts, ChatEvent{sender, name, channel, dead, "", std::string(bytes),
                              PlaceOf({bytes, at}, offset, bytes.size())});
        return true;
    }

    void Renamed(int sender, std::string newName, const FrameFacts& facts) {
        if (sender < 1 || sender > kMostPlayers) return;
        PlayerState& player = players_[static_cast<std::size_t>(sender - 1)];
        // The player's info usually tells the same rename; whichever comes first tells it.
        if (!player.present || player.facts.name == newName) return;
        Emit(facts,
             PlayerEvent{PlayerAction::Renamed, sender, newName, player.facts.name, player.facts.steamId});
        player.facts.name = std::move(newName);
    }

    // TextMsg: a destination byte, then the text and its arguments.
    void TextMsg(ByteView payload, std::uint64_t offset, const FrameFacts& facts) {
        if (payload.empty()) return;
        const int destination = payload[0];
        const auto texts = TextsOf(payload, 1);
        if (texts.empty()) return;
        for (const RoundToken& token : kRoundTokens) {
            if (texts[0].text == token.token) {
                RoundEnded(facts, token.outcome);
                return;
            }
        }
        constexpr int kToChatArea = 3;
        if (destination != kToChatArea || texts[0].text.starts_with("#")) return;
        ServerChat(texts, offset, facts);
    }

    void DeathMsg(ByteView payload, const FrameFacts& facts) {
        const std::size_t textAt = killsHaveHeadshots_ ? 3 : 2;
        if (payload.size() <= textAt) return;
        const auto texts = TextsOf(payload, textAt);
        if (texts.empty()) return;
        const int killer = payload[0];
        const int victim = payload[1];
        Emit(facts, KillEvent{killer, NameOf(killer), victim, NameOf(victim), std::string(texts[0].text),
                              killsHaveHeadshots_ && payload[2] != 0});
    }

    // TeamScore: the team's name, then its score as a short.
    void TeamScore(ByteView payload) {
        const auto texts = TextsOf(payload, 0);
        if (texts.empty()) return;
        const std::size_t at = texts[0].at + texts[0].text.size() + 1;
        if (payload.size() < at + 2) return;
        const int score = static_cast<std::int16_t>(payload[at] | payload[at + 1] << 8);
        if (texts[0].text == "TERRORIST") terroristScore_ = score;
        if (texts[0].text == "CT") ctScore_ = score;
    }

    void RoundEnded(const FrameFacts& facts, RoundOutcome outcome) {
        const double time = facts.playback ? facts.time : 0.0;
        if (roundEnd_) {
            // The centre text names the outcome more exactly than the announcer's sound.
            if (!IsPlainWin(outcome)) roundEnd_->outcome = outcome;
            return;
        }
        roundEnd_ = RoundEvent{outcome, std::nullopt, std::nullopt};
        roundEndTime_ = time;
    }

    static bool IsPlainWin(RoundOutcome outcome) {
        return outcome == RoundOutcome::TerroristsWin || outcome == RoundOutcome::CtsWin ||
               outcome == RoundOutcome::Draw;
    }

    void CloseRoundEndBefore(double time) {
        if (!roundEnd_ || time <= roundEndTime_ + kRoundEndGathering) return;
        roundEnd_->terroristScore = terroristScore_;
        roundEnd_->ctScore = ctScore_;
        sink_.OnEvent(Event{roundEndTime_, std::move(*roundEnd_)});
        roundEnd_.reset();
        for (const Event& event : waiting_) sink_.OnEvent(event);
        waiting_.clear();
    }

    EventSink& sink_;
    Recording recording_;
    bool begun_ = false;
    bool killsHaveHeadshots_ = true;
    std::array<PlayerState, kMostPlayers> players_{};
    std::optional<int> terroristScore_;
    std::optional<int> ctScore_;
    std::optional<RoundEvent> roundEnd_;
    double roundEndTime_ = 0;
    std::vector<Event> waiting_;
};

}  // namespace

Result<DecodeOutcome> ReadEvents(DemoBytes& demo, EventSink& sink) {
    EventBuilder builder(sink);
    auto outcome = DecodeDemoMessages(demo, builder);
    if (outcome && outcome->notDecoded.empty()) builder.Finish();
    return outcome;
}

std::string ShownChatText(std::string_view text) {
    std::string shown;
    for (const char c : WithoutLineFeed(text)) {
        if (!IsColourByte(c)) shown += c;
    }
    return shown;
}

}  // namespace vorelix::demo::net
