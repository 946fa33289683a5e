// The real harmless dialogs under Wine open and cancel quietly, and shell32 has every numbered export
// the wrapper uses. VORELIX_DIALOG_HOLD_MS keeps each dialog up that long (scripts/dialog-screenshots.sh).
#include <gtest/gtest.h>

#include <functional>

#include "DialogDriver.h"
#include "platform/CommonDialog.h"

namespace vorelix::platform {
namespace {

TEST(CommonDialogOnWine, TheHarmlessDialogsOpenAndCancelAndShellHasEveryNumberedExport) {
    CommonDialog dialog;
    dialog.dialogTitle = L"Please choose hl.exe";
    dialog.filter = NulSeparated({L"hl.exe", L"hl.exe"});
    dialog.appName = L"Vorelix";
    dialog.dialogPrompt = L"Counter-Strike demo browser";
    dialog.fontName = L"Tahoma";
    dialog.fontSize = 10;
    dialog.color = RGB(0, 128, 0);
    // In the order scripts/dialog-screenshots.sh takes them; the system names its own dialogs.
    const std::pair<std::wstring, std::function<std::optional<DialogError>()>> cases[] = {
        {L"Please choose hl.exe", [&] { return dialog.ShowOpen(); }},
        {L"", [&] { return dialog.ShowColor(); }},
        {L"", [&] { return dialog.ShowFont(); }},
        {L"", [&] { return dialog.ShowFolder(); }},
        {L"About Vorelix", [&] { return dialog.ShowAbout(), std::nullopt; }},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto& [caption, show] = cases[i];
        wchar_t shown[64] = {};
        test::DialogDriver driver([&](HWND box) {
            GetWindowTextW(box, shown, 64);
            SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
        EXPECT_FALSE(show().has_value());
        EXPECT_TRUE(driver.acted) << "no dialog was shown";
        EXPECT_TRUE(caption.empty() || shown == caption) << shown;
    }
    // The numbered exports are looked up only, never called: some of them act on the machine.
    const DialogCalls& calls = SystemDialogCalls();
    EXPECT_TRUE(calls.restartDialog && calls.exitWindowsDialog && calls.runFileDialog &&
                calls.pickIconDialog && calls.idListFromPath && calls.objectProperties);
}

}  // namespace
}  // namespace vorelix::platform
