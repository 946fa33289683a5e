// WaitWindow: a caption-less box laid out from its twips table, its dark red message, and its painting
// while the thread is busy copying.
#include "ui/base/WaitWindow.h"

#include <commctrl.h>

#include "ui/base/TwipsLayout.h"

namespace vorelix::ui {

namespace {

constexpr const wchar_t* kClassName = L"Vorelix.WaitWindow";
constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
constexpr int kProgressSteps = 1000;
constexpr COLORREF kDarkRed = RGB(128, 0, 0);

// The message and, under it, a thin bar as wide as it.
// clang-format off
const TwipsControl kControls[] = {
    {static_cast<int>(WaitControlId::Message),  WC_STATICW,      L"Please wait...", SS_LEFT | SS_NOPREFIX, 0, 0, {315, 210, 1170, 225}, FontKind::Plain},
    {static_cast<int>(WaitControlId::Progress), PROGRESS_CLASSW, L"",               PBS_SMOOTH,            0, 0, {315, 465, 1170, 90},  FontKind::Plain},
};
// clang-format on

// The client area as the designer sized it.
constexpr int kClientWidthTwips = 1605;
constexpr int kClientHeightTwips = 630;

}  // namespace

WaitWindow::WaitWindow(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    if (!CreateTopLevel(kClassName, L"", kStyle, 0, 120, 50, nullptr, owner)) return;
    CreateTwipsControls(Hwnd(), kControls);
    progress_ = Control(ControlHwnd(WaitControlId::Progress));
    SendMessageW(progress_.Hwnd(), PBM_SETRANGE32, 0, kProgressSteps);
    const UINT dpi = WindowDpi(Hwnd());
    ApplyTwipsDpi(Hwnd(), kControls, fonts_, dpi);
    SizeClientTwips(Hwnd(), kClientWidthTwips, kClientHeightTwips, dpi);
    if (owner) CenterOver(Hwnd(), owner);
    ShowWindow(Hwnd(), SW_SHOWNOACTIVATE);
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void WaitWindow::ShowProgress(std::uint64_t copied, std::uint64_t total) {
    const auto steps = total > 0 ? static_cast<WPARAM>(copied * kProgressSteps / total) : 0;
    SendMessageW(progress_.Hwnd(), PBM_SETPOS, steps, 0);
    PumpDuringCopy();
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

namespace {

// Clicks and keys in the windows' client areas: a control must not act while the copy runs. The
// caption's buttons and Alt+F4 (non-client and system-key messages) still reach the window, whose
// close then asks whether to stop.
bool IsClientInput(UINT message) {
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) return true;
    return message >= WM_KEYFIRST && message <= WM_KEYLAST && message != WM_SYSKEYDOWN &&
           message != WM_SYSKEYUP && message != WM_SYSCHAR;
}

}  // namespace

void PumpDuringCopy() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Not ours to take: the main loop ends on it once the copy is over.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (IsClientInput(message.message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

LRESULT WaitWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC) {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        SetTextColor(hdc, kDarkRed);
        SetBkColor(hdc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return DefaultProc(message, wParam, lParam);
}

}  // namespace vorelix::ui
