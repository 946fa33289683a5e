// The playback factor of the speed box, and the text replacement it uses.
#pragma once

#include <string>

namespace vorelix::launch {

// Every occurrence of `find` in `text` replaced by `replacement`, left to right, never re-scanning
// what was put in. An empty `find` changes nothing.
std::wstring ReplaceAll(std::wstring text, const std::wstring& find, const std::wstring& replacement);

// The speed box's percentage as a factor in text with a point: "100" gives "1", "50" gives "0.5".
// A text that reads as no number above zero (an empty box) gives "1". The launch keeps the factor
// but hands it to nothing: no console setting of the game takes it.
std::wstring SpeedFactorText(const std::wstring& speedText);

}  // namespace vorelix::launch
