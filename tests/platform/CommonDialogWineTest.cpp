// The real dialogs under Wine: the harmless ones open and are cancelled, the file-open dialog also
// confirms a file. Set VORELIX_DIALOG_HOLD_MS to keep each dialog up that long (for screenshots).
#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <dlgs.h>
// clang-format on

#include <cstdlib>
#include <functional>

#include "TempDir.h"
#include "platform/CommonDialog.h"
#include "platform/SysHelpers.h"

namespace vorelix::platform {
namespace {

void Cancel(HWND dialog) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// What a thread timer does inside the dialog's modal loop: after VORELIX_DIALOG_HOLD_MS (for
// screenshots) it acts on the thread's visible dialog once, and closes it a second later if it is
// still open, so that nothing hangs.
struct Driver {
    std::function<void(HWND)> act;
    std::wstring caption;  // of the dialog acted on; empty when none was shown
    int ticks = 0, hold = 0;
} driver;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) {
            wchar_t name[8] = {};
            GetClassNameW(window, name, 8);
            if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window))
                *reinterpret_cast<HWND*>(out) = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr || driver.ticks++ < driver.hold) return;
    if (!driver.caption.empty()) {
        if (driver.ticks > driver.hold + 20) PostMessageW(dialog, WM_CLOSE, 0, 0);
        return;
    }
    wchar_t text[256] = {};
    driver.caption = GetWindowTextW(dialog, text, 256) > 0 ? text : L"(no caption)";
    driver.act(dialog);
}

// Runs `show` with the driver acting on the dialog it opens; gives the dialog's caption.
std::wstring Drive(const std::function<void()>& show, std::function<void(HWND)> act = Cancel) {
    const char* hold = std::getenv("VORELIX_DIALOG_HOLD_MS");
    driver = Driver{std::move(act), L"", 0, hold != nullptr ? std::atoi(hold) / 50 : 0};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &OnTick);
    show();
    KillTimer(nullptr, timer);
    return driver.caption;
}

TEST(CommonDialogOnWine, TheGameBrowseStartsInTheProgramsFolderAndGivesTheConfirmedFile) {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    test::TempDir dir;
    const std::wstring game = (dir / "hl.exe").wstring();
    test::WriteFileBytes(game, "MZ");
    for (const bool confirm : {false, true}) {
        CommonDialog dialog;
        dialog.dialogTitle = L"Please choose hl.exe";
        dialog.flags = 6144;
        dialog.filter = NulSeparated({L"hl.exe", L"hl.exe"});
        dialog.cancelError = true;
        wchar_t startFolder[MAX_PATH] = {};
        std::optional<DialogError> error;
        const auto caption =
            Drive([&] { error = dialog.ShowOpen(); },
                  [&](HWND box) {
                      SendMessageW(box, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(startFolder));
                      if (!confirm) return Cancel(box);
                      // The file name box is a combo box (cmb13), as on Windows.
                      SendMessageW(box, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(game.c_str()));
                      SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                  });
        EXPECT_EQ(caption, L"Please choose hl.exe");
        EXPECT_EQ(CanonicalPath(startFolder), CanonicalPath(*GetParentFolder(program)));
        EXPECT_EQ(error ? error->number : 0, confirm ? 0 : kDialogCancelled);
        EXPECT_EQ(CanonicalPath(dialog.fileName), confirm ? CanonicalPath(game) : CanonicalPath(L""));
        EXPECT_EQ(dialog.fileTitle, confirm ? L"hl.exe" : L"");
    }
}

TEST(CommonDialogOnWine, ColourFontFolderAndAboutBoxesOpenAndCancelQuietly) {
    CommonDialog dialog;
    dialog.appName = L"Vorelix";
    dialog.dialogPrompt = L"Counter-Strike demo browser";
    dialog.fontName = L"Tahoma";
    dialog.fontSize = 10;
    dialog.color = RGB(0, 128, 0);
    dialog.initDir = L"unchanged";
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"colour", [&] { EXPECT_FALSE(dialog.ShowColor()); }},
        {"font", [&] { EXPECT_FALSE(dialog.ShowFont()); }},
        {"folder", [&] { EXPECT_FALSE(dialog.ShowFolder()); }},
        {"about", [&] { dialog.ShowAbout(); }},
    };
    for (const auto& [name, show] : cases) EXPECT_NE(Drive(show), L"") << name << ": no dialog was shown";
    EXPECT_TRUE(dialog.color == RGB(0, 128, 0) && dialog.fontName == L"Tahoma" &&
                dialog.initDir == L"unchanged");
}

TEST(CommonDialogOnWine, ShellHasEveryNumberedExportTheDialogsUse) {
    // Looked up only, never called: some of them act on the machine.
    const DialogCalls& calls = SystemDialogCalls();
    EXPECT_TRUE(calls.restartDialog && calls.exitWindowsDialog && calls.runFileDialog &&
                calls.pickIconDialog && calls.idListFromPath && calls.objectProperties);
}

}  // namespace
}  // namespace vorelix::platform
