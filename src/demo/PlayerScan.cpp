// The player-name scan of the body window.
#include "demo/PlayerScan.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

namespace vorelix::demo {

std::vector<std::string> ScanPlayers(ByteView body) {
    std::vector<std::string> players{std::string()};
    std::unordered_set<std::string> known{std::string()};
    std::size_t stored = 0;
    bool anyNameRead = false;

    std::size_t marker = FindPattern(body, 0, kNameMarker, kNameMarkerAnchor);
    while (marker != kNotFound) {
        const std::size_t start = marker + kNameMarker.size();
        std::size_t end = start;
        while (end < body.size() && body[end] != '\\' && body[end] != 0) ++end;
        if (end >= body.size()) break;  // unterminated: only this name is dropped
        anyNameRead = true;
        std::string name(AsText(body.subspan(start, end - start)));
        if (!known.contains(name)) {
            if (stored < players.size()) {
                known.erase(players[stored]);
                players[stored] = name;
            } else {
                players.push_back(name);
            }
            known.insert(std::move(name));
            ++stored;
        }
        // The next search starts inside this marker, so "\name\name\model\" yields both names.
        marker = FindPattern(body, marker + (end - start) + 1, kNameMarker, kNameMarkerAnchor);
    }
    if (!anyNameRead) return {};
    return players;
}

void SortPlayersForDisplay(std::vector<std::string>& players) {
    // std::string compares as unsigned bytes, and a prefix sorts before the longer text.
    std::sort(players.begin(), players.end(), std::greater<>());
}

}  // namespace vorelix::demo
