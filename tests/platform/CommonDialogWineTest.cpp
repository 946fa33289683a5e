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

// Acts on the next dialog the calling thread shows, from a thread timer that fires inside the
// dialog's modal loop. Whatever is still open a second after acting is closed, so nothing hangs.
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(HWND)> act) : act_(std::move(act)) {
        const char* hold = std::getenv("VORELIX_DIALOG_HOLD_MS");
        holdTicks_ = hold != nullptr ? std::atoi(hold) / kTickMs : 0;
        active_ = this;
        timer_ = SetTimer(nullptr, 0, kTickMs, &DialogDriver::OnTick);
    }
    ~DialogDriver() {
        KillTimer(nullptr, timer_);
        active_ = nullptr;
    }

    std::wstring caption;  // of the dialog acted on; empty when none was shown

  private:
    static constexpr int kTickMs = 50;

    static HWND ShownDialog() {
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM out) {
                wchar_t name[8] = {};
                GetClassNameW(window, name, 8);
                if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(window)) return TRUE;
                *reinterpret_cast<HWND*>(out) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
        DialogDriver* self = active_;
        const HWND dialog = ShownDialog();
        if (self == nullptr || dialog == nullptr) return;
        if (self->ticksSeen_++ < self->holdTicks_) return;
        if (self->caption.empty()) {
            wchar_t text[256] = {};
            GetWindowTextW(dialog, text, 256);
            self->caption = *text != L'\0' ? text : L"(no caption)";
            self->act_(dialog);
        } else if (self->ticksSeen_ > self->holdTicks_ + 20) {
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        }
    }

    static inline DialogDriver* active_ = nullptr;
    std::function<void(HWND)> act_;
    int holdTicks_ = 0;
    int ticksSeen_ = 0;
    UINT_PTR timer_ = 0;
};

void Cancel(HWND dialog) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
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
        DialogDriver driver([&](HWND box) {
            SendMessageW(box, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(startFolder));
            if (!confirm) return Cancel(box);
            // The file name box of the current dialog is a combo box (cmb13), as on Windows.
            SendMessageW(box, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(game.c_str()));
            SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        const auto error = dialog.ShowOpen();
        EXPECT_EQ(driver.caption, L"Please choose hl.exe");
        EXPECT_EQ(CanonicalPath(startFolder), CanonicalPath(*GetParentFolder(program)));
        EXPECT_EQ(error ? error->number : 0, confirm ? 0 : kDialogCancelled);
        EXPECT_EQ(CanonicalPath(dialog.fileName), confirm ? CanonicalPath(game) : CanonicalPath(L""));
        EXPECT_EQ(dialog.fileTitle, confirm ? L"hl.exe" : L"");
    }
}

TEST(CommonDialogOnWine, ColourFontFolderAndAboutBoxesOpenAndCancelQuietly) {
    const std::pair<const char*, std::function<std::optional<DialogError>(CommonDialog&)>> cases[] = {
        {"colour", [](CommonDialog& d) { return d.ShowColor(); }},
        {"font", [](CommonDialog& d) { return d.ShowFont(); }},
        {"folder", [](CommonDialog& d) { return d.ShowFolder(); }},
        {"about",
         [](CommonDialog& d) {
             d.ShowAbout();
             return std::optional<DialogError>();
         }},
    };
    for (const auto& [name, show] : cases) {
        CommonDialog dialog;
        dialog.appName = L"Vorelix";
        dialog.dialogPrompt = L"Counter-Strike demo browser";
        dialog.fontName = L"Tahoma";
        dialog.fontSize = 10;
        dialog.color = RGB(0, 128, 0);
        dialog.initDir = L"unchanged";
        DialogDriver driver(&Cancel);
        EXPECT_FALSE(show(dialog).has_value()) << name;
        EXPECT_FALSE(driver.caption.empty()) << name << ": no dialog was shown";
        EXPECT_TRUE(dialog.color == RGB(0, 128, 0) && dialog.fontName == L"Tahoma" &&
                    dialog.initDir == L"unchanged")
            << name;
    }
}

TEST(CommonDialogOnWine, ShellHasEveryNumberedExportTheDialogsUse) {
    // Looked up only, never called: some of them act on the machine.
    const DialogCalls& calls = SystemDialogCalls();
    EXPECT_TRUE(calls.restartDialog && calls.exitWindowsDialog && calls.runFileDialog &&
                calls.pickIconDialog && calls.idListFromPath && calls.objectProperties);
}

}  // namespace
}  // namespace vorelix::platform
