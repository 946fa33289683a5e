// The words for events: the names --kinds and JSON use, and each event and recording in one line.
#include <array>

#include "demo/net/Events.h"

namespace vorelix::demo::net {

std::string_view ChatChannelName(ChatChannel channel) {
    static constexpr std::array<std::string_view, 5> names{"all", "team", "dead", "spectator", "server"};
    return names[static_cast<std::size_t>(channel)];
}

std::string_view RoundOutcomeName(RoundOutcome outcome) {
    static constexpr std::array<std::string_view, 14> names{"terrorists_win",
                                                            "cts_win",
                                                            "draw",
                                                            "bomb_exploded",
                                                            "bomb_defused",
                                                            "target_saved",
                                                            "hostages_rescued",
                                                            "hostages_not_rescued",
                                                            "vip_escaped",
                                                            "vip_assassinated",
                                                            "vip_not_escaped",
                                                            "terrorists_escaped",
                                                            "terrorists_not_escaped",
                                                            "escape_prevented"};
    return names[static_cast<std::size_t>(outcome)];
}

std::string_view RoundOutcomeText(RoundOutcome outcome) {
    static constexpr std::array<std::string_view, 14> texts{
        "Terrorists win",
        "Counter-Terrorists win",
        "Round draw",
        "Terrorists win: the bomb exploded",
        "Counter-Terrorists win: the bomb was defused",
        "Counter-Terrorists win: the target was saved",
        "Counter-Terrorists win: all hostages rescued",
        "Terrorists win: the hostages were not rescued",
        "Counter-Terrorists win: the VIP escaped",
        "Terrorists win: the VIP was assassinated",
        "Terrorists win: the VIP did not escape",
        "Terrorists win: they escaped",
        "Counter-Terrorists win: the terrorists did not escape",
        "Counter-Terrorists win: the escape was prevented"};
    return texts[static_cast<std::size_t>(outcome)];
}

std::string_view PlayerActionName(PlayerAction action) {
    static constexpr std::array<std::string_view, 3> names{"joined", "left", "renamed"};
    return names[static_cast<std::size_t>(action)];
}

std::string_view EventKindName(EventKind kind) {
    static constexpr std::array<std::string_view, 4> names{"chat", "kill", "round", "player"};
    return names[static_cast<std::size_t>(kind)];
}

std::optional<EventKind> EventKindFromName(std::string_view name) {
    for (int kind = 0; kind < 4; ++kind) {
        if (EventKindName(static_cast<EventKind>(kind)) == name) return static_cast<EventKind>(kind);
    }
    return std::nullopt;
}

namespace {

std::string PlayerText(const std::string& name, int slot, const ShowText& show) {
    if (!name.empty()) return show(name);
    return slot == 0 ? "the world" : "player " + std::to_string(slot);
}

std::string ChannelText(const ChatEvent& chat) {
    switch (chat.channel) {
        case ChatChannel::All:
            return "";
        case ChatChannel::Team:
            return chat.dead ? " (team, dead)" : " (team)";
        case ChatChannel::Dead:
            return " (dead)";
        case ChatChannel::Spectator:
            return " (spectator)";
        case ChatChannel::Server:
            return "";
    }
    return "";
}

}  // namespace

std::string DescribeEvent(const Event& event, const ShowText& show) {
    if (const auto* chat = std::get_if<ChatEvent>(&event.what)) {
        const std::string text = show(ShownChatText(chat->text));
        if (chat->channel == ChatChannel::Server) return "(server) " + text;
        return PlayerText(chat->name, chat->slot, show) + ChannelText(*chat) + ": " + text;
    }
    if (const auto* kill = std::get_if<KillEvent>(&event.what)) {
        const std::string victim = PlayerText(kill->victimName, kill->victim, show);
        const std::string how = " with " + show(kill->weapon) + (kill->headshot ? " (headshot)" : "");
        if (kill->killer == kill->victim) return victim + " killed themselves" + how;
        return PlayerText(kill->killerName, kill->killer, show) + " killed " + victim + how;
    }
    if (const auto* round = std::get_if<RoundEvent>(&event.what)) {
        std::string text(RoundOutcomeText(round->outcome));
        if (round->terroristScore && round->ctScore)
            text += " (Terrorists " + std::to_string(*round->terroristScore) + ", Counter-Terrorists " +
                    std::to_string(*round->ctScore) + ")";
        return text;
    }
    const auto& player = std::get<PlayerEvent>(event.what);
    const std::string who = PlayerText(player.name, player.slot, show) + " (slot " +
                            std::to_string(player.slot) +
                            (player.steamId.empty() ? "" : ", " + player.steamId) + ")";
    switch (player.action) {
        case PlayerAction::Joined:
            return who + " joined";
        case PlayerAction::Left:
            return who + " left";
        case PlayerAction::Renamed:
            return PlayerText(player.oldName, player.slot, show) + " is now " + who;
    }
    return who;
}

std::string DescribeRecording(const Recording& recording, const ShowText& show) {
    std::string text = "server \"" + show(recording.server) + "\", map " + show(recording.map);
    if (recording.recorderSlot > 0) {
        text += ", recorded by " + PlayerText(recording.recorderName, recording.recorderSlot, show) +
                " (slot " + std::to_string(recording.recorderSlot) + ")";
    }
    text += recording.hltv ? ", HLTV" : ", first-person";
    if (recording.gameBuild) text += ", build " + std::to_string(*recording.gameBuild);
    return text;
}

}  // namespace vorelix::demo::net
