// The body window's length rule.
#include "demo/DemoLayout.h"

#include <algorithm>

namespace vorelix::demo {

std::optional<std::uint64_t> BodyWindowLength(std::uint64_t fileLength) {
    if (fileLength < kShortestDemo) return std::nullopt;
    const std::uint64_t toSecondLast = fileLength - kShortestDemo;
    if (fileLength > kLongestBody) return std::min(kLongestBody, toSecondLast);
    return toSecondLast;
}

}  // namespace vorelix::demo
