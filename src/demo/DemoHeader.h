// The demo header: the "HLDEMO" magic, the map and game folder windows, and the HLTV marker.
#pragma once

#include <optional>
#include <string>

#include "demo/edit/ByteSearch.h"
#include "demo/Result.h"

namespace vorelix::demo {

struct DemoHeader {
    std::string map;  // bytes as they stand in the demo
    std::string mod;
};

// Reads the header from the first 404 bytes of a demo (the three 128-byte windows at 0, 16, 276).
// Fails when fewer bytes are given, when a window holds no NUL, or when the magic is not "HLDEMO".
Result<DemoHeader> ParseHeader(ByteView firstBytes);

// The text of a window: its bytes up to the first NUL; empty when it holds no NUL.
std::optional<std::string> WindowText(ByteView window);

// Whether a whole file is a demo as the information panel reads one: long enough for the header and
// a body window, and a header that ParseHeader accepts. The editing commands touch nothing else.
bool IsDemo(ByteView file);

// Whether "HLTV Proxy:" begins at or after the body window's 100th byte.
bool HasHltvMarker(ByteView body);

}  // namespace vorelix::demo
