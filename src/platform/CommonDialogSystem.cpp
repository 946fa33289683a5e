// The real system functions behind CommonDialog, and the lookup of shell32's numbered exports.
#include <vector>

#include "platform/CommonDialog.h"

namespace vorelix::platform {

namespace {

FARPROC ShellExportByOrdinal(ShellOrdinal ordinal) {
    // shell32 stays loaded for the life of the process once it is; the program links it anyway.
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (shell == nullptr) shell = LoadLibraryW(L"shell32.dll");
    if (shell == nullptr) return nullptr;
    return GetProcAddress(shell, MAKEINTRESOURCEA(static_cast<WORD>(ordinal)));
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
    calls.shellExport = &ShellExportByOrdinal;
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
