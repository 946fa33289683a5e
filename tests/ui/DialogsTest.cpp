// The input box and the message boxes of the Win32 prompter, driven through their real controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "DialogDriver.h"
#include "MainWindowFixture.h"
#include "ui/base/InputBox.h"
#include "ui/base/Win32Prompter.h"

namespace vorelix::ui {
namespace {

using test::DialogDriver;
using test::Text;

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

TEST(InputBox, ShowsPromptTitleAndTheStartingTextAndOnlyOkGivesWhatWasTyped) {
    std::vector<std::wstring> shown;
    DialogDriver driver([&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, kInputBoxEditId);
        shown = {Text(dialog), Text(GetDlgItem(dialog, kInputBoxPromptId)), Text(edit)};
        SetWindowTextW(edit, L"new демка.dem");
        Click(dialog, IDOK);
    });
    // Through the prompter, which the program asks.
    EXPECT_EQ(Win32Prompter().AskText({L"Enter a new name of the demo:", L"Rename demo", L"old.dem"}),
              L"new демка.dem");
    EXPECT_EQ(shown,
              (std::vector<std::wstring>{L"Rename demo", L"Enter a new name of the demo:", L"old.dem"}));

    // Typed text is dropped by Cancel (as by Esc and the close box, which send its command); OK untouched
    // gives the starting text.
    for (const bool ok : {false, true}) {
        DialogDriver closing([ok](HWND dialog) {
            if (!ok) SetWindowTextW(GetDlgItem(dialog, kInputBoxEditId), L"typed but cancelled");
            Click(dialog, ok ? IDOK : IDCANCEL);
        });
        EXPECT_EQ(ShowInputBox(nullptr, L"p", L"t", L"start"), ok ? L"start" : L"");
        EXPECT_TRUE(closing.acted && !closing.forcedClosed) << "the box closes itself";
    }
}

TEST(Win32Prompter, ShowsTheSystemsMessageBoxAndReturnsTheButtonPressed) {
    for (const auto& [button, answer] : {std::pair{IDYES, Answer::Yes}, std::pair{IDNO, Answer::No}}) {
        std::wstring title;
        DialogDriver driver([&, button = button](HWND dialog) {
            title = Text(dialog);
            Click(dialog, button);
        });
        const MessageRequest request{L"You really want to remove the demo?", L"Sure?", MessageIcon::Question,
                                     MessageButtons::YesNo};
        EXPECT_EQ(Win32Prompter().ShowMessage(request), answer);
        EXPECT_EQ(title, L"Sure?");
    }
}

}  // namespace
}  // namespace vorelix::ui
