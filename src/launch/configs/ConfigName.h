// Which config names the game's command line can carry as "+exec <name>": the parameters are split at
// blanks and read as options where a word begins with "-" or "+".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "launch/UserMessage.h"

namespace vorelix::launch {

// Why "+exec <name>" would not run that config alone, or no value when it would: a blank or tab splits
// it into two words, a quote opens a quoted part, a semicolon ends the console command, and a leading
// "-" or "+" turns it into an option or a command of its own.
std::optional<std::wstring> WhyNotOnCommandLine(const std::wstring& name);

// What the config window says when such a config is checked.
UserMessage ConfigCannotBeChecked(const std::wstring& name, const std::wstring& why);

// What start-up says of the checked configs that configs.ini names and the list left out.
UserMessage ConfigsLeftOut(const std::vector<std::wstring>& names);

}  // namespace vorelix::launch
