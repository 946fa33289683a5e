// Shared by the fuzz targets: the input as a whole demo, padded in front to the scanned minimum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "demo/DemoHeader.h"

namespace vorelix::fuzz {

// The input with NUL bytes put in front up to 1,000 bytes, so the whole-file scans look at it and
// its last bytes stay the file's last bytes (where the end-of-copy rules bite).
inline std::string AsScannedDemo(const std::uint8_t* data, std::size_t size) {
    std::string demo(reinterpret_cast<const char*>(data), size);
    if (demo.size() < demo::kShortestScannedDemo)
        demo.insert(0, demo::kShortestScannedDemo - demo.size(), '\0');
    return demo;
}

inline void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace vorelix::fuzz
