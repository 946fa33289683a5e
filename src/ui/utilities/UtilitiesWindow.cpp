// UtilitiesWindow's life, its modal showing, message routing, the editors' colours and what the three
// tools share: the demo's path, the backup copy before a write, and the reports.
#include "ui/utilities/UtilitiesWindow.h"

#include <algorithm>

#include "demo/edit/Messages.h"
#include "platform/files/DemoFile.h"
#include "platform/Text.h"
#include "ui/base/Dpi.h"
#include "ui/base/ModalLoop.h"
#include "ui/base/TwipsLayout.h"

namespace vorelix::ui {

namespace {

constexpr const wchar_t* kClassName = L"Vorelix.UtilitiesWindow";
constexpr const wchar_t* kCaption = L"Useful utils";

}  // namespace

UtilitiesWindow::UtilitiesWindow(UtilitiesServices services) : services_(std::move(services)) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    if (!CreateTopLevel(kClassName, kCaption, kToolWindowStyle, kToolWindowExStyle, 700, 400, nullptr)) return;
    CreateControls();
    EnterNickState(NickEditorState::Initial);
    EnterChatState(ChatEditorState::Initial);
}

UtilitiesWindow::~UtilitiesWindow() {
    Close();
}

void UtilitiesWindow::ShowModal(HWND owner, const std::function<void()>& whenShown) {
    if (!Hwnd()) return;
    owner_ = owner;
    closed_ = false;
    if (owner) {
        // A top-level window's "parent" slot holds its owner: it then stays above the owner.
        SetWindowLongPtrW(Hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
        CenterOver(Hwnd(), owner);
        EnableWindow(owner, FALSE);
    }
    ShowWindow(Hwnd(), SW_SHOW);
    if (whenShown) whenShown();
    RunModalLoop(Hwnd(), closed_);
    Close();
}

void UtilitiesWindow::Close() {
    if (closed_ && !owner_) return;
    closed_ = true;
    // The owner is enabled before this window hides, so that the system gives it the activation.
    if (owner_) EnableWindow(owner_, TRUE);
    owner_ = nullptr;
    if (Hwnd()) ShowWindow(Hwnd(), SW_HIDE);
}

void UtilitiesWindow::ClearChatList() {
    chatList_.Clear();
    chat_.clear();
}

LRESULT UtilitiesWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return OnEditorColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message);
        case WM_DPICHANGED: {
            ApplyDpi(HIWORD(wParam));
            MoveToSuggestedPlace(Hwnd(), lParam);
            return 0;
        }
        case WM_ACTIVATE:
            // Not a dialog, so the focus is kept by hand while a message box or another window is active.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(Hwnd(), focus)) lastFocus_ = focus;
            } else {
                const bool usable = lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_);
                SetFocus(usable ? lastFocus_ : GetNextDlgTabItem(Hwnd(), nullptr, FALSE));
            }
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void UtilitiesWindow::OnCommand(int id, int code) {
    using Id = UtilitiesControlId;
    const bool clicked = code == BN_CLICKED;
    switch (static_cast<Id>(id)) {
        case Id::DeleteStatsMeButton:
            if (clicked) OnDeleteStatsMeClick();
            break;
        case Id::LoadNicksButton:
            if (clicked) OnLoadNicksClick();
            break;
        case Id::NickList:
            if (code == LBN_SELCHANGE) OnNickSelected();
            break;
        case Id::NewNickBox:
            if (code == EN_CHANGE) OnNewNickChanged();
            break;
        case Id::SaveNickButton:
            if (clicked) OnSaveNickClick();
            break;
        case Id::LoadChatButton:
            if (clicked) OnLoadChatClick();
            break;
        case Id::EditMessageButton:
            if (clicked) OnEditMessageClick();
            break;
        case Id::ChatList:
            if (code == LBN_DBLCLK) OnEditMessageClick();
            break;
        case Id::DeleteMessageButton:
            if (clicked) OnDeleteMessageClick();
            break;
        default:
            if (id == IDCANCEL) Close();  // Esc
            break;
    }
}

LRESULT UtilitiesWindow::OnEditorColor(HDC hdc, HWND control, UINT message) {
    // The lists and the new-nick box carry the colour their tool gave them; a disabled text box asks as
    // a static, so that message is answered for it too.
    if (control != nickList_.Hwnd() && control != newNickBox_.Hwnd() && control != chatList_.Hwnd()) {
        return DefaultProc(message, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control));
    }
    const bool white = std::find(whiteEditors_.begin(), whiteEditors_.end(), control) != whiteEditors_.end();
    const int background = white ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(hdc, GetSysColor(background));
    SetTextColor(hdc, GetSysColor(IsWindowEnabled(control) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

void UtilitiesWindow::SetEditorEnabled(const Control& editor, bool enabled) {
    editor.Enable(enabled);
    std::erase(whiteEditors_, editor.Hwnd());
    if (enabled) whiteEditors_.push_back(editor.Hwnd());
    InvalidateRect(editor.Hwnd(), nullptr, TRUE);
}

std::filesystem::path UtilitiesWindow::DemoPath() const {
    return std::filesystem::path(services_.selectedDemoPath ? services_.selectedDemoPath() : std::wstring());
}

Status UtilitiesWindow::BackupAndWrite(const std::filesystem::path& demo, demo::WritePlan plan,
                                       std::int64_t& scannedWriteTime) {
    plan.lastWriteTime = scannedWriteTime;
    const auto outcome = platform::ApplyWritePlan(
        demo, plan, backupBox_.IsChecked() ? platform::Backup::Yes : platform::Backup::No);
    // The entries loaded before stay valid for the demo as this write left it.
    if (outcome.lastWriteTime) scannedWriteTime = *outcome.lastWriteTime;
    return outcome.status;
}

void UtilitiesWindow::TellDone(std::string_view text) {
    Inform(services_.prompter, platform::Utf8ToWide(text), L"All OK!");
}

void UtilitiesWindow::TellWriteFailed(const Failure& failure) {
    ShowError(services_.prompter,
              platform::Utf8ToWide(demo::kWriteFailedPrefix) + platform::Utf8ToWide(failure.systemText));
}

void UtilitiesWindow::TellOpenFailed(const Failure& failure) {
    // A demo that is merely too short has no system text: the user is told that instead.
    const std::wstring description = failure.systemText.empty()
                                         ? std::wstring(L"The demo is shorter than 1,000 bytes.")
                                         : platform::Utf8ToWide(failure.systemText);
    ShowError(services_.prompter, platform::Utf8ToWide(demo::kOpenFailedPrefix) + description);
}

}  // namespace vorelix::ui
