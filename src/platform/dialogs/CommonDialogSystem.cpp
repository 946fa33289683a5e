// The real system functions behind CommonDialog, and the lookup of shell32's numbered exports.
#include <vector>

#include "platform/dialogs/CommonDialog.h"

namespace vorelix::platform {

namespace {

// A shell32 function exported by number only, as a pointer of type Fn; null when there is none, which
// makes the std::function it is stored in empty.
template <typename Fn>
Fn ShellExport(WORD ordinal) {
    // shell32 stays loaded for the life of the process once it is; the program links it anyway.
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (shell == nullptr) shell = LoadLibraryW(L"shell32.dll");
    if (shell == nullptr) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(shell, MAKEINTRESOURCEA(ordinal))));
}

DWORD RunCommandLine(const std::wstring& commandLine, int show) {
    // CreateProcessW may write into the command line it is given.
    std::vector<wchar_t> text(commandLine.begin(), commandLine.end());
    text.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return GetLastError();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

DialogCalls MakeSystemDialogCalls() {
    DialogCalls calls;
    calls.getOpenFileName = [](OPENFILENAMEW& record) { return GetOpenFileNameW(&record); };
    calls.getSaveFileName = [](OPENFILENAMEW& record) { return GetSaveFileNameW(&record); };
    calls.winHelp = &WinHelpW;
    calls.chooseColor = [](CHOOSECOLORW& record) { return ChooseColorW(&record); };
    calls.chooseFont = [](CHOOSEFONTW& record) { return ChooseFontW(&record); };
    calls.printDialog = [](PRINTDLGW& record) { return PrintDlgW(&record); };
    calls.browseForFolder = [](BROWSEINFOW& record) { return SHBrowseForFolderW(&record); };
    calls.pathFromIdList = &SHGetPathFromIDListW;
    calls.freeIdList = [](PIDLIST_ABSOLUTE item) { CoTaskMemFree(item); };
    calls.restartDialog = ShellExport<int(WINAPI*)(HWND, const wchar_t*, DWORD)>(59);
    calls.exitWindowsDialog = ShellExport<void(WINAPI*)(HWND)>(60);
    calls.runFileDialog =
        ShellExport<void(WINAPI*)(HWND, HICON, const wchar_t*, const wchar_t*, const wchar_t*, UINT)>(61);
    calls.pickIconDialog = ShellExport<int(WINAPI*)(HWND, wchar_t*, UINT, int*)>(62);
    calls.idListFromPath = ShellExport<PIDLIST_ABSOLUTE(WINAPI*)(const wchar_t*)>(162);
    calls.objectProperties = ShellExport<BOOL(WINAPI*)(HWND, DWORD, const wchar_t*, const wchar_t*)>(178);
    calls.extractIcons = &ExtractIconExW;
    calls.copyIcon = &CopyIcon;
    calls.destroyIcon = &DestroyIcon;
    calls.formatDrive = &SHFormatDrive;
    calls.shellAbout = &ShellAboutW;
    calls.runCommandLine = &RunCommandLine;
    return calls;
}

}  // namespace

const DialogCalls& SystemDialogCalls() {
    static const DialogCalls calls = MakeSystemDialogCalls();
    return calls;
}

}  // namespace vorelix::platform
