// Renaming autoexec.cfg aside and back, noted in the settings store first; both directions never
// replace a file.
#include "launch/configs/AutoexecSwitch.h"

#include <algorithm>

#include "launch/configs/AutoexecRecord.h"
#include "platform/files/FileOps.h"
#include "platform/PathNames.h"

namespace vorelix::launch {

namespace {
constexpr const wchar_t* kSection = L"CooMMon";
}

AutoexecSwitch::AutoexecSwitch(platform::SettingsStore& settings)
    : settings_(settings),
      renamedIn_(FoldersFromStored(settings_.GetString(kSection, kAutoexecRenamedKey, L""))) {}

bool AutoexecSwitch::Store() {
    return settings_.SetString(kSection, kAutoexecRenamedKey, StoredFolders(renamedIn_));
}

void AutoexecSwitch::RenameAutoexec(const std::wstring& modFolder) {
    const bool noted = std::find(renamedIn_.begin(), renamedIn_.end(), modFolder) != renamedIn_.end();
    // Noted before the rename: a kill between the two leaves a note that the next start finds
    // harmless, never a renamed file that nobody gives back.
    if (!noted) {
        renamedIn_.push_back(modFolder);
        if (!Store()) {
            renamedIn_.pop_back();
            return;
        }
    }
    const auto renamed =
        platform::RenameFileTo(modFolder + L"\\autoexec.cfg", modFolder + L"\\autoexec.cfg_old");
    if (!renamed && !noted) {
        renamedIn_.pop_back();
        Store();
    }
}

std::vector<UserMessage> AutoexecSwitch::RestoreAutoexec(bool keepUntold) {
    std::vector<UserMessage> told;
    std::vector<std::wstring> stillAside;
    for (const auto& modFolder : renamedIn_) {
        const std::wstring autoexec = modFolder + L"\\autoexec.cfg";
        const std::wstring renamed = modFolder + L"\\autoexec.cfg_old";
        switch (DecideAutoexecRestore(platform::FileExists(autoexec), platform::FileExists(renamed))) {
            case AutoexecRestore::RenameBack:
                // A rename the system refuses (a locked file) is tried again at the next restore.
                if (!platform::RenameFileTo(renamed, autoexec)) stillAside.push_back(modFolder);
                break;
            case AutoexecRestore::KeepBoth:
                if (keepUntold) {
                    stillAside.push_back(modFolder);
                } else {
                    told.push_back(BothAutoexecFiles(modFolder));
                }
                break;
            case AutoexecRestore::NothingAside:
                break;
        }
    }
    renamedIn_ = std::move(stillAside);
    Store();
    return told;
}

}  // namespace vorelix::launch
