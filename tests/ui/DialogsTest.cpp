// The input box and the message boxes of the Win32 prompter, driven through their real controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "ui/InputBox.h"
#include "ui/Win32Prompter.h"

namespace vorelix::ui {
namespace {

// Runs `act` on the first dialog this thread shows, from a thread timer that fires inside its modal
// loop; a second firing closes whatever is still open so that a failing test cannot hang the run.
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(HWND)> act) {
        current_ = this;
        act_ = std::move(act);
        timer_ = SetTimer(nullptr, 0, 50, &DialogDriver::OnTimer);
    }
    ~DialogDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool acted = false;

  private:
    static HWND FindDialog() {
        HWND found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM out) {
                wchar_t cls[16] = {};
                GetClassNameW(hwnd, cls, 16);
                if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
                    *reinterpret_cast<HWND*>(out) = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        DialogDriver* self = current_;
        HWND dialog = FindDialog();
        if (!self || !dialog) return;
        if (!self->acted) {
            self->acted = true;
            self->act_(dialog);
        } else {
            EndDialog(dialog, IDCANCEL);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        }
    }

    static inline DialogDriver* current_ = nullptr;
    std::function<void(HWND)> act_;
    UINT_PTR timer_ = 0;
};

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
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
        SetWindowTextW(edit, L"new \u0434\u0435\u043C\u043A\u0430.dem");
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    const std::wstring answer =
        ShowInputBox(nullptr, L"Enter a new name of the demo:", L"Rename demo", L"old.dem");
    EXPECT_TRUE(driver.acted);
    EXPECT_EQ(answer, L"new \u0434\u0435\u043C\u043A\u0430.dem");
    EXPECT_EQ(title, L"Rename demo");
    EXPECT_EQ(prompt, L"Enter a new name of the demo:");
    EXPECT_EQ(startText, L"old.dem");
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, 7u) << "the starting text is selected, so typing replaces it";
}

TEST(InputBox, CancelEscAndCloseGiveAnEmptyText) {
    for (const auto& close : std::initializer_list<std::function<void(HWND)>>{
             [](HWND dialog) { SendMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); },
             [](HWND dialog) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); },
             [](HWND dialog) { SendMessageW(dialog, WM_CLOSE, 0, 0); }}) {
        DialogDriver driver([&](HWND dialog) {
            SetWindowTextW(GetDlgItem(dialog, kInputBoxEditId), L"typed but cancelled");
            close(dialog);
        });
        EXPECT_EQ(ShowInputBox(nullptr, L"p", L"t", L"start"), L"");
        EXPECT_TRUE(driver.acted);
    }
}

TEST(InputBox, OkWithTheStartingTextUnchangedGivesItBack) {
    DialogDriver driver([](HWND dialog) { SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); });
    EXPECT_EQ(ShowInputBox(nullptr, L"p", L"t", L"keep.dem"), L"keep.dem");
}

TEST(Win32Prompter, AsksTheSystemForTheRequestedIconAndButtons) {
    MessageRequest request;
    request.buttons = MessageButtons::YesNo;
    request.icon = MessageIcon::Question;
    EXPECT_EQ(MessageBoxFlags(request) & (MB_TYPEMASK | MB_ICONMASK),
              static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    request.buttons = MessageButtons::Ok;
    request.icon = MessageIcon::Exclamation;
    EXPECT_EQ(MessageBoxFlags(request) & (MB_TYPEMASK | MB_ICONMASK),
              static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    request.icon = MessageIcon::Information;
    EXPECT_EQ(MessageBoxFlags(request) & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    request.icon = MessageIcon::Critical;
    EXPECT_EQ(MessageBoxFlags(request) & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    request.icon = MessageIcon::None;
    EXPECT_EQ(MessageBoxFlags(request) & MB_ICONMASK, 0u);
}

TEST(Win32Prompter, ShowsTheMessageBoxAndReturnsTheButtonPressed) {
    Win32Prompter prompter;
    for (const auto& [button, expected] : {std::pair{IDYES, Answer::Yes}, std::pair{IDNO, Answer::No}}) {
        std::wstring title;
        bool hasYes = false;
        DialogDriver driver([&, button = button](HWND dialog) {
            title = TextOf(dialog);
            hasYes = GetDlgItem(dialog, IDYES) != nullptr;
            SendMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
        });
        MessageRequest request;
        request.text = L"You really want to remove the demo?";
        request.title = L"Sure?";
        request.icon = MessageIcon::Question;
        request.buttons = MessageButtons::YesNo;
        EXPECT_EQ(prompter.ShowMessage(request), expected);
        EXPECT_EQ(title, L"Sure?");
        EXPECT_TRUE(hasYes);
    }
}

TEST(Win32Prompter, AskTextUsesOurInputBox) {
    Win32Prompter prompter;
    DialogDriver driver([](HWND dialog) {
        SetWindowTextW(GetDlgItem(dialog, kInputBoxEditId), L"b.dem");
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    InputRequest request;
    request.prompt = L"Enter a new name of the demo:";
    request.title = L"Rename demo";
    request.initialText = L"a.dem";
    EXPECT_EQ(prompter.AskText(request), L"b.dem");
}

}  // namespace
}  // namespace vorelix::ui
