// What survives the process of autoexec.cfg switched off: the mod folders where it lies renamed, as
// one settings text, and what giving it back does with the files found there.
#pragma once

#include <string>
#include <vector>

#include "launch/UserMessage.h"

namespace vorelix::launch {

// The settings entry ("CooMMon") that lists the folders.
inline constexpr const wchar_t* kAutoexecRenamedKey = L"AutoexecRenamedIn";

// The folders as stored: joined by "|", which no Windows path can hold; "" for none.
std::wstring StoredFolders(const std::vector<std::wstring>& folders);
std::vector<std::wstring> FoldersFromStored(const std::wstring& stored);

enum class AutoexecRestore {
    RenameBack,    // autoexec.cfg_old alone: it takes its name back
    KeepBoth,      // both names taken: neither is touched, the user is told which is which
    NothingAside,  // no autoexec.cfg_old: nothing of the user's lies aside any more
};
AutoexecRestore DecideAutoexecRestore(bool autoexecExists, bool renamedExists);

// The message for KeepBoth in `modFolder`.
UserMessage BothAutoexecFiles(const std::wstring& modFolder);

}  // namespace vorelix::launch
