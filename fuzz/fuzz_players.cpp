// Fuzzes the header windows, the player scan and the HLTV marker over arbitrary bytes.
#include <algorithm>

#include "FuzzInput.h"
#include "demo/DemoHeader.h"
#include "demo/DemoSummary.h"
#include "demo/PlayerScan.h"

using namespace vorelix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const demo::ByteView bytes(data, size);
    const auto players = demo::ScanPlayers(bytes);
    // Every player is a distinct name without a terminator byte in it.
    for (const auto& name : players) {
        fuzz::Require(name.find('\\') == std::string::npos && name.find('\0') == std::string::npos);
        fuzz::Require(std::count(players.begin(), players.end(), name) == 1);
    }
    fuzz::Require(players.empty() || demo::FindPattern(bytes, 0, demo::kNameMarker) != demo::kNotFound);
    auto sorted = players;
    demo::SortPlayersForDisplay(sorted);
    fuzz::Require(std::is_sorted(sorted.rbegin(), sorted.rend()));
    (void)demo::HasHltvMarker(bytes);

    const auto bodyLength = demo::BodyWindowLength(size);
    if (bodyLength) {
        auto summary = demo::Summarize(bytes.first(demo::kBodyOffset),
                                       bytes.subspan(demo::kBodyOffset, *bodyLength), size);
        if (summary.ok()) fuzz::Require(summary->map.size() < demo::kHeaderWindowSize);
    } else {
        fuzz::Require(size < demo::kShortestDemo);
    }
    return 0;
}
