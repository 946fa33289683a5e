// Header windows and the HLTV marker.
#include "demo/DemoHeader.h"

#include <algorithm>

#include "demo/LittleEndian.h"

namespace vorelix::demo {

std::optional<std::uint64_t> BodyWindowLength(std::uint64_t fileLength) {
    if (fileLength < kShortestDemo) return std::nullopt;
    const std::uint64_t toSecondLast = fileLength - kShortestDemo;
    if (fileLength > kLongestBody) return std::min(kLongestBody, toSecondLast);
    return toSecondLast;
}

std::optional<std::string> WindowText(ByteView window) {
    const std::size_t nul = FindByte(window, 0, 0);
    if (nul == kNotFound) return std::nullopt;
    return std::string(AsText(window.first(nul)));
}

Result<DemoHeader> ParseHeader(ByteView firstBytes) {
    if (firstBytes.size() < kBodyOffset) return Failure{};
    auto window = [&](std::uint64_t offset) { return firstBytes.subspan(offset, kHeaderWindowSize); };
    const auto magic = WindowText(window(kMagicOffset));
    if (!magic || *magic != kMagic) return Failure{};
    auto map = WindowText(window(kMapOffset));
    const bool shortHeader = ReadInt32(firstBytes, kDemoProtocolOffset) == kShortHeaderDemoProtocol;
    auto mod = WindowText(window(shortHeader ? kShortHeaderGameOffset : kGameOffset));
    if (!map || !mod) return Failure{};
    return DemoHeader{std::move(*map), std::move(*mod)};
}

bool IsDemo(ByteView file) {
    return file.size() >= kShortestDemo && ParseHeader(file.first(kBodyOffset)).ok();
}

bool HasHltvMarker(ByteView body) {
    return FindPattern(body, kHltvSearchStart, kHltvMarker, 10) != kNotFound;
}

}  // namespace vorelix::demo
