// ConfigWindow's layout: every control with its place in twips, caption, style and font, created and
// placed here.
#include <windows.h>
// These need windows.h ahead of them.
#include <commctrl.h>

#include "ui/config/ConfigWindow.h"
#include "ui/base/TwipsLayout.h"

namespace vorelix::ui {

namespace {

using Id = ConfigControlId;
using enum FontKind;

constexpr DWORD kConfigList =
    WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
constexpr int kInWindow = 0;
constexpr int kInFrame = ToInt(Id::ConfigFrame);

// In tab order. The frame comes last so that it lies beneath everything placed on it. The check box's
// last number is how far right its caption may spread.
// clang-format off
const TwipsControl kControls[] = {
    {ToInt(Id::ConfigList),     WC_LISTVIEWW, L"",                                        kConfigList,                   WS_EX_CLIENTEDGE, kInFrame,  {210, 630, 3270, 1410},  Plain},
    {ToInt(Id::OkButton),       WC_BUTTONW,   L"OK",                                      WS_TABSTOP | BS_DEFPUSHBUTTON, 0,                kInWindow, {2415, 2730, 1380, 435}, Caption},
    {ToInt(Id::ListLabel),      WC_STATICW,   L"The list of configs located in cstrike:", SS_LEFT | SS_NOPREFIX,         0,                kInFrame,  {210, 315, 3270, 225},   Plain},
    {ToInt(Id::UseAutoexecBox), WC_BUTTONW,   L"Use autoexec.cfg? (uncheck for disable)", WS_TABSTOP | BS_AUTOCHECKBOX,  0,                kInFrame,  {210, 2100, 3270, 330},  Plain, 3600},
    {ToInt(Id::ConfigFrame),    WC_BUTTONW,   L"Choose your configs:",                    BS_GROUPBOX | WS_CLIPSIBLINGS, 0,                kInWindow, {105, 105, 3690, 2535},  Caption},
};
// clang-format on

// The client area as the designer sized it.
constexpr int kClientWidthTwips = 3900;
constexpr int kClientHeightTwips = 3285;

}  // namespace

void ConfigWindow::CreateControls() {
    HWND hwnd = Hwnd();
    CreateTwipsControls(hwnd, kControls);
    configList_ = CheckListView(ControlHwnd(Id::ConfigList));
    useAutoexecBox_ = Button(ControlHwnd(Id::UseAutoexecBox));
    okButton_ = Button(ControlHwnd(Id::OkButton));

    configList_.SetUpAsCheckList();
    ApplyDpi(WindowDpi(hwnd));
}

void ConfigWindow::ApplyDpi(UINT dpi) {
    ApplyTwipsDpi(Hwnd(), kControls, fonts_, dpi);
    // Room is left for the scroll bar that a long list brings, so no name needs a sideways scroll.
    RECT client{};
    GetClientRect(configList_.Hwnd(), &client);
    configList_.SetColumnWidth(client.right - GetSystemMetrics(SM_CXVSCROLL));
    SizeClientTwips(Hwnd(), kClientWidthTwips, kClientHeightTwips, dpi);
}

}  // namespace vorelix::ui
