// Nick rename plans.
#include "demo/edit/NickEdit.h"

namespace vorelix::demo {

std::vector<HeldNick> HeldNicks(std::vector<NickEntry> scanned) {
    std::vector<HeldNick> nicks;
    nicks.reserve(scanned.size());
    for (auto& entry : scanned) nicks.push_back({entry.position, entry.nick.size(), std::move(entry.nick)});
    return nicks;
}

Result<EntryEdit> PlanNickRename(const std::vector<HeldNick>& nicks, std::size_t chosen, bool allShownAlike,
                                 std::string_view typed, std::uint64_t fileLength, const TextRule& rule) {
    const std::string chosenShown = ShownText(nicks.at(chosen).bytes, rule);
    EntryEdit edit{{fileLength, {}}, {}, {}};
    for (std::size_t i = 0; i < nicks.size(); ++i) {
        const HeldNick& nick = nicks[i];
        if (i != chosen && !(allShownAlike && ShownText(nick.bytes, rule) == chosenShown)) continue;
        auto encoded = EncodeTypedText(typed, nick.bytes, TextField::Nick, rule);
        if (!encoded) return encoded.failure();
        auto fitted = FitEncodedText(*encoded, nick.bytes, nick.room, TextField::Nick, rule);
        if (!fitted) {
            if (i == chosen) return fitted.failure();
            edit.leftOut.emplace_back(i, fitted.failure().systemText);
            continue;
        }
        std::string expected = nick.bytes;
        expected.resize(nick.room, ' ');
        edit.plan.runs.push_back(
            {static_cast<std::uint64_t>(nick.position - 1), std::move(*fitted), std::move(expected)});
        edit.shown.emplace_back(i, std::move(*encoded));
    }
    return edit;
}

}  // namespace vorelix::demo
