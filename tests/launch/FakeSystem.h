// The machine as the launch decisions see it, answered from data: a set of existing paths and a
// code page that holds the first 256 characters (Latin-1) and nothing else.
#pragma once

#include <set>
#include <string>

#include "launch/SystemQueries.h"

namespace vorelix::test {

inline launch::SystemQueries FakeSystem(std::set<std::wstring> existing) {
    launch::SystemQueries system;
    system.fileExists = [existing = std::move(existing)](const std::wstring& path) {
        return existing.count(path) > 0;
    };
    system.toAnsi = [](std::wstring_view text) -> std::optional<std::string> {
        std::string bytes;
        for (wchar_t c : text) {
            if (static_cast<unsigned>(c) > 0xFF) return std::nullopt;
            bytes += static_cast<char>(c);
        }
        return bytes;
    };
    return system;
}

}  // namespace vorelix::test
