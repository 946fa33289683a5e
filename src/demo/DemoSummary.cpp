// Building the information panel's summary of a demo.
#include "demo/DemoSummary.h"

#include "demo/DemoHeader.h"
#include "demo/PlayerScan.h"

namespace vorelix::demo {

std::string SizeText(std::uint64_t fileLength) {
    if (fileLength / 1000 > 1000) return std::to_string(fileLength / 1'000'000) + "Мб.";
    return std::to_string(fileLength / 1000) + "Кб.";
}

std::array<std::string, 5> InformationLines(std::string_view demoName, const DemoSummary& summary,
                                            const std::function<std::string(std::string_view)>& shown) {
    return {"Demo name: " + std::string(demoName), "Map: " + shown(summary.map), "Mod: " + shown(summary.mod),
            "Type: " + std::string(summary.TypeText()), "Size: " + summary.sizeText};
}

Result<DemoSummary> Summarize(ByteView firstBytes, ByteView body, std::uint64_t fileLength) {
    auto header = ParseHeader(firstBytes);
    if (!header) return header.failure();
    DemoSummary summary;
    summary.map = std::move(header->map);
    summary.mod = std::move(header->mod);
    summary.players = ScanPlayers(body);
    SortPlayersForDisplay(summary.players);
    summary.hltv = HasHltvMarker(body);
    summary.fileSize = fileLength;
    summary.sizeText = SizeText(fileLength);
    return summary;
}

void NoteRecording(DemoSummary& summary, const net::RecordingRead& read) {
    if (read.recording && read.recording->hltv) summary.hltv = true;
}

}  // namespace vorelix::demo
