// The players of a demo: the distinct names that follow the name marker in the body window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "demo/edit/ByteSearch.h"

namespace vorelix::demo {

inline constexpr std::string_view kNameMarker = "\\name\\";
// The marker's 'm': the rarest of its bytes in recorded demos, where player settings are full of
// backslashes.
inline constexpr std::size_t kNameMarkerAnchor = 3;

// Distinct names in the order they first appear. An empty list means no player was found; a name
// that runs to the end of `body` without a backslash or NUL is left out, the names before it stay.
// The list starts as one empty name that the first real name takes the place of, so an empty name
// is only kept when it appears after a non-empty one, or when every name found is empty.
std::vector<std::string> ScanPlayers(ByteView body);

// The order of the main window's player list: descending by byte value, a longer name before its
// own prefix.
void SortPlayersForDisplay(std::vector<std::string>& players);

}  // namespace vorelix::demo
