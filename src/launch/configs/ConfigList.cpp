// configs.ini read into check states and written from them.
#include "launch/configs/ConfigList.h"

#include <algorithm>

#include "launch/configs/ConfigName.h"

namespace vorelix::launch {

namespace {

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

}  // namespace

ConfigChoice ApplyConfigsIni(const std::vector<std::wstring>& names, std::string_view iniBytes,
                             const AnsiEncoder& toAnsi) {
    ConfigChoice choice;
    auto& entries = choice.entries;
    std::vector<std::optional<std::string>> encoded;
    for (const auto& name : names) {
        entries.push_back({name, false});
        encoded.push_back(toAnsi(name));  // a name the code page cannot hold matches no line
    }
    for (const auto line : SplitLines(iniBytes)) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (!encoded[i] || *encoded[i] != line) continue;
            if (!WhyNotOnCommandLine(entries[i].name)) {
                entries[i].checked = true;
            } else if (std::find(choice.leftOut.begin(), choice.leftOut.end(), entries[i].name) ==
                       choice.leftOut.end()) {
                choice.leftOut.push_back(entries[i].name);
            }
            break;
        }
    }
    return choice;
}

std::variant<std::string, UserMessage> ConfigsIniBytes(const std::vector<ConfigEntry>& entries,
                                                       const AnsiEncoder& toAnsi) {
    std::string bytes;
    for (const auto& entry : entries) {
        if (!entry.checked) continue;
        const auto name = toAnsi(entry.name);
        if (!name) {
            return UserMessage{L"The choice of configs was not saved: the name \"" + entry.name +
                                   L"\" holds characters that the system's code page has no place for. "
                                   L"Rename the file to keep it checked.",
                               {}};
        }
        bytes += *name + "\r\n";
    }
    return bytes + "\r\n";
}

}  // namespace vorelix::launch
