// What the main window's information panel shows of a demo, built from its header and body window.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/Result.h"
#include "demo/edit/ByteSearch.h"
#include "demo/net/RecordingRead.h"

namespace vorelix::demo {

inline constexpr std::string_view kIncorrectFormatMessage = "Incorrect format of the demo!";
inline constexpr std::string_view kHltvTypeText = "HLTV demo!";
inline constexpr std::string_view kEyesTypeText = "Demo from eyes...";

struct DemoSummary {
    std::string map;  // demo bytes
    std::string mod;  // demo bytes
    bool hltv = false;
    std::vector<std::string> players;  // demo bytes, in display order (descending by byte value)
    std::uint64_t fileSize = 0;
    std::string sizeText;  // UTF-8, e.g. "734Кб." or "15Мб."

    std::string_view TypeText() const { return hltv ? kHltvTypeText : kEyesTypeText; }
};

// "<L div 1,000,000>Мб." when L div 1,000 exceeds 1,000, else "<L div 1,000>Кб." (UTF-8).
std::string SizeText(std::uint64_t fileLength);

// The information panel's five lines, without line ends: the demo's name as given, its map and mod
// as `shown` turns demo bytes into text, its type and its size. The window joins them with CR LF,
// vorelix-cli prints one per line.
std::array<std::string, 5> InformationLines(std::string_view demoName, const DemoSummary& summary,
                                            const std::function<std::string(std::string_view)>& shown);

// The summary from the first 404 bytes, the body window and the length the file system reports.
// Fails (nothing to show but the format message) when the header is not a demo's.
Result<DemoSummary> Summarize(ByteView firstBytes, ByteView body, std::uint64_t fileLength);

// Adds what the messages tell: a demo a proxy recorded is an HLTV demo, whether or not it holds the
// marker (newer proxies write none).
void NoteRecording(DemoSummary& summary, const net::RecordingRead& read);

}  // namespace vorelix::demo
