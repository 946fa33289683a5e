// The input box and the message boxes of the Win32 prompter, driven through their real controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "DialogDriver.h"
#include "ui/InputBox.h"
#include "ui/Win32Prompter.h"

namespace vorelix::ui {
namespace {

using test::DialogDriver;

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

TEST(InputBox, ShowsPromptTitleAndSelectedStartingTextAndOkGivesTheTypedText) {
    std::wstring title, prompt, startText;
    DWORD selStart = 1, selEnd = 0;
    DialogDriver driver([&](HWND dialog) {
        title = TextOf(dialog);
        prompt = TextOf(GetDlgItem(dialog, kInputBoxPromptId));
        HWND edit = GetDlgItem(dialog, kInputBoxEditId);
        startText = TextOf(edit);
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
        SetWindowTextW(edit, L"new демка.dem");
        Click(dialog, IDOK);
    });
    // Through the prompter, which the program asks.
    Win32Prompter prompter;
    InputRequest request;
    request.prompt = L"Enter a new name of the demo:";
    request.title = L"Rename demo";
    request.initialText = L"old.dem";
    EXPECT_EQ(prompter.AskText(request), L"new демка.dem");
    EXPECT_TRUE(driver.acted);
    EXPECT_EQ(title, L"Rename demo");
    EXPECT_EQ(prompt, L"Enter a new name of the demo:");
    EXPECT_EQ(startText, L"old.dem");
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, 7u) << "the starting text is selected, so typing replaces it";
}

TEST(InputBox, CancelEscAndCloseGiveAnEmptyTextAndOkUnchangedGivesTheStartingText) {
    const std::pair<std::function<void(HWND)>, const wchar_t*> cases[] = {
        {[](HWND dialog) { Click(dialog, IDCANCEL); }, L""},
        {[](HWND dialog) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }, L""},
        {[](HWND dialog) { SendMessageW(dialog, WM_CLOSE, 0, 0); }, L""},
        {[](HWND dialog) { Click(dialog, IDOK); }, L"start"},
    };
    for (const auto& [close, expected] : cases) {
        // Typed text is dropped by every way out but OK.
        DialogDriver driver([&close = close, typed = *expected == L'\0'](HWND dialog) {
            if (typed) SetWindowTextW(GetDlgItem(dialog, kInputBoxEditId), L"typed but cancelled");
            close(dialog);
        });
        EXPECT_EQ(ShowInputBox(nullptr, L"p", L"t", L"start"), expected);
        EXPECT_TRUE(driver.acted);
    }
}

TEST(Win32Prompter, ShowsTheSystemsMessageBoxAndReturnsTheButtonPressed) {
    Win32Prompter prompter;
    for (const auto& [button, answer] : {std::pair{IDYES, Answer::Yes}, std::pair{IDNO, Answer::No}}) {
        std::wstring title;
        DialogDriver driver([&, button = button](HWND dialog) {
            title = TextOf(dialog);
            Click(dialog, button);
        });
        MessageRequest request;
        request.text = L"You really want to remove the demo?";
        request.title = L"Sure?";
        request.buttons = MessageButtons::YesNo;
        request.icon = MessageIcon::Question;
        EXPECT_EQ(MessageBoxFlags(request) & (MB_TYPEMASK | MB_ICONMASK), UINT{MB_YESNO | MB_ICONQUESTION});
        EXPECT_EQ(prompter.ShowMessage(request), answer);
        EXPECT_EQ(title, L"Sure?");
    }
    MessageRequest request;
    for (const auto& [icon, flag] :
         {std::pair{MessageIcon::Exclamation, MB_ICONEXCLAMATION},
          std::pair{MessageIcon::Information, MB_ICONINFORMATION},
          std::pair{MessageIcon::Critical, MB_ICONERROR}, std::pair{MessageIcon::None, 0L}}) {
        request.icon = icon;
        EXPECT_EQ(MessageBoxFlags(request) & MB_ICONMASK, static_cast<UINT>(flag));
    }
}

}  // namespace
}  // namespace vorelix::ui
