// TimelineWindow's layout: every control with its place in twips, caption, style and font, created and
// placed here, and the list's columns.
#include <algorithm>

#include "ui/base/TwipsLayout.h"
#include "ui/timeline/TimelineWindow.h"

namespace vorelix::ui {

namespace {

using Id = TimelineControlId;
using enum FontKind;

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheckBox = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kEditBox = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kLine = SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_ENDELLIPSIS;
constexpr DWORD kMnemonicLabel = SS_LEFTNOWORDWRAP;
constexpr DWORD kEventList = WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS;
constexpr DWORD kNoEvents = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kSunken = WS_EX_CLIENTEDGE;
constexpr int kInWindow = 0;

// In tab order; the find label comes right before its box, so that its mnemonic reaches the box. A
// label's or check box's last number is how far right its caption may spread. The text that says why
// a demo has no events lies where the list does: only one of them is shown.
// clang-format off
const TwipsControl kControls[] = {
    {ToInt(Id::RecordingLine),   WC_STATICW,     L"",                kLine,             0,       kInWindow, {120, 120, 9960, 225},   Plain, 10080},
    {ToInt(Id::FindLabel),       WC_STATICW,     L"&Find:",          kMnemonicLabel,    0,       kInWindow, {120, 495, 555, 225},    Plain, 720},
    {ToInt(Id::FindBox),         WC_EDITW,       L"",                kEditBox,          kSunken, kInWindow, {735, 450, 3165, 285},   Text},
    {ToInt(Id::ChatBox),         WC_BUTTONW,     L"&Chat",           kCheckBox,         0,       kInWindow, {4140, 480, 900, 255},   Plain, 5100},
    {ToInt(Id::KillsBox),        WC_BUTTONW,     L"&Kills",          kCheckBox,         0,       kInWindow, {5160, 480, 900, 255},   Plain, 6120},
    {ToInt(Id::RoundsBox),       WC_BUTTONW,     L"&Rounds",         kCheckBox,         0,       kInWindow, {6180, 480, 1080, 255},  Plain, 7320},
    {ToInt(Id::PlayersBox),      WC_BUTTONW,     L"&Players",        kCheckBox,         0,       kInWindow, {7380, 480, 1080, 255},  Plain, 8520},
    {ToInt(Id::EventList),       WC_LISTVIEWW,   L"",                kEventList,        kSunken, kInWindow, {120, 870, 9960, 5250},  Plain},
    {ToInt(Id::CopyButton),      WC_BUTTONW,     L"C&opy",           kButton,           0,       kInWindow, {120, 6690, 1380, 375},  Caption},
    {ToInt(Id::SaveCsvButton),   WC_BUTTONW,     L"&Save as CSV...", kButton,           0,       kInWindow, {1620, 6690, 1800, 375}, Caption},
    {ToInt(Id::CloseButton),     WC_BUTTONW,     L"Close",           kButton,           0,       kInWindow, {8700, 6690, 1380, 375}, Caption},
    {ToInt(Id::NoEventsText),    WC_STATICW,     L"",                kNoEvents,         kSunken, kInWindow, {120, 870, 9960, 5250},  Plain},
    {ToInt(Id::ReadingProgress), PROGRESS_CLASSW, L"",               0,                 0,       kInWindow, {120, 6285, 3000, 225},  Plain},
    {ToInt(Id::StatusLine),      WC_STATICW,     L"",                kLine,             0,       kInWindow, {3240, 6285, 6840, 225}, Plain, 10080},
};
// clang-format on

// The client area as the designer sized it.
constexpr int kClientWidthTwips = 10200;
constexpr int kClientHeightTwips = 7200;

// The widths of the time and kind columns at 96 DPI; the event column takes the rest of the list.
constexpr int kTimeColumn = 72;
constexpr int kKindColumn = 56;

}  // namespace

void TimelineWindow::CreateControls() {
    HWND hwnd = Hwnd();
    CreateTwipsControls(hwnd, kControls);
    recordingLine_ = Label(ControlHwnd(Id::RecordingLine));
    findLabel_ = Label(ControlHwnd(Id::FindLabel));
    findBox_ = Edit(ControlHwnd(Id::FindBox));
    chatBox_ = Button(ControlHwnd(Id::ChatBox));
    killsBox_ = Button(ControlHwnd(Id::KillsBox));
    roundsBox_ = Button(ControlHwnd(Id::RoundsBox));
    playersBox_ = Button(ControlHwnd(Id::PlayersBox));
    eventList_ = ReportList(ControlHwnd(Id::EventList));
    copyButton_ = Button(ControlHwnd(Id::CopyButton));
    saveCsvButton_ = Button(ControlHwnd(Id::SaveCsvButton));
    closeButton_ = Button(ControlHwnd(Id::CloseButton));
    noEventsText_ = Label(ControlHwnd(Id::NoEventsText));
    readingProgress_ = ProgressBar(ControlHwnd(Id::ReadingProgress));
    statusLine_ = Label(ControlHwnd(Id::StatusLine));

    for (const Button* box : {&chatBox_, &killsBox_, &roundsBox_, &playersBox_}) box->SetChecked(true);
    eventList_.SetUpColumns({L"Time", L"Kind", L"What happened"});
    ShowWindow(noEventsText_.Hwnd(), SW_HIDE);
    readingProgress_.SetRange(kProgressSteps);
    ApplyDpi(WindowDpi(hwnd));
}

void TimelineWindow::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    ApplyTwipsDpi(Hwnd(), kControls, fonts_, dpi);
    SizeClientTwips(Hwnd(), kClientWidthTwips, kClientHeightTwips, dpi);
    const int time = MulDiv(kTimeColumn, static_cast<int>(dpi), kDefaultDpi);
    const int kind = MulDiv(kKindColumn, static_cast<int>(dpi), kDefaultDpi);
    RECT list{};
    GetClientRect(eventList_.Hwnd(), &list);
    // The vertical scroll bar's room is kept free, so that a long list shows no horizontal one.
    const int rest = list.right - time - kind - GetSystemMetrics(SM_CXVSCROLL);
    eventList_.SetColumnWidth(0, time);
    eventList_.SetColumnWidth(1, kind);
    eventList_.SetColumnWidth(2, std::max(rest, kind));
}

}  // namespace vorelix::ui
