// A message that stops a launch or a save: what the user is told, in a box with an exclamation icon.
#pragma once

#include <string>

namespace vorelix::launch {

struct UserMessage {
    std::wstring text;
    std::wstring title;  // empty: the box shows the program's own title
};

}  // namespace vorelix::launch
