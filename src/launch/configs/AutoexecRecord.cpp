// The stored list of folders where autoexec.cfg lies renamed, and the decision of its restore.
#include "launch/configs/AutoexecRecord.h"

namespace vorelix::launch {

std::wstring StoredFolders(const std::vector<std::wstring>& folders) {
    std::wstring stored;
    for (const auto& folder : folders) {
        if (!stored.empty()) stored += L'|';
        stored += folder;
    }
    return stored;
}

std::vector<std::wstring> FoldersFromStored(const std::wstring& stored) {
    std::vector<std::wstring> folders;
    std::size_t start = 0;
    while (start <= stored.size()) {
        const auto bar = stored.find(L'|', start);
        const auto end = bar == std::wstring::npos ? stored.size() : bar;
        if (end > start) folders.push_back(stored.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

AutoexecRestore DecideAutoexecRestore(bool autoexecExists, bool renamedExists) {
    if (!renamedExists) return AutoexecRestore::NothingAside;
    return autoexecExists ? AutoexecRestore::KeepBoth : AutoexecRestore::RenameBack;
}

UserMessage BothAutoexecFiles(const std::wstring& modFolder) {
    return {
        L"Both autoexec.cfg and autoexec.cfg_old are in \"" + modFolder +
            L"\".\r\n\r\nautoexec.cfg_old is your own autoexec.cfg, which Vorelix renamed so that the game "
            L"would not run it. autoexec.cfg was made while it was renamed.\r\n\r\n"
            L"Vorelix has changed neither of them: rename or delete them as you want them, so that the "
            L"one you want the game to run is named autoexec.cfg.",
        {}};
}

}  // namespace vorelix::launch
