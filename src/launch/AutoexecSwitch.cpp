// Renaming autoexec.cfg aside and back; both directions never replace a file.
#include "launch/AutoexecSwitch.h"

#include <algorithm>

#include "platform/FileOps.h"

namespace vorelix::launch {

void AutoexecSwitch::RenameAutoexec(const std::wstring& modFolder) {
    (void)platform::RenameFileTo(modFolder + L"\\autoexec.cfg", modFolder + L"\\autoexec.cfg_old");
    if (std::find(renamedIn_.begin(), renamedIn_.end(), modFolder) == renamedIn_.end()) {
        renamedIn_.push_back(modFolder);
    }
}

void AutoexecSwitch::RestoreAutoexec() {
    for (const auto& modFolder : renamedIn_) {
        (void)platform::RenameFileTo(modFolder + L"\\autoexec.cfg_old", modFolder + L"\\autoexec.cfg");
    }
    renamedIn_.clear();
}

}  // namespace vorelix::launch
