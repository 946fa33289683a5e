// The names of configs that "+exec" cannot pass to the game, and what the user is told of them.
#include "launch/configs/ConfigName.h"

namespace vorelix::launch {

std::optional<std::wstring> WhyNotOnCommandLine(const std::wstring& name) {
    if (name.find_first_of(L" \t") != std::wstring::npos)
        return L"its name holds a blank, so the game would read it as two words";
    if (name.find(L'"') != std::wstring::npos)
        return L"its name holds a quote, which the game reads as the start of a quoted part";
    if (name.find(L';') != std::wstring::npos)
        return L"its name holds a semicolon, which the game reads as the end of a command";
    if (!name.empty() && (name.front() == L'-' || name.front() == L'+'))
        return L"its name begins with \"" + name.substr(0, 1) +
               L"\", so the game would read it as a setting of its own";
    return std::nullopt;
}

UserMessage ConfigCannotBeChecked(const std::wstring& name, const std::wstring& why) {
    return {L"\"" + name + L"\" cannot be checked: " + why +
                L". Rename the file (letters, digits, \"_\" and \".\" are safe) to run it with the demo.",
            {}};
}

UserMessage ConfigsLeftOut(const std::vector<std::wstring>& names) {
    std::wstring list;
    for (const auto& name : names) list += L"\r\n    " + name;
    return {
        L"configs.ini names configs that the game's command line cannot carry: their names hold a blank, "
        L"a quote or a semicolon, or begin with \"-\" or \"+\". They are left out of the launch:" +
            list + L"\r\nRename them to run them with the demo.",
        {}};
}

}  // namespace vorelix::launch
