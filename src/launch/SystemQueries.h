// What the launch decisions ask of the machine, as plain functions: tests answer them with data, the
// Windows half with the file system and the system's code page (RealSystemQueries).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vorelix::launch {

// A text in the system's ANSI code page; no value when a character has no place in it.
using AnsiEncoder = std::function<std::optional<std::string>(std::wstring_view)>;

struct SystemQueries {
    // True when the path names an existing file or folder.
    std::function<bool(const std::wstring&)> fileExists;
    AnsiEncoder toAnsi;
};

}  // namespace vorelix::launch
