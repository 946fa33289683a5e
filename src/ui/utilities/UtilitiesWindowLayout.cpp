// UtilitiesWindow's layout: every control with its place in twips, caption, style and font, created and
// placed here.
#include "ui/base/TwipsLayout.h"
#include "ui/utilities/UtilitiesWindow.h"

namespace vorelix::ui {

namespace {

using Id = UtilitiesControlId;
using enum FontKind;

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheckBox = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kOption = BS_AUTORADIOBUTTON;
constexpr DWORD kEditBox = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kList = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kFrame = BS_GROUPBOX | WS_CLIPSIBLINGS;
constexpr DWORD kSunken = WS_EX_CLIENTEDGE;
constexpr int kInWindow = 0;
constexpr int kInStatsMe = ToInt(Id::StatsMeFrame);
constexpr int kInNicks = ToInt(Id::NickFrame);
constexpr int kInChat = ToInt(Id::ChatFrame);
constexpr const wchar_t* kStatsMeText =
    L"Deletes all inscriptions such as: xxx made headhot on yyy, statistics etc.";

// In tab order. The frames come last so that they lie beneath everything placed on them. A check box's
// or option's last number is how far right its caption may spread.
// clang-format off
const TwipsControl kControls[] = {
    {ToInt(Id::BackupBox),           WC_BUTTONW,  L"Make a .bak copy of demo before saving changes", kCheckBox,                       0,       kInWindow,  {210, 210, 3900, 225},   Plain, 4350},
    {ToInt(Id::DeleteStatsMeButton), WC_BUTTONW,  L"Deletes all inscriptions of StatsMe",            kButton,                         0,       kInStatsMe, {210, 315, 3795, 435},   Caption},
    {ToInt(Id::StatsMeLabel),        WC_STATICW,  kStatsMeText,                                      kLabel,                          0,       kInStatsMe, {210, 840, 3900, 435},   Plain},
    {ToInt(Id::NickList),            WC_LISTBOXW, L"",                                               kList,                           kSunken, kInNicks,   {105, 315, 2325, 2010},  Plain},
    {ToInt(Id::NewNickBox),          WC_EDITW,    L"",                                               kEditBox,                        kSunken, kInNicks,   {105, 2520, 2325, 285},  Text},
    {ToInt(Id::LoadNicksButton),     WC_BUTTONW,  L"Load",                                           kButton,                         0,       kInNicks,   {2625, 315, 1380, 435},  Caption},
    {ToInt(Id::HowToApplyLabel),     WC_STATICW,  L"How to apply?:",                                 kLabel,                          0,       kInNicks,   {2625, 1155, 1275, 225}, Plain},
    {ToInt(Id::OnlySelectedOption),  WC_BUTTONW,  L"Only selected",                                  kOption | WS_TABSTOP | WS_GROUP, 0,       kInNicks,   {2625, 1365, 1275, 435}, Plain, 4155},
    {ToInt(Id::AllSimilarOption),    WC_BUTTONW,  L"All similar",                                    kOption,                         0,       kInNicks,   {2625, 1680, 1275, 435}, Plain, 4155},
    {ToInt(Id::SaveNickButton),      WC_BUTTONW,  L"Save changes",                                   kButton | WS_GROUP,              0,       kInNicks,   {2625, 2415, 1380, 435}, Caption},
    {ToInt(Id::ChatList),            WC_LISTBOXW, L"",                                               kList | LBS_EXTENDEDSEL,         kSunken, kInChat,    {210, 315, 5265, 3960},  Plain},
    {ToInt(Id::LoadChatButton),      WC_BUTTONW,  L"Load",                                           kButton,                         0,       kInChat,    {210, 4410, 1380, 435},  Caption},
    {ToInt(Id::EditMessageButton),   WC_BUTTONW,  L"Edit...",                                        kButton,                         0,       kInChat,    {2625, 4410, 1380, 435}, Caption},
    {ToInt(Id::DeleteMessageButton), WC_BUTTONW,  L"Delete",                                         kButton,                         0,       kInChat,    {4095, 4410, 1380, 435}, Caption},
    {ToInt(Id::StatsMeFrame),        WC_BUTTONW,  L"Delete StatsMe stats",                           kFrame,                          0,       kInWindow,  {105, 630, 4215, 1485},  Caption},
    {ToInt(Id::NickFrame),           WC_BUTTONW,  L"Editing nicks used in selected demo",            kFrame,                          0,       kInWindow,  {105, 2205, 4215, 3060}, Caption},
    {ToInt(Id::ChatFrame),           WC_BUTTONW,  L"Editing chat messages in demo",                  kFrame,                          0,       kInWindow,  {4410, 210, 5685, 5055}, Caption},
};
// clang-format on

// The client area as the designer sized it.
constexpr int kClientWidthTwips = 10245;
constexpr int kClientHeightTwips = 5355;

}  // namespace

void UtilitiesWindow::CreateControls() {
    HWND hwnd = Hwnd();
    CreateTwipsControls(hwnd, kControls);
    backupBox_ = Button(ControlHwnd(Id::BackupBox));
    deleteStatsMeButton_ = Button(ControlHwnd(Id::DeleteStatsMeButton));
    statsMeLabel_ = Label(ControlHwnd(Id::StatsMeLabel));
    nickList_ = ListBox(ControlHwnd(Id::NickList));
    newNickBox_ = Edit(ControlHwnd(Id::NewNickBox));
    loadNicksButton_ = Button(ControlHwnd(Id::LoadNicksButton));
    howToApplyLabel_ = Label(ControlHwnd(Id::HowToApplyLabel));
    onlySelectedOption_ = Button(ControlHwnd(Id::OnlySelectedOption));
    allSimilarOption_ = Button(ControlHwnd(Id::AllSimilarOption));
    saveNickButton_ = Button(ControlHwnd(Id::SaveNickButton));
    chatList_ = ListBox(ControlHwnd(Id::ChatList));
    loadChatButton_ = Button(ControlHwnd(Id::LoadChatButton));
    editMessageButton_ = Button(ControlHwnd(Id::EditMessageButton));
    deleteMessageButton_ = Button(ControlHwnd(Id::DeleteMessageButton));
    statsMeFrame_ = GroupBox(ControlHwnd(Id::StatsMeFrame));
    nickFrame_ = GroupBox(ControlHwnd(Id::NickFrame));
    chatFrame_ = GroupBox(ControlHwnd(Id::ChatFrame));

    allSimilarOption_.SetChecked(true);
    CreateToolTip();
    ApplyDpi(WindowDpi(hwnd));
}

void UtilitiesWindow::CreateToolTip() {
    CreateToolTips(Hwnd(), {{chatList_.Hwnd(), L"Двойной клик для редактирования"}});
}

void UtilitiesWindow::ApplyDpi(UINT dpi) {
    ApplyTwipsDpi(Hwnd(), kControls, fonts_, dpi);
    SizeClientTwips(Hwnd(), kClientWidthTwips, kClientHeightTwips, dpi);
}

}  // namespace vorelix::ui
