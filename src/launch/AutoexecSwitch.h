// The user's autoexec.cfg switched off for the game by renaming it to autoexec.cfg_old, and back.
#pragma once

#include <string>
#include <vector>

namespace vorelix::launch {

class AutoexecSwitch {
  public:
    // Renames <mod folder>\autoexec.cfg to autoexec.cfg_old. It fails, silently, when there is no
    // autoexec.cfg or an autoexec.cfg_old is already there; the folder counts as renamed either way.
    void RenameAutoexec(const std::wstring& modFolder);

    // Renames autoexec.cfg_old back to autoexec.cfg in every folder RenameAutoexec was given since
    // the last restore, even when hl.exe has been chosen elsewhere meanwhile; failures (an
    // autoexec.cfg already back, no autoexec.cfg_old) are silent.
    void RestoreAutoexec();

    // A rename was attempted and not yet restored.
    bool AutoexecRenamed() const { return !renamedIn_.empty(); }

  private:
    std::vector<std::wstring> renamedIn_;
};

}  // namespace vorelix::launch
