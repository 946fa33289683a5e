// The shell's dialogs of CommonDialog: folder browser, icon picker, run, shut-down, restart, format,
// object properties and about. Several exist only as numbered shell32 exports, found at run time.
#include <string>

#include "platform/dialogs/CommonDialog.h"
#include "platform/dialogs/CommonDialogBuffers.h"

namespace vorelix::platform {

namespace {

using dialog_detail::PaddedBuffer;
using dialog_detail::UpToFirstNul;

// BIF_RETURNONLYFSDIRS, and the browse options the caller may choose instead: BIF_BROWSEFORCOMPUTER,
// BIF_BROWSEFORPRINTER, BIF_BROWSEINCLUDEFILES (with BIF_RETURNONLYFSDIRS).
constexpr UINT kDefaultBrowseOptions = 0x1;
constexpr DWORD kBrowseFlags = 0x7001;
constexpr DWORD kOwnBrowseOptionsFrom = 0x1000;
// The run dialog takes its options (RFF_NOBROWSE and friends) from the bits 0xF0 of flags.
constexpr DWORD kRunFlags = 0xF0;
// The restart prompt's EWX_ options: log off, shut down, reboot.
constexpr DWORD kRestartFlags = 0x7;
// The object kind of ShowObjectProp sits in the bits 0xF00 of flags.
constexpr DWORD kObjectKindFlags = 0xF00;
constexpr DWORD kPrinterObject = 1;  // SHOP_PRINTERNAME
constexpr DWORD kFileObject = 2;     // SHOP_FILEPATH
constexpr DWORD kRecycledKind = 7;
constexpr DWORD kDisplaySettingsKind = 8;
constexpr const wchar_t* kRecycledFolder = L"c:\\recycled";
constexpr const wchar_t* kDisplaySettingsCommand = L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0";
// The icon picker's file buffer, in characters.
constexpr std::size_t kIconFileSize = 260;

// The error for a numbered shell32 export that this system does not have.
DialogError MissingExport(int ordinal, const wchar_t* operation) {
    return DialogError{kShellEntryPointMissing, dialog_detail::SourceOf(operation),
                       L"Can't find DLL entry point #" + std::to_wstring(ordinal) + L" in shell32.dll",
                       ERROR_PROC_NOT_FOUND};
}

}  // namespace

std::optional<DialogError> CommonDialog::ShowFolder(const std::wstring& topFolder) {
    // No root item is the whole shell namespace. An empty path is not turned into one: the shell
    // makes it the user's Desktop folder, which leaves an empty tree to choose from.
    PIDLIST_ABSOLUTE root = nullptr;
    if (!topFolder.empty()) {
        if (!calls_.idListFromPath) return MissingExport(162, L"ShowFolder");
        const std::wstring rootPath = topFolder + L'\0';
        root = calls_.idListFromPath(rootPath.c_str());
    }

    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW record{};
    record.hwndOwner = owner;
    record.pidlRoot = root;
    record.pszDisplayName = displayName;
    record.lpszTitle = dialogPrompt.c_str();
    const DWORD ownOptions = flags & kBrowseFlags;
    record.ulFlags = ownOptions >= kOwnBrowseOptionsFrom ? ownOptions : kDefaultBrowseOptions;

    const PIDLIST_ABSOLUTE chosen = calls_.browseForFolder(record);
    if (chosen != nullptr) {
        wchar_t path[MAX_PATH + 1] = {};
        // A chosen item without a file-system path (a computer, a printer) leaves initDir as it was.
        if (calls_.pathFromIdList(chosen, path)) {
            if (auto folder = UpToFirstNul(path, MAX_PATH)) initDir = *folder;
        }
        calls_.freeIdList(chosen);
    }
    // The root item was made for this call only.
    if (root != nullptr) calls_.freeIdList(root);
    return std::nullopt;
}

std::optional<DialogError> CommonDialog::ShowIcon(bool largeIcon) {
    if (!fileName.empty() && fileName.back() == L'\\') return std::nullopt;
    auto file = PaddedBuffer(fileName, kIconFileSize);
    if (!file) return dialog_detail::InvalidArgument(L"ShowIcon");
    if (!calls_.pickIconDialog) return MissingExport(62, L"ShowIcon");

    int index = 0;
    if (calls_.pickIconDialog(nullptr, file->data(), static_cast<UINT>(kIconFileSize), &index) == 0) {
        return std::nullopt;
    }
    // The picker may have been pointed at another file: the icon comes from the file it names now.
    const std::wstring chosenFile = UpToFirstNul(file->data(), kIconFileSize).value_or(fileName);
    HICON large = nullptr;
    HICON small = nullptr;
    calls_.extractIcons(chosenFile.c_str(), index, &large, &small, 1);
    const HICON wanted = largeIcon ? large : small;
    if (wanted != nullptr) icon = calls_.copyIcon(wanted);
    if (large != nullptr) calls_.destroyIcon(large);
    if (small != nullptr) calls_.destroyIcon(small);
    return std::nullopt;
}

std::optional<DialogError> CommonDialog::ShowRun() {
    if (!calls_.runFileDialog) return MissingExport(61, L"ShowRun");
    calls_.runFileDialog(owner, icon, nullptr, dialogTitle.c_str(), dialogPrompt.c_str(),
                         (flags & kRunFlags) / 16);
    return std::nullopt;
}

std::optional<DialogError> CommonDialog::ShowShutDown() {
    if (!calls_.exitWindowsDialog) return MissingExport(60, L"ShowShutDown");
    calls_.exitWindowsDialog(owner);
    return std::nullopt;
}

std::optional<DialogError> CommonDialog::ShowRestart() {
    if (!calls_.restartDialog) return MissingExport(59, L"ShowRestart");
    calls_.restartDialog(owner, dialogPrompt.c_str(), flags & kRestartFlags);
    return std::nullopt;
}

long CommonDialog::ShowFormat(UINT drive, UINT capacity, UINT formatType) {
    return static_cast<long>(calls_.formatDrive(owner, drive, capacity, formatType));
}

std::optional<DialogError> CommonDialog::ShowObjectProp(const std::wstring& objectName,
                                                        const std::wstring& tab) {
    const DWORD kind = (flags & kObjectKindFlags) / 256;
    if (kind == kDisplaySettingsKind) {
        const DWORD failure = calls_.runCommandLine(kDisplaySettingsCommand, SW_SHOWNORMAL);
        if (failure == 0) return std::nullopt;
        return DialogError{kProgramNotStarted, dialog_detail::SourceOf(L"ShowObjectProp"),
                           L"The display settings could not be opened.", failure};
    }
    if (!calls_.objectProperties) return MissingExport(178, L"ShowObjectProp");
    if (kind == kPrinterObject || kind == kFileObject) {
        calls_.objectProperties(owner, kind, objectName.c_str(), tab.c_str());
    } else if (kind == kRecycledKind) {
        calls_.objectProperties(owner, kFileObject, kRecycledFolder, tab.c_str());
    } else {
        calls_.objectProperties(owner, kFileObject, L"", tab.c_str());
    }
    return std::nullopt;
}

void CommonDialog::ShowAbout() {
    if (appName.empty()) appName.assign(1, L'\0');
    calls_.shellAbout(owner, appName.c_str(), dialogPrompt.c_str(), icon);
}

}  // namespace vorelix::platform
