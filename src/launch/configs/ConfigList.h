// The config list: the mod folder's .cfg names with their checks, and configs.ini, which keeps the
// checked ones between runs.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "launch/SystemQueries.h"
#include "launch/UserMessage.h"

namespace vorelix::launch {

inline constexpr const wchar_t* kConfigsIniName = L"configs.ini";

struct ConfigEntry {
    std::wstring name;  // as the folder listing gives it, extension included
    bool checked = false;
    bool operator==(const ConfigEntry&) const = default;
};

// The list as configs.ini leaves it, and the names it asked for that the command line cannot carry.
struct ConfigChoice {
    std::vector<ConfigEntry> entries;
    std::vector<std::wstring> leftOut;  // named by configs.ini, left unchecked (ConfigName.h)
    bool operator==(const ConfigChoice&) const = default;
};

// The names, in their order, checked by configs.ini: each line checks the first entry whose name, in
// the system's code page, equals the line byte for byte (case counts, nothing is trimmed). A line
// ends at CR LF, CR or LF; a file name can hold none of them, so a file written with LF alone reads
// the same as one with CR LF. A line that equals no name, an empty one included, checks nothing. A
// name that "+exec" cannot carry stays unchecked and is listed as left out.
ConfigChoice ApplyConfigsIni(const std::vector<std::wstring>& names, std::string_view iniBytes,
                             const AnsiEncoder& toAnsi);

// The bytes of configs.ini: each checked name followed by CR LF, in list order, then one more CR LF.
// A checked name that the system's code page cannot hold is refused, never written as '?'.
std::variant<std::string, UserMessage> ConfigsIniBytes(const std::vector<ConfigEntry>& entries,
                                                       const AnsiEncoder& toAnsi);

}  // namespace vorelix::launch
