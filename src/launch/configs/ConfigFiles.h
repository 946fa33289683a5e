// The config list read from the mod folder and configs.ini, and configs.ini written back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "launch/configs/ConfigList.h"
#include "launch/UserMessage.h"

namespace vorelix::launch {

// The ".cfg" files of <game folder>\cstrike, listed as the demo list lists demos (hidden and system
// files left out, sorted), checked as `configsIniPath` says; all unchecked when that file is missing
// or unreadable; configs.ini's names that the command line cannot carry are left out (ConfigChoice).
// No value when there is no game folder ("") or its cstrike folder cannot be listed.
std::optional<ConfigChoice> LoadConfigList(const std::wstring& gameFolder,
                                           const std::wstring& configsIniPath);

// Writes the checked names to `configsIniPath`. A message when a name cannot be written in the
// system's code page (nothing is written then) or the file cannot be written (with the system's
// text); the checks themselves stay as they are for the launches of this run.
std::optional<UserMessage> SaveConfigList(const std::vector<ConfigEntry>& entries,
                                          const std::wstring& configsIniPath);

}  // namespace vorelix::launch
