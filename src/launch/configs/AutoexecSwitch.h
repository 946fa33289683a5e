// The user's autoexec.cfg switched off for the game by renaming it to autoexec.cfg_old, and back. The
// folders where it lies renamed are kept in the settings store, so that a run ended by a kill, a crash
// or a logoff is made good at the next start.
#pragma once

#include <string>
#include <vector>

#include "launch/UserMessage.h"
#include "platform/SettingsStore.h"

namespace vorelix::launch {

class AutoexecSwitch {
  public:
    // Takes over the folders a run before this one left renamed.
    explicit AutoexecSwitch(platform::SettingsStore& settings);

    // Renames <mod folder>\autoexec.cfg to autoexec.cfg_old, after noting the folder in the store (a
    // rename that cannot be noted is not made). It fails, silently, when there is no autoexec.cfg or
    // an autoexec.cfg_old is already there; a folder is noted only while its autoexec.cfg lies
    // renamed by us.
    void RenameAutoexec(const std::wstring& modFolder);

    // Gives autoexec.cfg_old its name back in every noted folder, even when hl.exe has been chosen
    // elsewhere meanwhile. Where an autoexec.cfg has appeared meanwhile neither file is touched and
    // the messages returned say which is which; with `keepUntold` (no one can be told now) such a
    // folder stays noted, so that a later restore tells.
    std::vector<UserMessage> RestoreAutoexec(bool keepUntold = false);

    // Some folder's autoexec.cfg lies renamed (or a rename was noted and not yet made good).
    bool AutoexecRenamed() const { return !renamedIn_.empty(); }

  private:
    bool Store();

    platform::SettingsStore& settings_;
    std::vector<std::wstring> renamedIn_;
};

}  // namespace vorelix::launch
